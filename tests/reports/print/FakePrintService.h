#pragma once

// A print service for tests: printers in whatever state a test gives them, jobs that go
// through the states it scripts, and a record of what was sent and cancelled. While the guard
// lives it stands in for the system's service, and following a job takes no time.
#include "reports/print/PrintService.h"
#include "reports/print/ReportPrint.h"

#include "app/Errors.h"

#include <QMap>

#include <algorithm>
#include <functional>
#include <vector>

namespace varenta::testing {

class FakePrintService : public print::PrintService {
public:
    bool reachable = true;
    QString defaultPrinter = QStringLiteral("office");
    QMap<QString, print::PrinterStatus> printers;
    // The states a job is seen in, one per look; the last one stays. Set before Submit.
    std::vector<print::JobStatus> jobStates{{print::JobState::Completed, {}, {}}};
    // Runs at every look at a job, before its state is given (the printer may change).
    std::function<void(int look)> onLook;
    // When set, gives job `id` its state at its own look `look` instead of jobStates.
    std::function<print::JobStatus(int id, int look)> script;
    QString refusal; // Submit throws with this when not empty
    bool cancelFails = false;

    std::vector<print::PrintJob> submitted;
    std::vector<int> cancelled;
    int looks = 0;
    QMap<int, int> jobLooks;

    FakePrintService() {
        print::PrinterStatus office;
        office.exists = true;
        office.paper = QPageSize::Letter;
        printers.insert(QStringLiteral("office"), office);
    }

    bool Reachable() override { return reachable; }
    QString DefaultPrinter() override { return reachable ? defaultPrinter : QString(); }
    print::PrinterStatus Printer(const QString& name) override {
        if (!reachable) {
            print::PrinterStatus none;
            none.answered = false;
            return none;
        }
        return printers.value(name);
    }
    int Submit(const print::PrintJob& job) override {
        if (!refusal.isEmpty())
            throw VError(print::PrinterError, refusal);
        submitted.push_back(job);
        return int(submitted.size());
    }
    print::JobStatus Job(int id) override {
        if (onLook)
            onLook(looks);
        const size_t at = std::min(size_t(looks), jobStates.size() - 1);
        ++looks;
        if (!reachable)
            return {print::JobState::Unknown, {}, {}};
        if (std::find(cancelled.begin(), cancelled.end(), id) != cancelled.end())
            return {print::JobState::Canceled, {}, {}};
        if (script)
            return script(id, jobLooks[id]++);
        return jobStates[at];
    }
    bool Cancel(int id) override {
        if (cancelFails)
            return false;
        cancelled.push_back(id);
        return true;
    }
};

// Puts a fake print service in place for the life of the guard; waiting between two looks at
// a job only counts the time.
class FakePrinting {
public:
    FakePrinting() {
        auto owned = std::make_unique<FakePrintService>();
        service_ = owned.get();
        previous_ = print::SetService(std::move(owned));
        print::ResetHooks();
        print::Hooks().pause = [this](int ms) { waitedMs += ms; };
    }
    ~FakePrinting() {
        print::ResetHooks();
        print::SetService(std::move(previous_));
    }
    FakePrinting(const FakePrinting&) = delete;
    FakePrinting& operator=(const FakePrinting&) = delete;

    FakePrintService* operator->() { return service_; }
    FakePrintService& service() { return *service_; }
    int waitedMs = 0;

private:
    FakePrintService* service_;
    std::unique_ptr<print::PrintService> previous_;
};

} // namespace varenta::testing

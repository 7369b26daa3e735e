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

class FakePrintService : public reports::PrintService {
public:
    bool reachable = true;
    QString defaultPrinter = QStringLiteral("office");
    QMap<QString, reports::PrinterStatus> printers;
    // The states a job is seen in, one per look; the last one stays. Set before Submit.
    std::vector<reports::JobStatus> jobStates{{reports::JobState::Completed, {}, {}}};
    // Runs at every look at a job, before its state is given (the printer may change).
    std::function<void(int look)> onLook;
    // When set, gives job `id` its state at its own look `look` instead of jobStates.
    std::function<reports::JobStatus(int id, int look)> script;
    QString refusal; // Submit throws with this when not empty
    bool cancelFails = false;

    std::vector<reports::PrintJob> submitted;
    std::vector<int> cancelled;
    int looks = 0;
    QMap<int, int> jobLooks;

    FakePrintService() {
        reports::PrinterStatus office;
        office.exists = true;
        office.paper = QPageSize::Letter;
        printers.insert(QStringLiteral("office"), office);
    }

    bool Reachable() override { return reachable; }
    QString DefaultPrinter() override { return reachable ? defaultPrinter : QString(); }
    reports::PrinterStatus Printer(const QString& name) override {
        if (!reachable) {
            reports::PrinterStatus none;
            none.answered = false;
            return none;
        }
        return printers.value(name);
    }
    int Submit(const reports::PrintJob& job) override {
        if (!refusal.isEmpty())
            throw VError(reports::PrinterError, refusal);
        submitted.push_back(job);
        return int(submitted.size());
    }
    reports::JobStatus Job(int id) override {
        if (onLook)
            onLook(looks);
        const size_t at = std::min(size_t(looks), jobStates.size() - 1);
        ++looks;
        if (!reachable)
            return {reports::JobState::Unknown, {}, {}};
        if (std::find(cancelled.begin(), cancelled.end(), id) != cancelled.end())
            return {reports::JobState::Canceled, {}, {}};
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

// Puts a fake print service in place for the life of the guard, with none of the window
// layer's printing hooks; waiting between two looks at a job only counts the time.
class FakePrinting {
public:
    FakePrinting() {
        auto owned = std::make_unique<FakePrintService>();
        service_ = owned.get();
        previous_ = reports::SetPrintService(std::move(owned));
        reports::PrintUi() = {};
        reports::PrintUi().pause = [this](int ms) { waitedMs += ms; };
    }
    ~FakePrinting() {
        reports::PrintUi() = hooks_;
        reports::SetPrintService(std::move(previous_));
    }
    FakePrinting(const FakePrinting&) = delete;
    FakePrinting& operator=(const FakePrinting&) = delete;

    FakePrintService* operator->() { return service_; }
    FakePrintService& service() { return *service_; }
    int waitedMs = 0;

private:
    reports::PrintHooks hooks_ = reports::PrintUi(); // put back when the guard ends
    FakePrintService* service_;
    std::unique_ptr<reports::PrintService> previous_;
};

// The value of one option of a submitted job, or nothing.
inline QString Option(const reports::PrintJob& job, const char* key) {
    for (const auto& [k, v] : job.options)
        if (k == QLatin1String(key))
            return v;
    return {};
}

} // namespace varenta::testing

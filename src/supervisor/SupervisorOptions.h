#pragma once

#include <QList>
#include <QString>

#include <optional>

// What the supervisor window shows and does, apart from its widgets: the three tabs (reports,
// verification, name deletion), the chosen print option and the operation "Execute Selection"
// runs.
namespace varenta::supervisor {

enum Tab { ReportsTab = 0, VerifyTab = 1, DeleteNamesTab = 2 };
enum PrintOption { PrintCurrent = 0, PrintSelected = 1, PrintAll = 2 };

enum class Operation {
    DatabaseEmpty, // nothing to do on an empty data disk: say so
    ViewReport,    // the current client's report (after the password)
    EditComments,  // the comments window, then the report (after the password)
    PrintSelected, // the print-selected window (after the password)
    PrintAll,      // every client's report (after the password)
    Verify,        // the verification window for the current client
    DeleteNames,   // scramble every client's name
};

// What the window shows when a tab becomes the visible one.
struct TabView {
    QString helpLine;
    QString nameDisplay;
    bool restoreOption = false; // select the print option last chosen again
};

class SupervisorOptions {
public:
    // The state of a freshly opened window: reports tab, first print option, and whether the
    // data disk has no clients at all.
    SupervisorOptions();

    bool EmptyDrive() const { return emptyDrive_; }
    // The name shown in the "Current Client" frame on opening ("No Clients" without any).
    QString InitialName() const;

    // The visible tab changed; what to show, or nothing when it is the tab last handled.
    std::optional<TabView> TabChanged(int tab);
    int LastTab() const { return lastTab_; }

    void ChooseOption(int option);
    int Option() const { return option_; }
    // "Add/Edit Comments" applies to the current client's report only.
    bool CommentsEnabled() const { return option_ == PrintCurrent; }

    Operation OperationFor(int tab, bool commentsTicked) const;
    static bool NeedsPassword(Operation op);
    // Title of the "Database empty." message of a tab.
    static QString EmptyTitle(int tab);
    static QString EmptyText();

private:
    int lastTab_ = ReportsTab;
    int option_ = PrintCurrent;
    bool emptyDrive_ = false;
};

// Record numbers 1..ClientCount.
QList<int> AllClients();

} // namespace varenta::supervisor

#pragma once

#include <QList>
#include <QString>

#include <optional>

// What the supervisor window shows and does, apart from its widgets: the four tabs (reports,
// verification, name deletion, records), the chosen options and the operation "Execute
// Selection" runs.
namespace varenta::supervisor {

enum Tab { ReportsTab = 0, VerifyTab = 1, DeleteNamesTab = 2, RecordsTab = 3 };
enum PrintOption { PrintCurrent = 0, PrintSelected = 1, PrintAll = 2 };
enum RecordsOption { ExportScoresOption = 0, BackUpOption = 1, AuditTrailOption = 2 };

enum class Operation {
    DatabaseEmpty,  // nothing to do on an empty data disk: say so
    ViewReport,     // the current client's report (after the password)
    EditComments,   // the comments window, then the report (after the password)
    PrintSelected,  // the print-selected window (after the password)
    PrintAll,       // every client's report (after the password)
    Verify,         // the verification window for the current client
    DeleteNames,    // scramble every client's name
    ExportScores,   // every client's scores into a file (after the password)
    BackUp,         // the whole disk into a new dated folder (after the password)
    ViewAuditTrail, // what was done on the disk, newest first (after the password)
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

    void ChooseOption(int option);
    int Option() const { return option_; }
    // "Add/Edit Comments" applies to the current client's report only.
    bool CommentsEnabled() const { return option_ == PrintCurrent; }

    void ChooseRecordsOption(int option);
    // Names can be asked for only when exporting.
    bool ExportNamesEnabled() const { return recordsOption_ == ExportScoresOption; }
    // The help line of a records option while it has the focus.
    static QString RecordsOptionHelp(int option);

    Operation OperationFor(int tab, bool commentsTicked) const;
    static bool NeedsPassword(Operation op);
    // Title of the "Database empty." message of a tab.
    static QString EmptyTitle(int tab);
    static QString EmptyText();

private:
    int lastTab_ = ReportsTab;
    int option_ = PrintCurrent;
    int recordsOption_ = ExportScoresOption;
    bool emptyDrive_ = false;
};

// Record numbers 1..ClientCount.
QList<int> AllClients();

} // namespace varenta::supervisor

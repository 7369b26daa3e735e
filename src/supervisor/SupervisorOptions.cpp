#include "supervisor/SupervisorOptions.h"

#include "app/Globals.h"
#include "app/Messages.h"

namespace varenta::supervisor {

namespace {

QString CurrentName() {
    return Fit(CurrentRecord().ClientName, width::ClientName);
}

} // namespace

SupervisorOptions::SupervisorOptions() : emptyDrive_(Globals().ClientCount < 1) {}

QString SupervisorOptions::InitialName() const {
    return emptyDrive_ ? QStringLiteral("No Clients") : CurrentName();
}

std::optional<TabView> SupervisorOptions::TabChanged(int tab) {
    if (tab == lastTab_)
        return std::nullopt;
    lastTab_ = tab;
    switch (tab) {
    case ReportsTab:
        return TabView{QString(), CurrentName(), true};
    case VerifyTab:
        return TabView{QStringLiteral("Click Execute to perform data verification."), CurrentName(),
                       false};
    case RecordsTab:
        return TabView{QStringLiteral("Click Execute to perform the chosen records operation."),
                       QStringLiteral("All Clients"), false};
    default:
        return TabView{QStringLiteral("Click Execute to perform delete names operation."),
                       QStringLiteral("All Clients"), false};
    }
}

void SupervisorOptions::ChooseOption(int option) {
    if (option >= PrintCurrent && option <= PrintAll)
        option_ = option;
}

void SupervisorOptions::ChooseRecordsOption(int option) {
    if (option >= ExportScoresOption && option <= AuditTrailOption)
        recordsOption_ = option;
}

QString SupervisorOptions::RecordsOptionHelp(int option) {
    switch (option) {
    case ExportScoresOption:
        return QStringLiteral("Save every client's scores in a file for a spreadsheet or "
                              "database. Names only when ticked below.");
    case BackUpOption:
        return QStringLiteral("Copy the whole data disk into a new dated folder and check the "
                              "copy.");
    default:
        return QStringLiteral("Show what was done on this data disk, newest first.");
    }
}

Operation SupervisorOptions::OperationFor(int tab, bool commentsTicked) const {
    if (Globals().ClientCount < 1)
        return Operation::DatabaseEmpty;
    switch (tab) {
    case ReportsTab:
        if (option_ == PrintSelected)
            return Operation::PrintSelected;
        if (option_ == PrintAll)
            return Operation::PrintAll;
        return commentsTicked ? Operation::EditComments : Operation::ViewReport;
    case VerifyTab:
        return Operation::Verify;
    case RecordsTab:
        return recordsOption_ == ExportScoresOption ? Operation::ExportScores
               : recordsOption_ == BackUpOption     ? Operation::BackUp
                                                    : Operation::ViewAuditTrail;
    default:
        return Operation::DeleteNames;
    }
}

bool SupervisorOptions::NeedsPassword(Operation op) {
    switch (op) {
    case Operation::ViewReport:
    case Operation::EditComments:
    case Operation::PrintSelected:
    case Operation::PrintAll:
    case Operation::ExportScores:
    case Operation::BackUp:
    case Operation::ViewAuditTrail:
        return true;
    default:
        return false;
    }
}

QString SupervisorOptions::EmptyTitle(int tab) {
    switch (tab) {
    case VerifyTab:
        return QStringLiteral("Verify Data");
    case DeleteNamesTab:
        return QStringLiteral("Delete Names");
    case RecordsTab:
        return QStringLiteral("Records");
    default:
        return QStringLiteral("Print Report");
    }
}

QString SupervisorOptions::EmptyText() {
    return MsgLines(
        {QStringLiteral("Cannot perform this function."), QStringLiteral("Database empty.")});
}

QList<int> AllClients() {
    QList<int> all;
    for (int n = 1; n <= Globals().ClientCount; ++n)
        all << n;
    return all;
}

} // namespace varenta::supervisor

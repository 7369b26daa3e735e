#include "app/StartUp.h"

#include "app/Config.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/Paths.h"
#include "store/SaveWithRetry.h"

namespace varenta {

void ConfigureDatabaseLayer() {
    GlobalState& g = Globals();
    // Installed: the user's own settings, started from the site default on a first start.
    const QString problem = paths::PrepareUserSettings();
    if (!problem.isEmpty())
        MsgBox(problem, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Varenta Settings"));
    // A configuration file far too large to be one is not read (every setting takes its
    // default); the user is told, since nothing else would say why the settings are lost.
    const QString iniProblem = IniFileProblem();
    if (!iniProblem.isEmpty())
        MsgBox(QStringLiteral("%1 Every setting takes its default value for now.").arg(iniProblem),
               MsgButtons::Ok, MsgIcon::Exclamation);
    try {
        WriteSystemDbSetting();
    } catch (const VError&) {
        // A settings file that cannot be written only loses the SystemDB line; the drive
        // selection says so when it cannot store the data disk.
    }
    g.DbWorkspace = true;
    g.SndPath = ResolveSndPath(GetINISndPath());
    g.QuestionDbPath = paths::ShippedFile(QString::fromLatin1(QuestionDbFileName));
}

StartUpAction HandleStartUpError(const VError& e) {
    // A missing folder is no disk to insert: it ends the program with its number.
    const QString retry = e.number() == err::PathNotFound ? QString() : DataDiskRetryText(e);
    if (!retry.isEmpty())
        return AskDiskRetry(retry) ? StartUpAction::Retry : StartUpAction::EndProgram;
    MsgBox(ErrorText(e));
    return StartUpAction::EndProgram;
}

bool RunStartUpStep(const std::function<void()>& step) {
    return RetryDataDiskStep(step, [](const VError& e) {
        return HandleStartUpError(e) == StartUpAction::Retry ? RetryDecision::Retry
                                                             : RetryDecision::GiveUp;
    });
}

} // namespace varenta

#include "main/Wiring.h"

#include "administration/NonDeviant.h"
#include "administration/TestSpec.h"
#include "administration/gui/IntakeChains.h"
#include "checkout/gui/frmCheckout.h"
#include "intake/ClientInfo.h"
#include "reports/gui/frmViewReport.h"
#include "scoring/CheckCommand.h"
#include "supervisor/gui/frmSupervisorOptions.h"
#include "ui/MainMenuHooks.h"

#include <QApplication>

namespace varenta::main {

// One line per hand-over point between the features.
void WireWindows() {
    ui::MainMenu().nonDeviantResponses = [] { return administration::NonDeviantResponses(); };
    ui::MainMenu().editCurrentClient = [] {
        administration::EditCurrentClient(QApplication::activeWindow());
    };
    ui::MainMenu().addNewClient = [] {
        administration::AddNewClient(QApplication::activeWindow());
    };
    ui::MainMenu().supervisorOptions = [] { supervisor::ShowSupervisorOptions(); };
    ui::MainMenu().automatedCheckout = [] {
        checkout::frmCheckout(QApplication::activeWindow()).exec();
    };
    reports::InstallPrintUi();
    intake::DeveloperCommands().check = scoring::RunCheck;
    intake::DeveloperCommands().nonDeviant = administration::RunNonDeviant;
}

} // namespace varenta::main

#include "main/Wiring.h"

#include "administration/NonDeviant.h"
#include "administration/TestSpec.h"
#include "administration/gui/IntakeChains.h"
#include "administration/gui/frmPresentQA.h"
#include "administration/gui/frmSelectEntryMethod.h"
#include "checkout/gui/frmCheckout.h"
#include "intake/ClientInfo.h"
#include "scoring/CheckCommand.h"
#include "supervisor/gui/frmSupervisorOptions.h"
#include "ui/MainMenuHooks.h"

#include <QApplication>

namespace varenta::main {

// One line per hand-over point between the features.
void WireWindows() {
    ui::MainMenu().nonDeviantResponses = [] { return NonDeviantResponses(); };
    ui::MainMenu().editCurrentClient = [] { EditCurrentClient(QApplication::activeWindow()); };
    ui::MainMenu().addNewClient = [] { AddNewClient(QApplication::activeWindow()); };
    EntryMethod().presentTest = [](QWidget* parent, const QString& language) {
        PresentTest(language, parent);
    };
    ui::MainMenu().supervisorOptions = [] { supervisor::ShowSupervisorOptions(); };
    ui::MainMenu().automatedCheckout = [] {
        checkout::frmCheckout(QApplication::activeWindow()).exec();
    };
    intake::DeveloperCommands().check = RunCheck;
    intake::DeveloperCommands().nonDeviant = RunNonDeviant;
}

} // namespace varenta::main

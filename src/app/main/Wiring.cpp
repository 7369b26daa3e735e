#include "app/main/Wiring.h"

#include "administration/TestSpec.h"
#include "checkout/gui/frmCheckout.h"
#include "ui/MainMenuHooks.h"

#include <QApplication>

namespace varenta {

// One line per hand-over point of the main window.
void WireWindows() {
    ui::MainMenu().nonDeviantResponses = [] { return NonDeviantResponses(); };
    ui::MainMenu().automatedCheckout = [] {
        checkout::frmCheckout(QApplication::activeWindow()).exec();
    };
}

} // namespace varenta

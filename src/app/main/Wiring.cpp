#include "app/main/Wiring.h"

#include "administration/TestSpec.h"
#include "ui/MainMenuHooks.h"

namespace varenta {

// One line per hand-over point of the main window.
void WireWindows() {
    ui::MainMenu().nonDeviantResponses = [] { return NonDeviantResponses(); };
}

} // namespace varenta

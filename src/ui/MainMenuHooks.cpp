#include "ui/MainMenuHooks.h"
#include "app/Globals.h"

namespace varenta::ui {

namespace {
MainMenuHooks g_hooks;
const StateReset resetHooks([] { g_hooks = {}; });
} // namespace

MainMenuHooks& MainMenu() {
    return g_hooks;
}

} // namespace varenta::ui

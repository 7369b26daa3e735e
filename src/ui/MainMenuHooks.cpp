#include "ui/MainMenuHooks.h"

namespace varenta::ui {

MainMenuHooks& MainMenu() {
    static MainMenuHooks hooks;
    return hooks;
}

} // namespace varenta::ui

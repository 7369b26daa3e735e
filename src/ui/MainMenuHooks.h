#pragma once

#include <QString>

#include <functional>

// The main window's hand-over points to the windows of the other features, all filled by the
// program's wiring (main/Wiring.cpp).
namespace varenta::ui {

struct MainMenuHooks {
    std::function<void()> editCurrentClient; // client information → court history → answer grid
    std::function<void()> addNewClient;      // the entry-method window and its chain
    std::function<void()> supervisorOptions; // the supervisor window
    std::function<void()> automatedCheckout; // the scoring self-check window
    std::function<QString()> nonDeviantResponses; // the lowest-risk answers to every item
};

MainMenuHooks& MainMenu();

} // namespace varenta::ui

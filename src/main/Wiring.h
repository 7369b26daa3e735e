#pragma once

// The one place where the program connects its features' hand-over points: the main window's
// operations, the intake windows' hidden developer commands and the window layer's part in
// printing. varenta-cli has none of them: it only
// puts its own message sink in place (cli/Cli.cpp).
namespace varenta::main {
void WireWindows();
} // namespace varenta::main

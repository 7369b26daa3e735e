#pragma once

// Connects the features' hand-over points: the main window's operations, the new-client chain's
// test on screen, and the intake windows' hidden developer commands.
namespace varenta::main {
void WireWindows();
} // namespace varenta::main

#pragma once

// Connects the main window's hand-over points to the windows of the other features.
namespace varenta::main {
void WireWindows();
} // namespace varenta::main

#include "app/Globals.h"

#include <memory>
#include <vector>

namespace varenta {

namespace {

std::unique_ptr<GlobalState> g_state = std::make_unique<GlobalState>();

// Filled while the program starts, before main() runs: built on first use, whatever the order
// in which the modules start.
std::vector<void (*)()>& ModuleResets() {
    static std::vector<void (*)()> resets;
    return resets;
}

} // namespace

GlobalState& Globals() {
    return *g_state;
}

void ResetGlobals() {
    g_state = std::make_unique<GlobalState>();
    for (void (*reset)() : ModuleResets())
        reset();
}

StateReset::StateReset(void (*reset)()) {
    ModuleResets().push_back(reset);
}

ClientRecord& CurrentRecord() {
    GlobalState& g = Globals();
    int slot = g.CurrentClient;
    if (slot < 0 || slot > MaxClients)
        slot = 0; // never index outside the table; slot 0 is a harmless scratch slot
    return g.Clients[size_t(slot)];
}

} // namespace varenta

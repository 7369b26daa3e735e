#include "app/Globals.h"

#include <memory>

namespace varenta {

namespace {
std::unique_ptr<GlobalState> g_state = std::make_unique<GlobalState>();
}

GlobalState& Globals() {
    return *g_state;
}

void ResetGlobals() {
    g_state = std::make_unique<GlobalState>();
}

ClientRecord& CurrentRecord() {
    GlobalState& g = Globals();
    int slot = g.CurrentClient;
    if (slot < 0 || slot > MaxClients)
        slot = 0; // never index outside the table; slot 0 is a harmless scratch slot
    return g.Clients[size_t(slot)];
}

} // namespace varenta

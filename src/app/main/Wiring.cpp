#include "app/main/Wiring.h"

namespace varenta {

void WireWindows() {}

} // namespace varenta

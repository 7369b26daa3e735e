#pragma once

#include "app/Errors.h"

#include <QString>

#include <functional>

namespace varenta {

inline constexpr const char* QuestionDbFileName = "qv32.mdb";

// Start-up steps 2 and 3: write the SystemDB key, set up the database layer, SndPath and
// QuestionDbPath. Failures here are ignored; what is missing shows up later.
void ConfigureDatabaseLayer();

// The start-up error handler: a missing disk or a write-protected disk asks OK (retry the
// step) or Cancel (end); anything else shows "Error n:description" and ends.
enum class StartUpAction { Retry, EndProgram };
StartUpAction HandleStartUpError(const VError& e);

// Runs a start-up step under the handler, retrying while the user asks to. False when the
// program must end.
bool RunStartUpStep(const std::function<void()>& step);

} // namespace varenta

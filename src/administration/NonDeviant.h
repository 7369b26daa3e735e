#pragma once

// The hidden developer command "Non-Deviant" of the client information window.
namespace varenta::administration {

// The lowest-risk answers stored as the current client's responses and written; when the
// write fails the client's answers in memory stay as they were.
void RunNonDeviant();

} // namespace varenta::administration

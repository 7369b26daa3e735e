#pragma once

// Fictional clients with complete answers, for a demonstration data disk.
namespace varenta::administration {

// How many different demonstration clients there are.
inline constexpr int DemoClientCount = 6;

// Appends `count` demonstration clients to the loaded data disk (never past 51) and returns
// how many were written. The same clients come out every time.
int AddDemoClients(int count);

} // namespace varenta::administration

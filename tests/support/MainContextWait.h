#pragma once
// Running the default GLib main context from a test, always for a bounded time.
#include <functional>

// Iterates until `done` answers true or `seconds` of real time have passed; answers `done()`.
bool runMainContextUntil(const std::function<bool()>& done, double seconds = 5.0);
// Iterates for `seconds`, whatever happens (to see that nothing more arrives).
void runMainContextFor(double seconds);
// Dispatches what is ready now, a bounded number of times (cancelled callbacks, closes).
void drainMainContext();

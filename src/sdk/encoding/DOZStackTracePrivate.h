#pragma once
// What DOZStackTrace does once it has the return addresses, for tests that bring their own.
#include <string>

// The trace of `count` return addresses, innermost first, the first being the tracer's own
// frame: the lines of the others, numbered from 0; "" when there is at most one address.
std::string DOZStackTraceFromReturnAddresses(const void* const* addresses, unsigned count);

#pragma once
// The clock of file times ticks in steps of a few milliseconds and lags the system clock: a file made
// right after a rename began can carry a birth time from before it.

namespace testsupport {

// Returns once files made from now on get times later than the system clock read at the call.
void passFileClock();

}  // namespace testsupport

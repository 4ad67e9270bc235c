#pragma once

#include <functional>

namespace quillon {

// The time of day in whole seconds since midnight (rounded), as the hidden
// modes' click and double-press rules count it. Windows hold a Clock so
// tests can set the time.
using Clock = std::function<int()>;
int secondsOfDay();

} // namespace quillon

// The monotonic millisecond tick count: wraps around after about 49.7 days, like the tick count
// the transition timing is written against; differences of two readings stay right across a wrap
// when taken in unsigned 32-bit arithmetic. Any thread.
#pragma once

#include <cstdint>

namespace pavona::platform {

std::uint32_t GetTickCount();

}  // namespace pavona::platform

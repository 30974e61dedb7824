#include "transition/random.h"

namespace pavona::transition {

thread_local std::uint32_t RandomSeed = 0;
thread_local std::uint32_t EffectSeed = 0;

}  // namespace pavona::transition

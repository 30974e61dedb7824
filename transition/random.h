// The random number routine of the effects: a linear congruential generator over RandomSeed.
//
// RandomSeed is per thread. The frame-timer thread composes frames while the UI thread may draw
// random numbers of its own; a process-wide seed would be a data race, and the seeded effects'
// promise (every frame of a transition draws the same sequence) would break whenever another
// thread drew in between. Within one thread the generator behaves as a single global seed does.
#pragma once

#include <cstdint>

namespace pavona::transition {

extern thread_local std::uint32_t RandomSeed;

// RandomSeed := RandomSeed × 134775813 + 1; the result is the upper half of N × RandomSeed, so
// 0 <= result < N for N > 0.
inline std::int32_t NextRandom(std::int32_t n) {
  RandomSeed = RandomSeed * 134775813u + 1u;
  return static_cast<std::int32_t>(
      (static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * RandomSeed) >> 32);
}

// The seeding discipline of the seeded random effects: sets RandomSeed for the length of one
// effect call and restores the caller's seed afterwards, also when drawing fails. The frame
// routine opens it around the effects of seeded rows.
class TRandomSeedScope {
 public:
  explicit TRandomSeedScope(std::uint32_t seed) : FSaved(RandomSeed) { RandomSeed = seed; }
  ~TRandomSeedScope() { RandomSeed = FSaved; }
  TRandomSeedScope(const TRandomSeedScope&) = delete;
  TRandomSeedScope& operator=(const TRandomSeedScope&) = delete;

 private:
  std::uint32_t FSaved;
};

}  // namespace pavona::transition

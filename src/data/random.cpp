#include "data/random.h"

namespace {
constexpr std::uint32_t kStartSeed = 0;
std::uint32_t RandSeed = kStartSeed;
}  // namespace

// Linear congruential generator; the high word of seed x n gives 0..n-1
// without the bias of a modulo.
std::uint32_t Random(std::uint32_t n) {
  RandSeed = RandSeed * 0x08088405u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(RandSeed) * n) >> 32);
}

std::uint8_t RandomByte() { return static_cast<std::uint8_t>(Random(255)); }

void SetRandomSeed(std::uint32_t seed) { RandSeed = seed; }

void ResetRandom() { RandSeed = kStartSeed; }

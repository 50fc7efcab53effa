// The program-wide pseudo-random generator. It starts from a fixed seed and is
// never seeded from the clock, so every run draws the same sequence.
#pragma once

#include <cstdint>

// 0 .. n-1 (0 when n is 0).
std::uint32_t Random(std::uint32_t n);
// A random byte 0..254, as the keys and pads of packets and project files use.
std::uint8_t RandomByte();
void SetRandomSeed(std::uint32_t seed);
void ResetRandom();  // back to the fixed start seed

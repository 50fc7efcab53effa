// The option image that the family presets, the option dialogs and the
// option lines of the log work on, with its size.
#pragma once

#include <cstdint>
#include <span>

#include "data/program_state.h"

inline std::span<std::uint8_t, kOptionImageSize> OptionImage() { return MemoryImages.OptionImage; }

#include "chips/option_presets.h"

#include <algorithm>
#include <cstring>

#include "chips/option_image.h"

namespace {

void FillImage(std::uint8_t value) { std::ranges::fill(OptionImage(), value); }

}  // namespace

void ResetAC78xOptionImage() {
  FillImage(0xFF);
  OptionImage()[0] = 0xAC;
  OptionImage()[2] = 0x53;
}

void ResetAUCUxConfigImage() { FillImage(0xFF); }
void ResetSpctrolOptionImage() { FillImage(0xFF); }

void ClearLapisOptionImage() { FillImage(0x00); }
void ClearIndieOptionImage() { FillImage(0x00); }
void ClearSonicOptionImage() { FillImage(0x00); }
void ClearBAT32OptionImage() { FillImage(0x00); }

void ResetLCMPxOptionImage() {
  std::uint8_t* image = OptionImage().data();
  FillImage(0xFF);
  for (int k = 0; k < 8; ++k) image[2 * k + 1] = 0x00;
  image[0] = 0xFB;
  image[1] = 0x04;
  for (int k = 0; k < 12; ++k) {
    image[16 + 2 * k] = 0x00;
    image[17 + 2 * k] = 0xFF;
  }
  std::memcpy(image + 256, image, 256);
}

#include "chips/option_presets.h"

#include <cstring>

#include "data/program_state.h"

namespace {

std::uint8_t* Image() { return MemoryImages.OptionImage; }

void FillImage(std::uint8_t value) { std::memset(Image(), value, kOptionImageSize); }

}  // namespace

void ResetAC78xOptionImage() {
  FillImage(0xFF);
  Image()[0] = 0xAC;
  Image()[2] = 0x53;
}

void ResetAUCUxConfigImage() { FillImage(0xFF); }
void ResetSpctrolOptionImage() { FillImage(0xFF); }

void ClearLapisOptionImage() { FillImage(0x00); }
void ClearIndieOptionImage() { FillImage(0x00); }
void ClearSonicOptionImage() { FillImage(0x00); }
void ClearBAT32OptionImage() { FillImage(0x00); }

void ResetLCMPxOptionImage() {
  std::uint8_t* image = Image();
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

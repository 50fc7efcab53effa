// The option image each chip family starts from when it is chosen.
#pragma once

// All 0xFF; AC FF 53 FF at the start (the first word and its complement).
void ResetAC78xOptionImage();
// All 0xFF.
void ResetAUCUxConfigImage();
void ResetSpctrolOptionImage();
// All 0x00.
void ClearLapisOptionImage();
void ClearIndieOptionImage();
void ClearSonicOptionImage();
void ClearBAT32OptionImage();
// All 0xFF, then the LCP037/LCM32F037 default words in bytes 0..47; bytes
// 256..511 repeat bytes 0..255.
void ResetLCMPxOptionImage();

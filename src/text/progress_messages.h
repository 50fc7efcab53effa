// The texts of the progress reports that a programmer sends while it runs a
// long step or programs chips on its own.
#pragma once

inline constexpr const char* kStageInitialInterfaceText = "Initial Programming Interface ....";
inline constexpr const char* kStageBlankCheckText = "Chip Blank Checking....";
inline constexpr const char* kStageEraseText = "Do Chip Erasing....";
inline constexpr const char* kStageMainProgramText = "Do Main Flash Programming....";
inline constexpr const char* kStageEepProgramText = "Do EEP Data Programming....";
inline constexpr const char* kStageMainVerifyText = "Do Main Flash Verification....";
inline constexpr const char* kStageEepVerifyText = "Do EEP Data Verification....";
inline constexpr const char* kStageOptionProgramText = "Do Chip Option Byte Programming....";

// The final stage: the text, then the verdict, then the counts line.
inline constexpr const char* kChipCompletedText = "Progrmming Completed : ";
inline constexpr const char* kChipPassedText = "Successed !";
inline constexpr const char* kChipFailedFormat = "Failed : Error=0x%.2X!";
inline constexpr const char* kChipCountsFormat = "OK=%d, NG=%d.";

// The project file's messages: those of the save and the open, and the
// reasons a file is refused before anything of it is used.
#pragma once

inline constexpr const char* kProjectCreatedText = "Created Project File : ";
inline constexpr const char* kProjectNotValidText = "Not Valid Quorix Project File!";
inline constexpr const char* kProjectCorruptedText = "Project File Data Has Been Corrupted!";
inline constexpr const char* kProjectOpenSuccessText = "Project File Open Success!";

// A file whose sizes do not fit the images or that ends before the data its
// header announces: the box names the file, the log line before it says why.
inline constexpr const char* kProjectDamagedFormat = "Project File \"%s\" Is Corrupted and Has Not Been Loaded!";
inline constexpr const char* kProjectCheckFailedFormat = "Project File Check Failed: %s.";

// A job that a project file cannot hold: nothing is written.
inline constexpr const char* kProjectNotSavedFormat = "Project File Not Saved: %s!";

// The reasons, completing the two lines above.
inline constexpr const char* kProjectEndsInsideFormat = "the file ends after %u bytes, inside the %s";
inline constexpr const char* kProjectMainSizeFormat = "Main Size 0x%08X is larger than the main image (0x%08X bytes)";
inline constexpr const char* kProjectEepSizeFormat = "EEP Size 0x%08X is larger than the EEP image (0x%08X bytes)";
inline constexpr const char* kProjectMainDataLengthFormat = "Main Data Length 0x%08X is not within 1 .. Main Size 0x%08X";
inline constexpr const char* kProjectMainRangeFormat =
    "the main flash 0x%08X .. 0x%08X (Main Size 0x%08X) does not fit the main image";
inline constexpr const char* kProjectEepPastFormat =
    "EEP byte 0x%08X holds data, but a project file keeps only %u bytes of EEP Data Length 0x%08X";

// Names of the file's parts in kProjectEndsInsideFormat.
inline constexpr const char* kProjectHeaderPart = "header";
inline constexpr const char* kProjectCfgPart = "CFG section";
inline constexpr const char* kProjectMfmPart = "MFM section";
inline constexpr const char* kProjectEepPart = "EEP section";
inline constexpr const char* kProjectSumPart = "file sum";

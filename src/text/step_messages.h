// The log lines of the step handlers: the ends of the steps and of the
// sequences, the verification box and the dumps of the reads on programmer 1
// (typos are the program's own and stay).
#pragma once

inline constexpr const char* kChipBlankText = "Chip is Blank!";
inline constexpr const char* kChipNotBlankText = "Chip is not blank!";
inline constexpr const char* kChipReadProtectedText = "Chip has been read out protected!";
inline constexpr const char* kEraseNotBlankText = "Chip is not blank, do erasing......";
inline constexpr const char* kEraseProtectedText = "Chip has been protected, do erasing......";
inline constexpr const char* kChipErasedText = "Chip has been erased!";
inline constexpr const char* kEepProgrammedText = "EEP Data Programm Successed!";
inline constexpr const char* kMainVerifiedText = "Main Flash Data Verify Successed!";
inline constexpr const char* kEepVerifiedText = "EEP Data Verify Successed!";
inline constexpr const char* kChipProgrammedText = "Chip programming Successed!";
inline constexpr const char* kOptionWrittenText = "Write Option Byte Successed!";
inline constexpr const char* kMainReadOutText = "Main Flash Has been read out!";
inline constexpr const char* kEepReadOutText = "EEP Data has been read out!";
inline constexpr const char* kChecksumReadFormat = "Read Chip CRC16/ACC32 CheckSum:  0x%.4X/0x%.8X.";

// The verification box, one per differing byte: programmer number, address,
// image byte, chip byte.
inline constexpr const char* kVerifyMismatchFormat = "Chip %d: Address=0x%.8X,Buffer=0x%.2X,Chip=0x%.2X";

// Chip information: a heading, then 32 rows of 16 bytes.
inline constexpr const char* kChipInfoHeadingText = ">     Chip Information Data as Below: ";
inline constexpr const char* kChipInfoRowFormat = "  0x0380%.4X :";
inline constexpr const char* kChipInfoByteFormat = " %.2X";

// Memory-range read: a heading, then rows of 16 bytes from the start address.
inline constexpr const char* kMemoryDumpHeadingText = "> Read Address Memory Data below: ";
inline constexpr const char* kMemoryDumpRowFormat = "0x%.8X : ";
inline constexpr const char* kMemoryDumpByteFormat = "%.2X ";

// The window's own line when the chip information is read.
inline constexpr const char* kReadChipInfoText = "Read Chip Information Data......";

// The starters of the operation steps. Each sets programmer ch's state code
// and gauge ticking, logs its start line, arms the reply time-out and the
// gauge (StartChannelProgress) and sends the step's first packet. They look
// at nothing: the commands check that the programmer is free. A step that
// only ever opens an operation (chip-data download, auto run, blank check,
// the reads) starts on an empty receive buffer; a step that takes the place
// of a firmware upgrade ends its bookkeeping (AbandonUpgrade). A starter
// that opens an operation takes the programmer's copy of the settings
// (TakeRunSettings), which that operation's steps and packets read to its
// end; the download takes it without the online serial number.
#pragma once

#include <cstdint>
#include <string>

#include "data/program_state.h"

// The states each operation of the commands runs through, for the checks
// before it starts.
inline constexpr std::uint8_t kDownloadStates[] = {kOpChipDataDownload, kOpDriverDownload, kOpMainDownload,
                                                   kOpEepDownload};
inline constexpr std::uint8_t kAutoProgramStates[] = {kOpBlankCheck,  kOpErase,     kOpProgramMain, kOpProgramEep,
                                                      kOpVerifyMain,  kOpVerifyEep, kOpWriteOption};
inline constexpr std::uint8_t kBlankCheckStates[] = {kOpBlankCheck};
inline constexpr std::uint8_t kEraseStates[] = {kOpErase};
inline constexpr std::uint8_t kProgramStates[] = {kOpProgramMain, kOpProgramEep};
inline constexpr std::uint8_t kVerifyStates[] = {kOpVerifyMain, kOpVerifyEep};
inline constexpr std::uint8_t kWriteOptionStates[] = {kOpWriteOption};
inline constexpr std::uint8_t kWriteEepStates[] = {kOpProgramEep};
inline constexpr std::uint8_t kReadMainStates[] = {kOpReadMain};
inline constexpr std::uint8_t kReadEepStates[] = {kOpReadEep};
inline constexpr std::uint8_t kReadOptionStates[] = {kOpReadOption};
inline constexpr std::uint8_t kReadChecksumStates[] = {kOpReadChecksum};
inline constexpr std::uint8_t kChipInfoStates[] = {kOpChipInfo};

void StartDownloadChipData(int ch);
// Inside the download that StartDownloadChipData opened: no start line, the
// programmer stays busy, only the time-out and the gauge position are set.
void StartDownloadDriver(int ch);
void StartDownloadMainData(int ch);
void StartDownloadEepData(int ch);
void StartAutoProgramming(int ch);
void StartBlankCheck(int ch);
// The start line is the caller's: the Erase command's or the blank check's.
void StartErase(const std::string& startLine, int ch);
void StartProgramMain(int ch);
void StartProgramEep(int ch);
void StartVerifyMain(int ch);
void StartVerifyEep(int ch);
void StartWriteOption(int ch);
void StartReadOption(int ch);
void StartReadMain(int ch);
void StartReadEep(int ch);
void StartReadChecksum(int ch);
// The two reads that only programmer 1 runs: the chip information (the
// window's own start line "Read Chip Information Data......") and the
// memory range ReadStartAddress, ReadLength (no start line). Neither
// touches GaugeTicking or AutoMode.
void StartReadChipInfo(int ch);
void StartReadMemory(int ch);

// End of a download: counts it, ends the operation well, logs "Data Donwload
// Success!" and, unless AutoCloseMode, sends the reset packet that sets the
// programmer off on its own.
void FinishDataDownload(int ch);

// End of main-flash programming: logs it, then verifies in auto mode or ends
// the operation well.
void FinishMainProgramming(int ch);

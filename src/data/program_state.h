// Program-wide state: the memory images, the selected chip, the settings, the
// per-programmer tables and buffers. One instance of each record lives for the
// whole run and is touched on the GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TComm;       // serial component (link layer)
class TGauge;      // progress gauge model (link layer)
class ILogMemo;    // the main window's log memo (operator_io.h)

constexpr int kProgrammerMax = 10;

// Image sizes.
constexpr std::size_t kMainFlashImageSize = 4'198'400;  // 4 MB + 4 KB
constexpr std::size_t kEepImageSize = 262'144;
constexpr std::size_t kAuxAreaImageSize = 8'192;
constexpr std::size_t kOptionImageSize = 8'192;
constexpr std::size_t kDriverImageSize = 16'384;
constexpr std::size_t kChipDataBlockSize = 4'096;
constexpr std::size_t kFirmwareImageSize = 65'536;

// Frame of an n-byte packet: opening 0xC0, every byte possibly escaped,
// closing 0xC0 and five 0xFF bytes.
constexpr std::size_t FrameSizeFor(std::size_t packetSize) { return 2 * packetSize + 7; }

// The largest packet the program builds: a program block whose common driver
// section starts at packet offset 4,440 and may span the whole driver image,
// plus the checksum. Every other packet (firmware block 4,138 bytes, command
// with sections at 88 and 1,112) is smaller.
constexpr std::size_t kCommonSectionOffsetInProgramPacket = 4'440;
constexpr std::size_t kMaxPacketSize = kCommonSectionOffsetInProgramPacket + kDriverImageSize + 2;
// The largest reply: a 4 KB data block with header and checksum.
constexpr std::size_t kMaxReplySize = 8 + 4'096 + 2;
constexpr std::size_t kMaxChunkSize = 2'048;  // one received chunk of the serial component

constexpr std::size_t kPacketBufferSize = kMaxPacketSize;               // 20,826
constexpr std::size_t kTxFrameBufferSize = FrameSizeFor(kMaxPacketSize);  // 41,659
constexpr std::size_t kRxFrameBufferSize = FrameSizeFor(kMaxReplySize);   // 8,219
// A worst-case reply frame still incomplete plus the next chunk.
constexpr std::size_t kRxBufferSize = FrameSizeFor(kMaxReplySize) + kMaxChunkSize;  // 10,267
static_assert(kRxFrameBufferSize >= 2 * kMaxReplySize + 2, "a reply frame with every byte escaped");
static_assert(kRxBufferSize >= kRxFrameBufferSize + kMaxChunkSize, "an incomplete frame and the next chunk");
static_assert(kPacketBufferSize >= 8 + 4128 + 2, "a firmware block packet");

// State codes of a programmer's current step.
enum : std::uint8_t {
  kOpChipDataDownload = 3,
  kOpMainDownload = 5,
  kOpEepDownload = 6,
  kOpDriverDownload = 15,
  kOpBlankCheck = 16,
  kOpErase = 21,
  kOpProgramMain = 25,
  kOpProgramEep = 26,
  kOpWriteOption = 31,
  kOpVerifyMain = 32,
  kOpVerifyEep = 35,
  kOpReadMain = 37,
  kOpReadEep = 38,
  kOpReadChecksum = 42,
  kOpReadOption = 44,
  kOpChipInfo = 53,
  kOpReadMemory = 58,
  kOpFirmwareUpgrade = 160,
  kOpIdle = 240,
};

struct TMemoryImages {
  std::uint8_t MainFlashImage[kMainFlashImageSize];
  std::uint8_t EepImage[kEepImageSize];
  std::uint8_t AuxAreaImage[kAuxAreaImageSize];
  std::uint8_t OptionImage[kOptionImageSize];
  std::uint8_t DriverImage[kDriverImageSize];
  std::uint8_t ChipDataBlock[kChipDataBlockSize];
  std::uint8_t FirmwareImage[kFirmwareImageSize];  // the programmers' firmware, unscrambled
};

// The eight chip control bytes, in the order the parameter block carries them.
// The family presets them; the operator's settings are merged into the first five.
struct TControlBytes {
  std::uint8_t PifSpeedFlags;
  std::uint8_t VoltageFlags;
  std::uint8_t ResetPowerFlags;
  std::uint8_t ProgramStepFlags;
  std::uint8_t EraseFlags;
  std::uint8_t ControlByte5;
  std::uint8_t ControlByte6;
  std::uint8_t ControlByte7;
};
static_assert(sizeof(TControlBytes) == 8);

struct TSelectedChip {
  std::uint8_t ChipFamilyIndex;
  std::uint8_t ChipCode;
  std::uint8_t ChipFamilyCode;
  std::uint8_t ChipSubType;
  std::uint32_t MainSize;
  std::uint32_t EepSize;
  std::uint16_t MainPageSize;
  std::uint16_t EepPageSize;
  std::uint8_t BlankIsZero;
  std::uint8_t UseFlashDriver;
  std::uint32_t MainBaseOffset;
  std::uint32_t MainStart, MainEnd;
  std::uint32_t EepStart, EepEnd;
  std::uint32_t AuxStart, AuxEnd;
  std::uint32_t OptionStart, OptionEnd;
  std::uint8_t OptionFormat;
  std::uint8_t ChipExtParam1, ChipExtParam2;
  std::uint8_t ChipSubParam1, ChipSubParam2;
  TControlBytes ControlBytes;
};

// Operator settings gathered from the window before every operation. The
// interface, voltage, reset, program-step and erase flags are the first five
// of SelectedChip.ControlBytes.
struct TProgramSettings {
  std::uint8_t DeviceAddress;
  std::uint8_t PowerUpTime;    // 10 ms units
  std::uint8_t PowerDownTime;  // 10 ms units
  std::uint8_t ChipInTime;     // 30 ms units
  std::uint8_t ChipOutTime;    // 30 ms units
  std::uint16_t RunTime;       // 10 ms units
  std::uint8_t AutoDetect;
  std::uint16_t ChipExtWord;
  std::uint8_t OptionProgram;
  std::uint8_t EepProgram;
  std::uint8_t OptionsModified;
  std::uint8_t ProjectOptionBits;
  std::uint8_t SnFlags;
  std::uint8_t SnOnline;  // "Enable S/N" and "Enable Online SN" both ticked
  std::uint8_t SnSize;
  std::uint16_t SnGain;
  std::uint32_t SnValue;
  std::uint32_t SnAddress;
  std::uint32_t CountLimit;
};

// An online serial number as a chip receives it: Size bytes, in the order
// they stand in the main area from index First. Size 0: none.
struct TSerialNumberBytes {
  std::uint32_t First;
  std::uint8_t Size;
  std::uint8_t Bytes[4];
};

// What a running operation reads that a collection of the window's settings
// or an online serial number changes. Each programmer keeps its own from the
// start of its operation to its end, so that nothing collected meanwhile
// changes its steps or its packets.
struct TRunSettings {
  TProgramSettings Settings;
  TControlBytes ControlBytes;
  std::uint16_t OptionSum16, OptionSum;
  // The loaded job's, or, with SerialNumber, as if the number stood in the image.
  std::uint32_t MainDataLength;
  std::uint16_t MainSum16, MainSumLow;
  TSerialNumberBytes SerialNumber;  // the chip's number in what is sent and verified
};

struct TObjectState {
  std::uint32_t MainDataLength;
  std::uint32_t EepDataLength;
  std::uint16_t MainSum16, MainSumLow;
  std::uint16_t EepSum16, EepSumLow;
  std::uint32_t MainSum, EepSum;
  std::uint32_t ChipChecksum;
  std::uint32_t FileChecksum;
  std::uint32_t EepFileSum;
  std::uint32_t ObjectCrc32;
  std::uint16_t OptionSum16, OptionSum;
  std::uint32_t ObjectStart, ObjectEnd;
  std::uint32_t LoadedDataEnd;
  std::int32_t BinOffsetAddress;
  std::uint8_t OptionLoaded;
  std::uint8_t ObjectLoaded;
  std::uint8_t ChipSelected;
  // The number that the last Auto or Prog. with online S/N gave its chip.
  // It never enters the image: the job stays the file's.
  TSerialNumberBytes OnlineSerialNumber;
};

struct TProgrammerState {
  std::uint16_t RxFill[kProgrammerMax];
  std::uint16_t ReplyTimeout[kProgrammerMax];
  std::uint8_t ProgOpCode[kProgrammerMax];
  std::uint16_t BlockCount[kProgrammerMax];
  std::uint16_t BlockIndex[kProgrammerMax];
  TGauge* ProgressGauges[kProgrammerMax];
  TComm* CommPorts[kProgrammerMax];
  std::uint8_t DeviceLinked[kProgrammerMax];
  std::uint8_t ChannelBusy[kProgrammerMax];
  std::uint8_t GaugeTicking[kProgrammerMax];
  // The programmer waits for the operator (a box of its step is open), not
  // for the wire: its reply time-out does not count.
  std::uint8_t ReplyTimeoutHeld[kProgrammerMax];
  // The command of the packet an operation was stopped on, whose answer may
  // still come after the stop (replies echo their request's command); 0
  // when none is awaited.
  std::uint8_t StoppedCommand[kProgrammerMax];
  std::uint8_t AutoMode[kProgrammerMax];
  std::uint8_t UpgradePending[kProgrammerMax];
  // This search has logged that the programmer's boot loader cannot be
  // upgraded (no valid firmware image): one line per search, not per frame.
  std::uint8_t NoUpgradeLogged[kProgrammerMax];
  std::int32_t ProgramOkCount[kProgrammerMax];
  std::int32_t ProgramNgCount[kProgrammerMax];
  // Taken when an operation opens on the programmer (data/run_settings.h).
  TRunSettings RunSettings[kProgrammerMax];
};

struct TCommBuffers {
  std::uint8_t PacketBuffers[kProgrammerMax][kPacketBufferSize];
  std::uint8_t TxFrameBuffers[kProgrammerMax][kTxFrameBufferSize];
  std::uint8_t RxFrameBuffers[kProgrammerMax][kRxFrameBufferSize];
  std::uint8_t RxBuffers[kProgrammerMax][kRxBufferSize];
};

struct TSessionTexts {
  ILogMemo* InfoMemoRef = nullptr;
  std::string AppDir;  // ends in '/'
  std::string ModelName;
  std::string ChipName;
  std::string ChipText2;
  std::string CmdLineProject;
  std::string CmdLineSwitch;
  std::string DriverFilePath;
};

struct TSessionState {
  std::uint8_t ProgrammerCount;
  std::uint8_t FoundDeviceCount;
  std::uint8_t DownloadDoneCount;
  std::uint8_t StartSearchPending;
  std::uint8_t AutoCloseMode;
  std::uint8_t CmdLineMode;
  std::uint32_t ReadStartAddress;
  std::uint16_t ReadLength;
  std::uint32_t ProgrammedCount;
  std::uint8_t UpgradeRunning;
  std::uint8_t FirmwareLoaded;
  // The loaded firmware file's header (with FirmwareImage, FirmwareLoaded,
  // UpgradeRunning and UpgradePending the firmware state).
  char FirmwareVersion[9];  // up to 8 characters, always zero-terminated; empty when none
  std::uint16_t FirmwareStart;
  std::uint16_t FirmwareEnd;
  std::uint16_t FirmwareWord3;
  std::uint16_t FirmwareWord4;
  std::uint16_t FirmwareDataLength;
  // The loaded flash driver (its image is MemoryImages.DriverImage, its path
  // SessionTexts.DriverFilePath).
  std::uint8_t DriverHeaderByte8;  // kept; nothing reads it
  std::uint8_t DriverHeaderByte9;  // kept; nothing reads it
  std::uint16_t DriverFileSize;    // argument of the driver download command
  std::uint8_t DriverValid;        // the last load passed every check
};

extern TMemoryImages MemoryImages;
extern TSelectedChip SelectedChip;
extern TProgramSettings ProgramSettings;
extern TObjectState ObjectState;
extern TProgrammerState ProgrammerState;
extern TCommBuffers CommBuffers;
extern TSessionTexts SessionTexts;
extern TSessionState SessionState;

// Binds the main window's serial components and gauges into the per-programmer tables.
struct TProgrammerBindings {
  TComm* Ports[kProgrammerMax] = {};
  TGauge* Gauges[kProgrammerMax] = {};
};

// Every record back to all-zero, as at process start (and the random
// generator back to its fixed seed). Tests call it first.
void ResetProgramState();

// The values the window's chip-view set-up leaves behind before
// InitGlobalSettings runs: blank images, default length, read range,
// serial-number address and option start.
void InitChipViewDefaults();

void InitGlobalSettings(const TProgrammerBindings& bindings = {});

void ComputeMainDataLength();

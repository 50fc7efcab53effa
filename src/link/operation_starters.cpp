#include "link/operation_starters.h"

#include <cstdint>
#include <optional>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "data/random.h"
#include "data/run_settings.h"
#include "link/channel_progress.h"
#include "link/command_packets.h"
#include "link/firmware_upgrade.h"
#include "link/gauge.h"
#include "link/packet_senders.h"
#include "text/text_id.h"

namespace {

enum class TTicking : std::uint8_t { Off, On, Kept };
enum class TLength : std::uint8_t { MainDataLength, MainSize, EepSize };
enum class TGaugeMode : std::uint8_t { Time, Block };

// What a starter does besides the common steps.
enum TStarterFlags : std::uint8_t {
  kPlain = 0,
  kGaugeFirst = 1,      // the gauge is armed before the start line
  kClearsAutoMode = 2,  // a read stands alone, never in an auto run
  kBlankLineFirst = 4,  // an empty memo line (no time, no number) before the start line
  kOpensOperation = 8,  // only ever an operation's first step: starts on an empty receive buffer
  kFileDataOnly = 16,   // the download for stand-alone programming: the units give their own numbers
};

using TFirstPacket = bool (*)(int ch);

struct TStarter {
  std::uint8_t State;
  TTicking Ticking;
  std::optional<TTextId> StartLine;  // none: the caller gives it
  std::uint16_t Ticks;
  TLength Length;
  TGaugeMode Mode;
  std::uint8_t Flags;
  TFirstPacket FirstPacket;
};

constexpr std::uint16_t kStartTicks = 500;
constexpr std::uint16_t kEraseTicks = 2000;
constexpr int kDriverGaugePosition = 3;
constexpr int kReadMemoryGaugePosition = 250;

std::uint16_t FirstBlock(int ch) { return ProgrammerState.BlockIndex[ch]; }

// The packets a step opens with; a block step starts at BlockIndex, which
// StartChannelProgress has just set to 0.
bool NewChipDataKey(int ch) { return SendChipData(static_cast<std::uint16_t>(Random(0xFFFF)), ch); }
bool MainDataBlock(int ch) { return SendMainDataBlock(FirstBlock(ch), ch); }
bool EepDataBlock(int ch) { return SendEepDataBlock(FirstBlock(ch), ch); }
bool BlankCheck(int ch) { return SendCommand(kCmdOperation, kSubBlankCheck, ch); }
bool Erase(int ch) { return SendCommand(kCmdOperation, kSubErase, ch); }
bool MainProgramBlock(int ch) { return SendMainProgramBlock(FirstBlock(ch), ch); }
bool EepProgramBlock(int ch) { return SendEepProgramBlock(FirstBlock(ch), ch); }
bool MainBlockRead(int ch) { return SendCommand(kCmdMainBlock, FirstBlock(ch), ch); }
bool EepBlockRead(int ch) { return SendCommand(kCmdEepBlock, FirstBlock(ch), ch); }
bool ReadOption(int ch) { return SendCommand(kCmdOperation, kSubReadOption, ch); }
bool ReadChecksum(int ch) { return SendCommand(kCmdOperation, kSubReadChecksum, ch); }

using enum TTicking;
using enum TLength;
using enum TGaugeMode;

// One row a starter: state code, gauge ticking, start line, time-out in
// ticks, the length StartChannelProgress counts in blocks, gauge mode, what
// else it does, first packet. The driver download is the one starter that
// opens nothing (below).
// clang-format off
constexpr TStarter kDownloadChipData {kOpChipDataDownload, On,   TTextId::StartDownloadChipDataText, kStartTicks, MainDataLength, Time,  kOpensOperation | kFileDataOnly,                 NewChipDataKey};
constexpr TStarter kDownloadMainData {kOpMainDownload,     Off,  TTextId::StartDownloadMainDataText, kStartTicks, MainDataLength, Block, kPlain,                                          MainDataBlock};
constexpr TStarter kDownloadEepData  {kOpEepDownload,      Off,  TTextId::StartDownloadEepDataText,  kStartTicks, EepSize,        Block, kPlain,                                          EepDataBlock};
constexpr TStarter kAutoProgramming  {kOpBlankCheck,       On,   TTextId::StartAutoProgrammingText,  kStartTicks, MainDataLength, Time,  kOpensOperation,                                 BlankCheck};
constexpr TStarter kBlankCheck       {kOpBlankCheck,       On,   TTextId::StartBlankCheckText,       kStartTicks, MainDataLength, Time,  kOpensOperation,                                 BlankCheck};
constexpr TStarter kErase            {kOpErase,            On,   std::nullopt,               kEraseTicks, MainDataLength, Time,  kPlain,                                          Erase};
constexpr TStarter kProgramMain      {kOpProgramMain,      Off,  TTextId::StartProgramMainText,      kStartTicks, MainDataLength, Block, kPlain,                                          MainProgramBlock};
constexpr TStarter kProgramEep       {kOpProgramEep,       Off,  TTextId::StartProgramEepText,       kStartTicks, EepSize,        Block, kPlain,                                          EepProgramBlock};
constexpr TStarter kVerifyMain       {kOpVerifyMain,       Off,  TTextId::StartVerifyMainText,       kStartTicks, MainDataLength, Block, kPlain,                                          MainBlockRead};
constexpr TStarter kVerifyEep        {kOpVerifyEep,        Off,  TTextId::StartVerifyEepText,        kStartTicks, EepSize,        Block, kGaugeFirst,                                     EepBlockRead};
constexpr TStarter kWriteOption      {kOpWriteOption,      On,   TTextId::StartWriteOptionText,      kStartTicks, MainDataLength, Time,  kGaugeFirst,                                     SendOptionData};
constexpr TStarter kReadOption       {kOpReadOption,       Kept, TTextId::StartReadOptionText,       kStartTicks, MainDataLength, Time,  kBlankLineFirst | kOpensOperation,               ReadOption};
constexpr TStarter kReadMain         {kOpReadMain,         Off,  TTextId::StartReadMainText,         kStartTicks, MainSize,       Block, kGaugeFirst | kClearsAutoMode | kOpensOperation, MainBlockRead};
constexpr TStarter kReadEep          {kOpReadEep,          Off,  TTextId::StartReadEepText,          kStartTicks, EepSize,        Block, kGaugeFirst | kClearsAutoMode | kOpensOperation, EepBlockRead};
constexpr TStarter kReadChecksum     {kOpReadChecksum,     On,   TTextId::StartReadChecksumText,     kStartTicks, MainDataLength, Block, kGaugeFirst | kClearsAutoMode | kOpensOperation, ReadChecksum};
// clang-format on

std::uint32_t LengthOf(TLength length, int ch) {
  switch (length) {
    case MainDataLength: return RunSettingsOf(ch).MainDataLength;
    case MainSize: return SelectedChip.MainSize;
    case EepSize: return SelectedChip.EepSize;
  }
  return 0;
}

void LogStartLine(const TStarter& s, const char* line, int ch) {
  if (s.Flags & kBlankLineFirst) {
    AddMemoLine("");
  }
  LogChannelMessage(line, ch);
}

void ArmGauge(const TStarter& s, int ch) {
  StartChannelProgress(s.Ticks, LengthOf(s.Length, ch), s.Mode == Block, ch);
}

// An operation opens on a programmer that runs no step, or whose upgrade
// the step takes the place of; a step that follows another in a running
// operation keeps the settings that operation started with.
bool OpensOperation(const TStarter& s, int ch) {
  const TProgrammerState& p = ProgrammerState;
  return (s.Flags & kOpensOperation) || !p.ChannelBusy[ch] || p.ProgOpCode[ch] == kOpFirmwareUpgrade;
}

// A step that takes the place of an upgrade ends the upgrade's bookkeeping.
void EnterState(std::uint8_t state, int ch) {
  AbandonUpgrade(ch);
  ProgrammerState.ProgOpCode[ch] = state;
}

// The state code goes first: the packet builders choose the driver section
// by it.
void Run(const TStarter& s, const char* line, int ch) {
  if (!IsProgrammerIndex(ch)) return;
  TProgrammerState& p = ProgrammerState;
  if (s.Flags & kOpensOperation) p.RxFill[ch] = 0;
  if (OpensOperation(s, ch)) TakeRunSettings(ch, !(s.Flags & kFileDataOnly));
  EnterState(s.State, ch);
  if (s.Ticking != Kept) p.GaugeTicking[ch] = s.Ticking == On ? 1 : 0;
  if (s.Flags & kClearsAutoMode) p.AutoMode[ch] = 0;
  if (s.Flags & kGaugeFirst) {
    ArmGauge(s, ch);
    LogStartLine(s, line, ch);
  } else {
    LogStartLine(s, line, ch);
    ArmGauge(s, ch);
  }
  s.FirstPacket(ch);
}

void Run(const TStarter& s, int ch) { Run(s, Text(*s.StartLine), ch); }

}  // namespace

void StartDownloadChipData(int ch) { Run(kDownloadChipData, ch); }
void StartDownloadMainData(int ch) { Run(kDownloadMainData, ch); }
void StartDownloadEepData(int ch) { Run(kDownloadEepData, ch); }
void StartAutoProgramming(int ch) { Run(kAutoProgramming, ch); }
void StartBlankCheck(int ch) { Run(kBlankCheck, ch); }
void StartErase(const std::string& startLine, int ch) { Run(kErase, startLine.c_str(), ch); }
void StartProgramMain(int ch) { Run(kProgramMain, ch); }
void StartProgramEep(int ch) { Run(kProgramEep, ch); }
void StartVerifyMain(int ch) { Run(kVerifyMain, ch); }
void StartVerifyEep(int ch) { Run(kVerifyEep, ch); }
void StartWriteOption(int ch) { Run(kWriteOption, ch); }
void StartReadOption(int ch) { Run(kReadOption, ch); }
void StartReadMain(int ch) { Run(kReadMain, ch); }
void StartReadEep(int ch) { Run(kReadEep, ch); }
void StartReadChecksum(int ch) { Run(kReadChecksum, ch); }

void StartDownloadDriver(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  TProgrammerState& p = ProgrammerState;
  EnterState(kOpDriverDownload, ch);
  p.GaugeTicking[ch] = 0;
  p.ReplyTimeout[ch] = kStartTicks;
  if (TGauge* gauge = p.ProgressGauges[ch]) gauge->SetPosition(kDriverGaugePosition);
  SendDriverBlock(ch);
}

void FinishDataDownload(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  ++SessionState.DownloadDoneCount;
  FinishChannelProgress(false, ch);
  LogChannelMessage(Text(TTextId::DataDownloadSuccessText), ch);
  // Idle before the packet leaves, so its answer goes to no step handler.
  if (!SessionState.AutoCloseMode) SendReset(ch);
}

void FinishMainProgramming(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  LogChannelMessage(Text(TTextId::MainProgrammingSuccessText), ch);
  if (ProgrammerState.AutoMode[ch]) {
    StartVerifyMain(ch);
  } else {
    FinishChannelProgress(false, ch);
  }
}

void StartReadChipInfo(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  ProgrammerState.RxFill[ch] = 0;
  TakeRunSettings(ch, true);
  EnterState(kOpChipInfo, ch);
  AddLog(Text(TTextId::ReadChipInfoText));
  StartChannelProgress(kStartTicks, SelectedChip.MainSize, false, ch);
  SendCommand(kCmdOperation, kSubChipInfo, ch);
}

void StartReadMemory(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  ProgrammerState.RxFill[ch] = 0;
  TakeRunSettings(ch, true);
  EnterState(kOpReadMemory, ch);
  StartChannelProgress(kStartTicks, SelectedChip.MainSize, false, ch);
  if (TGauge* gauge = ProgrammerState.ProgressGauges[ch]) gauge->SetPosition(kReadMemoryGaugePosition);
  SendReadMemory(ch);
}

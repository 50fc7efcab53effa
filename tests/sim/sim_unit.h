// One simulated programmer unit: its chip memory, the job data downloaded
// for stand-alone programming, its firmware memory, and its answer to every
// frame the program sends. No threads and no I/O here (sim_pty.h runs a unit
// on a pseudo-terminal); every received frame is recorded with the result
// of the unit's checks, for tests to assert on.
//
// What the unit answers where the protocol leaves the content open:
// - short replies echo the request's header (code, argument, chip codes)
//   with payload length 2: the result code and a zero byte;
// - success is 0, except for firmware blocks and the firmware finish
//   packet, which are acknowledged with 6;
// - a frame that does not decode, a wrong length field, a wrong checksum or
//   a malformed payload is answered with 0x20; a chip-data block whose own
//   checksum, sum, "ROZI" mark or second half is wrong with 0x34; an unknown
//   command or sub-command with 0x25; an address outside the unit's memory
//   with 0x2C; a firmware block out of order with 0x15;
// - programming stores a block's bytes as they are (no rule that a byte
//   must be erased first); erasing blanks main and EEP memory, not the
//   option bytes; the blank check covers the parameter block's main data
//   length and EEP size;
// - the checksum read (0x93/0x30) answers Checksum16 and the 32-bit byte sum
//   of main memory over the parameter block's main data length;
// - the chip information (0x93/0x3C) is the 512 bytes of ChipInformation()
//   (00 01 .. FF twice);
// - the start packet of stand-alone programming is acknowledged with a
//   short packet of code 0xFA, which the program passes over;
// - the identity reply carries a checksum like every reply, though nothing
//   checks it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim_framing.h"

namespace sim {

constexpr std::size_t kMainMemorySize = 4 * 1024 * 1024;
constexpr std::size_t kEepMemorySize = 256 * 1024;
constexpr std::size_t kOptionMemorySize = 8 * 1024;
constexpr std::size_t kFirmwareMemorySize = 64 * 1024;
constexpr std::size_t kChipDataBlockSize = 512;
constexpr std::size_t kParameterBlockSize = 80;
constexpr std::size_t kDataBlockSize = 4096;
constexpr std::size_t kFirmwareBlockPayload = 0x1020;

// 1,000,000 baud with a start bit, 8 data bits and 2 stop bits.
constexpr std::uint32_t kPacedBytesPerSecond = 1'000'000 / 11;

// Result codes the unit answers with.
constexpr std::uint8_t kResultOk = 0x00;
constexpr std::uint8_t kResultAck = 0x06;
constexpr std::uint8_t kResultNotBlank = 0x15;
constexpr std::uint8_t kResultPacketError = 0x20;
constexpr std::uint8_t kResultUnknownCommand = 0x25;
constexpr std::uint8_t kResultFlashError = 0x2C;
constexpr std::uint8_t kResultChipSumError = 0x34;

// Command codes (the first byte of a packet).
constexpr std::uint8_t kCmdLinkProbe = 0xA3;
constexpr std::uint8_t kCmdChipData = 0x53;
constexpr std::uint8_t kCmdDriver = 0x5F;
constexpr std::uint8_t kCmdMainData = 0x55;
constexpr std::uint8_t kCmdEepData = 0x5A;
constexpr std::uint8_t kCmdControl = 0x93;  // the argument is a sub-command
constexpr std::uint8_t kCmdProgramMain = 0x95;
constexpr std::uint8_t kCmdProgramEep = 0x99;
constexpr std::uint8_t kCmdReadMain = 0x9B;
constexpr std::uint8_t kCmdReadEep = 0x9D;
constexpr std::uint8_t kCmdReset = 0x8A;
constexpr std::uint8_t kCmdFirmwareBlock = 0xB7;
constexpr std::uint8_t kCmdFirmwareFinish = 0xBD;
constexpr std::uint8_t kCmdResetAck = 0xFA;
constexpr std::uint8_t kCmdProgress = 0xFD;

// Sub-commands of 0x93.
constexpr std::uint16_t kSubErase = 0x03;
constexpr std::uint16_t kSubBlankCheck = 0x05;
constexpr std::uint16_t kSubChecksums = 0x30;
constexpr std::uint16_t kSubReadOption = 0x33;
constexpr std::uint16_t kSubWriteOption = 0x35;
constexpr std::uint16_t kSubChipInfo = 0x3C;
constexpr std::uint16_t kSubReadRange = 0x79;

inline const std::string kBootLoaderIdentity = "Velmot200XXX-XX";
// "Velmot200IND " and the version, e.g. "Velmot200IND V1.06".
std::string ApplicationIdentity(const std::string& version = "V1.06");

enum class Area { Main, Eep, Option };

enum class FaultKind {
  Result,       // answer the result code instead of doing the command
  Silent,       // the request is lost: neither done nor answered
  BadChecksum,  // do it, but the reply's checksum is wrong
  Undecodable,  // do it, but the reply frame holds a bad escape
  Truncate,     // do it, but a data reply carries only `keep` data bytes;
                // its length field still names the full count, its
                // checksum covers the bytes that are there
  ShortData,    // the same, with the length field saying `keep`
};

// A fault for the requests with this command code and, unless argument is
// -1, this argument: the block in KB of a block command, the sub-command of
// 0x93, the block number of a firmware block.
struct Fault {
  std::uint8_t command = 0;
  int argument = -1;
  FaultKind kind = FaultKind::Result;
  std::uint8_t code = 0;  // for Result
  std::size_t keep = 0;   // for Truncate and ShortData
  int times = 0;          // 0: every matching request; n: the next n only
  int used = 0;           // how many requests it has hit so far
};

// A byte that reads back different from what the unit holds.
struct ReadbackFlip {
  Area area = Area::Main;
  std::uint32_t offset = 0;
  std::uint8_t mask = 0x01;
};

// A progress report of stand-alone programming (code 0xFD, 8 bytes whose
// byte sum is 0), sent gapMs after the one before it.
struct ProgressReport {
  std::uint8_t stage = 0x10;
  std::uint8_t result = 0;
  std::uint16_t current = 0;
  std::uint16_t total = 0;
  int gapMs = 5;
  bool badSum = false;
};

// One chip done stand-alone: interface, blank check, erase, `blocks` main
// programming reports, verification, and the final stage with `result`
// (6 passes the chip, anything else fails it).
std::vector<ProgressReport> StandAloneScript(std::uint16_t blocks, std::uint8_t result = kResultAck);

struct UnitSettings {
  std::string identity = ApplicationIdentity();
  // Taken on after a firmware upgrade that finished without a fault.
  std::string identityAfterUpgrade = ApplicationIdentity();
  bool blankIsZero = false;  // erased bytes read 0x00 instead of 0xFF
  int replyDelayMs = 0;
  bool silent = false;  // records everything, does and answers nothing
  std::vector<Fault> faults;
  std::vector<ReadbackFlip> flips;
  std::size_t chunkSize = 0;  // 0: a reply is written at once
  int chunkGapMs = 5;
  Bytes noise;                        // written before every frame the unit sends
  std::uint32_t bytesPerSecond = 0;   // 0: unlimited; kPacedBytesPerSecond: the real line
  std::vector<ProgressReport> script;  // played after the start packet
};

// The unit's answer to the chip-information read.
Bytes ChipInformation();

struct PacketRecord {
  Bytes frame;   // as received, 0xC0 .. 0xC0
  Bytes packet;  // decoded; empty when the frame does not decode
  std::uint8_t command = 0;
  std::uint16_t argument = 0;  // for 0xB7 the block number
  std::string problem;         // empty when every check passed
  bool answered = false;
  std::optional<std::uint8_t> replyCode;  // the code of a short reply
};

// What a download for stand-alone programming left in the unit.
struct JobData {
  Bytes chipData;  // the unmasked 512-byte block (first half)
  std::uint16_t chipDataKey = 0;
  Bytes driver;  // the 2,048 bytes of 0x5F
  std::uint16_t driverFileSize = 0;
  Bytes main;  // grown as blocks arrive, by block address
  Bytes eep;
};

struct Reply {
  Bytes frame;  // empty: no answer
  bool startScript = false;
};

class Unit {
 public:
  explicit Unit(UnitSettings settings = {});

  // Handles one frame (0xC0 .. 0xC0), records it and returns the answer.
  Reply Receive(std::span<const std::uint8_t> frame);
  // The frame of one progress report.
  static Bytes ProgressFrame(const ProgressReport& report);

  Bytes& Memory(Area area);
  std::uint8_t BlankByte() const { return settings.blankIsZero ? 0x00 : 0xFF; }

  UnitSettings settings;
  // Memory as seen from the start of each area (block 0 of main is main[0]).
  Bytes main;
  Bytes eep;
  Bytes option;
  Bytes firmware;
  int firmwareBlocks = 0;  // blocks received in order since block 0
  bool firmwareFault = false;
  int upgradesFinished = 0;
  JobData job;
  std::vector<PacketRecord> records;
};

}  // namespace sim

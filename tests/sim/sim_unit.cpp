#include "sim_unit.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace sim {

namespace {

struct Request {
  std::span<const std::uint8_t> packet;
  std::uint8_t code = 0;
  std::uint16_t argument = 0;  // as faults and records see it
  ChipCodes codes;
  std::span<const std::uint8_t> payload;
};

struct Answer {
  Bytes packet;  // empty: no reply
  std::string problem;
  std::optional<std::uint8_t> code;  // set for short replies
  bool startScript = false;
};

std::string Format(const char* format, unsigned a, unsigned b = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// A short reply echoes the request's header bytes 0 .. 5.
Answer Short(std::span<const std::uint8_t> request, std::uint8_t code, std::string problem = {}) {
  std::array<std::uint8_t, kHeaderSize> header{};
  std::copy_n(request.begin(), std::min(request.size(), std::size_t{6}), header.begin());
  const std::uint8_t payload[2] = {code, 0};
  Answer answer;
  answer.packet = MakePacket(header[0], Le16(header, 1), {header[3], header[4], header[5]}, payload);
  answer.problem = std::move(problem);
  answer.code = code;
  return answer;
}

Answer Short(const Request& r, std::uint8_t code, std::string problem = {}) {
  return Short(r.packet, code, std::move(problem));
}

Answer Data(const Request& r, std::span<const std::uint8_t> data) {
  return {MakePacket(r.code, Le16(r.packet, 1), r.codes, data), {}, std::nullopt, false};
}

// Memory read out as the chip answers it: bytes past the area read blank,
// and the flips of the settings applied.
Bytes ReadOut(Unit& unit, Area area, std::size_t offset, std::size_t count) {
  const Bytes& memory = unit.Memory(area);
  Bytes data(count, unit.BlankByte());
  if (offset < memory.size()) {
    const std::size_t n = std::min(count, memory.size() - offset);
    std::copy_n(memory.begin() + static_cast<std::ptrdiff_t>(offset), n, data.begin());
  }
  for (const ReadbackFlip& flip : unit.settings.flips) {
    if (flip.area == area && flip.offset >= offset && flip.offset - offset < count) data[flip.offset - offset] ^= flip.mask;
  }
  return data;
}

bool IsBlank(std::span<const std::uint8_t> bytes, std::uint8_t blank) {
  return std::all_of(bytes.begin(), bytes.end(), [blank](std::uint8_t b) { return b == blank; });
}

// --- Parameter block -------------------------------------------------------

struct Parameters {
  std::uint32_t mainDataLength = 0;
  std::uint32_t eepSize = 0;
  std::uint32_t mainStart = 0;
  std::uint32_t eepStart = 0;
};

Parameters ReadParameters(std::span<const std::uint8_t> block) {
  return {Le32(block, 16), Le32(block, 20), Le32(block, 24), Le32(block, 28)};
}

// The fixed bytes of a parameter block (at least its first 64 bytes). Every
// command packet carries block argument 0; the chip-data block a random one.
std::string CheckParameterBlock(std::span<const std::uint8_t> block, ChipCodes codes, bool inCommand) {
  if (block[0] != 0) return "parameter block byte 0 is not 0";
  if (block[3] != codes.chip || block[4] != codes.family || block[5] != codes.subType)
    return "parameter block chip codes differ from the header";
  if (inCommand && (block[10] != 0 || block[11] != 0)) return "parameter block argument is not 0";
  const std::pair<std::size_t, std::size_t> zeros[] = {{12, 16}, {60, 64}, {70, 80}};
  for (const auto& [from, to] : zeros) {
    for (std::size_t i = from; i < to && i < block.size(); ++i) {
      if (block[i] != 0) return Format("parameter block byte %u is not 0", static_cast<unsigned>(i));
    }
  }
  return {};
}

// --- Commands --------------------------------------------------------------

Answer Identity(Unit& unit, const Request& r) {
  const std::string& text = unit.settings.identity;
  Bytes reply(28 + text.size() + 1, 0);
  reply[0] = 0xA3;
  reply[1] = 0xA5;
  reply[2] = 0x35;
  PutLe16(reply, 6, static_cast<std::uint16_t>(text.size()));
  std::copy(text.begin(), text.end(), reply.begin() + 28);
  AppendChecksum(reply);
  const bool exact = r.packet.size() == 3 && r.packet[1] == 0xA5 && r.packet[2] == 0x35;
  return {std::move(reply), exact ? "" : "link probe is not A3 A5 35", std::nullopt, false};
}

std::string CheckChipDataBlock(std::span<const std::uint8_t> block, std::span<const std::uint8_t> copy) {
  if (!std::equal(block.begin(), block.end(), copy.begin(), copy.end())) return "chip-data halves differ";
  if (block[0] != 'R' || block[1] != 'O' || block[2] != 'Z' || block[3] != 'I') return "chip-data block lacks ROZI";
  if (Checksum16(block.first(508)) != Le16(block, 508)) return "chip-data block checksum wrong";
  if (Sum16(block.first(510)) != Le16(block, 510)) return "chip-data block sum wrong";
  return {};
}

Answer ChipData(Unit& unit, const Request& r) {
  if (r.payload.size() != 2 * kChipDataBlockSize) return Short(r, kResultPacketError, "chip-data payload is not 1024 bytes");
  const std::uint8_t lo = ((r.argument & 0xFF) ^ 0xE4) | 0x80;
  const std::uint8_t hi = ((r.argument >> 8) ^ 0xD3) | 0x80;
  Bytes plain(r.payload.begin(), r.payload.end());
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] ^= (i % 2 == 0) ? lo : hi;
  const std::span<const std::uint8_t> block = std::span(plain).first(kChipDataBlockSize);
  // A chip-data download starts a new job.
  unit.job = JobData{};
  unit.job.chipData.assign(block.begin(), block.end());
  unit.job.chipDataKey = r.argument;
  std::string problem = CheckChipDataBlock(block, std::span(plain).subspan(kChipDataBlockSize));
  if (!problem.empty()) return Short(r, kResultChipSumError, std::move(problem));
  problem = CheckParameterBlock(block.subspan(4, kParameterBlockSize), r.codes, false);
  if (!problem.empty()) return Short(r, kResultPacketError, std::move(problem));
  return Short(r, kResultOk);
}

Answer Driver(Unit& unit, const Request& r) {
  if (r.payload.size() != 2048) return Short(r, kResultPacketError, "driver payload is not 2048 bytes");
  unit.job.driver.assign(r.payload.begin(), r.payload.end());
  unit.job.driverFileSize = r.argument;
  return Short(r, kResultOk);
}

Answer DownloadBlock(Unit& unit, const Request& r, Area area) {
  if (r.payload.size() != kDataBlockSize) return Short(r, kResultPacketError, "data block payload is not 4096 bytes");
  const std::size_t offset = std::size_t{r.argument} * 1024;
  if (offset + kDataBlockSize > unit.Memory(area).size()) return Short(r, kResultFlashError, "data block beyond the unit's memory");
  Bytes& data = area == Area::Main ? unit.job.main : unit.job.eep;
  if (data.size() < offset + kDataBlockSize) data.resize(offset + kDataBlockSize, 0xFF);
  std::copy(r.payload.begin(), r.payload.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
  return Short(r, kResultOk);
}

// The parameter block that opens a payload of at least `size` bytes.
std::optional<Parameters> TakeParameters(const Request& r, std::size_t size, Answer& failure) {
  if (r.payload.size() < size) {
    failure = Short(r, kResultPacketError, Format("payload shorter than %u bytes", static_cast<unsigned>(size)));
    return std::nullopt;
  }
  const auto block = r.payload.first(std::min(r.payload.size(), kParameterBlockSize));
  std::string problem = CheckParameterBlock(block, r.codes, true);
  if (!problem.empty()) {
    failure = Short(r, kResultPacketError, std::move(problem));
    return std::nullopt;
  }
  return ReadParameters(block);
}

Answer ProgramBlock(Unit& unit, const Request& r, Area area) {
  Answer failure;
  if (!TakeParameters(r, kParameterBlockSize + kDataBlockSize, failure)) return failure;
  const std::size_t offset = std::size_t{r.argument} * 1024;
  Bytes& memory = unit.Memory(area);
  if (offset + kDataBlockSize > memory.size()) return Short(r, kResultFlashError, "program block beyond the unit's memory");
  const auto data = r.payload.subspan(kParameterBlockSize, kDataBlockSize);
  std::copy(data.begin(), data.end(), memory.begin() + static_cast<std::ptrdiff_t>(offset));
  return Short(r, kResultOk);
}

Answer ReadBlock(Unit& unit, const Request& r, Area area) {
  Answer failure;
  if (!TakeParameters(r, kParameterBlockSize, failure)) return failure;
  const std::size_t offset = std::size_t{r.argument} * 1024;
  if (offset >= unit.Memory(area).size()) return Short(r, kResultFlashError, "read block beyond the unit's memory");
  return Data(r, ReadOut(unit, area, offset, kDataBlockSize));
}

Answer BlankCheck(Unit& unit, const Request& r, const Parameters& p) {
  const auto main = std::span(unit.main).first(std::min<std::size_t>(p.mainDataLength, unit.main.size()));
  const auto eep = std::span(unit.eep).first(std::min<std::size_t>(p.eepSize, unit.eep.size()));
  const bool blank = IsBlank(main, unit.BlankByte()) && IsBlank(eep, unit.BlankByte());
  return Short(r, blank ? kResultOk : kResultNotBlank);
}

Answer Erase(Unit& unit, const Request& r, const Parameters&) {
  std::fill(unit.main.begin(), unit.main.end(), unit.BlankByte());
  std::fill(unit.eep.begin(), unit.eep.end(), unit.BlankByte());
  return Short(r, kResultOk);
}

Answer Checksums(Unit& unit, const Request& r, const Parameters& p) {
  const auto main = std::span(unit.main).first(std::min<std::size_t>(p.mainDataLength, unit.main.size()));
  std::uint32_t acc = 0;
  for (const std::uint8_t b : main) acc += b;
  Bytes data(6);
  PutLe16(data, 0, Checksum16(main));
  PutLe32(data, 2, acc);
  return Data(r, data);
}

// 4,096 option bytes for family code 0xC0, else 1,024.
std::size_t OptionCount(const Request& r) { return r.codes.family == 0xC0 ? 4096 : 1024; }

Answer ReadOption(Unit& unit, const Request& r, const Parameters&) {
  return Data(r, ReadOut(unit, Area::Option, 0, OptionCount(r)));
}

Answer WriteOption(Unit& unit, const Request& r, const Parameters&) {
  // With a flash driver the payload carries 1,024 option bytes and a section.
  const std::size_t count =
      OptionCount(r) == 4096 && r.payload.size() == kParameterBlockSize + 4096 ? std::size_t{4096} : std::size_t{1024};
  if (r.payload.size() < kParameterBlockSize + count) return Short(r, kResultPacketError, "option payload too short");
  const auto data = r.payload.subspan(kParameterBlockSize, count);
  std::copy(data.begin(), data.end(), unit.option.begin());
  return Short(r, kResultOk);
}

Answer ChipInfo(Unit&, const Request& r, const Parameters&) { return Data(r, ChipInformation()); }

// Payload bytes 48 .. 51 hold the absolute start address, 52 .. 53 the length.
Answer ReadRange(Unit& unit, const Request& r, const Parameters& p) {
  const std::uint32_t address = Le32(r.payload, 48);
  const std::uint16_t length = Le16(r.payload, 52);
  const std::pair<Area, std::uint32_t> areas[] = {{Area::Main, p.mainStart}, {Area::Eep, p.eepStart}};
  for (const auto& [area, start] : areas) {
    const std::uint64_t offset = std::uint64_t{address} - start;
    if (address >= start && offset + length <= unit.Memory(area).size()) return Data(r, ReadOut(unit, area, offset, length));
  }
  return Short(r, kResultFlashError, "read range outside the unit's memory");
}

using ControlHandler = Answer (*)(Unit&, const Request&, const Parameters&);
struct ControlRoute {
  std::uint16_t sub;
  ControlHandler handler;
  std::size_t payload;  // the least payload, the exact one for the range read
};
constexpr ControlRoute kControlRoutes[] = {
    {kSubBlankCheck, BlankCheck, kParameterBlockSize}, {kSubErase, Erase, kParameterBlockSize},
    {kSubChecksums, Checksums, kParameterBlockSize},   {kSubReadOption, ReadOption, kParameterBlockSize},
    {kSubWriteOption, WriteOption, kParameterBlockSize + 1024}, {kSubChipInfo, ChipInfo, kParameterBlockSize},
    {kSubReadRange, ReadRange, 64},
};

Answer Control(Unit& unit, const Request& r) {
  const auto route = std::find_if(std::begin(kControlRoutes), std::end(kControlRoutes),
                                  [&](const ControlRoute& c) { return c.sub == r.argument; });
  if (route == std::end(kControlRoutes)) return Short(r, kResultUnknownCommand, Format("unknown sub-command 0x%02X", r.argument));
  if (route->sub == kSubReadRange && r.payload.size() != 64) return Short(r, kResultPacketError, "range read payload is not 64 bytes");
  Answer failure;
  const auto parameters = TakeParameters(r, route->payload, failure);
  if (!parameters) return failure;
  return route->handler(unit, r, *parameters);
}

bool Matches(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> expected) {
  return std::equal(bytes.begin(), bytes.end(), expected.begin(), expected.end());
}

// 8A "REST" A8 02 00 00 00: answered with 0xFA, then the progress script.
Answer Reset(Unit&, const Request& r) {
  if (!Matches(r.packet.first(r.packet.size() - 2), {0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00}))
    return Short(r, kResultPacketError, "start packet is not 8A REST A8 with two zero bytes");
  const std::uint8_t payload[2] = {0, 0};
  return {MakePacket(kCmdResetAck, 0, {0, 0, 0}, payload), {}, kResultOk, true};
}

// Byte 1 is the block number times 4, bytes 2 .. 3 the key K2. The payload's
// first half is the image (three bytes of every four, XORed with K2's low,
// high and low byte, the fourth 0), XORed with the random second half.
Answer FirmwareBlock(Unit& unit, const Request& r) {
  if (r.payload.size() != kFirmwareBlockPayload) return Short(r, kResultPacketError, "firmware block payload is not 4128 bytes");
  if (r.packet[1] % 4 != 0) return Short(r, kResultPacketError, "firmware block byte 1 is not a multiple of 4");
  for (std::size_t s = 0; s < 512; ++s) {
    if (r.payload[4 * s + 3] != 0 || r.payload[2048 + 4 * s + 3] != 0)
      return Short(r, kResultPacketError, Format("firmware block group %u has a fourth byte", static_cast<unsigned>(s)));
  }
  const unsigned block = r.argument;
  if (block == 0) {
    unit.firmwareBlocks = 0;
    unit.firmwareFault = false;
  }
  if (static_cast<int>(block) != unit.firmwareBlocks) {
    unit.firmwareFault = true;
    return Short(r, kResultNotBlank, Format("firmware block %u out of order, expected %u", block, unit.firmwareBlocks));
  }
  const std::uint16_t key = Le16(r.packet, 2);
  const std::uint8_t mask[3] = {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
                                static_cast<std::uint8_t>(key)};
  const std::size_t offset = (block * 2048) & 0xFFFF;
  for (std::size_t i = 0; i < 2048; ++i) {
    if (i % 4 == 3) continue;
    unit.firmware[offset + i] = r.payload[i] ^ r.payload[2048 + i] ^ mask[i % 4];
  }
  unit.firmwareBlocks = static_cast<int>(block) + 1;
  return Short(r, kResultAck);
}

// BD 00 52 53 00 00 02 00 00 00: the upgrade is complete.
Answer FirmwareFinish(Unit& unit, const Request& r) {
  if (!Matches(r.packet.first(r.packet.size() - 2), {0xBD, 0x00, 0x52, 0x53, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00}))
    return Short(r, kResultPacketError, "finish packet is not BD 00 52 53 00 00 02 00 00 00");
  if (unit.firmwareBlocks > 0 && !unit.firmwareFault) {
    unit.settings.identity = unit.settings.identityAfterUpgrade;
    ++unit.upgradesFinished;
  }
  return Short(r, kResultAck);
}

using Handler = Answer (*)(Unit&, const Request&);
struct Route {
  std::uint8_t code;
  Handler handler;
};
constexpr Route kRoutes[] = {
    {kCmdLinkProbe, Identity},
    {kCmdChipData, ChipData},
    {kCmdDriver, Driver},
    {kCmdMainData, [](Unit& u, const Request& r) { return DownloadBlock(u, r, Area::Main); }},
    {kCmdEepData, [](Unit& u, const Request& r) { return DownloadBlock(u, r, Area::Eep); }},
    {kCmdControl, Control},
    {kCmdProgramMain, [](Unit& u, const Request& r) { return ProgramBlock(u, r, Area::Main); }},
    {kCmdProgramEep, [](Unit& u, const Request& r) { return ProgramBlock(u, r, Area::Eep); }},
    {kCmdReadMain, [](Unit& u, const Request& r) { return ReadBlock(u, r, Area::Main); }},
    {kCmdReadEep, [](Unit& u, const Request& r) { return ReadBlock(u, r, Area::Eep); }},
    {kCmdReset, Reset},
    {kCmdFirmwareBlock, FirmwareBlock},
    {kCmdFirmwareFinish, FirmwareFinish},
};

// Length field and checksum of a command packet. The option write leaves
// its last payload byte out of the checksum.
std::string CheckPacket(std::span<const std::uint8_t> packet) {
  if (packet.size() < kHeaderSize + 2) return "packet shorter than 10 bytes";
  const std::size_t e = kHeaderSize + Le16(packet, 6);
  if (packet.size() != e + 2) return "length field does not match the packet";
  const bool optionWrite = packet[0] == kCmdControl && Le16(packet, 1) == kSubWriteOption;
  const std::size_t covered = optionWrite ? e - 1 : e;
  if (Checksum16(packet.first(covered)) != Le16(packet, e)) return "packet checksum wrong";
  return {};
}

std::optional<Fault> TakeFault(Unit& unit, const Request& r) {
  for (Fault& fault : unit.settings.faults) {
    const bool hit = fault.command == r.code && (fault.argument < 0 || fault.argument == r.argument);
    if (hit && (fault.times == 0 || fault.used < fault.times)) {
      ++fault.used;
      return fault;
    }
  }
  return std::nullopt;
}

Answer Execute(Unit& unit, const Request& r) {
  const auto route = std::find_if(std::begin(kRoutes), std::end(kRoutes), [&](const Route& c) { return c.code == r.code; });
  if (route == std::end(kRoutes)) return Short(r, kResultUnknownCommand, Format("unknown command 0x%02X", r.code));
  return route->handler(unit, r);
}

// Decodes and checks one frame, then does what the command (and a fault
// set for it) says.
Answer Respond(Unit& unit, PacketRecord& record, bool& undecodable) {
  const auto decoded = DecodeFrame(record.frame);
  if (!decoded) return Short(std::span<const std::uint8_t>{}, kResultPacketError, "frame does not decode");
  record.packet = *decoded;
  const std::span<const std::uint8_t> packet = record.packet;
  if (packet.empty()) return Short(packet, kResultPacketError, "empty frame");
  Request r;
  r.packet = packet;
  r.code = packet[0];
  if (r.code != kCmdLinkProbe) {
    if (std::string problem = CheckPacket(packet); !problem.empty()) return Short(packet, kResultPacketError, problem);
    r.argument = r.code == kCmdFirmwareBlock ? packet[1] / 4 : Le16(packet, 1);
    r.codes = {packet[3], packet[4], packet[5]};
    r.payload = packet.subspan(kHeaderSize, packet.size() - kHeaderSize - 2);
  }
  record.command = r.code;
  record.argument = r.argument;
  const std::optional<Fault> fault = TakeFault(unit, r);
  if (fault && fault->kind == FaultKind::Result) return Short(r, fault->code);
  if (fault && fault->kind == FaultKind::Silent) return {};
  Answer answer = Execute(unit, r);
  if (!fault || answer.packet.empty()) return answer;
  if (fault->kind == FaultKind::BadChecksum) answer.packet.back() ^= 0xFF;
  const bool cut = fault->kind == FaultKind::Truncate || fault->kind == FaultKind::ShortData;
  if (cut && Le16(answer.packet, 6) > 2) {
    const std::size_t keep = std::min<std::size_t>(fault->keep, Le16(answer.packet, 6));
    answer.packet.resize(kHeaderSize + keep);
    if (fault->kind == FaultKind::ShortData) PutLe16(answer.packet, 6, static_cast<std::uint16_t>(keep));
    AppendChecksum(answer.packet);
  }
  undecodable = fault->kind == FaultKind::Undecodable;
  return answer;
}

}  // namespace

std::string ApplicationIdentity(const std::string& version) { return "Velmot200IND " + version; }

std::vector<ProgressReport> StandAloneScript(std::uint16_t blocks, std::uint8_t result) {
  std::vector<ProgressReport> script = {{0x10}, {0x20}, {0x30}};
  for (std::uint16_t i = 0; i < blocks; ++i) script.push_back({0x40, 0, i, blocks});
  script.push_back({0x70});
  script.push_back({0xF0, result});
  return script;
}

Bytes ChipInformation() {
  Bytes info(512);
  for (std::size_t i = 0; i < info.size(); ++i) info[i] = static_cast<std::uint8_t>(i);
  return info;
}

Unit::Unit(UnitSettings s)
    : settings(std::move(s)),
      main(kMainMemorySize, BlankByte()),
      eep(kEepMemorySize, BlankByte()),
      option(kOptionMemorySize, 0x00),
      firmware(kFirmwareMemorySize, 0x00) {}

Bytes& Unit::Memory(Area area) {
  switch (area) {
    case Area::Main: return main;
    case Area::Eep: return eep;
    case Area::Option: return option;
  }
  return main;
}

Reply Unit::Receive(std::span<const std::uint8_t> frame) {
  PacketRecord record;
  record.frame.assign(frame.begin(), frame.end());
  Answer answer;
  bool undecodable = false;
  if (settings.silent) {
    if (auto decoded = DecodeFrame(frame)) record.packet = std::move(*decoded);
    if (!record.packet.empty()) record.command = record.packet[0];
  } else {
    answer = Respond(*this, record, undecodable);
  }
  Reply reply;
  if (!answer.packet.empty()) {
    reply.frame = EncodeFrame(answer.packet);
    if (undecodable) reply.frame.insert(reply.frame.begin() + 1, {kEsc, 0x05});
  }
  reply.startScript = answer.startScript;
  record.problem = std::move(answer.problem);
  record.answered = !reply.frame.empty();
  record.replyCode = answer.code;
  records.push_back(std::move(record));
  return reply;
}

Bytes Unit::ProgressFrame(const ProgressReport& report) {
  Bytes packet = {kCmdProgress, report.stage, report.result, 0, 0, 0, 0, 0};
  PutLe16(packet, 3, report.current);
  PutLe16(packet, 5, report.total);
  const std::uint8_t sum = static_cast<std::uint8_t>(Sum16(std::span(packet).first(7)));
  packet[7] = static_cast<std::uint8_t>(0x100 - sum + (report.badSum ? 1 : 0));
  return EncodeFrame(packet);
}

}  // namespace sim

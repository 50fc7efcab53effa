#include <gtest/gtest.h>

#include <string>

#include "sim_test_support.h"
#include "sim_unit.h"

namespace {

using namespace simtest;
using sim::Bytes;

const Bytes kProbe = {0xC0, 0xA3, 0xA5, 0x35, 0xC0};

// The result code of a short reply (-1 for anything else).
int Code(const Bytes& reply) {
  const Bytes packet = Decode(reply);
  if (packet.size() != 12 || sim::Le16(packet, 6) != 2) return -1;
  return packet[8];
}

Bytes Data(const Bytes& reply) {
  const Bytes packet = Decode(reply);
  if (packet.size() < 10) return {};
  return Bytes(packet.begin() + 8, packet.end() - 2);
}

TEST(SimUnitIdentity, AnswersTheProbe) {
  const struct {
    const char* name;
    std::string identity;
  } cases[] = {{"default", "Velmot200IND V1.06"},
               {"older", sim::ApplicationIdentity("V1.05")},
               {"boot loader", sim::kBootLoaderIdentity}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::UnitSettings settings;
    settings.identity = c.identity;
    sim::Unit unit(settings);
    const Bytes reply = Decode(unit.Receive(kProbe).frame);
    ASSERT_GE(reply.size(), 28 + c.identity.size() + 1);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 3), (Bytes{0xA3, 0xA5, 0x35}));
    const std::size_t length = sim::Le16(reply, 6);
    ASSERT_EQ(length, c.identity.size());  // before the reply is read by it
    EXPECT_EQ(std::string(reply.begin() + 28, reply.begin() + 28 + static_cast<long>(length)), c.identity);
    EXPECT_EQ(reply[28 + length], 0);  // the last of the L + 1 text bytes ends the text
    EXPECT_EQ(unit.records.at(0).problem, "");
  }
  sim::Unit unit;
  unit.Receive(Bytes{0xC0, 0xA3, 0xA5, 0x36, 0xC0});
  EXPECT_EQ(unit.records.at(0).problem, "link probe is not A3 A5 35");
}

TEST(SimUnitChipData, UnmasksAndKeepsAGoodBlock) {
  sim::Unit unit;
  unit.job.main = Bytes(100, 1);  // left from an earlier job
  const Bytes block = ChipDataBlock();
  const Bytes reply = unit.Receive(ChipDataRequest(block, 0xA55A)).frame;
  EXPECT_EQ(Code(reply), 0);
  EXPECT_EQ(unit.records.at(0).problem, "");
  EXPECT_EQ(unit.job.chipData, block);
  EXPECT_EQ(unit.job.chipDataKey, 0xA55A);
  EXPECT_TRUE(unit.job.main.empty());
}

TEST(SimUnitChipData, RefusesABadBlock) {
  const struct {
    const char* name;
    std::function<Bytes()> payload;
    int code;
    std::string problem;
  } cases[] = {
      {"second half differs",
       [] {
         Bytes both = Concat(ChipDataBlock(), ChipDataBlock());
         both[512 + 300] ^= 0x01;
         return both;
       },
       0x34, "chip-data halves differ"},
      {"no mark", [] { const Bytes b = ChipDataBlock([](Bytes& x) { x[3] = 'A'; }); return Concat(b, b); }, 0x34,
       "chip-data block lacks ROZI"},
      {"checksum",
       [] {
         Bytes b = ChipDataBlock();
         b[508] ^= 0x10;
         sim::PutLe16(b, 510, sim::Sum16(std::span(b).first(510)));  // the sum still fits
         return Concat(b, b);
       },
       0x34, "chip-data block checksum wrong"},
      {"sum",
       [] {
         Bytes b = ChipDataBlock();
         b[511] ^= 0x01;
         return Concat(b, b);
       },
       0x34, "chip-data block sum wrong"},
      {"reserved parameter byte", [] { const Bytes b = ChipDataBlock([](Bytes& x) { x[4 + 13] = 1; }); return Concat(b, b); },
       0x20, "parameter block byte 13 is not 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Unit unit;
    const Bytes reply = unit.Receive(Request(sim::kCmdChipData, 0x0102, MaskChipData(c.payload(), 0x0102))).frame;
    EXPECT_EQ(Code(reply), c.code);
    EXPECT_EQ(unit.records.at(0).problem, c.problem);
  }
  // A block masked with another key than the packet names does not unmask.
  sim::Unit unit;
  const Bytes block = ChipDataBlock();
  EXPECT_EQ(Code(unit.Receive(Request(sim::kCmdChipData, 0x0102, MaskChipData(Concat(block, block), 0x0103))).frame), 0x34);
}

TEST(SimUnitDownload, StoresDriverAndDataBlocks) {
  sim::Unit unit;
  const Bytes driver = Pattern(2048, 3);
  EXPECT_EQ(Code(unit.Receive(Request(sim::kCmdDriver, 1234, driver)).frame), 0);
  const Bytes main = Pattern(4096, 5);
  EXPECT_EQ(Code(unit.Receive(Request(sim::kCmdMainData, 8, main)).frame), 0);
  const Bytes eep = Pattern(4096, 9);
  EXPECT_EQ(Code(unit.Receive(Request(sim::kCmdEepData, 0, eep)).frame), 0);
  EXPECT_EQ(unit.job.driver, driver);
  EXPECT_EQ(unit.job.driverFileSize, 1234);
  ASSERT_EQ(unit.job.main.size(), 8192u + 4096u);
  EXPECT_EQ(Bytes(unit.job.main.begin() + 8192, unit.job.main.end()), main);
  EXPECT_EQ(unit.job.eep, eep);
  // A short block is refused.
  EXPECT_EQ(Code(unit.Receive(Request(sim::kCmdMainData, 12, Bytes(4000))).frame), 0x20);
}

TEST(SimUnitMemory, EraseBlankProgramReadAndSums) {
  for (const bool zero : {false, true}) {
    SCOPED_TRACE(zero ? "blank 0x00" : "blank 0xFF");
    sim::UnitSettings settings;
    settings.blankIsZero = zero;
    sim::Unit unit(settings);
    const std::uint8_t blank = zero ? 0x00 : 0xFF;
    unit.main[0x100] = 0x5A;
    EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0x15);
    EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubErase)).frame), 0);
    EXPECT_EQ(unit.main[0x100], blank);
    EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0);

    const struct {
      std::uint8_t program, read;
      sim::Area area;
    } areas[] = {{0x95, 0x9B, sim::Area::Main}, {0x99, 0x9D, sim::Area::Eep}};
    for (const auto& a : areas) {
      const Bytes data = Pattern(4096, a.program);
      EXPECT_EQ(Code(unit.Receive(Command(a.program, 4, data)).frame), 0);
      EXPECT_EQ(Data(unit.Receive(Command(a.read, 4)).frame), data);
      EXPECT_EQ(Data(unit.Receive(Command(a.read, 0)).frame), Bytes(4096, blank));
      EXPECT_EQ(Bytes(unit.Memory(a.area).begin() + 4096, unit.Memory(a.area).begin() + 8192), data);
    }
    // Main data at 4 KB lies inside the 32 KB data length of the parameter
    // block; the EEP block at 4 KB lies outside the EEP size of 2 KB.
    EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0x15);

    const Bytes sums = Data(unit.Receive(Command(0x93, sim::kSubChecksums)).frame);
    ASSERT_EQ(sums.size(), 6u);
    const auto covered = std::span(unit.main).first(0x8000);
    std::uint32_t acc = 0;
    for (const std::uint8_t b : covered) acc += b;
    EXPECT_EQ(sim::Le16(sums, 0), sim::Checksum16(covered));
    EXPECT_EQ(sim::Le32(sums, 2), acc);
  }
}

TEST(SimUnitMemory, EepOnlyNotBlankWithinItsSize) {
  sim::Unit unit;
  unit.eep[0x7FF] = 0;
  EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0x15);
  unit.eep[0x7FF] = 0xFF;
  unit.eep[0x800] = 0;
  EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0);
}

TEST(SimUnitMemory, OptionBytesByFamily) {
  for (const std::uint8_t family : {std::uint8_t{0x04}, std::uint8_t{0xC0}}) {
    SCOPED_TRACE(family);
    const sim::ChipCodes codes{0x55, family, 0};
    const std::size_t count = family == 0xC0 ? 4096 : 1024;
    const Bytes options = Pattern(count, 0x21);
    // The option packet's checksum leaves its last byte out.
    Bytes packet = sim::MakePacket(0x93, sim::kSubWriteOption, codes, Concat(ParameterBlock({}, codes), options));
    const std::size_t e = packet.size() - 2;
    sim::PutLe16(packet, e, sim::Checksum16(std::span(packet).first(e - 1)));
    sim::Unit unit;
    EXPECT_EQ(Code(unit.Receive(Frame(packet)).frame), 0);
    EXPECT_EQ(unit.records.back().problem, "");
    EXPECT_EQ(Bytes(unit.option.begin(), unit.option.begin() + static_cast<long>(count)), options);
    EXPECT_EQ(Data(unit.Receive(Command(0x93, sim::kSubReadOption, {}, {}, codes)).frame), options);

    // The ordinary checksum over every byte is wrong for this packet.
    const Bytes ordinary = sim::MakePacket(0x93, sim::kSubWriteOption, codes, Concat(ParameterBlock({}, codes), options));
    ASSERT_NE(sim::Le16(ordinary, e), sim::Le16(packet, e));
    EXPECT_EQ(Code(unit.Receive(Frame(ordinary)).frame), 0x20);
    EXPECT_EQ(unit.records.back().problem, "packet checksum wrong");
  }
}

TEST(SimUnitMemory, ChipInfoAndRangeRead) {
  sim::Unit unit;
  EXPECT_EQ(Data(unit.Receive(Command(0x93, sim::kSubChipInfo)).frame), sim::ChipInformation());

  const Bytes main = Pattern(64, 1);
  const Bytes eep = Pattern(64, 2);
  std::copy(main.begin(), main.end(), unit.main.begin() + 0x20);
  std::copy(eep.begin(), eep.end(), unit.eep.begin() + 0x10);
  const auto rangeRead = [&](std::uint32_t address, std::uint16_t length) {
    Bytes payload = ParameterBlock();
    payload.resize(64);
    sim::PutLe32(payload, 48, address);
    sim::PutLe16(payload, 52, length);
    return unit.Receive(Request(0x93, sim::kSubReadRange, payload)).frame;
  };
  EXPECT_EQ(Data(rangeRead(0x08000020, 40)), Bytes(main.begin(), main.begin() + 40));
  EXPECT_EQ(Data(rangeRead(0x10000010, 16)), Bytes(eep.begin(), eep.begin() + 16));
  EXPECT_EQ(Code(rangeRead(0x20000000, 16)), 0x2C);
  EXPECT_EQ(Code(rangeRead(0x07FFFFF0, 32)), 0x2C);
}

TEST(SimUnitPacket, RefusesMalformedRequests) {
  const auto badChecksum = [] {
    Bytes packet = sim::MakePacket(0x93, sim::kSubBlankCheck, {}, ParameterBlock());
    packet.back() ^= 1;
    return Frame(packet);
  };
  const auto badLength = [] {
    Bytes packet = sim::MakePacket(0x93, sim::kSubBlankCheck, {}, ParameterBlock());
    sim::PutLe16(packet, 6, 79);
    return Frame(packet);
  };
  const auto argumentInBlock = [] {
    Bytes block = ParameterBlock();
    block[10] = 1;
    return Request(0x93, sim::kSubBlankCheck, block);
  };
  const auto wrongCodes = [] { return Request(0x93, sim::kSubBlankCheck, ParameterBlock({}, {0x55, 4, 0})); };
  const struct {
    const char* name;
    Bytes frame;
    int code;
    std::string problem;
  } cases[] = {
      {"bad escape", {0xC0, 0x93, 0xDB, 0x01, 0xC0}, 0x20, "frame does not decode"},
      {"short", Frame({0x93, 0x05, 0x00, 0x55}), 0x20, "packet shorter than 10 bytes"},
      {"checksum", badChecksum(), 0x20, "packet checksum wrong"},
      {"length field", badLength(), 0x20, "length field does not match the packet"},
      {"block argument", argumentInBlock(), 0x20, "parameter block argument is not 0"},
      {"chip codes", wrongCodes(), 0x20, "parameter block chip codes differ from the header"},
      {"no parameter block", Request(0x9B, 0, Bytes(20)), 0x20, "payload shorter than 80 bytes"},
      {"unknown command", Request(0x42, 0, Bytes(2)), 0x25, "unknown command 0x42"},
      {"unknown sub-command", Command(0x93, 0x77), 0x25, "unknown sub-command 0x77"},
      {"beyond memory", Command(0x9B, 4096), 0x2C, "read block beyond the unit's memory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Unit unit;
    EXPECT_EQ(Code(unit.Receive(c.frame).frame), c.code);
    EXPECT_EQ(unit.records.at(0).problem, c.problem);
  }
}

TEST(SimUnitFaults, ChangeTheAnswer) {
  const Bytes read4 = Command(0x9B, 4);
  const Bytes read0 = Command(0x9B, 0);
  {
    SCOPED_TRACE("result code for one block");
    sim::UnitSettings s;
    s.faults.push_back({0x9B, 4, sim::FaultKind::Result, 0x2C});
    sim::Unit unit(s);
    EXPECT_EQ(Data(unit.Receive(read0).frame).size(), 4096u);
    EXPECT_EQ(Code(unit.Receive(read4).frame), 0x2C);
    EXPECT_EQ(unit.records.at(1).replyCode, 0x2C);
  }
  {
    SCOPED_TRACE("only once");
    sim::UnitSettings s;
    s.faults.push_back({0x93, sim::kSubBlankCheck, sim::FaultKind::Result, 0x13, 0, 1});
    sim::Unit unit(s);
    EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0x13);
    EXPECT_EQ(Code(unit.Receive(Command(0x93, sim::kSubBlankCheck)).frame), 0);
  }
  {
    SCOPED_TRACE("bad checksum");
    sim::UnitSettings s;
    s.faults.push_back({0x9B, -1, sim::FaultKind::BadChecksum});
    sim::Unit unit(s);
    const Bytes packet = Decode(unit.Receive(read4).frame);
    ASSERT_EQ(packet.size(), 8u + 4096u + 2u);
    EXPECT_NE(sim::Checksum16(std::span(packet).first(packet.size() - 2)), sim::Le16(packet, packet.size() - 2));
  }
  {
    SCOPED_TRACE("undecodable");
    sim::UnitSettings s;
    s.faults.push_back({0x9B, -1, sim::FaultKind::Undecodable});
    sim::Unit unit(s);
    Bytes frame = unit.Receive(read4).frame;
    frame.resize(frame.size() - sim::kTailLength);
    EXPECT_EQ(frame.front(), 0xC0);
    EXPECT_EQ(frame.back(), 0xC0);
    EXPECT_FALSE(sim::DecodeFrame(frame));
  }
  for (const auto& [kind, lengthField] : {std::pair{sim::FaultKind::Truncate, 4096}, std::pair{sim::FaultKind::ShortData, 100}}) {
    SCOPED_TRACE(lengthField == 4096 ? "truncated" : "short data");
    sim::UnitSettings s;
    s.faults.push_back({0x9B, -1, kind, 0, 100});
    sim::Unit unit(s);
    unit.main[0x1000] = 0x42;
    const Bytes packet = Decode(unit.Receive(read4).frame);
    ASSERT_EQ(packet.size(), 8u + 100u + 2u);
    EXPECT_EQ(sim::Le16(packet, 6), lengthField);
    EXPECT_EQ(packet[8], 0x42);
    EXPECT_EQ(sim::Checksum16(std::span(packet).first(108)), sim::Le16(packet, 108));
  }
  {
    SCOPED_TRACE("lost request");
    sim::UnitSettings s;
    s.faults.push_back({0x95, -1, sim::FaultKind::Silent});
    sim::Unit unit(s);
    EXPECT_TRUE(unit.Receive(Command(0x95, 0, Bytes(4096, 0))).frame.empty());
    EXPECT_EQ(unit.main[0], 0xFF);
    EXPECT_FALSE(unit.records.at(0).answered);
  }
  {
    SCOPED_TRACE("silent unit");
    sim::UnitSettings s;
    s.silent = true;
    sim::Unit unit(s);
    EXPECT_TRUE(unit.Receive(kProbe).frame.empty());
    EXPECT_EQ(unit.records.at(0).command, 0xA3);
  }
  {
    SCOPED_TRACE("read-back flip");
    sim::UnitSettings s;
    s.flips.push_back({sim::Area::Main, 0x1003, 0x80});
    sim::Unit unit(s);
    const Bytes data = Data(unit.Receive(read4).frame);
    ASSERT_EQ(data.size(), 4096u);
    EXPECT_EQ(data[3], 0x7F);
    EXPECT_EQ(data[4], 0xFF);
    EXPECT_EQ(unit.main[0x1003], 0xFF);
  }
}

// A firmware block as the upgrade sends it.
Bytes FirmwareBlock(const Bytes& image, unsigned block, std::uint16_t key, std::uint8_t salt) {
  Bytes payload(sim::kFirmwareBlockPayload, 0);
  const std::uint8_t mask[4] = {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
                                static_cast<std::uint8_t>(key), 0};
  for (std::size_t i = 0; i < 2048; ++i) {
    const std::uint8_t random = (i % 4 == 3) ? 0 : static_cast<std::uint8_t>((i * 31 + salt) % 255);
    payload[2048 + i] = random;
    payload[i] = (i % 4 == 3) ? 0 : static_cast<std::uint8_t>((image[block * 2048 + i] ^ mask[i % 4]) ^ random);
  }
  Bytes packet = {0xB7, static_cast<std::uint8_t>(block * 4), static_cast<std::uint8_t>(key),
                  static_cast<std::uint8_t>(key >> 8), 0x12, salt, 0x20, 0x10};
  packet.reserve(packet.size() + payload.size() + 2);  // GCC 12 misreads the growth of a short vector
  packet.insert(packet.end(), payload.begin(), payload.end());
  sim::AppendChecksum(packet);
  return Frame(packet);
}

Bytes FirmwareFinish() {
  Bytes packet = {0xBD, 0x00, 0x52, 0x53, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
  sim::AppendChecksum(packet);
  return Frame(packet);
}

TEST(SimUnitFirmware, DecodesBlocksAndTakesTheNewIdentity) {
  sim::UnitSettings s;
  s.identity = sim::ApplicationIdentity("V1.05");
  s.identityAfterUpgrade = sim::ApplicationIdentity("V1.07");
  sim::Unit unit(s);
  const Bytes image = Pattern(4096, 0x33);
  EXPECT_EQ(Code(unit.Receive(FirmwareBlock(image, 0, 0xBEEF, 1)).frame), 6);
  EXPECT_EQ(Code(unit.Receive(FirmwareBlock(image, 1, 0x1234, 2)).frame), 6);
  EXPECT_EQ(unit.records.at(1).argument, 1);
  EXPECT_EQ(Code(unit.Receive(FirmwareFinish()).frame), 6);
  for (std::size_t i = 0; i < image.size(); ++i) {
    ASSERT_EQ(unit.firmware[i], i % 4 == 3 ? 0 : image[i]) << "at " << i;  // the fourth bytes do not travel
  }
  EXPECT_EQ(unit.settings.identity, "Velmot200IND V1.07");
  EXPECT_EQ(unit.upgradesFinished, 1);
  for (const auto& record : unit.records) EXPECT_EQ(record.problem, "");
}

TEST(SimUnitFirmware, RefusesBadBlocks) {
  const Bytes image = Pattern(8192, 0x44);
  {
    SCOPED_TRACE("out of order");
    sim::UnitSettings s;
    s.identityAfterUpgrade = "changed";
    sim::Unit unit(s);
    EXPECT_EQ(Code(unit.Receive(FirmwareBlock(image, 0, 1, 1)).frame), 6);
    EXPECT_EQ(Code(unit.Receive(FirmwareBlock(image, 2, 1, 1)).frame), 0x15);
    EXPECT_EQ(unit.records.at(1).problem, "firmware block 2 out of order, expected 1");
    EXPECT_EQ(Code(unit.Receive(FirmwareFinish()).frame), 6);
    EXPECT_EQ(unit.upgradesFinished, 0);
    EXPECT_EQ(unit.settings.identity, sim::ApplicationIdentity());
  }
  {
    SCOPED_TRACE("fourth byte sent");
    sim::Unit unit;
    Bytes frame = FirmwareBlock(image, 0, 1, 1);
    Bytes packet = Decode(frame);
    packet[8 + 2048 + 7] = 0x01;
    packet.resize(packet.size() - 2);
    sim::AppendChecksum(packet);
    EXPECT_EQ(Code(unit.Receive(Frame(packet)).frame), 0x20);
    EXPECT_EQ(unit.records.at(0).problem, "firmware block group 1 has a fourth byte");
  }
}

TEST(SimUnitStandAlone, StartPacketStartsTheScript) {
  sim::Unit unit;
  const Bytes reset = {0xC0, 0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD, 0x02, 0xC0};
  const sim::Reply reply = unit.Receive(reset);
  EXPECT_TRUE(reply.startScript);
  const Bytes packet = Decode(reply.frame);
  ASSERT_EQ(packet.size(), 12u);
  EXPECT_EQ(packet[0], 0xFA);
  EXPECT_EQ(unit.records.at(0).problem, "");

  // Another 0x8A packet with a good checksum is no start packet.
  const sim::Reply other = unit.Receive(Request(0x8A, 0x4552, Bytes{0, 0}, {0x53, 0x58, 0xA8}));
  EXPECT_FALSE(other.startScript);
  EXPECT_EQ(Code(other.frame), 0x20);
}

TEST(SimUnitStandAlone, ProgressReports) {
  const auto script = sim::StandAloneScript(3, 0x15);
  std::vector<int> stages;
  for (const auto& report : script) stages.push_back(report.stage);
  EXPECT_EQ(stages, (std::vector<int>{0x10, 0x20, 0x30, 0x40, 0x40, 0x40, 0x70, 0xF0}));
  EXPECT_EQ(script[5].current, 2);
  EXPECT_EQ(script[5].total, 3);
  EXPECT_EQ(script.back().result, 0x15);

  for (const bool bad : {false, true}) {
    sim::ProgressReport report{0x40, 0, 0x0102, 0x0304};
    report.badSum = bad;
    const Bytes packet = Decode(sim::Unit::ProgressFrame(report));
    ASSERT_EQ(packet.size(), 8u);
    EXPECT_EQ(Bytes(packet.begin(), packet.begin() + 7), (Bytes{0xFD, 0x40, 0x00, 0x02, 0x01, 0x04, 0x03}));
    EXPECT_EQ(sim::Sum16(packet) % 256 == 0, !bad);
  }
}

}  // namespace

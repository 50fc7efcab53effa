// The file builders against check_files.py, which reads the files back on
// its own.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "sim_files.h"
#include "sim_test_support.h"

namespace {

using sim::Bytes;
using Found = std::map<std::string, std::string>;

std::string Hex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

// What check_files.py finds in the file.
Found Check(const std::string& kind, const Bytes& file) {
  static int serial = 0;
  const auto path = std::filesystem::temp_directory_path() /
                    ("velmot-sim-file-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  sim::WriteBytes(path, file);
  const std::string command = "python3 '" VELMOT_SIM_CHECK_SCRIPT "' " + kind + " '" + path.string() + "'";
  Found found;
  std::FILE* out = ::popen(command.c_str(), "r");
  EXPECT_NE(out, nullptr);
  if (out) {
    std::string line;
    for (int c; (c = std::fgetc(out)) != EOF;) {
      if (c != '\n') {
        line += static_cast<char>(c);
        continue;
      }
      const auto eq = line.find('=');
      if (eq != std::string::npos) found[line.substr(0, eq)] = line.substr(eq + 1);
      line.clear();
    }
    EXPECT_EQ(::pclose(out), 0) << command;
  }
  std::filesystem::remove(path);
  return found;
}

sim::FirmwareFileSpec Spec(std::string version, std::uint16_t key, std::uint16_t end, std::uint16_t word3,
                           std::uint16_t word4, Bytes image) {
  sim::FirmwareFileSpec spec;
  spec.version = std::move(version);
  spec.headerKey = key;
  spec.firmwareEnd = end;
  spec.word3 = word3;
  spec.word4 = word4;
  spec.image = std::move(image);
  return spec;
}

TEST(SimFirmwareFile, ReadsBackAsBuilt) {
  const struct {
    const char* name;
    sim::FirmwareFileSpec spec;
    std::string version;  // as the reader takes it
  } cases[] = {
      {"ragged length", Spec("V1.07", 0x1234, 0x13FF, 0x0102, 0xA0B0, simtest::Pattern(5003, 7)), "V1.07"},
      {"whole groups", Spec("V2.0", 0xFFFF, 0x1000, 0, 0, simtest::Pattern(4096, 1)), "V2.0"},
      {"key table wraps", Spec("V1.06", 0x0001, 0x8000, 0, 0, simtest::Pattern(20000, 3)), "V1.06"},
      {"version not taken", Spec("X1.00", 0x5555, 0x1400, 0, 0, simtest::Pattern(33, 9)), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes file = sim::BuildFirmwareFile(c.spec);
    EXPECT_EQ(file.size(), 3315 + (c.spec.image.size() + 15) / 16 * 16 + 876 + 4);
    const Found found = Check("fwr", file);
    EXPECT_EQ(found.at("marker"), "ok");
    EXPECT_EQ(found.at("sum"), "ok");
    EXPECT_EQ(found.at("size"), "ok");
    EXPECT_EQ(found.at("version"), c.version);
    EXPECT_EQ(found.at("end"), std::to_string(c.spec.firmwareEnd));
    EXPECT_EQ(found.at("word3"), std::to_string(c.spec.word3));
    EXPECT_EQ(found.at("word4"), std::to_string(c.spec.word4));
    EXPECT_EQ(found.at("length"), std::to_string(c.spec.image.size()));
    EXPECT_EQ(found.at("image"), Hex(c.spec.image));
  }
}

TEST(SimFirmwareFile, DamageIsSeen) {
  const Bytes good = sim::BuildFirmwareFile(Spec("V1.07", 0x1234, 0x13FF, 0, 0, simtest::Pattern(3000, 5)));
  const struct {
    const char* name;
    std::size_t at;
    const char* key;
  } cases[] = {{"marker", 0, "marker"}, {"image byte", 3315 + 1000, "sum"}, {"stored sum", good.size() - 1, "sum"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file = good;
    file[c.at] ^= 0x01;
    EXPECT_EQ(Check("fwr", file).at(c.key), "bad");
  }
}

sim::DriverFileSpec DriverSpec() {
  sim::DriverFileSpec spec;
  spec.header8 = 0x12;
  spec.header9 = 0x34;
  spec.sections = {simtest::Pattern(300, 1), simtest::Pattern(17, 2), Bytes{}, simtest::Pattern(1024, 4),
                   simtest::Pattern(64, 5)};
  return spec;
}

TEST(SimDriverFile, ReadsBackAsBuilt) {
  const sim::DriverFileSpec spec = DriverSpec();
  const Bytes file = sim::BuildDriverFile(spec);
  EXPECT_EQ(file.size(), 0x68u + 300 + 17 + 1024 + 64);
  // The header up to the key is stored plain.
  EXPECT_EQ(std::string(file.begin(), file.begin() + 8), "QVFLSDRV");
  EXPECT_EQ(Bytes(file.begin() + 0x10, file.begin() + 0x20), Bytes(spec.key.begin(), spec.key.end()));
  const Found found = Check("vdr", file);
  EXPECT_EQ(found.at("magic"), "ok");
  EXPECT_EQ(found.at("checksum"), "ok");
  EXPECT_EQ(found.at("length"), "ok");
  EXPECT_EQ(found.at("sections"), "ok");
  EXPECT_EQ(found.at("header8"), "18");
  EXPECT_EQ(found.at("header9"), "52");
  for (std::size_t k = 0; k < spec.sections.size(); ++k) {
    EXPECT_EQ(found.at("section" + std::to_string(k)), Hex(spec.sections[k])) << "section " << k;
  }
}

TEST(SimDriverFile, DamageIsSeen) {
  const Bytes good = sim::BuildDriverFile(DriverSpec());
  Bytes data = good;
  data[0x40 + 100] ^= 0x20;
  EXPECT_EQ(Check("vdr", data).at("checksum"), "bad");
  Bytes longer = good;
  longer.push_back(0);
  EXPECT_EQ(Check("vdr", longer).at("length"), "bad");
  Bytes magic = good;
  magic[1] = 'W';
  EXPECT_EQ(Check("vdr", magic).at("magic"), "bad");
}

}  // namespace

// The file the program writes, read by a decoder written apart from the
// program's code from the published layout (decode_project.py).
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "data/program_state.h"
#include "project_job.h"

namespace {

std::string Hex(const std::string& text) {
  std::string out;
  char digits[3];
  for (const unsigned char c : text) {
    std::snprintf(digits, sizeof digits, "%02x", c);
    out += digits;
  }
  return out;
}

// python3's "name=value" lines as a map; empty when the decoder refused the file.
std::map<std::string, std::string> Decode(const std::string& file, const std::string& outDir) {
  if (!RequireTool("python3")) return {};
  std::string output;
  const int status =
      RunCommand("python3 " VELMOT_PROJECT_TESTS_DIR "/decode_project.py '" + file + "' '" + outDir + "'", output);
  EXPECT_EQ(status, 0) << output;
  std::map<std::string, std::string> fields;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    if (const auto eq = line.find('='); eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
  return fields;
}

class ProjectLayoutTest : public ProjectTest {
 protected:
  void ExpectDecodedAsSaved(std::uint32_t mainDataLength, std::uint32_t eepDataLength) {
    ObjectState.MainDataLength = mainDataLength;
    ObjectState.EepDataLength = eepDataLength;
    const TJob job = CurrentJob();
    const std::string path = Save();
    const Bytes block(CommBuffers.PacketBuffers[0] + 8, CommBuffers.PacketBuffers[0] + 8 + 512);
    const auto f = Decode(path, dir.Path(""));
    ASSERT_FALSE(f.empty());

    const TSelectedChip& c = job.Chip;
    const TProgramSettings& s = job.Settings;
    const TObjectState& o = job.Object;
    const std::map<std::string, std::string> expected = {
        {"ChipCode", std::to_string(c.ChipCode)},
        {"ModelName", Hex("Velmot200IND")},
        {"ChipName", Hex(job.ChipName)},
        {"ChipText2", Hex(job.ChipText2)},
        {"ChipChecksum", std::to_string(o.ChipChecksum)},
        {"FileChecksum", std::to_string(o.FileChecksum)},
        {"EepFileSum", std::to_string(o.EepFileSum)},
        {"CountLimit", std::to_string(s.CountLimit)},
        {"ObjectStart", std::to_string(o.ObjectStart)},
        {"ObjectEnd", std::to_string(o.ObjectEnd)},
        {"SnGain", std::to_string(s.SnGain)},
        {"ProjectOptionBits", std::to_string(s.ProjectOptionBits)},
        {"ChipFamilyIndex", std::to_string(c.ChipFamilyIndex)},
        {"MainSize", std::to_string(c.MainSize)},
        {"EepSize", std::to_string(c.EepSize)},
        {"MainDataLength", std::to_string(mainDataLength)},
        {"MainStart", std::to_string(c.MainStart)},
        {"EepStart", std::to_string(c.EepStart)},
        {"OptionStart", std::to_string(c.OptionStart)},
        {"AuxStart", std::to_string(c.AuxStart)},
        {"MainSumLow", std::to_string(o.MainSumLow)},
        {"MainSum16", std::to_string(o.MainSum16)},
        {"EepSumLow", std::to_string(o.EepSumLow)},
        {"EepSum16", std::to_string(o.EepSum16)},
        {"OptionSum", std::to_string(o.OptionSum)},
        {"OptionSum16", std::to_string(o.OptionSum16)},
        {"EepDataLength", std::to_string(eepDataLength)},
    };
    EXPECT_EQ(f, expected);
    const Bytes cfg = ReadFile(dir.Path("cfg.bin"));
    ASSERT_EQ(cfg.size(), 1024u);
    EXPECT_EQ(Bytes(cfg.begin(), cfg.begin() + 512), block);
    EXPECT_EQ(ReadFile(dir.Path("main.bin")), job.Main);
    EXPECT_EQ(ReadFile(dir.Path("eep.bin")), job.Eep);
  }
};

TEST_F(ProjectLayoutTest, EveryFieldIsWhereTheLayoutPutsIt) { ExpectDecodedAsSaved(0x9300, 0x800); }

// A key byte after every 1024th data byte, also after the last one; no EEP data at all.
TEST_F(ProjectLayoutTest, RunCodingAtAndAcrossTheKeyBoundary) {
  ExpectDecodedAsSaved(1024, 0);
  ExpectDecodedAsSaved(1025, 1024);
  ExpectDecodedAsSaved(0x10000, 0x10000);
}

}  // namespace

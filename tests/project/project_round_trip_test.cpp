// A saved job comes back whole, and saving it again stores the same job.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "data/program_state.h"
#include "project/project_decoder.h"
#include "project/project_file.h"
#include "project_job.h"

namespace {

Bytes SavedChipDataBlock() {
  const std::uint8_t* block = CommBuffers.PacketBuffers[0] + 8;
  return Bytes(block, block + 512);
}

// Every field a project keeps, against the job that was saved.
void ExpectRestored(const TJob& job) {
  const TSelectedChip& c = SelectedChip;
  const TSelectedChip& j = job.Chip;
  EXPECT_EQ(SessionTexts.ChipName, job.ChipName);
  EXPECT_EQ(SessionTexts.ChipText2, job.ChipText2);
  EXPECT_EQ(SessionTexts.ModelName, "Velmot200IND");
  EXPECT_EQ(c.ChipFamilyIndex, j.ChipFamilyIndex);
  EXPECT_EQ(c.ChipCode, j.ChipCode);
  EXPECT_EQ(c.ChipFamilyCode, j.ChipFamilyCode);
  EXPECT_EQ(c.ChipSubType, j.ChipSubType);
  EXPECT_EQ(c.MainSize, j.MainSize);
  EXPECT_EQ(c.EepSize, j.EepSize);
  EXPECT_EQ(c.MainPageSize, j.MainPageSize);
  EXPECT_EQ(c.EepPageSize, j.EepPageSize);
  EXPECT_EQ(c.MainStart, j.MainStart);
  EXPECT_EQ(c.MainEnd, j.MainEnd);
  EXPECT_EQ(c.EepStart, j.EepStart);
  EXPECT_EQ(c.EepEnd, j.EepEnd);
  EXPECT_EQ(c.AuxStart, j.AuxStart);
  EXPECT_EQ(c.AuxEnd, j.AuxEnd);
  EXPECT_EQ(c.OptionStart, j.OptionStart);
  EXPECT_EQ(c.OptionEnd, j.OptionEnd);
  EXPECT_EQ(c.OptionFormat, j.OptionFormat);
  EXPECT_EQ(c.ChipExtParam1, j.ChipExtParam1);
  EXPECT_EQ(c.ChipExtParam2, j.ChipExtParam2);
  EXPECT_EQ(c.ChipSubParam1, j.ChipSubParam1);
  EXPECT_EQ(c.ChipSubParam2, j.ChipSubParam2);
  EXPECT_EQ(0, std::memcmp(&c.ControlBytes, &j.ControlBytes, sizeof c.ControlBytes));

  const TProgramSettings& s = ProgramSettings;
  const TProgramSettings& t = job.Settings;
  EXPECT_EQ(s.DeviceAddress, t.DeviceAddress);
  EXPECT_EQ(s.PowerUpTime, t.PowerUpTime);
  EXPECT_EQ(s.PowerDownTime, t.PowerDownTime);
  EXPECT_EQ(s.ChipInTime, t.ChipInTime);
  EXPECT_EQ(s.ChipOutTime, t.ChipOutTime);
  EXPECT_EQ(s.RunTime, t.RunTime);
  EXPECT_EQ(s.AutoDetect, t.AutoDetect);
  EXPECT_EQ(s.ChipExtWord, t.ChipExtWord);
  EXPECT_EQ(s.ProjectOptionBits, t.ProjectOptionBits);
  EXPECT_EQ(s.SnFlags, t.SnFlags);
  EXPECT_EQ(s.SnSize, t.SnSize);
  EXPECT_EQ(s.SnGain, t.SnGain);
  EXPECT_EQ(s.SnValue, t.SnValue);
  EXPECT_EQ(s.SnAddress, t.SnAddress);
  EXPECT_EQ(s.CountLimit, t.CountLimit);

  const TObjectState& o = ObjectState;
  const TObjectState& p = job.Object;
  EXPECT_EQ(o.MainDataLength, p.MainDataLength);
  EXPECT_EQ(o.EepDataLength, p.EepDataLength);
  EXPECT_EQ(o.MainSum16, p.MainSum16);
  EXPECT_EQ(o.MainSumLow, p.MainSumLow);
  EXPECT_EQ(o.EepSum16, p.EepSum16);
  EXPECT_EQ(o.EepSumLow, p.EepSumLow);
  EXPECT_EQ(o.ChipChecksum, p.ChipChecksum);
  EXPECT_EQ(o.FileChecksum, p.FileChecksum);
  EXPECT_EQ(o.EepFileSum, p.EepFileSum);
  EXPECT_EQ(o.OptionSum16, p.OptionSum16);
  EXPECT_EQ(o.OptionSum, p.OptionSum);
  EXPECT_EQ(o.ObjectStart, p.ObjectStart);
  EXPECT_EQ(o.ObjectEnd, p.ObjectEnd);

  const std::uint8_t* main = MemoryImages.MainFlashImage;
  EXPECT_TRUE(std::equal(job.Main.begin(), job.Main.end(), main)) << "main data";
  const std::uint8_t* eep = MemoryImages.EepImage;
  EXPECT_TRUE(std::equal(job.Eep.begin(), job.Eep.end(), eep)) << "EEP data";
  // The block keeps 128 option bytes for this family; the rest of the image is blank.
  const std::uint8_t* options = MemoryImages.OptionImage;
  EXPECT_TRUE(std::equal(job.Options.begin(), job.Options.begin() + 128, options));
  EXPECT_TRUE(std::all_of(options + 128, options + kOptionImageSize, [](std::uint8_t b) { return b == 0xFF; }));
}

TEST_F(ProjectTest, SavedJobOpensAsItWasSaved) {
  const TJob job = CurrentJob();
  const std::string path = Save();
  const Bytes block = SavedChipDataBlock();
  ASSERT_EQ(prompts.boxes, std::vector<std::string>{"info: Created Project File : " + path});
  EXPECT_EQ(memo.Lines.back(), "> 10:21:07 Created Project File : " + path);

  SetPreviousJob();
  prompts.boxes.clear();
  ASSERT_EQ(Open(path), kProjectOpenOk);
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{"info: Project File Open Success!"});
  EXPECT_EQ(memo.Lines.back(), "> 10:21:07 Project File Open Success!");
  EXPECT_TRUE(std::equal(block.begin(), block.end(), MemoryImages.ChipDataBlock)) << "chip-data block";
  ExpectRestored(job);
}

TEST_F(ProjectTest, SecondSaveOfAnOpenedJobStoresTheSameJob) {
  // This family's block restores 128 option bytes; a job whose image is blank
  // past them comes back whole.
  std::fill(MemoryImages.OptionImage + 128, MemoryImages.OptionImage + kOptionImageSize, 0xFF);
  const std::string first = Save("first.pqx");
  SetPreviousJob();
  ASSERT_EQ(Open(first), kProjectOpenOk);
  const std::string second = Save("second.pqx");

  const Bytes a = ReadFile(first), b = ReadFile(second);
  EXPECT_NE(a, b) << "pad, keys, random block bytes and tail are drawn anew";
  const TProjectDecoding x = DecodeProjectFile(a), y = DecodeProjectFile(b);
  ASSERT_EQ(x.Result, kProjectOpenOk);
  ASSERT_EQ(y.Result, kProjectOpenOk);
  const TProjectHeader &h = x.Content.Header, &k = y.Content.Header;
  EXPECT_EQ(std::tie(h.ChipCode, h.ModelName, h.ChipName, h.ChipText2, h.ChipChecksum, h.FileChecksum,
                     h.EepFileSum, h.ObjectStart, h.ObjectEnd, h.SnGain, h.ProjectOptionBits, h.ChipFamilyIndex),
            std::tie(k.ChipCode, k.ModelName, k.ChipName, k.ChipText2, k.ChipChecksum, k.FileChecksum,
                     k.EepFileSum, k.ObjectStart, k.ObjectEnd, k.SnGain, k.ProjectOptionBits, k.ChipFamilyIndex));
  EXPECT_EQ(std::tie(h.MainSize, h.EepSize, h.MainDataLength, h.MainStart, h.EepStart, h.OptionStart, h.AuxStart,
                     h.MainSumLow, h.MainSum16, h.EepSumLow, h.EepSum16, h.OptionSum, h.OptionSum16),
            std::tie(k.MainSize, k.EepSize, k.MainDataLength, k.MainStart, k.EepStart, k.OptionStart, k.AuxStart,
                     k.MainSumLow, k.MainSum16, k.EepSumLow, k.EepSum16, k.OptionSum, k.OptionSum16));
  EXPECT_EQ(x.Content.MainData, y.Content.MainData);
  EXPECT_EQ(x.Content.EepDataLength, y.Content.EepDataLength);
  EXPECT_EQ(x.Content.EepData, y.Content.EepData);
  // The chip-data blocks differ only in the random byte, the random argument
  // and the checksum and sum that cover them.
  Bytes cx(x.Content.ChipData.begin(), x.Content.ChipData.end());
  Bytes cy(y.Content.ChipData.begin(), y.Content.ChipData.end());
  for (const std::size_t random : {10u, 14u, 15u, 508u, 509u, 510u, 511u}) cx[random] = cy[random] = 0;
  EXPECT_EQ(cx, cy);
}

// A family with 256 option bytes in the block gets both halves back.
TEST_F(ProjectTest, WideOptionFamilyRestoresTwoHundredFiftySixOptionBytes) {
  SelectedChip.ChipFamilyCode = 0xC0;
  const Bytes options(MemoryImages.OptionImage, MemoryImages.OptionImage + kOptionImageSize);
  const std::string path = Save();
  SetPreviousJob();
  ASSERT_EQ(Open(path), kProjectOpenOk);
  const std::uint8_t* restored = MemoryImages.OptionImage;
  EXPECT_TRUE(std::equal(options.begin(), options.begin() + 256, restored));
  EXPECT_TRUE(std::all_of(restored + 256, restored + kOptionImageSize, [](std::uint8_t b) { return b == 0xFF; }));
}

// The file does not keep the area ends: the option area comes from the
// family of the chip the file names, and no family has a third area.
TEST_F(ProjectTest, AreaEndsComeFromTheFamily) {
  struct TCase {
    std::uint8_t family;
    std::uint32_t optionStart, optionEnd;
  };
  for (const TCase& t : {TCase{3, 0x03802000, 0x03803FFF}, TCase{5, 0x1FFFF600, 0x1FFFF7FF},
                         TCase{1, 0xFFFFFFFF, 0xFFFFFFFF}, TCase{12, 0xFFFFFFFF, 0xFFFFFFFF}}) {
    SetJob();
    SelectedChip.ChipFamilyIndex = t.family;
    SelectedChip.OptionStart = t.optionStart;
    const std::string path = Save();
    SetPreviousJob();
    ASSERT_EQ(Open(path), kProjectOpenOk);
    EXPECT_EQ(SelectedChip.OptionStart, t.optionStart) << int{t.family};
    EXPECT_EQ(SelectedChip.OptionEnd, t.optionEnd) << int{t.family};
    EXPECT_EQ(SelectedChip.AuxEnd, 0xFFFFFFFFu) << int{t.family};
  }
}

}  // namespace

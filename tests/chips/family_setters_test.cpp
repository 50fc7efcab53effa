#include "chips/family_setters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "chips/chip_choice.h"
#include "chips/family_areas.h"
#include "chips/part_lists.h"
#include "link/channel_fixture.h"
#include "link/flash_driver.h"

namespace {

constexpr std::uint32_t K = 1024;
constexpr std::uint32_t kNone = 0xFFFFFFFF;
// Planted before a setter runs: families that leave these fields keep them.
constexpr std::uint8_t kOldSubType = 0x77;
constexpr std::uint16_t kOldEepPageSize = 0x1234;

using ChipFamilies = ChannelTest;

bool ControlBytesEqual(const TControlBytes& a, const TControlBytes& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct TArea {
  std::uint32_t Start, End;
};

bool Overlap(TArea a, TArea b) { return a.Start <= b.End && b.Start <= a.End; }

// Every listed part, chosen as the dialog's OK chooses it, gives a chip the
// images can hold, with a known family code and, where it needs one, a
// flash-driver file.
TEST_F(ChipFamilies, EveryListedPartGivesASoundChip) {
  const std::set<std::uint8_t> familyCodes = {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x14, 0x18, 0x20};
  std::vector<std::string> withoutDriver;
  std::size_t parts = 0;
  for (std::uint8_t vendor = 0; vendor < kVendorCount; ++vendor) {
    const TPartList& list = PartListFor(vendor);
    for (std::size_t row = 0; row < list.Names.size(); ++row) {
      const std::string name(list.Names[row]);
      SCOPED_TRACE(name);
      ++parts;
      ASSERT_TRUE(AcceptChipChoice(vendor, row));
      const TSelectedChip& chip = SelectedChip;
      EXPECT_EQ(ObjectState.ChipSelected, 1);
      EXPECT_EQ(ObjectState.ObjectLoaded, 0);
      EXPECT_EQ(SessionTexts.ChipName, name);
      EXPECT_EQ(chip.ChipFamilyIndex, vendor);
      EXPECT_EQ(ObjectState.MainDataLength, chip.MainSize);
      EXPECT_EQ(ObjectState.EepDataLength, chip.EepSize);
      EXPECT_EQ(chip.ChipCode, 0x55);
      EXPECT_TRUE(familyCodes.contains(chip.ChipFamilyCode));

      EXPECT_GT(chip.MainSize, 0u);
      EXPECT_LE(chip.MainSize, kMainFlashImageSize);
      EXPECT_EQ(chip.MainBaseOffset, 0u);
      EXPECT_EQ(chip.MainEnd, chip.MainStart + chip.MainSize - 1);
      EXPECT_GT(chip.MainEnd, chip.MainStart);  // no wrap past 4 GB
      std::vector<TArea> areas = {{chip.MainStart, chip.MainEnd}};
      if (chip.EepSize > 0) {
        EXPECT_LE(chip.EepSize, kEepImageSize);
        EXPECT_EQ(chip.EepEnd, chip.EepStart + chip.EepSize - 1);
        areas.push_back({chip.EepStart, chip.EepEnd});
      }
      if (chip.OptionStart != kNone) {
        EXPECT_LE(chip.OptionStart, chip.OptionEnd);
        EXPECT_LE(chip.OptionEnd - chip.OptionStart + 1, kOptionImageSize);
        areas.push_back({chip.OptionStart, chip.OptionEnd});
      }
      for (std::size_t i = 0; i < areas.size(); ++i)
        for (std::size_t j = i + 1; j < areas.size(); ++j) EXPECT_FALSE(Overlap(areas[i], areas[j])) << i << " " << j;
      EXPECT_EQ(chip.AuxStart, kNone);
      EXPECT_EQ(chip.AuxEnd, kNone);

      if (chip.UseFlashDriver && DriverFileForChip(name).empty()) withoutDriver.push_back(name);
    }
  }
  EXPECT_EQ(parts, 178u);
  EXPECT_EQ(withoutDriver, std::vector<std::string>{});
}

struct TChipRecord {
  std::uint8_t Vendor;
  std::uint8_t Row;
  const char* Name;
  std::uint32_t MainStart, MainSize, MainEnd;
  std::uint32_t EepStart, EepSize, EepEnd;
  std::uint32_t OptionStart, OptionEnd;
  std::uint16_t MainPageSize, EepPageSize;
  std::uint8_t FamilyCode, SubType, OptionFormat, BlankIsZero, UseFlashDriver;
  TControlBytes Control;
};

// Catches a wrong row of a family table: a size, an address, a code or a preset.
// Columns: vendor, row, name; main start, size, end; EEP start, size, end;
// option start, end; page sizes; family code, sub-type, option format, blank
// is zero, flash driver; control bytes.
// clang-format off
const TChipRecord kRecords[] = {
    {kVendorAC78xx, 0, "AC78010xAxx", 0x08000000, 16 * K, 0x08003FFF, kNone, 0, kNone, kNone, kNone, 2048,
     kOldEepPageSize, 0x00, 0, 0x08, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorAC78xx, 14, "AC78016xDxx", 0x08000000, 128 * K, 0x0801FFFF, kNone, 0, kNone, kNone, kNone, 2048,
     kOldEepPageSize, 0x00, 0, 0x08, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorAC78xx, 24, "AC7813MBxx", 0x08000000, 64 * K, 0x0800FFFF, kNone, 0, kNone, kNone, kNone, 2048,
     kOldEepPageSize, 0x00, 1, 0x08, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorAC78xx, 22, "AC7811QJxx", 0x08000000, 256 * K, 0x0803FFFF, kNone, 0, kNone, kNone, kNone, 2048,
     kOldEepPageSize, 0x00, 1, 0x08, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorIndie, 4, "IND83213A", 0, 64 * K, 0xFFFF, kNone, 0, kNone, kNone, kNone, 512, kOldEepPageSize, 0x01, 4,
     0x00, 0, 1, {0x80, 0x80, 0x40, 0x17, 0x00, 0, 0, 0}},
    {kVendorIndie, 5, "IND86201xx", 0, 0x27F00, 0x27EFF, kNone, 0, kNone, kNone, kNone, 512, kOldEepPageSize, 0x01,
     0x10, 0x00, 0, 1, {0x82, 0x80, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorLapis, 2, "ML630Q448", 0x10000000, 512 * K, 0x1007FFFF, 0x18000000, 8 * K, 0x18001FFF, kNone, kNone,
     1024, kOldEepPageSize, 0x10, 0x10, 0x00, 0, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorLapis, 1, "ML630Q466", 0x10000000, 64 * K, 0x1000FFFF, 0x18000000, 2 * K, 0x180007FF, kNone, kNone,
     1024, kOldEepPageSize, 0x10, 1, 0x00, 0, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorAUCUx, 1, "AU302NDF51xx", 0x03000000, 32 * K, 0x03007FFF, 0x03026000, 8 * K, 0x03027FFF, 0x03802000,
     0x03803FFF, 512, kOldEepPageSize, 0x18, kOldSubType, 0xFF, 0, 0, {0x08, 0x81, 0x00, 0x17, 0x80, 0, 0, 0}},
    {kVendorMR88F, 0, "MR88F005BI", 0, 64 * K, 0xFFFF, 0x1FFFE000, 0x1A00, 0x1FFFF9FF, kNone, kNone, 512,
     kOldEepPageSize, 0x04, 0, 0x00, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorMR88F, 39, "MR88F002Bx", 0, 64 * K, 0xFFFF, 0x1FFFE000, 0x1A00, 0x1FFFF9FF, kNone, kNone, 512,
     kOldEepPageSize, 0x04, 4, 0x00, 0, 1, {0x81, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorMR88F, 20, "MR88F705DI", 0, 256 * K, 0x3FFFF, 0x1FFFE000, 0x1A00, 0x1FFFF9FF, kNone, kNone, 512,
     kOldEepPageSize, 0x04, 0, 0x00, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorLCMPx, 4, "LCP037BTxxx", 0x08000000, 32 * K, 0x08007FFF, kNone, 0, kNone, 0x1FFFF600, 0x1FFFF7FF, 512,
     kOldEepPageSize, 0x18, kOldSubType, 0x0A, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 1, 0, 0}},
    {kVendorLCMPx, 13, "LCM32F037K8xx", 0x08000000, 64 * K, 0x0800FFFF, kNone, 0, kNone, 0x1FFFF600, 0x1FFFF7FF,
     512, kOldEepPageSize, 0x18, kOldSubType, 0x0A, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 1, 0, 0}},
    {kVendorLCMPx, 12, "LCM32F037R6xx", 0x08000000, 32 * K, 0x08007FFF, kNone, 0, kNone, 0x1FFFF600, 0x1FFFF7FF,
     512, kOldEepPageSize, 0x18, kOldSubType, 0x0A, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 1, 0, 0}},
    {kVendorBAT32, 12, "BAT32G157GK48xx", 0, 128 * K, 0x1FFFF, 0x500000, 0x400, 0x5003FF, kNone, kNone, 256, 256,
     0x08, kOldSubType, 0x00, 0, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorBAT32, 0, "BAT32G127GH40xx", 0, 128 * K, 0x1FFFF, 0x500200, 0xA00, 0x500BFF, kNone, kNone, 256, 256,
     0x08, kOldSubType, 0x00, 0, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorBAT32, 22, "BAT32A279KM100xx", 0, 512 * K, 0x7FFFF, 0x501000, 0x5000, 0x505FFF, kNone, kNone, 256, 256,
     0x08, kOldSubType, 0x00, 0, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorSonic, 1, "SN32F7741xx", 0, 32 * K, 0x7FFF, 0x1FFF0000, 0, 0x1FFF0000, kNone, kNone, 64, 64, 0x02,
     kOldSubType, 0x00, 1, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorSonic, 13, "SN32F7652BJG", 0, 64 * K, 0xFFFF, 0x1FFF0000, 0, 0x1FFF0000, kNone, kNone, 64, 64, 0x02,
     kOldSubType, 0x00, 1, 1, {0x80, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorSpctrol, 1, "SPC1169xxx", 0x10000000, 128 * K, 0x1001FFFF, 0x11002000, 0x3000, 0x11004FFF, kNone, kNone,
     4096, 4096, 0x20, kOldSubType, 0x00, 0, 1, {0x80, 0x01, 0x40, 0x17, 0x00, 0, 0, 0}},
    {kVendorSpctrol, 9, "SPD1179DPW48", 0x10000000, 128 * K, 0x1001FFFF, 0x11002000, 0x3000, 0x11004FFF, kNone,
     kNone, 4096, 4096, 0x20, kOldSubType, 0x00, 0, 1, {0x80, 0x01, 0x40, 0x17, 0x00, 0, 0, 0}},
    {kVendorLE5x10, 0, "LE5010AI", 0x18000000, 512 * K, 0x1807FFFF, kNone, 0, kNone, kNone, kNone, 512,
     kOldEepPageSize, 0x01, 0xFE, 0x00, 0, 1, {0x80, 0x81, 0x00, 0x15, 0x00, 0, 0, 0}},
    {kVendorSA32B, 2, "SA32B12xx", 0, 128 * K, 0x1FFFF, 0x20020000, 128 * K, 0x2003FFFF, kNone, kNone, 4096, 4096,
     0x14, 2, 0x00, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
    {kVendorSA32B, 0, "SA32B16xx", 0, 512 * K, 0x7FFFF, 0x20020000, 128 * K, 0x2003FFFF, kNone, kNone, 4096, 4096,
     0x14, 0, 0x00, 0, 1, {0x80, 0x81, 0x00, 0x17, 0x00, 0, 0, 0}},
};
// clang-format on

TEST_F(ChipFamilies, ExactRecordsOfChosenParts) {
  for (const TChipRecord& r : kRecords) {
    SCOPED_TRACE(r.Name);
    // Values a setter must overwrite, or keep where its family leaves them.
    SelectedChip.ChipSubType = kOldSubType;
    SelectedChip.EepPageSize = kOldEepPageSize;
    SelectedChip.ChipExtParam1 = SelectedChip.ChipSubParam2 = 9;
    SelectedChip.ControlBytes.ControlByte7 = 9;
    ProgramSettings.DeviceAddress = 0x33;
    ASSERT_EQ(PartListFor(r.Vendor).Names[r.Row], r.Name);
    ASSERT_TRUE(AcceptChipChoice(r.Vendor, r.Row));
    const TSelectedChip& c = SelectedChip;
    EXPECT_EQ(c.MainStart, r.MainStart);
    EXPECT_EQ(c.MainSize, r.MainSize);
    EXPECT_EQ(c.MainEnd, r.MainEnd);
    EXPECT_EQ(c.EepStart, r.EepStart);
    EXPECT_EQ(c.EepSize, r.EepSize);
    EXPECT_EQ(c.EepEnd, r.EepEnd);
    EXPECT_EQ(c.OptionStart, r.OptionStart);
    EXPECT_EQ(c.OptionEnd, r.OptionEnd);
    EXPECT_EQ(c.MainPageSize, r.MainPageSize);
    EXPECT_EQ(c.EepPageSize, r.EepPageSize);
    EXPECT_EQ(c.ChipFamilyCode, r.FamilyCode);
    EXPECT_EQ(c.ChipSubType, r.SubType);
    EXPECT_EQ(c.OptionFormat, r.OptionFormat);
    EXPECT_EQ(c.BlankIsZero, r.BlankIsZero);
    EXPECT_EQ(c.UseFlashDriver, r.UseFlashDriver);
    EXPECT_TRUE(ControlBytesEqual(c.ControlBytes, r.Control));
    EXPECT_EQ(c.MainBaseOffset, 0u);
    EXPECT_EQ(c.ChipExtParam1, 0);
    EXPECT_EQ(c.ChipSubParam2, 0);
    EXPECT_EQ(ProgramSettings.DeviceAddress, 0);
    // The area a project's chip takes is the one the setter writes.
    EXPECT_EQ(FamilyOptionArea(r.Vendor).Start, c.OptionStart);
    EXPECT_EQ(FamilyOptionArea(r.Vendor).End, c.OptionEnd);
  }
}

TEST_F(ChipFamilies, AU30xAfterSA32BKeepsItsSubTypeAndEepPageSize) {
  ASSERT_TRUE(AcceptChipChoice(kVendorSA32B, 2));
  ASSERT_TRUE(AcceptChipChoice(kVendorAUCUx, 0));
  EXPECT_EQ(SelectedChip.ChipSubType, 2);
  EXPECT_EQ(SelectedChip.EepPageSize, 4096);
  EXPECT_EQ(SelectedChip.ChipFamilyCode, 0x18);
}

// A name of neither AC78xx series leaves no chip selected; the presets are
// written all the same, the size and sub-type stay, and the end follows the
// old size from the new start.
TEST_F(ChipFamilies, AC78xxRefusesANameOfNeitherSeries) {
  for (const char* name : {"XYZ", "", "AC780", "AC78", "ac7801xAxx", "AC7911JBxx"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(AcceptChipChoice(kVendorIndie, 3));  // 64K, sub-type 3
    SetAC78xChipParams(name);
    EXPECT_EQ(ObjectState.ChipSelected, 0);
    EXPECT_EQ(SelectedChip.MainSize, 64 * K);
    EXPECT_EQ(SelectedChip.ChipSubType, 3);
    EXPECT_EQ(SelectedChip.MainStart, 0x08000000u);
    EXPECT_EQ(SelectedChip.MainEnd, 0x0800FFFFu);
    EXPECT_EQ(SelectedChip.ChipFamilyCode, 0x00);
    EXPECT_EQ(SelectedChip.ControlBytes.VoltageFlags, 0x81);
    EXPECT_EQ(MemoryImages.OptionImage[0], 0xAC);
  }
}

struct TNameCase {
  std::uint8_t Vendor;
  const char* Name;
  std::uint32_t MainSize;
  std::uint8_t SubType;
};

// Names too short for a rule's character, or outside the lists, fall to the
// family's "other" case.
TEST_F(ChipFamilies, NamesTooShortForACharacterRuleTakeTheOtherCase) {
  const TNameCase cases[] = {
      {kVendorAC78xx, "AC7801", 128 * K, 0},  {kVendorAC78xx, "AC7801xx", 128 * K, 0},
      {kVendorAC78xx, "AC781", 256 * K, 1},   {kVendorMR88F, "MR88F", 256 * K, 4},
      {kVendorMR88F, "MR88F005", 256 * K, 0}, {kVendorSA32B, "SA32B", 512 * K, 1},
      {kVendorLCMPx, "LCM", 128 * K, 1},      {kVendorLapis, "ML630Q4", 512 * K, 1},
      {kVendorBAT32, "BAT32", 128 * K, 1},    {kVendorIndie, "IND8", 0x27F00, 0x10},
  };
  for (const TNameCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SelectedChip.ChipSubType = 1;
    SetChipParamsForVendor(c.Vendor, c.Name, 1);
    EXPECT_EQ(SelectedChip.MainSize, c.MainSize);
    EXPECT_EQ(SelectedChip.ChipSubType, c.SubType);
  }
}

TEST_F(ChipFamilies, LE5x10LeavesTheOptionImageAlone) {
  std::memset(MemoryImages.OptionImage, 0x5A, kOptionImageSize);
  SetLE5x10ChipParams();
  EXPECT_TRUE(std::all_of(std::begin(MemoryImages.OptionImage), std::end(MemoryImages.OptionImage),
                          [](std::uint8_t b) { return b == 0x5A; }));
}

TEST_F(ChipFamilies, ChoosingAPartResetsTheDataAndStoresTheChoice) {
  ObjectState.ObjectLoaded = 1;
  ObjectState.MainDataLength = 5;
  ObjectState.EepDataLength = 7;
  std::memset(MemoryImages.OptionImage, 0x5A, kOptionImageSize);

  ASSERT_TRUE(AcceptChipChoice(kVendorIndie, 5));
  EXPECT_EQ(SessionTexts.ChipName, "IND86201xx");
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, kVendorIndie);
  EXPECT_EQ(SelectedChip.ChipSubType, 0x10);
  EXPECT_EQ(ObjectState.ObjectLoaded, 0);
  EXPECT_EQ(ObjectState.ChipSelected, 1);
  EXPECT_EQ(ObjectState.MainDataLength, 0x27F00u);
  EXPECT_EQ(ObjectState.EepDataLength, 0u);
  EXPECT_EQ(MemoryImages.OptionImage[100], 0x00);

  // Any vendor index above the last is SA32B and is stored as given.
  ASSERT_TRUE(AcceptChipChoice(12, 2));
  EXPECT_EQ(SessionTexts.ChipName, "SA32B12xx");
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, 12);
  EXPECT_EQ(SelectedChip.ChipFamilyCode, 0x14);
  EXPECT_EQ(ObjectState.EepDataLength, 128 * K);

  // A row the list does not have changes nothing.
  EXPECT_FALSE(AcceptChipChoice(kVendorLapis, 3));
  EXPECT_EQ(SessionTexts.ChipName, "SA32B12xx");
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, 12);
}

}  // namespace

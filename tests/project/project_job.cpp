#include "project_job.h"

#include <cstring>

#include "data/random.h"
#include "project/project_file.h"

namespace {

template <typename T>
Bytes BytesOf(const T& record) {
  Bytes b(sizeof record);
  std::memcpy(b.data(), &record, sizeof record);
  return b;
}

template <typename T>
void FillRecord(T& record, std::uint8_t value) {
  std::memset(static_cast<void*>(&record), value, sizeof record);
}

void Pattern(std::uint8_t* image, std::size_t size, std::uint32_t seed) {
  std::uint32_t x = seed;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    image[i] = static_cast<std::uint8_t>(x >> 16);
  }
}

}  // namespace

void SetJob() {
  ResetProgramState();
  InitChipViewDefaults();
  SelectedChip.ChipCode = 0x55;
  InitGlobalSettings();
  SessionState.ProgrammerCount = 3;

  TSelectedChip& c = SelectedChip;
  c.ChipFamilyIndex = 5;
  c.ChipCode = 0x55;
  c.ChipFamilyCode = 0x18;
  c.ChipSubType = 0x03;
  c.MainSize = 0x10000;
  c.EepSize = 0x800;
  c.MainPageSize = 512;
  c.EepPageSize = 64;
  c.UseFlashDriver = 1;
  c.MainStart = 0x08000000;
  c.MainEnd = 0x0800FFFF;
  c.EepStart = 0x1FFF0000;
  c.EepEnd = 0x1FFF07FF;
  c.AuxStart = c.AuxEnd = 0xFFFFFFFF;
  c.OptionStart = 0x1FFFF600;
  c.OptionEnd = 0x1FFFF7FF;
  c.OptionFormat = 0x0A;
  c.ChipExtParam1 = 0x61;
  c.ChipExtParam2 = 0x62;
  c.ChipSubParam1 = 0x63;
  c.ChipSubParam2 = 0x64;
  c.ControlBytes = {0x80, 0x81, 0x85, 0x57, 0x03, 0x01, 0x06, 0x07};

  TProgramSettings& s = ProgramSettings;
  s.DeviceAddress = 0x4C;
  s.PowerUpTime = 12;
  s.PowerDownTime = 13;
  s.ChipInTime = 14;
  s.ChipOutTime = 15;
  s.RunTime = 0x1234;
  s.AutoDetect = 15;
  s.ChipExtWord = 0xBEEF;
  s.ProjectOptionBits = 0x05;
  s.SnFlags = 0x45;
  s.SnSize = 4;
  s.SnGain = 7;
  s.SnValue = 0x01020304;
  s.SnAddress = 0x0800FF00;
  s.CountLimit = 5000;

  TObjectState& o = ObjectState;
  o.MainDataLength = 0x9300;
  o.EepDataLength = 0x800;
  o.MainSum16 = 0x1111;
  o.MainSumLow = 0x2222;
  o.EepSum16 = 0x3333;
  o.EepSumLow = 0x4444;
  o.ChipChecksum = 0x55667788;
  o.FileChecksum = 0x99AABBCC;
  o.EepFileSum = 0x0D0E0F10;
  o.OptionSum16 = 0x5555;
  o.OptionSum = 0x6666;
  o.ObjectStart = 0x08000000;
  o.ObjectEnd = 0x080092FF;
  o.ObjectLoaded = o.ChipSelected = 1;

  SessionTexts.ChipName = "LCM32F037K8T7";
  SessionTexts.ChipText2 = "blinky_release.hex";
  Pattern(MemoryImages.MainFlashImage, kMainFlashImageSize, 1);
  Pattern(MemoryImages.EepImage, kEepImageSize, 2);
  Pattern(MemoryImages.OptionImage, kOptionImageSize, 3);
}

TJob CurrentJob() {
  TJob job{SelectedChip, ProgramSettings, ObjectState, SessionTexts.ChipName, SessionTexts.ChipText2, {}, {}, {}};
  const std::uint8_t* main = MemoryImages.MainFlashImage;
  job.Main.assign(main, main + ObjectState.MainDataLength);
  job.Eep.assign(MemoryImages.EepImage, MemoryImages.EepImage + ObjectState.EepDataLength);
  job.Options.assign(MemoryImages.OptionImage, MemoryImages.OptionImage + kOptionImageSize);
  return job;
}

void SetPreviousJob() {
  FillRecord(SelectedChip, 0xA5);
  FillRecord(ProgramSettings, 0xA5);
  FillRecord(ObjectState, 0xA5);
  Pattern(MemoryImages.MainFlashImage, kMainFlashImageSize, 77);
  Pattern(MemoryImages.EepImage, kEepImageSize, 78);
  Pattern(MemoryImages.OptionImage, kOptionImageSize, 79);
  Pattern(MemoryImages.ChipDataBlock, kChipDataBlockSize, 80);
  SessionTexts.ModelName = "previous model";
  SessionTexts.ChipName = "previous chip";
  SessionTexts.ChipText2 = "previous.hex";
}

TStateSnapshot TStateSnapshot::Take() {
  return {BytesOf(SelectedChip),        BytesOf(ProgramSettings), BytesOf(ObjectState),
          BytesOf(MemoryImages),        SessionTexts.ModelName,   SessionTexts.ChipName,
          SessionTexts.ChipText2};
}

TFileLayout LayoutFor(std::uint32_t mainDataLength, std::uint32_t eepDataLength) {
  auto runCoded = [](std::size_t n) { return 1 + n + n / 1024; };
  TFileLayout l{};
  l.MfmTag = 2403 + 3 + 1 + 1024;
  l.EepTag = l.MfmTag + 3 + runCoded(mainDataLength);
  const std::size_t eepBytes = eepDataLength == 0 ? 0 : (eepDataLength % 65536 ? eepDataLength % 65536 : 65536);
  l.Sum = l.EepTag + 3 + 4 + (eepDataLength == 0 ? 0 : runCoded(eepBytes));
  l.Size = l.Sum + 4 + 256;
  return l;
}

void Resum(Bytes& b, std::size_t at) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < at; ++i) sum += b[i];
  PutLe32(b, at, sum);
}

void ProjectTest::SetUp() {
  SetJob();
  SessionTexts.InfoMemoRef = &memo;
  SetClock(&clock);
}

void ProjectTest::TearDown() {
  SetClock(nullptr);
  ResetProgramState();
}

std::string ProjectTest::Save(const std::string& name) {
  const std::string path = dir.Path(name);
  EXPECT_TRUE(WriteProjectFile(path, SelectedChip.ChipCode));
  return path;
}

std::uint8_t ProjectTest::Open(const std::string& path) {
  const std::uint8_t result = ReadProjectFile(path, MayPlace);
  if (result == kProjectOpenOk) ApplyChipDataBlock();
  return result;
}

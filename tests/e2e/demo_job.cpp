#include "demo_job.h"

#include <stdexcept>

#include "chips/chip_choice.h"
#include "chips/part_lists.h"
#include "data/checksum_lines.h"
#include "data/program_state.h"
#include "data/settings_collection.h"
#include "link/firmware_file.h"
#include "project/project_file.h"
#include "project/project_options.h"
#include "sim_files.h"
#include "window_controls.h"

namespace {

// A pattern that holds the frame bytes 0xC0 and 0xDB, so the download's
// frames carry escapes.
std::uint8_t PatternByte(std::size_t i, std::uint8_t seed) {
  return static_cast<std::uint8_t>(seed + i * 37 + (i >> 7) * 11);
}

TDemoBytes Pattern(std::size_t size, std::uint8_t seed) {
  TDemoBytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = PatternByte(i, seed);
  return bytes;
}

// Selects the part as the chip dialog's OK does.
void SelectPart(const std::string& name) {
  for (std::uint8_t vendor = 0; vendor < kVendorCount; ++vendor) {
    const TPartList& list = PartListFor(vendor);
    for (std::size_t row = 0; row < list.Names.size(); ++row) {
      if (list.Names[row] == name && AcceptChipChoice(vendor, row)) return;
    }
  }
  throw std::runtime_error("the demo part " + name + " is not listed");
}

// The window's controls as an operator leaves them for this job: the
// layout's, with the job's EEP choice and serial numbers (little-endian).
TSettingsControls DemoControls(const TDemoJob& job) {
  TSettingsControls c = WindowDefaultControls();
  c.ChkBoxPrgEEP = job.ProgramEep;
  c.ChkBoxErsEEP = job.ProgramEep;
  c.CheckBoxSN = true;
  c.SNOrderChk = false;
  c.GainEdit = std::to_string(job.SerialGain);
  c.SNEdit1 = std::to_string(job.SerialStart);
  c.AddrEdit = "0x00007FF0";
  return c;
}

sim::DriverFileSpec DriverSpec() {
  sim::DriverFileSpec spec;
  for (std::size_t k = 0; k < spec.sections.size(); ++k)
    spec.sections[k] = Pattern(48 + 16 * k, static_cast<std::uint8_t>(0x30 + k));
  return spec;
}

}  // namespace

TDemoBytes DemoMainData(std::uint32_t length) { return Pattern(length, 0x11); }
TDemoBytes DemoEepData(std::uint32_t length) { return Pattern(length, 0xC0); }

TDemoBytes DemoDriverFile() { return sim::BuildDriverFile(DriverSpec()); }

TDemoBytes DemoDriverPlain() {
  TDemoBytes file = DemoDriverFile();
  sim::ScrambleDriverFile(file, DriverSpec().key);
  return file;
}

TDemoLayout WriteDemoProject(const std::filesystem::path& path, const TDemoJob& job) {
  ResetProgramState();
  InitChipViewDefaults();
  SelectedChip.ChipCode = 0x55;
  InitGlobalSettings();
  SelectPart(job.PartName);

  TSelectedChip& chip = SelectedChip;
  TObjectState& object = ObjectState;
  if (job.MainDataLength != 0) object.MainDataLength = job.MainDataLength;
  object.EepDataLength = chip.EepSize;
  if (object.MainDataLength > kMainFlashImageSize || object.EepDataLength > kEepImageSize) {
    ResetProgramState();
    throw std::runtime_error("the demo job's data does not fit the memory images");
  }
  const std::uint8_t blank = chip.BlankIsZero ? 0x00 : 0xFF;
  const TDemoBytes main = DemoMainData(object.MainDataLength);
  const TDemoBytes eep = DemoEepData(object.EepDataLength);
  std::fill(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage), blank);
  std::fill(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage), blank);
  std::copy(main.begin(), main.end(), MemoryImages.MainFlashImage);
  std::copy(eep.begin(), eep.end(), MemoryImages.EepImage);
  object.ObjectLoaded = 1;
  SessionTexts.ChipText2 = "demo.hex";

  CollectProgramSettings(DemoControls(job));
  ComputeMainChecksum();
  ComputeEepChecksum();
  const bool usesDriver = chip.UseFlashDriver != 0;
  ProgramSettings.ProjectOptionBits =
      ProjectOptionBits({.SnDecimal = false, .OnlineSn = false, .UseFlashDriver = usesDriver});
  const TDemoLayout layout{object.MainDataLength, object.EepDataLength, usesDriver};
  if (!WriteProjectFile(path.string(), chip.ChipCode))
    throw std::runtime_error("the project writer refused the demo job " + path.string());
  ResetProgramState();
  return layout;
}

void WriteDemoProgramFiles(const std::filesystem::path& programFolder) {
  std::filesystem::create_directories(programFolder / "QuorixDRVs");
  sim::WriteBytes(programFolder / kDemoDriverFile, DemoDriverFile());
  sim::FirmwareFileSpec firmware;
  firmware.version = kDemoFirmwareVersion;
  firmware.image = Pattern(3000, 0x5A);
  sim::WriteBytes(programFolder / kFirmwareFileName, sim::BuildFirmwareFile(firmware));
}

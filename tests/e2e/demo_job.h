// The demo job: a small programming job written as a project file with the
// program's own project writer, and the files that a program folder needs to
// run it on simulated units (the chip's flash driver and a firmware image of
// the units' version). Used by make-demo-project and the end-to-end tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using TDemoBytes = std::vector<std::uint8_t>;

struct TDemoJob {
  // A BAT32 part with 32 KB of main flash, 1.5 KB of EEP data flash and a
  // flash driver (LDR09).
  std::string PartName = "BAT32G133GC24xx";
  // Main data bytes of the job (the chip's whole main flash when 0); the
  // EEP data is always the chip's whole EEP area.
  std::uint32_t MainDataLength = 0;
  bool ProgramEep = true;  // "Prog. Data Flash"
  std::uint32_t SerialStart = 1000;
  std::uint16_t SerialGain = 1;
};

// What the project holds.
struct TDemoLayout {
  std::uint32_t MainDataLength;
  std::uint32_t EepDataLength;
  bool UsesFlashDriver;
};

// The first length bytes of the job's main flash and EEP data, made here
// and not read from any file.
TDemoBytes DemoMainData(std::uint32_t length);
TDemoBytes DemoEepData(std::uint32_t length);
// The flash-driver file of the demo's chip family, plain (as the program
// holds it after descrambling) and as stored.
TDemoBytes DemoDriverPlain();
TDemoBytes DemoDriverFile();
inline constexpr const char* kDemoDriverFile = "QuorixDRVs/LDR09.VDR";
// The firmware version of the simulated units and of the demo's firmware file.
inline constexpr const char* kDemoFirmwareVersion = "V1.06";

// Writes the job as a project file, from a program state of its own that is
// cleared again afterwards. Throws std::runtime_error when the part is not
// listed, when the job's data does not fit the memory images (nothing is
// copied then) or when the writer refuses the job.
TDemoLayout WriteDemoProject(const std::filesystem::path& path, const TDemoJob& job = {});

// Writes the flash driver and the firmware image "VelmotIND.FWR" into a
// program folder.
void WriteDemoProgramFiles(const std::filesystem::path& programFolder);

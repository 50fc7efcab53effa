// Fixtures of the project-file tests: a whole job in the program state, the
// previous job that a refused file must leave alone, and the places of a
// file's sections.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../data/object_test_support.h"
#include "../link/channel_fixture.h"
#include "data/program_state.h"
#include "link/byte_order.h"

// The records a project restores, copied as they were saved.
struct TJob {
  TSelectedChip Chip;
  TProgramSettings Settings;
  TObjectState Object;
  std::string ChipName, ChipText2;
  Bytes Main, Eep, Options;  // MainDataLength, EepDataLength and 8 KB
};

// A job with a distinct value in every field a project keeps: an LCP037-like
// chip with 64 KB main flash and 2 KB EEP, three programmers in use.
void SetJob();
TJob CurrentJob();

// Every record byte and text different from any job SetJob makes.
void SetPreviousJob();

// Every byte of the program state a read may touch.
struct TStateSnapshot {
  Bytes Chip, Settings, Object, Images;
  std::string ModelName, ChipName, ChipText2;
  static TStateSnapshot Take();
  bool operator==(const TStateSnapshot&) const = default;
};

// Offsets in a file the writer made for this much main and EEP data.
struct TFileLayout {
  std::size_t MfmTag, EepTag, Sum, Size;
};
TFileLayout LayoutFor(std::uint32_t mainDataLength, std::uint32_t eepDataLength);

// Stores the sum of every byte before at, as the writer would have.
void Resum(Bytes& b, std::size_t at);

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Saves the current job to name in the test folder; returns the path.
  std::string Save(const std::string& name = "job.pqx");
  // Reads path and, when it opened, applies its chip-data block.
  std::uint8_t Open(const std::string& path);
  // No programmer runs here: a file that passed is put in place.
  static bool MayPlace() { return true; }

  TempDir dir;
  TMemoLines memo;
  TFixedClock clock;
  ScriptedPrompts prompts;
};

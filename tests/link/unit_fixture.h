// ChannelTest with a loaded chip and programmers on lines to simulated units.
#pragma once

#include <map>
#include <memory>

#include "channel_fixture.h"
#include "loaded_chip.h"
#include "unit_line.h"

class UnitTest : public ChannelTest {
 protected:
  static constexpr int kCh = 2;  // C3 in the log

  void SetUp() override {
    ChannelTest::SetUp();
    SetLoadedChip();
  }
  void TearDown() override {
    lines.clear();
    ChannelTest::TearDown();
  }

  // Puts programmer ch on a line to a new unit (unplugging the one before).
  TUnitLine& Plug(int ch = kCh, sim::UnitSettings settings = {}) {
    lines.erase(ch);
    return *lines.emplace(ch, std::make_unique<TUnitLine>(events, ch, std::move(settings))).first->second;
  }

  TQueuedPortEvents events;
  std::map<int, std::unique_ptr<TUnitLine>> lines;
};

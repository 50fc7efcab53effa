// ChannelTest with a loaded chip, the receive path of the ten programmers,
// views and prompts that record what the operation path shows, and replies
// built by the simulator's own framing and fed in as received chunks. The
// requests the handlers send go nowhere (no port is bound).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "channel_fixture.h"
#include "data/run_settings.h"
#include "link/operation_views.h"
#include "link/receive_path.h"
#include "loaded_chip.h"
#include "scripted_prompts.h"
#include "sim_framing.h"

// Every call, as text, in order.
class TRecordingViews final : public IOperationViews {
 public:
  void AdvanceSerialNumber() override { Calls.push_back("AdvanceSerialNumber"); }
  void ShowReadMainChecksum() override { Calls.push_back("ShowReadMainChecksum"); }
  void FillHexViewer(std::uint32_t first, std::uint32_t last) override {
    Calls.push_back("FillHexViewer " + Hex(first) + " " + Hex(last));
  }
  void ShowReadEepChecksum() override { Calls.push_back("ShowReadEepChecksum"); }
  void FillEepViewer() override { Calls.push_back("FillEepViewer"); }
  void ShowReadOption(int ch, std::size_t payloadLength) override {
    Calls.push_back("ShowReadOption " + std::to_string(ch) + " " + std::to_string(payloadLength));
  }
  void SetInfoPanelCaption(const std::string& text) override {
    Caption = text;
    Calls.push_back("InfoPanel " + text);
  }

  std::vector<std::string> Calls;
  std::string Caption;

 private:
  static std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", v);
    return text;
  }
};

class OperationTest : public ChannelTest {
 protected:
  using Bytes = sim::Bytes;

  void SetUp() override {
    ChannelTest::SetUp();
    SetLoadedChip();
    SetOperationViews(&views);
    SetPrompts(&prompts);
  }
  void TearDown() override {
    SetPrompts(nullptr);
    SetOperationViews(nullptr);
    ChannelTest::TearDown();
  }

  // Programmer ch linked and in state, busy as a starter leaves it, with
  // the settings that stand as its operation's.
  void InState(int ch, std::uint8_t state, std::uint16_t blockCount = 8) {
    TakeRunSettings(ch, true);
    TProgrammerState& p = ProgrammerState;
    p.DeviceLinked[ch] = 1;
    p.ProgOpCode[ch] = state;
    p.ChannelBusy[ch] = 1;
    p.ReplyTimeout[ch] = 500;
    p.BlockIndex[ch] = 0;
    p.BlockCount[ch] = blockCount;
  }

  static Bytes ShortReply(std::uint8_t result, std::uint8_t code = 0x93) {
    const std::uint8_t payload[2] = {result, 0};
    return sim::MakePacket(code, 0, {}, payload);
  }
  static Bytes DataReply(const Bytes& data, std::uint8_t code = 0x9B) { return sim::MakePacket(code, 0, {}, data); }

  // The packet framed as the programmer sends it, in one chunk.
  void Receive(int ch, const Bytes& packet) { Feed(ch, sim::EncodeFrame(packet)); }
  void Feed(int ch, const Bytes& bytes) { receivePath.ReceiveData(ch, bytes.data(), bytes.size()); }

  std::string Line(int ch, const std::string& message) const {
    return "> 10:21:07 C" + std::to_string(ch + 1) + " : " + message;
  }

  TRecordingViews views;
  TScriptedPrompts prompts;
  TReceivePath receivePath;
};

// The receive path on its own: which frames of the received chunks reach
// the receivers, what stays in the receive buffer, and how it copes with
// handlers that clear the buffer or open a box.
#include "link/receive_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel_fixture.h"
#include "data/program_state.h"
#include "link/frame_extractor.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kCh = 1;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const Bytes kTail = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
Bytes FrameOf(std::uint8_t seed) { return {0xC0, seed, 0x01, 0x02, 0xDB, 0xDC, 0x03, seed, 0xC0}; }

class ReceivePathTest : public ChannelTest {
 protected:
  struct TFrame {
    bool Linked;
    int Ch;
    Bytes Bytes_;
  };

  void SetUp() override {
    ChannelTest::SetUp();
    ProgrammerState.DeviceLinked[kCh] = 1;
  }

  // Records every frame as it lies in the frame buffer, then runs onFrame.
  TReceivePath Recording() {
    auto record = [this](bool linked) {
      return [this, linked](int ch, std::uint16_t length) {
        const std::uint8_t* f = CommBuffers.RxFrameBuffers[ch];
        frames.push_back({linked, ch, Bytes(f, f + length)});
        if (onFrame) onFrame(ch);
      };
    };
    return TReceivePath(TFrameReceivers{record(true), record(false)});
  }

  static void Feed(TReceivePath& path, int ch, const Bytes& bytes) { path.ReceiveData(ch, bytes.data(), bytes.size()); }
  static Bytes Kept(int ch) {
    return Bytes(CommBuffers.RxBuffers[ch], CommBuffers.RxBuffers[ch] + ProgrammerState.RxFill[ch]);
  }
  std::vector<Bytes> FrameBytes() const {
    std::vector<Bytes> all;
    for (const TFrame& f : frames) all.push_back(f.Bytes_);
    return all;
  }

  std::vector<TFrame> frames;
  std::function<void(int ch)> onFrame;
};

TEST_F(ReceivePathTest, TwoFramesAndAHalfLeaveTheTailForTheNextChunk) {
  TReceivePath path = Recording();
  const Bytes third = FrameOf(3);
  const Bytes firstHalf(third.begin(), third.begin() + 4), secondHalf(third.begin() + 4, third.end());
  Feed(path, kCh, Concat({FrameOf(1), kTail, FrameOf(2), kTail, firstHalf}));
  EXPECT_EQ(FrameBytes(), (std::vector<Bytes>{FrameOf(1), FrameOf(2)}));
  EXPECT_EQ(Kept(kCh), Concat({kTail, firstHalf}));

  Feed(path, kCh, Concat({secondHalf, kTail}));
  EXPECT_EQ(FrameBytes(), (std::vector<Bytes>{FrameOf(1), FrameOf(2), third}));
  EXPECT_EQ(Kept(kCh), kTail);  // skipped again before the next opening
}

// However the line splits a frame (right after its opening too), it is
// handed on once, whole, when its closing 0xC0 has come.
TEST_F(ReceivePathTest, AFrameSplitAnywhereArrivesOnce) {
  const Bytes stream = Concat({{0x11, 0x22}, FrameOf(7), kTail});
  for (std::size_t cut = 1; cut < stream.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    frames.clear();
    ProgrammerState.RxFill[kCh] = 0;
    TReceivePath path = Recording();
    Feed(path, kCh, Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut)));
    Feed(path, kCh, Bytes(stream.begin() + static_cast<std::ptrdiff_t>(cut), stream.end()));
    EXPECT_EQ(FrameBytes(), std::vector<Bytes>{FrameOf(7)});
  }
}

TEST_F(ReceivePathTest, FramesAreCutByTheirDelimiters) {
  struct Case {
    const char* name;
    Bytes chunk;
    std::vector<Bytes> frames;
  };
  const Case cases[] = {
      {"noise and tails before the opening never reach a receiver",
       Concat({{0x00, 0x55, 0xFF, 0xDB}, kTail, FrameOf(1)}),
       {FrameOf(1)}},
      {"of a run of 0xC0 the last one opens", Concat({{0xC0, 0xC0}, FrameOf(2)}), {FrameOf(2)}},
      {"back to back frames share no byte", Concat({FrameOf(3), FrameOf(4)}), {FrameOf(3), FrameOf(4)}},
      // The extractor does not judge escapes: a bad one is consumed with
      // its frame, up to that frame's closing 0xC0.
      {"a frame with a bad escape ends at its own closing 0xC0",
       Concat({{0xC0, 0x01, 0xDB, 0x05, 0x02, 0xC0}, kTail, FrameOf(5)}),
       {{0xC0, 0x01, 0xDB, 0x05, 0x02, 0xC0}, FrameOf(5)}},
      {"an escape byte before the closing 0xC0 does not hide it", {0xC0, 0x01, 0xDB, 0xC0, 0x07, 0xC0},
       {{0xC0, 0x01, 0xDB, 0xC0}}},
      {"a lone opening is no frame", {0xC0}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    frames.clear();
    ProgrammerState.RxFill[kCh] = 0;
    TReceivePath path = Recording();
    Feed(path, kCh, c.chunk);
    EXPECT_EQ(FrameBytes(), c.frames);
  }
}

TEST_F(ReceivePathTest, EveryChunkReloadsTheReplyTimeout) {
  TReceivePath path = Recording();
  TProgrammerState& p = ProgrammerState;
  p.ProgOpCode[kCh] = kOpIdle;
  p.ReplyTimeout[kCh] = 7;
  p.ReplyTimeout[kCh - 1] = 9;
  Feed(path, kCh, {0xFF, 0xFF});
  EXPECT_EQ(p.ReplyTimeout[kCh], 1000);
  p.ReplyTimeout[kCh] = 3;
  Feed(path, kCh, {0xC0, 0x01});
  EXPECT_EQ(p.ReplyTimeout[kCh], 1000);
  EXPECT_TRUE(frames.empty());
  EXPECT_EQ(p.ReplyTimeout[kCh - 1], 9);  // another programmer's is left alone
}

// Linked or not is looked at per frame: a link reply that links the
// programmer sends the rest of the chunk to the dispatcher.
TEST_F(ReceivePathTest, LinkedProgrammersFramesGoToTheDispatcherOthersToTheLinkHandler) {
  TReceivePath path = Recording();
  ProgrammerState.DeviceLinked[kCh] = 0;
  onFrame = [](int ch) { ProgrammerState.DeviceLinked[ch] = 1; };
  Feed(path, kCh, Concat({FrameOf(1), kTail, FrameOf(2)}));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_FALSE(frames[0].Linked);
  EXPECT_TRUE(frames[1].Linked);

  onFrame = nullptr;
  ProgrammerState.DeviceLinked[kCh + 1] = 0;
  Feed(path, kCh + 1, FrameOf(3));
  EXPECT_FALSE(frames.back().Linked);
  EXPECT_EQ(frames.back().Ch, kCh + 1);
}

// A handler that starts an operation clears the receive buffer: what the
// chunk held after that frame is dropped, and the next chunk starts clean.
TEST_F(ReceivePathTest, AHandlerThatClearsTheBufferDropsTheRestOfIt) {
  TReceivePath path = Recording();
  onFrame = [](int ch) { ProgrammerState.RxFill[ch] = 0; };
  Feed(path, kCh, Concat({FrameOf(1), kTail, FrameOf(2), kTail, {0xC0, 0x33}}));
  EXPECT_EQ(FrameBytes(), std::vector<Bytes>{FrameOf(1)});
  EXPECT_EQ(ProgrammerState.RxFill[kCh], 0);

  onFrame = nullptr;
  Feed(path, kCh, Concat({kTail, FrameOf(3)}));
  EXPECT_EQ(FrameBytes(), (std::vector<Bytes>{FrameOf(1), FrameOf(3)}));
}

// Bytes that never close a frame cannot fill the buffer past its end: the
// oldest go, with the frame they started, and frames after them come
// through.
TEST_F(ReceivePathTest, InputBeyondTheBufferDropsTheOldestAndTheFrameInProgress) {
  TReceivePath path = Recording();
  const Bytes noise(2048, 0x5A);
  Feed(path, kCh, {0xC0, 0x01});
  std::uint16_t highest = 0;
  for (int i = 0; i < 12; ++i) {
    Feed(path, kCh, noise);
    highest = std::max(highest, ProgrammerState.RxFill[kCh]);
    ASSERT_LE(ProgrammerState.RxFill[kCh], kRxBufferSize);
  }
  EXPECT_GT(highest, kRxBufferSize - 2048);
  Feed(path, kCh, Concat({kTail, FrameOf(4)}));
  EXPECT_EQ(FrameBytes(), std::vector<Bytes>{FrameOf(4)});
}

// A frame longer than any reply is consumed whole but handed on cut to the
// frame buffer and without its closing 0xC0, so that it cannot decode.
TEST_F(ReceivePathTest, AFrameLongerThanTheFrameBufferIsHandedOnCut) {
  TReceivePath path = Recording();
  Bytes longFrame(kRxFrameBufferSize + 100, 0x44);
  longFrame.front() = 0xC0;
  longFrame.back() = 0xC0;
  for (std::size_t at = 0; at < longFrame.size(); at += 2048) {
    const std::size_t end = std::min(at + 2048, longFrame.size());
    Feed(path, kCh, Bytes(longFrame.begin() + static_cast<std::ptrdiff_t>(at), longFrame.begin() + static_cast<std::ptrdiff_t>(end)));
  }
  Feed(path, kCh, Concat({kTail, FrameOf(6)}));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Bytes_.size(), kRxFrameBufferSize);
  EXPECT_EQ(frames[0].Bytes_.front(), 0xC0);
  EXPECT_NE(frames[0].Bytes_.back(), 0xC0);
  EXPECT_EQ(frames[1].Bytes_, FrameOf(6));
}

// While a frame of a programmer is handled (its handler may show a modal
// box, whose event loop delivers chunks), that programmer's next chunks
// wait for the handler to return; another programmer's are taken at once.
TEST_F(ReceivePathTest, ChunksOfTheSameProgrammerWaitForItsHandlerOthersDoNot) {
  TReceivePath path = Recording();
  ProgrammerState.DeviceLinked[kCh + 1] = 1;
  std::vector<std::string> order;
  onFrame = [&](int ch) {
    order.push_back("handled C" + std::to_string(ch + 1) + " frame " + std::to_string(frames.back().Bytes_[1]));
    if (frames.size() > 1) return;
    ProgrammerState.ReplyTimeout[kCh] = 5;
    Feed(path, kCh, Concat({kTail, FrameOf(2)}));
    Feed(path, kCh + 1, FrameOf(9));
    order.push_back("box closed");
    EXPECT_EQ(ProgrammerState.ReplyTimeout[kCh], 5);  // the waiting chunk is not taken yet
  };
  Feed(path, kCh, FrameOf(1));
  EXPECT_EQ(order, (std::vector<std::string>{"handled C2 frame 1", "handled C3 frame 9", "box closed",
                                             "handled C2 frame 2"}));
  EXPECT_EQ(ProgrammerState.ReplyTimeout[kCh], 1000);
}

TEST(ExtractRxFrame, StopsAtTheFilledPartAndReportsWhereItGot) {
  ResetProgramState();
  const Bytes bytes = {0xAA, 0xC0, 0x01, 0x02, 0xC0, 0xFF, 0xC0, 0x05};
  std::copy(bytes.begin(), bytes.end(), CommBuffers.RxBuffers[0]);
  ProgrammerState.RxFill[0] = static_cast<std::uint16_t>(bytes.size());
  std::uint16_t position = 0, length = 0;
  ASSERT_TRUE(ExtractRxFrame(0, position, length));
  EXPECT_EQ(position, 5);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(Bytes(CommBuffers.RxFrameBuffers[0], CommBuffers.RxFrameBuffers[0] + 4), (Bytes{0xC0, 0x01, 0x02, 0xC0}));
  EXPECT_FALSE(ExtractRxFrame(0, position, length));
  ResetProgramState();
}

}  // namespace

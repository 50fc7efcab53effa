// The receive path of one programmer fed chunk by chunk: the frame extractor,
// and every frame it cuts handed to the real reply dispatcher (linked) or
// link handler (searched). Byte 0 picks the programmer and whether it is
// linked, byte 1 the step it is in, bytes 2..3 its block counters, byte 4
// whether a firmware file is loaded; then each chunk is a length byte and
// its bytes.
#include <cstring>
#include <iterator>

#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/frame_coding.h"
#include "link/link_reply.h"
#include "link/receive_path.h"
#include "link/reply_dispatch.h"
#include "fuzz_support.h"

namespace {

constexpr std::uint8_t kStates[] = {
    kOpIdle,        kOpChipDataDownload, kOpMainDownload, kOpEepDownload, kOpDriverDownload, kOpBlankCheck,
    kOpErase,       kOpProgramMain,      kOpProgramEep,   kOpWriteOption, kOpVerifyMain,     kOpVerifyEep,
    kOpReadMain,    kOpReadEep,          kOpReadChecksum, kOpReadOption,  kOpChipInfo,       kOpReadMemory,
    kOpFirmwareUpgrade,
};

// The extractor hands on a frame with both delimiters, or one cut to the
// frame buffer; then the real receiver takes it.
void CheckFrame(int ch, std::uint16_t frameLength) {
  const std::uint8_t* frame = CommBuffers.RxFrameBuffers[ch];
  FUZZ_CHECK(frameLength >= 3 && frameLength <= kRxFrameBufferSize && frame[0] == kFrameEnd);
  if (frameLength < kRxFrameBufferSize) {
    FUZZ_CHECK(frame[frameLength - 1] == kFrameEnd);
    FUZZ_CHECK(std::memchr(frame + 1, kFrameEnd, frameLength - 2u) == nullptr);
  }
}

// A chunk of 1..128 bytes, or up to 2,033 with the high bit set: the serial
// component never posts more than 2,048 at once.
std::size_t ChunkLength(std::uint8_t b) { return b & 0x80 ? (b & 0x7F) * 16u + 1 : b + 1u; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(0);
  const std::uint8_t who = in.Byte();
  const int ch = (who & 0x7F) % kProgrammerMax;
  const bool linked = who & 0x80;
  const std::uint8_t state = kStates[in.Byte() % std::size(kStates)];
  const std::uint8_t blocks = in.Byte();
  const std::uint8_t index = in.Byte();
  const std::uint8_t firmware = in.Byte();

  TProgrammerState& p = ProgrammerState;
  std::memset(CommBuffers.RxBuffers[ch], 0, kRxBufferSize);
  std::memset(CommBuffers.RxFrameBuffers[ch], 0, kRxFrameBufferSize);
  std::memset(CommBuffers.PacketBuffers[ch], 0, kPacketBufferSize);
  p.DeviceLinked[ch] = linked;
  if (state != kOpIdle) {
    StartChannelProgress(1000, blocks * 1024u, true, ch);
    p.BlockIndex[ch] = static_cast<std::uint16_t>(index * 4u);
  }
  p.ProgOpCode[ch] = state;
  if (firmware & 1) {
    SessionState.FirmwareLoaded = 1;
    SessionState.FirmwareStart = 0x1000;
    SessionState.FirmwareEnd = static_cast<std::uint16_t>(0x1000 + (firmware >> 1) % 32 * 1024);
    std::memcpy(SessionState.FirmwareVersion, "V1.06", 6);
  }

  TReceivePath path({[](int c, std::uint16_t n) {
                       CheckFrame(c, n);
                       DispatchReply(c, n);
                     },
                     [](int c, std::uint16_t n) {
                       CheckFrame(c, n);
                       HandleLinkReply(c, n);
                     }});
  while (in.Left() > 0) {
    const std::span<const std::uint8_t> chunk = in.Take(ChunkLength(in.Byte()));
    if (chunk.empty()) break;
    path.ReceiveData(ch, chunk.data(), chunk.size());
    FUZZ_CHECK(p.RxFill[ch] <= kRxBufferSize);
  }
  for (int other = 0; other < kProgrammerMax; ++other) {
    if (other != ch) FUZZ_CHECK(p.RxFill[other] == 0 && p.DeviceLinked[other] == 0);
  }
  CheckImagesOutsideAreas(kWritesFirmware);
  return 0;
}

// The reply dispatcher of the ten programmers: a linked programmer's frame
// is decoded, checked and handed to the step handler of the state the
// programmer is in.
#pragma once

#include <cstdint>
#include <span>

// A decoded reply as the step handlers see it.
struct TReply {
  // 0 for a data reply, the programmer's result code for a short reply,
  // 0x23 for a checksum mismatch, 0x20 for a reply that lacks bytes its
  // header counts.
  std::uint8_t Result = 0;
  // The payload of a data reply (from byte 8 of the packet buffer), as many
  // bytes as its length field counts; empty for a short reply or a reply
  // that failed its check.
  std::span<const std::uint8_t> Data;
};

using TReplyHandler = void (*)(const TReply& reply, int ch);

// Decodes the frame in RxFrameBuffers[ch] into PacketBuffers[ch]. A frame
// that does not decode ends the programmer's operation with "Packet Error!",
// also when it is idle; a progress report is shown whatever the state; any
// other reply goes to the handler of ProgOpCode[ch] (states 53 and 58 only
// for programmer 1) or, in a state without one, is dropped.
void DispatchReply(int ch, std::uint16_t frameLength);

// The handler of a state for programmer ch; nullptr where the reply is dropped.
TReplyHandler ReplyHandlerFor(std::uint8_t state, int ch);

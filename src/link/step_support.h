// What the step handlers share: the result checks, the block step of the
// 4 KB transfers, the bounds of an image block and the end of an auto run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/reply_dispatch.h"

constexpr std::size_t kStepBlockBytes = 4096;
constexpr std::uint16_t kBlockStepKb = 4;  // one packet moves 4 KB

// For the steps that accept 0 and 6: true for those, else the operation
// ends with the code's message.
bool AcceptedResult(const TReply& reply, int ch);

// For the steps that accept only 0 and use `needed` bytes of the reply: a
// short reply with any other code ends with that code's message, and a
// reply that carries fewer bytes ends with "Packet Error!".
bool DataArrived(const TReply& reply, std::size_t needed, int ch);

using TBlockSender = bool (*)(std::uint16_t block, int ch);

// After an accepted block: BlockIndex moves on by 4 KB and the gauge to
// BlockIndex + 1 + gaugeExtra. True when a block remains, which is then
// sent (a sender that cannot build it ends the operation itself); false at
// the end of the transfer.
bool NextBlock(int ch, TBlockSender send, int gaugeExtra = 0);

// The current block (offset BlockIndex x 1024) of the main image, from
// MainBaseOffset, and of the EEP image: 4096 bytes or, at the end of the
// area (MainStart .. MainEnd, EepSize) or of the image, fewer or none.
std::span<std::uint8_t> MainImageBlock(int ch);
std::span<std::uint8_t> EepImageBlock(int ch);
std::size_t BlockOffset(int ch);

// The current main block as programmer ch's run sent it to the chip: the
// image's bytes (MainImageBlock) with the run's online serial number in its
// place, copied into buffer.
using TStepBlock = std::array<std::uint8_t, kStepBlockBytes>;
std::span<const std::uint8_t> MainBlockAsSent(int ch, TStepBlock& buffer);

// The verify and read commands of the next block.
bool SendMainBlockRead(std::uint16_t block, int ch);
bool SendEepBlockRead(std::uint16_t block, int ch);

// A chip done by an auto run that ended well: the next serial number and
// the count of programmed chips.
void CountProgrammedChip();

// The failure text of each result code that has one, looked up with the
// code's top bit cleared (codes without one use ResultFallbackFormat).
#pragma once

#include <cstdint>

#include "text/text_id.h"

struct TResultMessage {
  std::uint8_t Code;  // result code AND 0x7F
  TTextId Text;
};

inline constexpr TResultMessage kResultMessages[] = {
    {0x04, TTextId::ChipArmFaultText},
    {0x07, TTextId::ChipArmFaultText},
    {0x0B, TTextId::ChipNoResponseText},
    {0x10, TTextId::ChipWriteProtectedText},
    {0x13, TTextId::ChipReadOutProtectedText},
    {0x15, TTextId::CommandFailedText},
    {0x20, TTextId::PacketErrorText},
    {0x25, TTextId::UnknownCommandText},
    {0x2C, TTextId::FlashMemoryErrorText},
    {0x31, TTextId::DataVerifyErrorText},
    {0x34, TTextId::ChipChecksumUnmatchedText},
    {0x36, TTextId::ChipErrorText},
    {0x38, TTextId::ManufacturingErrorText},
    {0x40, TTextId::CommandExecuteTimeOutText},
    {0x45, TTextId::CommandErrorText},
    {0x47, TTextId::WriteSnErrorText},
    {0x60, TTextId::InterfaceNoResponseText},
};

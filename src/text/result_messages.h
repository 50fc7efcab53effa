// The messages that end a programmer's operation: success, the failure text
// of each result code (looked up with the code's top bit cleared), the text
// for codes without one, and the reply time-out.
#pragma once

#include <cstdint>

struct TResultMessage {
  std::uint8_t Code;  // result code AND 0x7F
  const char* Text;
};

inline constexpr const char* kOperationSuccessText = "Operation Success!";

inline constexpr TResultMessage kResultMessages[] = {
    {0x04, "Chip error: Arm Fault Response!"},
    {0x07, "Chip error: Arm Fault Response!"},
    {0x0B, "Chip error: No Response!"},
    {0x10, "Chip Has been Written Protected!"},
    {0x13, "Chip Has been Read out Protected!"},
    {0x15, "Command Execute Failed!"},
    {0x20, "Packet Error!"},
    {0x25, "Unknow Command or not Support!"},
    {0x2C, "Flash Memory Error!"},
    {0x31, "Data Verify error!"},
    {0x34, "Chip check Sum unmatched!"},
    {0x36, "Chip error!"},
    {0x38, "Manufacturing error!"},
    {0x40, "Command Execute Time Out!"},
    {0x45, "Command Execute Error!"},
    {0x47, "Write S/N Error!"},
    {0x60, "Programming Interface error: No Response!"},
};

// Formatted with the whole code, decimal after a literal 0, then hex.
inline constexpr const char* kResultFallbackFormat = "Opertaion Failed! Error Code : 0%d/0x%.2X.";

// The 10 ms timer's text for a programmer that stays silent.
inline constexpr const char* kCommandTimeOutText = "Command Executed Time Out!";

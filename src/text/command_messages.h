// Texts of the operation commands of the toolbar and the "&Command" and
// "Read" menus.
#pragma once

inline constexpr const char* kSelectChipFirstText = "Please select chip type first!";
inline constexpr const char* kLoadObjectFirstText = "Please load the object file first!";
inline constexpr const char* kConnectDeviceText = "Please connect the device!";
inline constexpr const char* kDoChipEraseText = "Do Chip Erase......";

// A read takes over programmer 1's state code, so it must wait until the
// step that runs there has ended; a read into the buffers waits for every
// programmer, whose running steps send and compare those buffers.
inline constexpr const char* kReadWhileBusyText =
    "Programmer 1 is busy, please wait until it has finished before reading!";
inline constexpr const char* kReadIntoBufferWhileBusyText =
    "A programmer is busy, please wait until every programmer has finished before reading into the buffer!";

// With "Enable Online SN" the one S/N written into the buffer would go to
// every programmer of a gang run alike.
inline constexpr const char* kOnlineSnOneProgrammerFormat =
    "\"Enable Online SN\" writes one S/N for all programmers: exactly one programmer must be linked and idle "
    "(now %d)!";

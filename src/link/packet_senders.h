// The senders of the requests to a programmer: each builds its packet (see
// command_packets.h and firmware_packets.h) and hands the frame to the
// programmer's port. They return whether the port took the frame; nobody
// retries, and a frame that never left ends the step by its reply time-out.
#pragma once

#include <cstdint>

// Hands TxFrameBuffers[ch][0 .. length-1] to CommPorts[ch]->SendBuffer. False
// for a programmer index out of range, no port, a closed port or length 0.
bool SendFrame(int ch, std::uint16_t length);

bool SendLinkProbe(int ch);
bool SendChipData(std::uint16_t key, int ch);
bool SendDriverBlock(int ch);
bool SendCommand(std::uint8_t code, std::uint16_t argument, int ch);
bool SendOptionData(int ch);
bool SendReadMemory(int ch);
bool SendReset(int ch);

// The 4 KB image blocks of the downloads and of programming (block in KB).
// A block that would read outside its image is not sent, and the operation
// ends here as failed with "Packet Error!" (0x20). The starters and the
// block steps of the reply handlers thus need no check of their own and
// must not report that result again.
bool SendMainDataBlock(std::uint16_t block, int ch);
bool SendEepDataBlock(std::uint16_t block, int ch);
bool SendMainProgramBlock(std::uint16_t block, int ch);
bool SendEepProgramBlock(std::uint16_t block, int ch);

// The firmware upgrade's block (a fresh key each time) and closing packet.
bool SendFirmwareBlock(std::uint16_t block, int ch);
bool SendFirmwareFinish(int ch);

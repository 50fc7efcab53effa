// Programmer ch of the program on a line to a simulated programmer unit: a
// TComm open on the unit's pseudo-terminal and bound as CommPorts[ch]. The
// replies the unit sends are kept as they arrive and taken one frame at a
// time the way the receive path will: SlipDecode into PacketBuffers[ch],
// then CheckReplyPacket.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "link/comm.h"
#include "queued_port_events.h"
#include "sim_pty.h"

class TUnitLine {
 public:
  TUnitLine(TQueuedPortEvents& events, int ch, sim::UnitSettings settings = {});
  ~TUnitLine();
  TUnitLine(const TUnitLine&) = delete;
  TUnitLine& operator=(const TUnitLine&) = delete;

  sim::PtyUnit& Unit() { return unit_; }
  TComm& Comm() { return comm_; }

  // Runs port events until the unit's next reply frame is complete and
  // returns its result (0x20 for a frame that does not decode); nullopt when
  // none comes within the limit.
  std::optional<std::uint8_t> NextReply();

  // Waits until the unit has recorded count packets in all and returns them
  // (fewer when the limit passes first).
  std::vector<sim::PacketRecord> Packets(std::size_t count);

  // What the unit received after the first `seen` packets, up to a link
  // probe sent now: the probe travels behind everything sent before it, so
  // this is all that was sent, without waiting for silence.
  std::vector<sim::PacketRecord> PacketsSince(std::size_t seen);

 private:
  std::optional<std::uint8_t> TakeReply();

  TQueuedPortEvents& events_;
  int ch_;
  sim::PtyUnit unit_;
  TComm comm_;
  std::vector<std::uint8_t> received_;
};

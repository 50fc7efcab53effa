#include "unit_line.h"

#include <algorithm>

#include "data/program_state.h"
#include "link/comm_settings.h"
#include "link/frame_coding.h"
#include "link/packet_senders.h"

TUnitLine::TUnitLine(TQueuedPortEvents& events, int ch, sim::UnitSettings settings)
    : events_(events), ch_(ch), unit_(std::move(settings)), comm_(events) {
  comm_.SetLineSettings(ProgrammerLineSettings());
  comm_.SetTimeouts(ProgrammerTimeouts());
  comm_.CommName = unit_.Path();
  comm_.OnReceiveData = [this](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
    received_.insert(received_.end(), buffer, buffer + length);
  };
  comm_.OpenPort();
  ProgrammerState.CommPorts[ch_] = &comm_;
}

TUnitLine::~TUnitLine() {
  if (ProgrammerState.CommPorts[ch_] == &comm_) ProgrammerState.CommPorts[ch_] = nullptr;
  comm_.ClosePort();
}

std::optional<std::uint8_t> TUnitLine::TakeReply() {
  // Complete once an opening and a closing 0xC0 are in (the unit opens with one).
  if (std::count(received_.begin(), received_.end(), kFrameEnd) < 2) return std::nullopt;
  std::vector<std::uint8_t> source = received_;
  std::uint16_t sourceLength = static_cast<std::uint16_t>(source.size());
  std::uint16_t decoded = 0;
  const std::uint8_t framing = SlipDecode(source, CommBuffers.PacketBuffers[ch_], decoded, sourceLength);
  received_.assign(source.begin(), source.begin() + sourceLength);
  if (framing != kStatusOk) return framing;
  return CheckReplyPacket(CommBuffers.PacketBuffers[ch_], decoded);
}

std::optional<std::uint8_t> TUnitLine::NextReply() {
  std::optional<std::uint8_t> result;
  events_.RunUntil([&] {
    result = TakeReply();
    return result.has_value();
  });
  return result;
}

std::vector<sim::PacketRecord> TUnitLine::Packets(std::size_t count) {
  unit_.WaitForPackets(count);
  return unit_.Received();
}

std::vector<sim::PacketRecord> TUnitLine::PacketsSince(std::size_t seen) {
  SendLinkProbe(ch_);
  std::size_t n = seen + 1;
  while (true) {
    const bool came = unit_.WaitForPackets(n);
    std::vector<sim::PacketRecord> all = unit_.Received();
    const auto from = all.begin() + static_cast<std::ptrdiff_t>(std::min(seen, all.size()));
    if (!came) return {from, all.end()};
    if (all.back().command == sim::kCmdLinkProbe) return {from, all.end() - 1};
    n = all.size() + 1;
  }
}

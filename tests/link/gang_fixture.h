// Programmers on real ports to simulated units, the way the window runs
// them: a TComm per unit on its pseudo-terminal, bound as CommPorts[ch],
// its received data going through the receive path, its hang-up through
// the hang-up handler, and the test's thread as the GUI thread that runs
// the port events (and the 10 ms tick, when a test wants time to pass).
#pragma once

#include <memory>
#include <vector>

#include "link/comm.h"
#include "link/comm_settings.h"
#include "link/device_search.h"
#include "link/port_hangup.h"
#include "link/reply_timeout.h"
#include "operation_fixture.h"
#include "queued_port_events.h"
#include "sim_pty.h"

class GangTest : public OperationTest {
 protected:
  void TearDown() override {
    for (const auto& port : ports) port->ClosePort();
    ports.clear();
    units.reset();
    OperationTest::TearDown();
  }

  // count units with the same settings, or one each.
  void StartUnits(std::size_t count, const sim::UnitSettings& settings = {}) {
    StartUnits(std::vector<sim::UnitSettings>(count, settings));
  }
  void StartUnits(const std::vector<sim::UnitSettings>& settings) {
    units = std::make_unique<sim::UnitGroup>(settings);
    portNames = units->Paths();
    for (std::size_t n = 0; n < settings.size(); ++n) {
      const int ch = static_cast<int>(n);
      auto port = std::make_unique<TComm>(events);
      port->CommName = portNames[n];
      port->SetLineSettings(ProgrammerLineSettings());
      port->SetTimeouts(ProgrammerTimeouts());
      port->OnReceiveData = [this, ch](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
        receivePath.ReceiveData(ch, buffer, length);
      };
      port->OnReceiveError = [this, ch](TComm*, std::uint32_t mask) { receivePath.ReceiveError(ch, mask); };
      port->OnRequestHangup = [ch](TComm*) { HandleHangup(ch); };
      ProgrammerState.CommPorts[ch] = port.get();
      ports.push_back(std::move(port));
    }
  }

  // "&Connect Dev." with the units' paths as the connection list.
  void Search() { FindDevices(PortList()); }
  // The start-up timer's automatic search over the same list.
  void SearchAgain() { ::SearchAgain(PortList()); }
  TPortListReload PortList() {
    return [this] {
      SessionState.ProgrammerCount = static_cast<std::uint8_t>(portNames.size());
      return portNames;
    };
  }

  bool RunUntil(const std::function<bool()>& done) { return events.RunUntil(done); }

  bool AllLinked() const {
    for (std::size_t ch = 0; ch < ports.size(); ++ch)
      if (!ProgrammerState.DeviceLinked[ch]) return false;
    return true;
  }
  bool AllIdle() const {
    for (std::size_t ch = 0; ch < ports.size(); ++ch)
      if (ProgrammerState.ChannelBusy[ch] || ProgrammerState.ProgOpCode[ch] != kOpIdle) return false;
    return true;
  }
  // The 10 ms tick, as often as it takes the busy programmers' time-outs to
  // run out.
  void TickUntilIdle() {
    for (int tick = 0; tick < 2100 && !AllIdle(); ++tick) TickReplyTimeouts();
  }

  std::vector<std::string> LinesOf(int ch) const {
    const std::string tag = " C" + std::to_string(ch + 1) + " : ";
    std::vector<std::string> lines;
    for (const std::string& line : memo.Lines) {
      const auto at = line.find(tag);
      if (at != std::string::npos && at == 10) lines.push_back(line.substr(at + tag.size()));
    }
    return lines;
  }

  TQueuedPortEvents events;  // outlives the ports that post to it
  std::unique_ptr<sim::UnitGroup> units;
  std::vector<std::unique_ptr<TComm>> ports;
  std::vector<std::string> portNames;
};

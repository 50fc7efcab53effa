#include "link/device_search.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/comm.h"
#include "link/firmware_upgrade.h"
#include "link/gauge.h"
#include "link/operation_views.h"
#include "link/packet_senders.h"
#include "link/programmers_in_use.h"
#include "link/result_report.h"
#include "text/format_text.h"

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kProbeGap{50};
constexpr milliseconds kResetDelay{30};
constexpr std::uint16_t kSearchReplyTicks = 300;

void Pause(milliseconds time) { std::this_thread::sleep_for(time); }

bool PortOpen(int ch) {
  const TComm* port = ProgrammerState.CommPorts[ch];
  return port && port->PortOpen();
}

void ClosePort(int ch) {
  if (TComm* port = ProgrammerState.CommPorts[ch]) port->ClosePort();
}

// A programmer just stopped keeps its red, full gauge: its chip is left half
// done, and the gauge says so until its next operation or a progress report
// of its own moves it.
void EmptyGauge(int ch, const TStoppedProgrammers& stopped) {
  if (stopped.test(static_cast<std::size_t>(ch))) return;
  if (TGauge* gauge = ProgrammerState.ProgressGauges[ch]) gauge->SetPosition(0);
}

// The programmer is idle, not busy and unlinked, its port closed. What ran
// there stops as it is (the search ends it with its line first, and drops
// the upgrades after).
void ReleaseProgrammer(int ch) {
  TProgrammerState& p = ProgrammerState;
  ClosePort(ch);
  p.DeviceLinked[ch] = 0;
  p.ChannelBusy[ch] = 0;
  p.ProgOpCode[ch] = kOpIdle;
}

// Opens programmer ch's port under the name; an ECommsError passes on.
void OpenPort(int ch, const std::string& name) {
  TComm* port = ProgrammerState.CommPorts[ch];
  if (!port) return;
  port->CommName = name;
  port->OpenPort();
}

// The programmers in use, at most as many as are listed.
int ListedInUse(const std::vector<std::string>& portNames) {
  return std::min(ProgrammersInUse(), static_cast<int>(std::min<std::size_t>(portNames.size(), kProgrammerMax)));
}

}  // namespace

void FindDevices(const TPortListReload& reloadPortList) {
  const TStoppedProgrammers stopped = StopRunningOperations();
  for (int ch = 0; ch < kProgrammerMax; ++ch) ReleaseProgrammer(ch);
  DropUpgrades();
  SearchDevices(reloadPortList ? reloadPortList() : std::vector<std::string>{}, stopped);
}

void SearchAgain(const TPortListReload& reloadPortList) {
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    ClosePort(ch);
    ProgrammerState.DeviceLinked[ch] = 0;
  }
  SearchDevices(reloadPortList ? reloadPortList() : std::vector<std::string>{});
}

void SearchDevices(const std::vector<std::string>& portNames, const TStoppedProgrammers& stopped) {
  TProgrammerState& p = ProgrammerState;
  if (!portNames.empty()) {
    SessionState.FoundDeviceCount = 0;
    int ch = 0;
    try {
      for (; ch < ListedInUse(portNames); ++ch) {
        ClosePort(ch);
        p.RxFill[ch] = 0;
        p.ReplyTimeout[ch] = kSearchReplyTicks;
        p.DeviceLinked[ch] = 0;
        p.NoUpgradeLogged[ch] = 0;
        EmptyGauge(ch, stopped);
        OperationViews().SetInfoPanelCaption(Text(TTextId::SearchingDevicesText));
        AddLog(FormatText(TTextId::CheckingDeviceFormat, ch + 1, portNames[static_cast<std::size_t>(ch)].c_str()));
        OpenPort(ch, portNames[static_cast<std::size_t>(ch)]);
      }
    } catch (const ECommsError&) {
      // Nothing has been sent yet: the ports this search opened close again.
      for (int opened = 0; opened < ch; ++opened) ClosePort(opened);
      throw;
    }
  }
  Pause(kProbeGap);
  for (int ch = 0; ch < ProgrammersInUse(); ++ch) {
    Pause(kProbeGap);
    if (PortOpen(ch)) SendLinkProbe(ch);
  }
}

void StartOfflineProgramming(const TPortListReload& reloadPortList) {
  TProgrammerState& p = ProgrammerState;
  AddLog(Text(TTextId::StartOfflineText));
  const TStoppedProgrammers stopped = StopRunningOperations();
  for (int ch = 0; ch < ProgrammersInUse(); ++ch) {
    p.RxFill[ch] = 0;
    EmptyGauge(ch, stopped);
    ReleaseProgrammer(ch);
  }
  DropUpgrades();
  const std::vector<std::string> portNames = reloadPortList ? reloadPortList() : std::vector<std::string>{};
  // A port that fails leaves the ports before it open: each has been sent
  // its start packet, and its unit's progress reports come in there.
  for (int ch = 0; ch < ListedInUse(portNames); ++ch) {
    p.ReplyTimeout[ch] = kSearchReplyTicks;
    OpenPort(ch, portNames[static_cast<std::size_t>(ch)]);
    Pause(kResetDelay);
    if (PortOpen(ch)) SendReset(ch);
  }
}

// The window's side of the programmer link: the events of SPComm1 ..
// SPComm10 go to the core's receive path and hang-up handler, and
// "&Connect Dev.", the start-up timer's automatic search and "Start
// Off-line Progrm" run the core's searches and off-line start over the port
// list read again.
#include <QComboBox>

#include "link/comm.h"
#include "link/device_search.h"
#include "link/port_hangup.h"
#include "ui/main_window.h"
#include "ui/port_combo.h"
#include "ui/window_operation_views.h"

void TGenMFrmARM::BindPortHandlers() {
  operationViews_ = std::make_unique<TWindowOperationViews>(*this);
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    TComm& port = *SPComm[ch];
    port.OnReceiveData = [this, ch](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
      receivePath_.ReceiveData(ch, buffer, length);
    };
    port.OnReceiveError = [this, ch](TComm*, std::uint32_t eventMask) { receivePath_.ReceiveError(ch, eventMask); };
    port.OnRequestHangup = [this, ch](TComm*) { SPCommRequestHangup(ch); };
  }
}

// The port leaves the list by its name: earlier hang-ups have moved the
// entries up.
void TGenMFrmARM::SPCommRequestHangup(int ch) {
  if (!SPComm[ch]->PortOpen()) return;
  const std::string port = SPComm[ch]->CommName;
  HandleHangup(ch);
  DeletePortEntry(*ComboBoxCOM, port);
}

std::vector<std::string> TGenMFrmARM::ReloadPortList() {
  LoadConnectionList();
  return PortComboItems(*ComboBoxCOM);
}

void TGenMFrmARM::BitBtnFindDevClick() {
  FindDevices([this] { return ReloadPortList(); });
}

void TGenMFrmARM::SearchAgain() {
  ::SearchAgain([this] { return ReloadPortList(); });
}

void TGenMFrmARM::StartOfflineProgrm1Click() {
  StartOfflineProgramming([this] { return ReloadPortList(); });
}

#include "link/port_hangup.h"

#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/comm.h"

void HandleHangup(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  if (TComm* port = ProgrammerState.CommPorts[ch]) port->ClosePort();
  ProgrammerState.DeviceLinked[ch] = 0;
}

// The steps of the download for stand-alone programming: chip data, the
// flash driver when the chip uses one, main data, then EEP data when "Prog.
// Data Flash" is ticked.
#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/operation_starters.h"
#include "link/packet_senders.h"
#include "link/step_handlers.h"
#include "link/step_support.h"

void HandleChipDataReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch)) return;
  if (SelectedChip.UseFlashDriver) {
    StartDownloadDriver(ch);
  } else {
    StartDownloadMainData(ch);
  }
}

void HandleDriverReply(const TReply& reply, int ch) {
  if (AcceptedResult(reply, ch)) StartDownloadMainData(ch);
}

void HandleMainDownloadReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch) || NextBlock(ch, SendMainDataBlock)) return;
  if (RunSettingsOf(ch).Settings.EepProgram) {
    StartDownloadEepData(ch);
  } else {
    FinishDataDownload(ch);
  }
}

void HandleEepDownloadReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch) || NextBlock(ch, SendEepDataBlock)) return;
  FinishDataDownload(ch);
}

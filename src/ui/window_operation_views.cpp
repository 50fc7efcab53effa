#include "ui/window_operation_views.h"

#include <QLabel>

#include "chips/option_displays.h"
#include "data/program_state.h"
#include "ui/main_window.h"

TWindowOperationViews::TWindowOperationViews(TGenMFrmARM& window) : window_(window) { SetOperationViews(this); }

TWindowOperationViews::~TWindowOperationViews() {
  if (&OperationViews() == this) SetOperationViews(nullptr);
}

void TWindowOperationViews::AdvanceSerialNumber() { window_.AdvanceSerialNumber(); }
void TWindowOperationViews::ShowReadMainChecksum() { window_.ShowReadMainChecksum(); }
void TWindowOperationViews::FillHexViewer(std::uint32_t first, std::uint32_t last) {
  window_.FillHexViewer(first, last);
}
void TWindowOperationViews::ShowReadEepChecksum() { window_.ShowReadEepChecksum(); }
void TWindowOperationViews::FillEepViewer() { window_.FillEepViewer(); }

void TWindowOperationViews::ShowReadOption(int ch, std::size_t payloadLength) {
  ShowReadOptionForVendor(SelectedChip.ChipFamilyIndex, ch, payloadLength);
}

void TWindowOperationViews::SetInfoPanelCaption(const std::string& text) {
  window_.InfoPanel->setText(QString::fromStdString(text));
}

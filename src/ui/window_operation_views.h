// What the operation path shows in the main window besides its log and
// gauges: the window's own routines, and the chip family's display of read
// option bytes. Installed for the core while it lives.
#pragma once

#include "link/operation_views.h"

class TGenMFrmARM;

class TWindowOperationViews final : public IOperationViews {
 public:
  explicit TWindowOperationViews(TGenMFrmARM& window);
  ~TWindowOperationViews() override;
  TWindowOperationViews(const TWindowOperationViews&) = delete;
  TWindowOperationViews& operator=(const TWindowOperationViews&) = delete;

  void AdvanceSerialNumber() override;
  void ShowReadMainChecksum() override;
  void FillHexViewer(std::uint32_t first, std::uint32_t last) override;
  void ShowReadEepChecksum() override;
  void FillEepViewer() override;
  void ShowReadOption(int ch, std::size_t payloadLength) override;
  void SetInfoPanelCaption(const std::string& text) override;

 private:
  TGenMFrmARM& window_;
};

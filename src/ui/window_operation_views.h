// What the operation path shows in the main window besides its log and
// gauges. Installed for the core while it lives.
#pragma once

#include "link/operation_views.h"

class QLabel;

class TWindowOperationViews final : public IOperationViews {
 public:
  explicit TWindowOperationViews(QLabel& infoPanel);
  ~TWindowOperationViews() override;
  TWindowOperationViews(const TWindowOperationViews&) = delete;
  TWindowOperationViews& operator=(const TWindowOperationViews&) = delete;

  void SetInfoPanelCaption(const std::string& text) override;

 private:
  QLabel& infoPanel_;
};

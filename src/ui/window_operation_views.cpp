#include "ui/window_operation_views.h"

#include <QLabel>

TWindowOperationViews::TWindowOperationViews(QLabel& infoPanel) : infoPanel_(infoPanel) { SetOperationViews(this); }

TWindowOperationViews::~TWindowOperationViews() {
  if (&OperationViews() == this) SetOperationViews(nullptr);
}

void TWindowOperationViews::SetInfoPanelCaption(const std::string& text) {
  infoPanel_.setText(QString::fromStdString(text));
}

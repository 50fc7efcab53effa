#include "ui/option_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "ui/command_checks.h"
#include "ui/handler_guard.h"

namespace {

constexpr const char* kOkCaption = "OK";
constexpr const char* kCancelCaption = "Cancel";
constexpr int kLabelHeight = 18;

}  // namespace

TOptionDialog::TOptionDialog(QWidget* parent, const char* name, const char* caption, int width, int height)
    : QDialog(parent) {
  setObjectName(name);
  setWindowTitle(QString::fromUtf8(caption));
  setFixedSize(width, height);
}

QLabel* TOptionDialog::PlaceLabel(QWidget* parent, const QString& text, int x, int y, int width) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, width, kLabelHeight);
  return label;
}

QPushButton* TOptionDialog::PlaceOk(const char* name, int x, int y) {
  auto* button = Place<QPushButton>(this, name, x, y, kButtonWidth, kButtonHeight);
  button->setText(kOkCaption);
  button->setDefault(true);
  return button;
}

QPushButton* TOptionDialog::PlaceOk(const char* name, int x, int y, std::function<void()> handler) {
  QPushButton* button = PlaceOk(name, x, y);
  connect(button, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
    if (RefusedWhileBusy(TTextId::JobChangeBusyText)) return;
    RunGuarded(handler);
    accept();
  });
  return button;
}

QPushButton* TOptionDialog::PlaceCancel(const char* name, int x, int y) {
  auto* button = Place<QPushButton>(this, name, x, y, kButtonWidth, kButtonHeight);
  button->setText(kCancelCaption);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, &QDialog::reject);
  return button;
}

void TOptionDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}

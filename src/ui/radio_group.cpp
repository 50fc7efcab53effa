#include "ui/radio_group.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 2, 8, 2);
  column->setSpacing(0);
  connect(&buttons_, &QButtonGroup::idClicked, this, [this](int index) {
    if (onClick_) onClick_(index);
  });
}

void TRadioGroup::SetItems(std::span<const char* const> items) {
  for (QAbstractButton* old : buttons_.buttons()) {
    buttons_.removeButton(old);
    delete old;
  }
  for (const char* text : items) {
    auto* button = new QRadioButton(QString::fromUtf8(text), this);
    buttons_.addButton(button, ItemCount());
    layout()->addWidget(button);
  }
}

void TRadioGroup::SetItems(std::span<const TTextId> items) {
  std::vector<const char*> texts;
  for (const TTextId id : items) texts.push_back(Text(id));
  SetItems(texts);
}

int TRadioGroup::ItemCount() const { return static_cast<int>(buttons_.buttons().size()); }

QString TRadioGroup::ItemText(int index) const {
  const QAbstractButton* button = buttons_.button(index);
  return button ? button->text() : QString();
}

int TRadioGroup::ItemIndex() const { return buttons_.checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = buttons_.button(index)) button->setChecked(true);
}

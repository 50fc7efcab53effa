// A titled group of exclusive choices, addressed by item index.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <span>

class TRadioGroup : public QGroupBox {
 public:
  explicit TRadioGroup(QWidget* parent = nullptr);

  // Replaces the items; none is chosen afterwards.
  void SetItems(std::span<const char* const> items);
  int ItemCount() const;
  QString ItemText(int index) const;
  int ItemIndex() const;  // -1 when none is chosen
  void SetItemIndex(int index);

 private:
  QButtonGroup buttons_;
};

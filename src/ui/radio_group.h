// A titled group of exclusive choices, addressed by item index.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <functional>
#include <span>

#include "text/text_id.h"

class TRadioGroup : public QGroupBox {
 public:
  explicit TRadioGroup(QWidget* parent = nullptr);

  // Replaces the items; none is chosen afterwards.
  void SetItems(std::span<const char* const> items);
  // The same, with this build's texts of the rows.
  void SetItems(std::span<const TTextId> items);
  int ItemCount() const;
  QString ItemText(int index) const;
  int ItemIndex() const;  // -1 when none is chosen
  void SetItemIndex(int index);
  // Runs with the item's index when the operator chooses an item.
  void SetOnClick(std::function<void(int)> onClick) { onClick_ = std::move(onClick); }

 private:
  QButtonGroup buttons_;
  std::function<void(int)> onClick_;
};

#include "ui/port_combo.h"

#include <QComboBox>

#include "text/text_id.h"

namespace {

// Shows the item of that text, or the text as the prompt when no item has it.
void SetPortComboText(QComboBox& combo, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  const int item = combo.findText(shown, Qt::MatchExactly);
  if (item < 0) combo.setPlaceholderText(shown);
  combo.setCurrentIndex(item);
}

}  // namespace

std::string PortComboText(const QComboBox& combo) {
  return (combo.currentIndex() >= 0 ? combo.currentText() : combo.placeholderText()).toStdString();
}

void ShowPortList(QComboBox& combo, const TPortList& list) {
  combo.clear();
  for (const std::string& port : list.Items) {
    const QString name = QString::fromStdString(port);
    combo.addItem(name);
    combo.setItemData(combo.count() - 1, name, Qt::ToolTipRole);  // for an item the list shows elided
  }
  SetPortComboText(combo, list.Text);
}

std::vector<std::string> PortComboItems(const QComboBox& combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo.count(); ++i) items.push_back(combo.itemText(i).toStdString());
  return items;
}

void DeletePortEntry(QComboBox& combo, const std::string& port) {
  const int position = combo.findText(QString::fromStdString(port), Qt::MatchExactly);
  if (position >= 0) combo.removeItem(position);
  if (combo.count() == 0) SetPortComboText(combo, Text(TTextId::PleaseConnectDeviceText));
}

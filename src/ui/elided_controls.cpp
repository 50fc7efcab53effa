#include "ui/elided_controls.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace {

// A path loses characters from the middle of its folder, so that its last
// part (the file's or device's own name) shows whole where that fits at all;
// any other text loses them from its own middle.
QString Elided(const QFontMetrics& metrics, const QString& text, int room) {
  room = std::max(room, 0);
  if (metrics.horizontalAdvance(text) <= room) return text;
  if (const qsizetype slash = text.lastIndexOf(QLatin1Char('/')); slash > 0) {
    const QString name = text.mid(slash);
    const QString folder = metrics.elidedText(text.left(slash), Qt::ElideMiddle, room - metrics.horizontalAdvance(name));
    if (!folder.isEmpty() && metrics.horizontalAdvance(folder + name) <= room) return folder + name;
  }
  return metrics.elidedText(text, Qt::ElideMiddle, room);
}

}  // namespace

void TElidedLabel::SetFullText(const QString& text) {
  fullText_ = text;
  ShowElided();
}

void TElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowElided();
}

// The room is the label's own: inside its frame and margins, less the indent
// a framed label takes when none is set (half an 'x').
void TElidedLabel::ShowElided() {
  const int indentWidth =
      indent() >= 0 ? indent() : (frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0);
  const QString shown = Elided(fontMetrics(), fullText_, contentsRect().width() - 2 * margin() - indentWidth);
  setText(shown);
  setToolTip(shown == fullText_ ? QString() : fullText_);
}

TElidedComboBox::TElidedComboBox(QWidget* parent) : QComboBox(parent) {
  view()->setTextElideMode(Qt::ElideMiddle);
  connect(this, &QComboBox::currentIndexChanged, this, [this] { UpdateToolTip(); });
}

QString TElidedComboBox::ShownText() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  return ElidedText(option);
}

// The style draws the label one pixel inside each side of the edit field.
QString TElidedComboBox::ElidedText(const QStyleOptionComboBox& option) const {
  const QString text = currentIndex() < 0 ? placeholderText() : option.currentText;
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  return Elided(fontMetrics(), text, field.width() - 2);
}

// As the box paints itself, with the text elided.
void TElidedComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  painter.setPen(palette().color(QPalette::Text));
  QStyleOptionComboBox option;
  initStyleOption(&option);
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
  option.currentText = ElidedText(option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TElidedComboBox::resizeEvent(QResizeEvent* event) {
  QComboBox::resizeEvent(event);
  UpdateToolTip();
}

void TElidedComboBox::UpdateToolTip() {
  const QString whole = currentIndex() < 0 ? placeholderText() : currentText();
  setToolTip(ShownText() == whole ? QString() : whole);
}

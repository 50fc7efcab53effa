// Controls that show a text too long for them elided in the middle, a path
// in the middle of its folder, so that it keeps its file's or device's own
// name; the whole text is then their tooltip. They elide again whenever
// their width changes.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QString>

class QStyleOptionComboBox;

// A label (a status-bar panel) that keeps its whole text and shows as much
// of it as fits.
class TElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;

  void SetFullText(const QString& text);
  const QString& FullText() const { return fullText_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowElided();

  QString fullText_;
};

// A combo box (the port list) whose items keep their whole texts: the box
// draws its current item, or its prompt, elided to its edit field, and the
// drop-down list elides its items the same way.
class TElidedComboBox : public QComboBox {
 public:
  explicit TElidedComboBox(QWidget* parent = nullptr);

  // What the box draws of its current item or prompt.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString ElidedText(const QStyleOptionComboBox& option) const;
  void UpdateToolTip();
};

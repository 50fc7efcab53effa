#include "ui/about_form.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "text/window_texts.h"

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TAboutForm");
  setWindowTitle(kAboutCaption);
  LabelTilA = new QLabel(this);
  LabelTilA->setObjectName("LabelTilA");
  QFont title = LabelTilA->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 4);
  LabelTilA->setFont(title);
  LabelTilA->setAlignment(Qt::AlignCenter);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* column = new QVBoxLayout(this);
  column->addWidget(LabelTilA);
  column->addWidget(buttons);
  setFixedSize(420, 150);
}

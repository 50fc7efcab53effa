#include "ui/config_sn_form.h"

#include "text/window_texts.h"

TConfigSNForm::TConfigSNForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TConfigSNForm");
  setWindowTitle(kConstantFillCaption);
}

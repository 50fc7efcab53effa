#include "ui/log_config_dialog.h"

#include "text/window_texts.h"

TLogCfgForm::TLogCfgForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TLogCfgForm");
  setWindowTitle(kLogConfigCaption);
}

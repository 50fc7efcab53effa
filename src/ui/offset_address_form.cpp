#include "ui/offset_address_form.h"

#include "text/window_texts.h"

TFormOfsAddr::TFormOfsAddr(QWidget* parent) : QDialog(parent) {
  setObjectName("TFormOfsAddr");
  setWindowTitle(kOffsetAddressCaption);
}

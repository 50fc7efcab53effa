#include "ui/chip_select_form.h"

#include <QFont>
#include <QListWidget>
#include <QPushButton>

#include "chips/chip_choice.h"
#include "chips/part_lists.h"
#include "chips/vendor_index.h"
#include "text/chip_change_texts.h"
#include "text/vendor_captions.h"
#include "ui/command_checks.h"
#include "ui/handler_guard.h"
#include "ui/place_control.h"
#include "ui/radio_group.h"

namespace {

// The only vendor this build offers.
constexpr std::uint8_t kOfferedVendor = kVendorIndie;

}  // namespace

TChipSelForm::TChipSelForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ChipSelForm");
  setWindowTitle(kChipSelectCaption);
  setFixedSize(410, 482);

  ListBoxCP = Place<QListWidget>(this, "ListBoxCP", 8, 8, 225, 433);
  ListBoxCP->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBoxCP->setUniformItemSizes(true);
  QFont font = ListBoxCP->font();
  font.setPixelSize(13);
  ListBoxCP->setFont(font);
  BitBtnOK = Place<QPushButton>(this, "BitBtnOK", 256, 8, 121, 41);
  BitBtnOK->setText(kChipSelectOkCaption);
  BitBtnOK->setDefault(true);
  BitBtnNO = Place<QPushButton>(this, "BitBtnNO", 256, 80, 121, 41);
  BitBtnNO->setText(kChipSelectNoCaption);
  BitBtnNO->setAutoDefault(false);
  RadioGrpSelMF = Place<TRadioGroup>(this, "RadioGrpSelMF", 246, 152, 156, 289);
  RadioGrpSelMF->setTitle(kVendorGroupCaption);
  RadioGrpSelMF->SetItems(kVendorCaptions);
  RadioGrpSelMF->SetItemIndex(0);
  RadioGrpSelMF->hide();
  ListBoxCP->setFocus();

  connect(BitBtnOK, &QPushButton::clicked, this, GuardedSlot(this, &TChipSelForm::BitBtnOKClick));
  connect(BitBtnNO, &QPushButton::clicked, this, &QDialog::reject);
  RadioGrpSelMF->SetOnClick([this](int) { RunGuarded([this] { RadioGrpSelMFClick(); }); });
}

void TChipSelForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

// The offered vendor's list. The selected chip's own vendor index changes
// only with OK, so closing with No leaves the chip as it was.
void TChipSelForm::FormShow() {
  RadioGrpSelMF->hide();
  RadioGrpSelMF->SetItemIndex(kOfferedVendor);
  FillChipList(kOfferedVendor);
}

void TChipSelForm::RadioGrpSelMFClick() { FillChipList(VendorIndex()); }

void TChipSelForm::FillChipList(std::uint8_t vendorIndex) {
  ListBoxCP->clear();
  for (std::string_view name : PartListFor(vendorIndex).Names)
    ListBoxCP->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  ListBoxCP->setCurrentRow(0);
}

std::uint8_t TChipSelForm::VendorIndex() const {
  const int item = RadioGrpSelMF->ItemIndex();
  return item < 0 ? kOfferedVendor : static_cast<std::uint8_t>(item);
}

// Without a selected row there is no part to take, and while a programmer
// is busy the chip must not change: the dialog stays open.
void TChipSelForm::BitBtnOKClick() {
  if (RefusedWhileBusy(TTextId::ChipChangeBusyText)) return;
  const QList<QListWidgetItem*> selected = ListBoxCP->selectedItems();
  if (selected.isEmpty()) return;
  if (!AcceptChipChoice(VendorIndex(), static_cast<std::size_t>(ListBoxCP->row(selected.front())))) return;
  accept();
}

// Building the main window: every control with its name, place and the
// state it has before the show handler runs. Captions come from the text
// tables; the show handler sets those it owns.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdint>

#include "text/format_text.h"
#include "text/window_texts.h"
#include "ui/control_text.h"
#include "ui/gauge_layout.h"
#include "ui/gauge_widget.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"
#include "ui/place_control.h"
#include "ui/radio_group.h"

namespace {

constexpr int kClientWidth = 917;
constexpr int kClientHeight = 587;
constexpr int kToolbarHeight = 41;
constexpr int kStatusBarHeight = 22;
constexpr int kStatusPanelWidths[] = {180, 180, 300};

QSpinBox* PlaceSpin(QWidget* parent, const char* name, int x, int y, int min, int max, int step, int value) {
  auto* spin = Place<QSpinBox>(parent, name, x, y, 90, 22);
  spin->setRange(min, max);
  spin->setSingleStep(step);
  spin->setValue(value);
  return spin;
}

QLineEdit* PlaceEdit(QWidget* parent, const char* name, int x, int y, int w, int maxLength) {
  auto* edit = Place<QLineEdit>(parent, name, x, y, w, 22);
  edit->setMaxLength(maxLength);
  return edit;
}

QWidget* AddPage(QTabWidget* tabs, const char* name) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(name));
  tabs->addTab(page, QString());
  return page;
}

// Widened where the widest sum of the panel's format needs it in the panel's
// font: each of a sum's eight digits may be any hex digit.
void FitChecksumPanel(QLabel& panel, TTextFormat<std::uint32_t> format) {
  int width = panel.width();
  for (std::uint32_t digit = 0; digit < 16; ++digit) {
    panel.setText(QString::fromStdString(FormatText(format, digit * 0x11111111u)));
    width = std::max(width, panel.sizeHint().width());
  }
  panel.clear();
  panel.setFixedWidth(width);
}

QMenu* BuildMenu(QMenu* menu, const TMenuText& text) {
  menu->setObjectName(QString::fromLatin1(text.Name));
  for (const TMenuItemText& item : text.Items) {
    QAction* action = menu->addAction(QString::fromUtf8(item.Caption));
    action->setObjectName(QString::fromLatin1(item.Name));
    if (*item.Shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(item.Shortcut)));
    action->setVisible(!item.Hidden);
    if (item.SeparatorAfter) menu->addSeparator();
  }
  return menu;
}

}  // namespace

void TGenMFrmARM::CreateControls() {
  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
  setCentralWidget(client);

  PanelBtns = Place<QWidget>(client, "PanelBtns", 0, 0, kClientWidth, kToolbarHeight);
  ViewPageCtrl = Place<QTabWidget>(client, "ViewPageCtrl", 0, kToolbarHeight, 914, 515);
  ChipSett = AddPage(ViewPageCtrl, "ChipSett");
  TabSheetFlash = AddPage(ViewPageCtrl, "TabSheetFlash");
  TabSheetEEP = AddPage(ViewPageCtrl, "TabSheetEEP");

  CreateToolbar();
  CreateChipGroup(ChipSett);
  CreateConfigGroup(ChipSett);
  CreateCommunicationGroup(ChipSett);
  CreateLogColumn(ChipSett);
  HexViewer = CreateViewer(TabSheetFlash, "HexViewer", hexViewerModel_);
  EEPDataView = CreateViewer(TabSheetEEP, "EEPDataView", eepViewerModel_);
  PopupMenuOTP = BuildMenu(new QMenu(this), kEepPopupMenu);
  EEPDataView->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(EEPDataView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenuOTP->popup(EEPDataView->viewport()->mapToGlobal(at)); });
  CreateMenus();
  CreateStatusBar();
  ApplyLayoutTexts();

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer1->setInterval(10);
  Timer1->start();
  Timer2 = new QTimer(this);
  Timer2->setObjectName("Timer2");
  Timer2->setTimerType(Qt::PreciseTimer);
  Timer2->setInterval(50);
}

void TGenMFrmARM::CreateToolbar() {
  auto* row = new QHBoxLayout(PanelBtns);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(2);
  for (const TToolButtonText& text : kToolbarButtons) {
    auto* button = new QToolButton(PanelBtns);
    button->setObjectName(QString::fromLatin1(text.Name));
    button->setAutoRaise(true);
    // Speed buttons never hold the focus: a blank or Return typed after Tab
    // would press one as well as start auto-programming.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf8(text.Hint));
    button->setMinimumSize(76, 36);
    row->addWidget(button);
  }
  row->addStretch();
  SpdBtnWrtOPB = PanelBtns->findChild<QToolButton*>("SpdBtnWrtOPB");
  SpdBtnWrtOPB->hide();  // a family adapter shows it
}

void TGenMFrmARM::CreateMenus() {
  menuBar()->setObjectName("MainMenu1");
  for (const TMenuText& text : kMainMenu) {
    if (text.Items.empty()) {
      menuBar()->addAction(QString::fromUtf8(text.Caption))->setObjectName(QString::fromLatin1(text.Name));
    } else {
      BuildMenu(menuBar()->addMenu(QString::fromUtf8(text.Caption)), text);
    }
  }
}

void TGenMFrmARM::CreateChipGroup(QWidget* page) {
  auto* group = Place<QGroupBox>(page, "GroupBoxChip", 0, 0, 353, 177);
  Place<QLabel>(group, "LabelMcu", 8, 22, 72, 18);
  MCUNameEdit = Place<QLineEdit>(group, "MCUNameEdit", 80, 20, 228, 22);
  MCUNameEdit->setReadOnly(true);
  DevButton = Place<QPushButton>(group, "DevButton", 312, 19, 32, 24);
  // The chip's sizes take the whole row after a short caption.
  Place<QLabel>(group, "LabelCpInf", 8, 48, 64, 18);
  DpCpInfX = Place<QLabel>(group, "DpCpInfX", 72, 48, 276, 18);

  RadioGpVolt = Place<TRadioGroup>(group, "RadioGpVolt", 8, 70, 96, 60);
  RadioGpVolt->SetItems(kVoltageItems);
  RadioGpVolt->SetItemIndex(1);
  RadioGrpSpdF = Place<TRadioGroup>(group, "RadioGrpSpdF", 110, 70, 128, 60);
  RadioGrpSpdF->SetItems(kSpeedItems);
  RadioGrpSpdF->SetItemIndex(0);
  RadioGroupPIF = Place<TRadioGroup>(group, "RadioGroupPIF", 244, 70, 100, 60);
  RadioGroupPIF->SetItems(kInterfaceItems);
  RadioGroupPIF->SetItemIndex(0);
  RadioGroupPIF->hide();  // shown for the MR88F family only

  // The EEP boxes show for chips with EEP, the option controls when the
  // chip's family has options: none of them before a chip is chosen.
  ChkBoxErsEEP = Place<QCheckBox>(group, "ChkBoxErsEEP", 8, 134, 160, 18);
  ChkBoxPrgEEP = Place<QCheckBox>(group, "ChkBoxPrgEEP", 8, 154, 160, 18);
  CheckBoxOpt = Place<QCheckBox>(group, "CheckBoxOpt", 176, 134, 168, 18);
  BtnOptionCfg = Place<QPushButton>(group, "BtnOptionCfg", 176, 151, 120, 23);
  for (QWidget* chipDependent : {static_cast<QWidget*>(ChkBoxErsEEP), static_cast<QWidget*>(ChkBoxPrgEEP),
                                 static_cast<QWidget*>(CheckBoxOpt), static_cast<QWidget*>(BtnOptionCfg)})
    chipDependent->hide();
}

void TGenMFrmARM::CreateConfigGroup(QWidget* page) {
  auto* group = Place<QGroupBox>(page, "GroupBoxCfg", 0, 186, 353, 228);
  PageControlSet = Place<QTabWidget>(group, "PageControlSet", 6, 18, 341, 204);

  QWidget* cp = AddPage(PageControlSet, "TabSheetCP");
  ChkBoxAuto = Place<QCheckBox>(cp, "ChkBoxAuto", 8, 8, 160, 20);
  ChkBoxBlkEr = Place<QCheckBox>(cp, "ChkBoxBlkEr", 176, 8, 150, 20);
  Place<QLabel>(cp, "LabelTimIn", 8, 36, 180, 18);
  SpinEditIn = PlaceSpin(cp, "SpinEditIn", 196, 34, 300, 1500, 30, 510);
  Place<QLabel>(cp, "LabelTimOut", 8, 62, 180, 18);
  SpinEditOut = PlaceSpin(cp, "SpinEditOut", 196, 60, 300, 2000, 30, 510);
  ChkBoxCpErsM = Place<QCheckBox>(cp, "ChkBoxCpErsM", 8, 88, 180, 20);
  ChkBoxCpErsM->setChecked(true);
  ChkBoxRunSHT = Place<QCheckBox>(cp, "ChkBoxRunSHT", 8, 114, 180, 20);
  SpinEditRTM = PlaceSpin(cp, "SpinEditRTM", 196, 112, 100, 2000, 10, 500);
  CheckBoxCtrl = Place<QCheckBox>(cp, "CheckBoxCtrl", 8, 140, 152, 20);
  Place<QLabel>(cp, "LabelMaxNum", 160, 142, 78, 18);
  SpinEditNum = PlaceSpin(cp, "SpinEditNum", 238, 138, 0, 999'999'999, 100, 0);
  SpinEditNum->resize(96, 22);
  SpinEditNum->setEnabled(false);

  QWidget* sn = AddPage(PageControlSet, "TabSheetSN");
  CheckBoxSN = Place<QCheckBox>(sn, "CheckBoxSN", 8, 8, 150, 20);
  SNOrderChk = Place<QCheckBox>(sn, "SNOrderChk", 170, 8, 160, 20);
  SNOrderChk->setChecked(true);
  SNOrderChk->setEnabled(false);
  ChkBoxPCSN = Place<QCheckBox>(sn, "ChkBoxPCSN", 8, 32, 150, 20);
  ChkBoxPCSN->setEnabled(false);
  ChkBoxSNDP = Place<QCheckBox>(sn, "ChkBoxSNDP", 170, 32, 160, 20);
  Place<QLabel>(sn, "LabelSNC", 8, 64, 90, 18);
  SNEdit1 = PlaceEdit(sn, "SNEdit1", 100, 62, 120, 10);
  Place<QLabel>(sn, "LabelSnGain", 8, 92, 90, 18);
  GainEdit = PlaceEdit(sn, "GainEdit", 100, 90, 60, 4);
  Place<QLabel>(sn, "LabelSNAddr", 8, 120, 90, 18);
  AddrEdit = PlaceEdit(sn, "AddrEdit", 100, 118, 120, 10);
  for (QLineEdit* edit : {SNEdit1, GainEdit, AddrEdit}) edit->setEnabled(false);
  ButtonCfgSN = Place<QPushButton>(sn, "ButtonCfgSN", 228, 116, 100, 26);

  // The power times beside the reset group, each caption above its field, so
  // the two long check boxes below have the page's whole width.
  QWidget* sg = AddPage(PageControlSet, "TabSheetSG");
  RadioGrpRST = Place<TRadioGroup>(sg, "RadioGrpRST", 8, 4, 150, 84);
  Place<QLabel>(sg, "LabelPowUp", 166, 6, 165, 18);
  SpinEditVddTim = PlaceSpin(sg, "SpinEditVddTim", 166, 24, 10, 2000, 10, 100);
  Place<QLabel>(sg, "LabelPowDW", 166, 50, 165, 18);
  SpinEditPWDTim = PlaceSpin(sg, "SpinEditPWDTim", 166, 68, 10, 2000, 10, 100);
  CheckBoxRun = Place<QCheckBox>(sg, "CheckBoxRun", 8, 94, 320, 20);
  ChkBoxVDD = Place<QCheckBox>(sg, "ChkBoxVDD", 8, 118, 320, 20);
  ChkBoxVDD->setChecked(true);
  LabelDEVA = Place<QLabel>(sg, "LabelDEVA", 8, 148, 140, 18);
  EditDevAdr = PlaceEdit(sg, "EditDevAdr", 150, 146, 60, 4);
  LabelDEVA->hide();
  EditDevAdr->hide();
}

void TGenMFrmARM::CreateCommunicationGroup(QWidget* page) {
  auto* group = Place<QGroupBox>(page, "GroupBoxCom", 0, 422, 353, 61);
  Place<QLabel>(group, "LabelSelDev", 8, 28, 90, 18);
  ComboBoxCOM = Place<TElidedComboBox>(group, "ComboBoxCOM", 98, 25, 130, 24);
  BitBtnFindDev = Place<QPushButton>(group, "BitBtnFindDev", 236, 23, 108, 28);
}

void TGenMFrmARM::CreateLogColumn(QWidget* page) {
  InfoPanel = Place<QLabel>(page, "InfoPanel", kGaugeLeft, 0, kGaugeWidth, 25);
  InfoPanel->setFrameShape(QFrame::Panel);
  InfoPanel->setFrameShadow(QFrame::Sunken);
  InfoPanel->setAlignment(Qt::AlignCenter);
  InfoPanel->setStyleSheet("color: red; font-weight: bold;");

  InfoMemo = Place<QPlainTextEdit>(page, "InfoMemo", kGaugeLeft, kInfoMemoTop, kGaugeWidth, 436);
  InfoMemo->setReadOnly(true);
  InfoMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PopupMenu2 = BuildMenu(new QMenu(this), kLogPopupMenu);
  InfoMemo->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(InfoMemo, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu2->popup(InfoMemo->mapToGlobal(at)); });

  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    const QByteArray name = "Gauge" + QByteArray::number(ch + 1);
    Gauges[ch] = Place<TGaugeWidget>(page, name.constData(), kGaugeLeft, 466, kGaugeWidth, kGaugeHeight);
    Gauges[ch]->hide();  // start-up shows those in use
  }
}

QTableView* TGenMFrmARM::CreateViewer(QWidget* page, const char* name, TMemoryViewModel*& model) {
  auto* view = new QTableView(page);
  view->setObjectName(QString::fromLatin1(name));
  auto* fill = new QHBoxLayout(page);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(view);
  model = new TMemoryViewModel(view);
  view->setModel(model);
  // A fixed-pitch font small enough for "0x00000000" in the 73-pixel address column.
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(11);
  view->setFont(font);
  view->setWordWrap(false);
  view->setTextElideMode(Qt::ElideNone);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->verticalHeader()->hide();
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(20);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->horizontalHeader()->setDefaultSectionSize(25);
  view->horizontalHeader()->setMinimumSectionSize(20);
  return view;
}

void TGenMFrmARM::CreateStatusBar() {
  statusBar()->setObjectName("StatusBar1");
  statusBar()->setSizeGripEnabled(false);
  statusBar()->setFixedHeight(kStatusBarHeight);
  for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new TElidedLabel(statusBar());
    StatusPanels[i]->setFrameShape(QFrame::Panel);
    StatusPanels[i]->setFrameShadow(QFrame::Sunken);
    StatusPanels[i]->setFixedWidth(kStatusPanelWidths[i]);
    statusBar()->addWidget(StatusPanels[i]);
  }
  FitChecksumPanel(*StatusPanels[0], TTextId::FileChecksumPanelFormat);
  FitChecksumPanel(*StatusPanels[1], TTextId::ChipChecksumPanelFormat);
}

void TGenMFrmARM::ApplyLayoutTexts() {
  for (const TControlText& text : kLayoutCaptions) SetControlText(*this, text.Name, QString::fromUtf8(text.Text));
}

// The window's fixed size: the client area below the menu bar is 917 x 587.
void TGenMFrmARM::FixWindowSize() {
  setFixedSize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
}

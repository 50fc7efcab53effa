#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "data/operator_io.h"
#include "platform/app_dir.h"
#include "text/window_texts.h"
#include "ui/about_form.h"
#include "ui/command_line.h"
#include "ui/control_text.h"
#include "ui/gauge_layout.h"
#include "ui/gauge_widget.h"
#include "ui/info_memo_log.h"
#include "ui/key_preview.h"
#include "ui/log_config_dialog.h"
#include "ui/log_line.h"
#include "ui/memory_view_model.h"
#include "ui/radio_group.h"

namespace {

struct THandlerBinding {
  const char* Control;  // a toolbar button, a button or a menu item
  void (TGenMFrmARM::*Handler)();
};

constexpr THandlerBinding kHandlers[] = {
    {"SpdBtnExit", &TGenMFrmARM::SpdBtnExitClick},
    {"Exit1", &TGenMFrmARM::SpdBtnExitClick},
    {"AutoSpdBtn", &TGenMFrmARM::AutoSpdBtnClick},
    {"AutoProgram1", &TGenMFrmARM::AutoSpdBtnClick},
    {"About1", &TGenMFrmARM::About1Click},
    {"ConfigLogFile1", &TGenMFrmARM::ConfigLogFile1Click},
    {"ClearInformation1", &TGenMFrmARM::ClearInformation1Click},
    {"CopytoCli1", &TGenMFrmARM::CopytoCli1Click},
    {"DoFirmwareUpgrade1", &TGenMFrmARM::DoFirmwareUpgrade1Click},
};

constexpr int kViewerAddressWidth = 73;
constexpr int kViewerByteWidth = 25;
constexpr int kViewerTextWidth = 130;

std::string FormatWithText(const char* format, const std::string& text) {
  const int n = std::snprintf(nullptr, 0, format, text.c_str());
  std::string out(static_cast<std::size_t>(n), '\0');
  std::snprintf(out.data(), out.size() + 1, format, text.c_str());
  return out;
}

void SetUpViewerColumns(QTableView& view) {
  view.setColumnWidth(TMemoryViewModel::kAddressColumn, kViewerAddressWidth);
  for (int column = 1; column < TMemoryViewModel::kTextColumn; ++column) view.setColumnWidth(column, kViewerByteWidth);
  view.setColumnWidth(TMemoryViewModel::kTextColumn, kViewerTextWidth);
}

}  // namespace

TWindowStartup StartupFromProcess() {
  TWindowStartup startup{ExecutableFolder(), {}};
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) startup.Arguments.push_back(arguments[i].toStdString());
  return startup;
}

TGenMFrmARM::TGenMFrmARM(TWindowStartup startup, QWidget* parent)
    : QMainWindow(parent), startup_(std::move(startup)) {
  setObjectName("GenMFrmARM");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  CreateControls();
  FixWindowSize();
  infoMemoLog_ = std::make_unique<TInfoMemoLog>(*InfoMemo);
  new TKeyPreview(*this, [this](const QKeyEvent& key) { FormKeyPress(key); });  // a child of the window
  BindHandlers();
  if (const QScreen* shownOn = screen()) move(shownOn->availableGeometry().center() - rect().center());
}

TGenMFrmARM::~TGenMFrmARM() {
  // The program-wide tables must not keep pointing into a window that is gone.
  if (SessionTexts.InfoMemoRef == infoMemoLog_.get()) SessionTexts.InfoMemoRef = nullptr;
  for (int ch = 0; ch < kProgrammerMax; ++ch)
    if (ProgrammerState.ProgressGauges[ch] == &Gauges[ch]->Gauge()) ProgrammerState.ProgressGauges[ch] = nullptr;
}

void TGenMFrmARM::SetForms(TAboutForm* about, TLogCfgForm* logConfig) {
  aboutForm_ = about;
  logCfgForm_ = logConfig;
}

void TGenMFrmARM::BindHandlers() {
  for (const THandlerBinding& binding : kHandlers) {
    QObject* control = findChild<QObject*>(QString::fromLatin1(binding.Control));
    const auto run = [this, handler = binding.Handler] { (this->*handler)(); };
    if (auto* action = qobject_cast<QAction*>(control)) {
      connect(action, &QAction::triggered, this, run);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      connect(button, &QAbstractButton::clicked, this, run);
    }
  }
}

void TGenMFrmARM::AddLog(const std::string& msg) { infoMemoLog_->AddLine(TimedLogLine(Clock().Now(), msg)); }

void TGenMFrmARM::SetStatusPanelText(int panel, const std::string& text) {
  if (panel >= 0 && panel < static_cast<int>(StatusPanels.size()))
    StatusPanels[static_cast<std::size_t>(panel)]->setText(QString::fromStdString(text));
}

void TGenMFrmARM::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TGenMFrmARM::FormShow() {
  SessionTexts.AppDir = startup_.ProgramFolder;
  PageControlSet->setCurrentIndex(0);
  SessionState.ProgrammedCount = 0;
  SessionTexts.InfoMemoRef = infoMemoLog_.get();
  SessionState.ProgrammerCount = 1;
  SetEnglishTexts();
  LoadLogConfig();
  InitChipViews();
  SelectedChip.ChipCode = 0x55;
  TProgrammerBindings bindings;  // the serial components are bound when they exist
  for (int ch = 0; ch < kProgrammerMax; ++ch) bindings.Gauges[ch] = &Gauges[ch]->Gauge();
  InitGlobalSettings(bindings);
  LoadConnectionList();
  SelectedChip.ChipFamilyIndex = 0;
  DeleteStaleResultFile();
  LayoutGaugesAndMemo(SessionState.ProgrammerCount);
  AddLog(kGreeting);
  LoadFirmwareAtStartUp();
  ReadCommandLine(startup_.Arguments);
  // The device search waits for the first tick, so no port opens before the window shows.
  SessionState.StartSearchPending = 1;
  Timer2->start();
}

void TGenMFrmARM::SetEnglishTexts() {
  for (const TToolButtonText& button : kToolbarButtons)
    SetControlText(*this, button.Name, QString::fromUtf8(button.Caption));
  for (const TControlText& caption : kStartupCaptions)
    SetControlText(*this, caption.Name, QString::fromUtf8(caption.Text));
  RadioGrpRST->SetItems(kResetItems);
  RadioGrpRST->SetItemIndex(0);
  StatusPanels[0]->setText(kFileChecksumPanel);
  StatusPanels[1]->setText(kChipChecksumPanel);
}

// Reads "DivAriR.cfg" into the log dialog; arrives with the log files.
void TGenMFrmARM::LoadLogConfig() {}

void TGenMFrmARM::InitChipViews() {
  SelectedChip.ControlBytes.PifSpeedFlags = 0;
  ViewPageCtrl->setCurrentWidget(ChipSett);
  SetUpViewerColumns(*HexViewer);
  SetUpViewerColumns(*EEPDataView);
  InitChipViewDefaults();
  MCUNameEdit->setText(kSelectChipPrompt);
  ViewPageCtrl->setTabVisible(ViewPageCtrl->indexOf(TabSheetEEP), false);
}

// Fills ComboBoxCOM from "ConfigVmg.ini" and sets ProgrammerCount; arrives
// with the connection settings.
void TGenMFrmARM::LoadConnectionList() {}

// The result of an earlier unattended run; a file that cannot be deleted stays.
void TGenMFrmARM::DeleteStaleResultFile() {
  std::error_code ignored;
  std::filesystem::remove(SessionTexts.AppDir + kResultFileName, ignored);
}

void TGenMFrmARM::LayoutGaugesAndMemo(int programmerCount) {
  const TGaugeLayout layout = GaugeLayoutFor(programmerCount);
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    const bool shown = ch < layout.ShownGauges;
    if (shown) Gauges[ch]->move(kGaugeLeft, layout.GaugeTops[static_cast<std::size_t>(ch)]);
    Gauges[ch]->setVisible(shown);
  }
  InfoMemo->setGeometry(kGaugeLeft, kInfoMemoTop, kGaugeWidth, layout.MemoHeight);
}

// A present image is read by the firmware loader, which arrives with the
// firmware upgrade; a missing one is reported and start-up goes on.
void TGenMFrmARM::LoadFirmwareAtStartUp() {
  const std::string path = SessionTexts.AppDir + kFirmwareFileName;
  if (std::filesystem::exists(path)) return;
  SessionState.FirmwareLoaded = 0;
  const std::string text = FormatWithText(kFileNotFoundFormat, path);
  AddLog(text);
  Prompts().ShowInfo(text);
}

void TGenMFrmARM::SpdBtnExitClick() {
  StopAllPorts();
  close();
}

void TGenMFrmARM::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TGenMFrmARM::FormClose() {
  StopAllPorts();
  WriteLogFile();
}

// Closes every open port of CommPorts; the ports arrive with the serial component.
void TGenMFrmARM::StopAllPorts() {}

// Writes the memo to the configured log file; arrives with the log files.
void TGenMFrmARM::WriteLogFile() {}

void TGenMFrmARM::FormKeyPress(const QKeyEvent& key) {
  const QString typed = key.text();
  if (typed == QLatin1String(" ") || typed == QLatin1String("\r")) AutoSpdBtnClick();
}

// Starts auto-programming; arrives with the operation commands.
void TGenMFrmARM::AutoSpdBtnClick() {}

void TGenMFrmARM::About1Click() {
  if (aboutForm_) aboutForm_->exec();
}

void TGenMFrmARM::ConfigLogFile1Click() {
  if (logCfgForm_) logCfgForm_->exec();
}

void TGenMFrmARM::ClearInformation1Click() { InfoMemo->clear(); }

void TGenMFrmARM::CopytoCli1Click() { InfoMemo->copy(); }

// Upgrades the found programmers' firmware; arrives with the firmware upgrade.
void TGenMFrmARM::DoFirmwareUpgrade1Click() {}

#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <system_error>

#include "data/operator_io.h"
#include "data/log_lines.h"
#include "link/comm.h"
#include "link/comm_settings.h"
#include "link/firmware_file.h"
#include "link/result_report.h"
#include "platform/app_dir.h"
#include "text/format_text.h"
#include "text/window_texts.h"
#include "ui/about_form.h"
#include "ui/command_line.h"
#include "ui/connection_settings.h"
#include "ui/control_text.h"
#include "ui/firmware_upgrade_choice.h"
#include "ui/gauge_layout.h"
#include "ui/gauge_widget.h"
#include "ui/handler_guard.h"
#include "ui/info_memo_log.h"
#include "ui/key_preview.h"
#include "ui/log_config_dialog.h"
#include "ui/memory_view_model.h"
#include "ui/port_combo.h"
#include "ui/qt_port_events.h"
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
    {"SpdBtnDownLoad", &TGenMFrmARM::SpdBtnDownLoadClick},
    {"Download1", &TGenMFrmARM::SpdBtnDownLoadClick},
    {"SpdBtnBlankChk", &TGenMFrmARM::SpdBtnBlankChkClick},
    {"BlankCheck1", &TGenMFrmARM::SpdBtnBlankChkClick},
    {"SpdBtnErase", &TGenMFrmARM::SpdBtnEraseClick},
    {"EraseChip1", &TGenMFrmARM::SpdBtnEraseClick},
    {"SpdBtnProg", &TGenMFrmARM::SpdBtnProgClick},
    {"Programming1", &TGenMFrmARM::SpdBtnProgClick},
    {"SpdBtnVerify", &TGenMFrmARM::SpdBtnVerifyClick},
    {"VeriufyDownload1", &TGenMFrmARM::SpdBtnVerifyClick},
    {"SpdBtnWrtOPB", &TGenMFrmARM::SpdBtnWrtOPBClick},
    {"WriteOptionByte1", &TGenMFrmARM::SpdBtnWrtOPBClick},
    {"WriteEepDataMemory1", &TGenMFrmARM::WriteEepDataMemory1Click},
    {"ReadChipMemory1", &TGenMFrmARM::ReadChipMemory1Click},
    {"ReadEEPMemory1", &TGenMFrmARM::ReadEEPMemory1Click},
    {"ReadOptionByte1", &TGenMFrmARM::ReadOptionByte1Click},
    {"ReadChipCheckSum1", &TGenMFrmARM::ReadChipCheckSum1Click},
    {"ReadSpcAddress", &TGenMFrmARM::ReadSpcAddressClick},
    {"ReadMG32xxChipID1", &TGenMFrmARM::ReadMG32xxChipID1Click},
    {"About1", &TGenMFrmARM::About1Click},
    {"ConfigLogFile1", &TGenMFrmARM::ConfigLogFile1Click},
    {"ClearInformation1", &TGenMFrmARM::ClearInformation1Click},
    {"CopytoCli1", &TGenMFrmARM::CopytoCli1Click},
    {"DoFirmwareUpgrade1", &TGenMFrmARM::DoFirmwareUpgrade1Click},
    {"SaveFile1", &TGenMFrmARM::FileSaveBtnClick},
    {"SpdBtnOpen", &TGenMFrmARM::FileOpenBtnClick},
    {"Execute1", &TGenMFrmARM::FileOpenBtnClick},
    {"SpdBtnLoadMore", &TGenMFrmARM::SpdBtnLoadMoreClick},
    {"LoadEepDataFile1", &TGenMFrmARM::LoadEepDataFile1Click},
    {"LoadFileOTP", &TGenMFrmARM::LoadEepDataFile1Click},
    {"SaveEepDatatoFile1", &TGenMFrmARM::SaveEepDatatoFile1Click},
    {"SavetoProjectFile1", &TGenMFrmARM::SavetoProjectFile1Click},
    {"SpdBtnLdPrj", &TGenMFrmARM::SpdBtnLdPrjClick},
    {"LoadFromProjectFile1", &TGenMFrmARM::SpdBtnLdPrjClick},
    {"BitBtnFindDev", &TGenMFrmARM::BitBtnFindDevClick},
    {"StartOfflineProgrm1", &TGenMFrmARM::StartOfflineProgrm1Click},
    {"BtnOptionCfg", &TGenMFrmARM::BtnOptionCfgClick},
    {"ShowChipOptionData1", &TGenMFrmARM::ShowChipOptionData1Click},
    {"ButtonCfgSN", &TGenMFrmARM::ButtonCfgSNClick},
};

constexpr int kViewerAddressWidth = 73;
constexpr int kViewerByteWidth = 25;
constexpr int kViewerTextWidth = 130;

// Reads the firmware image when its file is there and says what its check
// found; nothing when it is not there, and then no image is loaded.
std::optional<TFirmwareCheck> LoadFirmwareWhenPresent(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return LoadFirmwareFile(path);
  SessionState.FirmwareLoaded = 0;
  return std::nullopt;
}

void SetUpViewerColumns(QTableView& view) {
  view.setColumnWidth(TMemoryViewModel::kAddressColumn, kViewerAddressWidth);
  for (int column = 1; column < TMemoryViewModel::kTextColumn; ++column) view.setColumnWidth(column, kViewerByteWidth);
  view.setColumnWidth(TMemoryViewModel::kTextColumn, kViewerTextWidth);
}

}  // namespace

TWindowStartup StartupFromProcess() {
  TWindowStartup startup{ExecutableFolder(), {}, {}};
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
  CreatePorts();
  // A child of the window, which owns it.
  new TKeyPreview(*this, [this](const QKeyEvent& key) { RunGuarded([this, &key] { FormKeyPress(key); }); });
  BindHandlers();
  BindChipHandlers();
  BindSettingsHandlers();
  if (const QScreen* shownOn = screen()) move(shownOn->availableGeometry().center() - rect().center());
}

TGenMFrmARM::~TGenMFrmARM() {
  // The program-wide tables must not keep pointing into a window that is gone.
  if (SessionTexts.InfoMemoRef == infoMemoLog_.get()) SessionTexts.InfoMemoRef = nullptr;
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    if (ProgrammerState.ProgressGauges[ch] == &Gauges[ch]->Gauge()) ProgrammerState.ProgressGauges[ch] = nullptr;
    if (ProgrammerState.CommPorts[ch] == SPComm[ch].get()) ProgrammerState.CommPorts[ch] = nullptr;
  }
  // The ports go before the sink they post to.
  for (std::unique_ptr<TComm>& port : SPComm) port.reset();
}

void TGenMFrmARM::CreatePorts() {
  portEvents_ = std::make_unique<TQtPortEventSink>();
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    auto port = std::make_unique<TComm>(*portEvents_);
    port->SetLineSettings(ProgrammerLineSettings());
    port->SetTimeouts(ProgrammerTimeouts());
    SPComm[ch] = std::move(port);
  }
  BindPortHandlers();
}

void TGenMFrmARM::SetForms(TAboutForm* about, TLogCfgForm* logConfig, TFormOfsAddr* offsetAddress,
                           TConfigSNForm* constantFill) {
  aboutForm_ = about;
  logCfgForm_ = logConfig;
  offsetForm_ = offsetAddress;
  configSNForm_ = constantFill;
}

void TGenMFrmARM::BindHandlers() {
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
  for (const THandlerBinding& binding : kHandlers) {
    QObject* control = findChild<QObject*>(QString::fromLatin1(binding.Control));
    const auto run = GuardedSlot(this, binding.Handler);
    if (auto* action = qobject_cast<QAction*>(control)) {
      connect(action, &QAction::triggered, this, run);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      connect(button, &QAbstractButton::clicked, this, run);
    }
  }
}

void TGenMFrmARM::AddLog(const std::string& msg) { ::AddLog(msg); }

void TGenMFrmARM::SetStatusPanelText(int panel, const std::string& text) {
  if (panel >= 0 && panel < static_cast<int>(StatusPanels.size()))
    StatusPanels[static_cast<std::size_t>(panel)]->SetFullText(QString::fromStdString(text));
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
  SetStartupTexts();
  LoadLogConfig();
  InitChipViews();
  SelectedChip.ChipCode = 0x55;
  TProgrammerBindings bindings;
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    bindings.Ports[ch] = SPComm[ch].get();
    bindings.Gauges[ch] = &Gauges[ch]->Gauge();
  }
  InitGlobalSettings(bindings);
  LoadConnectionList();
  SelectedChip.ChipFamilyIndex = 0;
  DeleteStaleResultFile();
  LayoutGaugesAndMemo(SessionState.ProgrammerCount);
  AddLog(Text(TTextId::Greeting));
  // Read first, so that an unattended ("OFF") run knows not to stop at a box.
  ReadCommandLine(startup_.Arguments);
  LoadFirmwareAtStartUp();
  // The device search waits for the first tick, so no port opens before the window shows.
  SessionState.StartSearchPending = 1;
  Timer2->start();
}

void TGenMFrmARM::SetStartupTexts() {
  for (const TToolButtonText& button : kToolbarButtons)
    SetControlText(*this, button.Name, QString::fromUtf8(Text(button.Caption)));
  for (const TStartupCaption& caption : kStartupCaptions)
    SetControlText(*this, caption.Name, QString::fromUtf8(Text(caption.Text)));
  RadioGrpRST->SetItems(kResetItems);
  RadioGrpRST->SetItemIndex(0);
  SetStatusPanelText(0, Text(TTextId::FileChecksumPanel));
  SetStatusPanelText(1, Text(TTextId::ChipChecksumPanel));
}

void TGenMFrmARM::LoadLogConfig() {
  if (logCfgForm_) logCfgForm_->LoadLogConfig();
}

void TGenMFrmARM::InitChipViews() {
  SelectedChip.ControlBytes.PifSpeedFlags = 0;
  ViewPageCtrl->setCurrentWidget(ChipSett);
  SetUpViewerColumns(*HexViewer);
  SetUpViewerColumns(*EEPDataView);
  InitChipViewDefaults();
  MCUNameEdit->setText(Text(TTextId::SelectChipPrompt));
  ViewPageCtrl->setTabVisible(ViewPageCtrl->indexOf(TabSheetEEP), false);
}

// ComboBoxCOM and ProgrammerCount from "ConfigVmg.ini" or the system's
// ports; the ports that the file names for their slots take those names.
void TGenMFrmARM::LoadConnectionList() {
  TPortList list;
  list.Text = PortComboText(*ComboBoxCOM);
  LoadConnectionConfig(list, startup_.PortRoots);
  ShowPortList(*ComboBoxCOM, list);
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    if (list.SlotPorts[ch]) SPComm[ch]->CommName = *list.SlotPorts[ch];
  }
}

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

// A missing or damaged image is reported and start-up goes on; an
// unattended ("OFF") run only logs it.
void TGenMFrmARM::LoadFirmwareAtStartUp() {
  const std::string path = FirmwareFilePath();
  const std::optional<TFirmwareCheck> check = LoadFirmwareWhenPresent(path);
  if (!check) {
    LogAndShow(FormatText(TTextId::FileNotFoundFormat, path.c_str()));
  } else if (*check != TFirmwareCheck::Loaded) {
    LogAndShow(FirmwareDamagedText(path, *check));
  }
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

// What still runs on a programmer ends first, so the log says it was
// stopped.
void TGenMFrmARM::StopAllPorts() {
  StopRunningOperations();
  for (const std::unique_ptr<TComm>& port : SPComm) {
    if (port->PortOpen()) port->ClosePort();
  }
}

void TGenMFrmARM::WriteLogFile() {
  if (!logCfgForm_) return;
  TMemoLines memo;
  const QString text = InfoMemo->toPlainText();
  if (!text.isEmpty()) {
    for (const QString& line : text.split(QLatin1Char('\n'))) memo.push_back(line.toStdString());
  }
  logCfgForm_->WriteLog(memo);
}

void TGenMFrmARM::FormKeyPress(const QKeyEvent& key) {
  const QString typed = key.text();
  if (typed == QLatin1String(" ") || typed == QLatin1String("\r")) AutoSpdBtnClick();
}

void TGenMFrmARM::About1Click() {
  if (aboutForm_) aboutForm_->exec();
}

void TGenMFrmARM::ConfigLogFile1Click() {
  if (logCfgForm_) logCfgForm_->exec();
}

void TGenMFrmARM::ClearInformation1Click() { InfoMemo->clear(); }

void TGenMFrmARM::CopytoCli1Click() { InfoMemo->copy(); }

// Upgrades every programmer that the last search found and that is idle.
void TGenMFrmARM::DoFirmwareUpgrade1Click() {
  const std::string path = FirmwareFilePath();
  const bool found = LoadFirmwareWhenPresent(path).has_value();
  const TFirmwareUpgradeChoice choice = ChooseFirmwareUpgrade(found, path);
  if (!choice.Message.empty()) {
    Prompts().ShowInfo(choice.Message);
    return;
  }
  for (int ch : choice.Programmers) {
    ProgrammerState.RxFill[ch] = 0;
    StartUpgrade(ch);
  }
}

// The operator's main window: toolbar, menus, the "Chip Setting" tab with the
// chip, program and communication groups, the log memo and the ten progress
// gauges, the two hex viewers and the status bar. Exactly one exists for the
// whole run. Its show handler sets up the program-wide state.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/object_load.h"
#include "data/program_state.h"
#include "link/firmware_upgrade.h"
#include "link/operation_views.h"
#include "link/receive_path.h"
#include "link/unattended_run.h"
#include "platform/serial_port_list.h"
#include "text/checksum_texts.h"
#include "text/file_command_texts.h"
#include "ui/elided_controls.h"
#include "ui/file_dialogs.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;
class TAboutForm;
class TComm;
class TConfigSNForm;
class TFormOfsAddr;
class TGaugeWidget;
class TInfoMemoLog;
class TLogCfgForm;
class TMemoryViewModel;
class TQtPortEventSink;
class TRadioGroup;

// What start-up reads from outside: the program folder (ending in '/') that
// holds the program's own files, the command-line arguments without the
// program's name, and where the system's serial ports are listed when the
// program folder has no connection settings.
struct TWindowStartup {
  std::string ProgramFolder;
  std::vector<std::string> Arguments;
  TSerialPortRoots PortRoots;
};

// The executable's folder and the process's arguments.
TWindowStartup StartupFromProcess();

class TGenMFrmARM : public QMainWindow {
 public:
  explicit TGenMFrmARM(TWindowStartup startup, QWidget* parent = nullptr);
  ~TGenMFrmARM() override;

  // The About window, the log-configuration dialog, the binary-offset dialog
  // and the constant-filling dialog, which live beside the window. Without a
  // binary-offset or constant-filling dialog the window makes its own at its
  // first use.
  void SetForms(TAboutForm* about, TLogCfgForm* logConfig, TFormOfsAddr* offsetAddress,
                TConfigSNForm* constantFill = nullptr);

  // Appends "> hh:mm:ss msg" to the log memo (once the show handler has
  // made it the program's log).
  void AddLog(const std::string& msg);
  // A text too long for its panel (a file's path) shows elided in the middle,
  // the whole text as the panel's tooltip.
  void SetStatusPanelText(int panel, const std::string& text);
  TMemoryViewModel& HexViewerModel() { return *hexViewerModel_; }
  TMemoryViewModel& EepViewerModel() { return *eepViewerModel_; }

  // Handlers of the window's own commands. Auto-programming, also started
  // by a blank or carriage return anywhere in the window, is virtual so that
  // tests can count its runs.
  void SpdBtnExitClick();
  virtual void AutoSpdBtnClick();
  void About1Click();
  void ConfigLogFile1Click();
  void ClearInformation1Click();
  void CopytoCli1Click();
  void DoFirmwareUpgrade1Click();
  // "&Connect Dev." and "Start Off-line Progrm" (main_window_link.cpp).
  void BitBtnFindDevClick();
  void StartOfflineProgrm1Click();
  // The start-up timer's automatic search: it stops nothing (the timer runs
  // it only while no programmer is busy).
  void SearchAgain();

  // Starts the firmware upgrade of programmer ch; tests replace it to watch
  // which programmers the command chooses.
  std::function<void(int ch)> StartUpgrade = StartFirmwareUpgrade;

  // Settings and serial numbers (main_window_settings.cpp). A command that
  // programs collects the settings first, then takes the number just
  // collected: CollectProgramSettings(), then PrepareSerialNumberWhenOnline().
  // CollectProgramSettings throws EConvertError for a number field that
  // holds no integer.
  void CollectProgramSettings();
  // When "Enable S/N" and "Enable Online SN" are both ticked, the collected
  // S/N becomes the number the next chips are sent (the image and the
  // viewer keep the file's data); false (with a box) when it does not fit
  // the main area: no programmer may start. True when there is no number.
  bool PrepareSerialNumberWhenOnline();
  // After a chip passed an Auto run: the next S/N into SnValue and SNEdit1.
  void AdvanceSerialNumber();
  void CheckBoxSNClick();
  void ChkBoxSNDPClick();
  void CheckBoxCtrlClick();

  // Checksum lines, viewers and the memory save (main_window_views.cpp).
  void ComputeMainChecksum();
  void ComputeEepChecksum();
  void ShowReadMainChecksum();
  void ShowReadEepChecksum();
  // Rows from the main area's start; first and last give only their count.
  void FillHexViewer(std::uint32_t first, std::uint32_t last);
  // The rows of chip addresses fromAddr .. toAddr are drawn again (and
  // added when the viewer ended before them).
  void UpdateHexViewerRows(std::uint32_t fromAddr, std::uint32_t toAddr);
  void FillEepViewer();
  void FileSaveBtnClick();
  void SaveMemoryToFile();

  // The save dialog of "&Save Memory to File" and "Save EEP Data to File".
  TFileDialogSettings SaveDialog1{"SaveDialog1", TFileDialogMode::Save,
                                  {kSaveMemoryFilters, 0, kSaveMemoryDefaultSuffix}};
  // Runs a file dialog and tells whether the operator confirmed a name.
  // Empty, the dialog runs modally; tests set it to choose the name and the
  // filter entry themselves.
  std::function<bool(QFileDialog&)> ExecFileDialog;

  // The operation commands (main_window_operations.cpp). Each on every
  // linked, idle programmer in use: download, blank check, erase, program,
  // verify, write option bytes, write EEP (auto-programming above).
  void SpdBtnDownLoadClick();
  void SpdBtnBlankChkClick();
  void SpdBtnEraseClick();
  void SpdBtnProgClick();
  void SpdBtnVerifyClick();
  void SpdBtnWrtOPBClick();
  void WriteEepDataMemory1Click();
  // The reads on programmer 1; refused while it is busy, and the main and
  // EEP reads, which fill the buffers, while any programmer is busy.
  void ReadChipMemory1Click();
  void ReadEEPMemory1Click();
  void ReadOptionByte1Click();
  void ReadChipCheckSum1Click();
  void ReadSpcAddressClick();
  void ReadMG32xxChipID1Click();
  struct TGangCommand;
  struct TChipRead;

  // Object and EEP data files (main_window_files.cpp). Loading needs a chip
  // and no programmer busy; "&Load" blanks both images first, "Load &More"
  // loads on top. A file that is refused changes nothing that is shown.
  void FileOpenBtnClick();
  void SpdBtnLoadMoreClick();
  void LoadEepDataFile1Click();
  void SaveEepDatatoFile1Click();
  // One object file into the images by its extension, then the sums and
  // viewers (and, for a fresh load, the file panel).
  void LoadObjectFile(const std::string& fileName, TObjectLoadMode mode);
  // The sums, the checksum lines and panels; then both viewers refilled too.
  void RefreshChecksums();
  void RefreshChecksumsAndViews();
  TFileDialogSettings OpenDialog1{"OpenDialog1", TFileDialogMode::Open,
                                  {kObjectFileFilters, kObjectFileDefaultFilter, kObjectFileDefaultSuffix}};
  TFileDialogSettings OpenDialogOTP{"OpenDialogOTP", TFileDialogMode::Open,
                                    {kEepFileFilters, 0, kEepFileDefaultSuffix}};
  // Runs the binary-offset dialog and returns once it has closed. Empty, the
  // dialog runs modally; tests set it to fill and close the dialog themselves.
  std::function<void(QDialog&)> ExecOffsetDialog;

  // Project files (main_window_project.cpp). A save needs a chip and data,
  // the open command no programmer busy; a project that fails to open leaves
  // the window as it was. The error of a
  // file that cannot be read or written goes on to the handler's error box.
  void SavetoProjectFile1Click();
  void SpdBtnLdPrjClick();
  // Opens the project and brings the window up to date with its chip,
  // settings and data; also the unattended mode's way in, which downloads
  // only what was read: returns the reader's result (0: read). A file that
  // cannot be read throws std::system_error naming it.
  std::uint8_t OpenProjectFile(const std::string& fileName);
  // The project's settings into the window's controls.
  void ShowProjectSettings();
  // Their commands set the filters before each run.
  TFileDialogSettings OpenDialogPrj{"OpenDialogPrj", TFileDialogMode::Open, {}, kOpenProjectCaption};
  TFileDialogSettings SaveDialogPrj{"SaveDialogPrj", TFileDialogMode::Save, {}, kSaveProjectCaption};

  // The option and constant commands (main_window_dialogs.cpp): the chip
  // family's option dialog, the option data listed, and the constant-filling
  // dialog followed by the sums of the data.
  void BtnOptionCfgClick();
  void ShowChipOptionData1Click();
  void ButtonCfgSNClick();

  // Chip selection and the window's fit to the chip (main_window_chip.cpp).
  // The chip button: refused with a box while any programmer is busy; else
  // the chip dialog, and after its OK the part name into MCUNameEdit.
  void DevButtonClick();
  // Fits the window to the selected chip: viewers emptied, chip and memory
  // map logged, EEP controls, the family's adapter, the flash driver. Runs
  // when MCUNameEdit's text changes; a project that supplies the chip calls
  // it directly after setting ChipName (cut here at its first zero byte),
  // which it also shows in MCUNameEdit.
  void ChangeChip();
  void ChkBoxAutoClick();

  // Controls that later commands read and write, by their layout names.
  // Labels that only show a caption are found by name when it is set.
  QWidget* PanelBtns = nullptr;
  QToolButton* SpdBtnWrtOPB = nullptr;
  QTabWidget* ViewPageCtrl = nullptr;
  QWidget* ChipSett = nullptr;
  QWidget* TabSheetFlash = nullptr;
  QWidget* TabSheetEEP = nullptr;
  QTableView* HexViewer = nullptr;
  QTableView* EEPDataView = nullptr;
  QMenu* PopupMenuOTP = nullptr;

  // Chip group.
  QLineEdit* MCUNameEdit = nullptr;
  QPushButton* DevButton = nullptr;
  QLabel* DpCpInfX = nullptr;
  TRadioGroup* RadioGpVolt = nullptr;
  TRadioGroup* RadioGrpSpdF = nullptr;
  TRadioGroup* RadioGroupPIF = nullptr;
  QCheckBox* ChkBoxErsEEP = nullptr;
  QCheckBox* ChkBoxPrgEEP = nullptr;
  QCheckBox* CheckBoxOpt = nullptr;
  QPushButton* BtnOptionCfg = nullptr;

  // Program-config group: "Number/Detect", "S/N Set", "Control Set".
  QTabWidget* PageControlSet = nullptr;
  QCheckBox* ChkBoxAuto = nullptr;
  QCheckBox* ChkBoxBlkEr = nullptr;
  QSpinBox* SpinEditIn = nullptr;
  QSpinBox* SpinEditOut = nullptr;
  QCheckBox* ChkBoxCpErsM = nullptr;
  QCheckBox* ChkBoxRunSHT = nullptr;
  QSpinBox* SpinEditRTM = nullptr;
  QCheckBox* CheckBoxCtrl = nullptr;
  QSpinBox* SpinEditNum = nullptr;
  QCheckBox* CheckBoxSN = nullptr;
  QCheckBox* SNOrderChk = nullptr;
  QCheckBox* ChkBoxPCSN = nullptr;
  QCheckBox* ChkBoxSNDP = nullptr;
  QLineEdit* SNEdit1 = nullptr;
  QLineEdit* GainEdit = nullptr;
  QLineEdit* AddrEdit = nullptr;
  QPushButton* ButtonCfgSN = nullptr;
  TRadioGroup* RadioGrpRST = nullptr;
  QCheckBox* CheckBoxRun = nullptr;
  QCheckBox* ChkBoxVDD = nullptr;
  QSpinBox* SpinEditVddTim = nullptr;
  QSpinBox* SpinEditPWDTim = nullptr;
  QLabel* LabelDEVA = nullptr;
  QLineEdit* EditDevAdr = nullptr;

  // Communication group.
  TElidedComboBox* ComboBoxCOM = nullptr;
  QPushButton* BitBtnFindDev = nullptr;

  // Log column.
  QLabel* InfoPanel = nullptr;
  QPlainTextEdit* InfoMemo = nullptr;
  QMenu* PopupMenu2 = nullptr;
  std::array<TGaugeWidget*, kProgrammerMax> Gauges{};  // Gauge1 .. Gauge10

  std::array<TElidedLabel*, 3> StatusPanels{};  // of StatusBar1; FullText() is what was set
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;
  // SPComm1 .. SPComm10, with the programmers' line settings.
  std::array<std::unique_ptr<TComm>, kProgrammerMax> SPComm;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The steps of the close path; virtual so that tests can record them.
  virtual void StopAllPorts();
  virtual void WriteLogFile();

 private:
  // Building the window (main_window_layout.cpp).
  void CreateControls();
  void CreateMenus();
  void CreateToolbar();
  void CreateChipGroup(QWidget* page);
  void CreateConfigGroup(QWidget* page);
  void CreateCommunicationGroup(QWidget* page);
  void CreateLogColumn(QWidget* page);
  QTableView* CreateViewer(QWidget* page, const char* name, TMemoryViewModel*& model);
  void CreateStatusBar();
  void ApplyLayoutTexts();
  void FixWindowSize();
  void BindHandlers();
  void BindChipHandlers();
  void BindSettingsHandlers();
  void CreatePorts();

  // Start-up, in the show handler's order.
  void FormShow();
  void SetStartupTexts();
  void LoadLogConfig();
  void InitChipViews();
  void LoadConnectionList();
  void DeleteStaleResultFile();
  void LayoutGaugesAndMemo(int programmerCount);
  void LoadFirmwareAtStartUp();

  // The timers (main_window_timers.cpp).
  void Timer1Timer();
  void Timer2Timer();

  // The programmer link (main_window_link.cpp): the ports' received data,
  // line errors and hang-ups go to the core's receive path; the port list
  // is read again for every search.
  void BindPortHandlers();
  // A port whose thread failed is taken out of use (SPComm1RequestHangup ..
  // SPComm10RequestHangup).
  void SPCommRequestHangup(int ch);
  std::vector<std::string> ReloadPortList();

  // The close path, the same for the exit command and the close box.
  void FormClose();

  void FormKeyPress(const QKeyEvent& key);

  // "Enable S/N" and "Enable Online SN" both ticked: every chip programmed
  // gets the number shown, and the next after it.
  bool OnlineSerialNumbers() const;
  void RunGangCommand(const TGangCommand& command);
  bool OneProgrammerForOnlineSerialNumber();
  bool ReadRefusedWhileBusy(bool intoBuffer);
  void RunChipRead(const TChipRead& read);

  // The file commands' dialogs and their shared steps. RunFileDialog gives
  // the file the operator confirmed; empty when the dialog was cancelled.
  std::string RunFileDialog(TFileDialogSettings& dialog);
  bool ReadyToLoad();
  std::string ChooseObjectFile();
  void AskBinaryOffset();
  void ShowChecksumPanels();
  TConfigSNForm& ConstantFillForm();

  void MCUNameEditChange();
  void ShowEepControls(bool eep);
  void ApplyWindowAdapter();

  TWindowStartup startup_;
  bool shown_ = false;
  TAboutForm* aboutForm_ = nullptr;
  TLogCfgForm* logCfgForm_ = nullptr;
  TFormOfsAddr* offsetForm_ = nullptr;
  TConfigSNForm* configSNForm_ = nullptr;
  std::unique_ptr<TInfoMemoLog> infoMemoLog_;
  std::unique_ptr<TQtPortEventSink> portEvents_;  // where SPComm1 .. SPComm10 post their events
  TReceivePath receivePath_;                      // of SPComm1 .. SPComm10
  TUnattendedEnd unattendedEnd_;                  // watched by Timer1
  std::unique_ptr<IOperationViews> operationViews_;
  TMemoryViewModel* hexViewerModel_ = nullptr;
  TMemoryViewModel* eepViewerModel_ = nullptr;
};

#include "text/window_texts.h"

namespace {

const TToolButtonText toolbar[] = {
    {"SpdBtnExit", TTextId::SpdBtnExitCaption, "Exit Application"},
    {"SpdBtnOpen", TTextId::SpdBtnOpenCaption, "Clear buffer and Load Object File"},
    {"SpdBtnLoadMore", TTextId::SpdBtnLoadMoreCaption, "Just load object file(no buffer Clear )"},
    {"SpdBtnLdPrj", TTextId::SpdBtnLdPrjCaption, "Open Project File"},
    {"SpdBtnDownLoad", TTextId::SpdBtnDownLoadCaption, "Download to programmer for Off-Line Programming"},
    {"AutoSpdBtn", TTextId::AutoSpdBtnCaption, "Auto-Prog: Blank-Erase-Prog-Verify and Write Option Bytes"},
    {"SpdBtnBlankChk", TTextId::SpdBtnBlankChkCaption, "Do Chip Blank Check"},
    {"SpdBtnErase", TTextId::SpdBtnEraseCaption, "DO Chip Erase"},
    {"SpdBtnProg", TTextId::SpdBtnProgCaption, "Do Chip Programming"},
    {"SpdBtnVerify", TTextId::SpdBtnVerifyCaption, "Do Chip Verification"},
    {"SpdBtnWrtOPB", TTextId::SpdBtnWrtOPBCaption, "Write Option or config data"},
};

const TMenuItemText fileItems[] = {
    {"Execute1", "&Load Object File", "F3", false, false},
    {"LoadEepDataFile1", "Load EEP Data File", "", true, true},
    {"SaveFile1", "&Save Memory to File", "F2", false, false},
    {"SaveEepDatatoFile1", "Save EEP Data to File", "", true, true},
    {"SavetoProjectFile1", "Save to Project File", "Ctrl+F2", false, false},
    {"LoadFromProjectFile1", "Load From Project File", "Ctrl+F3", false, true},
    {"ShowChipOptionData1", "Show Chip Option Data", "", false, false},
    {"ConfigLogFile1", "Config Log File", "", false, true},
    {"Exit1", "E&xit", "Ctrl+X", false, false},
};

const TMenuItemText commandItems[] = {
    {"Download1", "&Download", "F4", false, true},
    {"AutoProgram1", "&Auto Program", "F5", false, true},
    {"BlankCheck1", "&Blank Check", "F7", false, false},
    {"EraseChip1", "&Erase Chip", "F8", false, false},
    {"Programming1", "&Programming", "F9", false, false},
    {"VeriufyDownload1", "&Verification", "F10", false, true},
    {"WriteOptionByte1", "Write &Option Byte", "F11", true, false},
    {"WriteEepDataMemory1", "Write EEP Memory", "", true, true},
    {"DoFirmwareUpgrade1", "Do Firmware Upgrade", "", false, false},
};

const TMenuItemText readItems[] = {
    {"ReadChipMemory1", "Read Main Memory", "F12", false, false},
    {"ReadEEPMemory1", "Read EEP Data Memory", "", true, false},
    {"ReadOptionByte1", "Read Chip Option Setting", "Ctrl+O", true, false},
    {"ReadChipCheckSum1", "Read Chip CheckSum", "", false, false},
    {"ReadMG32xxChipID1", "&Read Chip Information", "Ctrl+I", false, false},
    {"ReadSpcAddress", "Read Specific Address", "", false, false},
};

const TMenuItemText helpItems[] = {
    {"About1", "About", "F1", false, false},
};

const TMenuText mainMenu[] = {
    {"File1", "&File", fileItems},
    {"Execute2", "&Command", commandItems},
    {"ReadCommand", "Read", readItems},
    {"StartOfflineProgrm1", "Start Off-line Progrm", {}},
    {"Help1", "&Help", helpItems},
};

const TMenuItemText logPopupItems[] = {
    {"ClearInformation1", "Clear Information", "", false, false},
    {"CopytoCli1", "Copy Information", "", false, false},
};

const TMenuItemText eepPopupItems[] = {
    {"LoadFileOTP", "Load File", "", false, false},
};

const TStartupCaption startupCaptions[] = {
    {"BitBtnFindDev", TTextId::BitBtnFindDevCaption},
    {"ButtonCfgSN", TTextId::ButtonCfgSNCaption},
    {"GroupBoxChip", TTextId::GroupBoxChipCaption},
    {"GroupBoxCfg", TTextId::GroupBoxCfgCaption},
    {"GroupBoxCom", TTextId::GroupBoxComCaption},
    {"RadioGrpRST", TTextId::RadioGrpRSTCaption},
    {"RadioGpVolt", TTextId::RadioGpVoltCaption},
    {"RadioGrpSpdF", TTextId::RadioGrpSpdFCaption},
    {"MCUNameEdit", TTextId::SelectChipPrompt},
    {"ComboBoxCOM", TTextId::ComboBoxCOMCaption},
    {"TabSheetCP", TTextId::TabSheetCPCaption},
    {"TabSheetSN", TTextId::TabSheetSNCaption},
    {"TabSheetSG", TTextId::TabSheetSGCaption},
    {"LabelMcu", TTextId::LabelMcuCaption},
    {"LabelCpInf", TTextId::LabelCpInfCaption},
    {"LabelSelDev", TTextId::LabelSelDevCaption},
    {"LabelMaxNum", TTextId::LabelMaxNumCaption},
    {"LabelTimIn", TTextId::LabelTimInCaption},
    {"LabelTimOut", TTextId::LabelTimOutCaption},
    {"LabelSNC", TTextId::LabelSNCCaption},
    {"LabelSnGain", TTextId::LabelSnGainCaption},
    {"LabelSNAddr", TTextId::LabelSNAddrCaption},
    {"LabelPowUp", TTextId::LabelPowUpCaption},
    {"LabelPowDW", TTextId::LabelPowDWCaption},
    {"ChkBoxErsEEP", TTextId::ChkBoxErsEEPCaption},
    {"ChkBoxPrgEEP", TTextId::ChkBoxPrgEEPCaption},
    {"CheckBoxOpt", TTextId::CheckBoxOptCaption},
    {"SNOrderChk", TTextId::SNOrderChkCaption},
    {"CheckBoxSN", TTextId::CheckBoxSNCaption},
    {"ChkBoxPCSN", TTextId::ChkBoxPCSNCaption},
    {"ChkBoxSNDP", TTextId::ChkBoxSNDPCaption},
    {"ChkBoxBlkEr", TTextId::ChkBoxBlkErCaption},
    {"ChkBoxAuto", TTextId::ChkBoxAutoCaption},
    {"CheckBoxCtrl", TTextId::CheckBoxCtrlCaption},
    {"ChkBoxVDD", TTextId::ChkBoxVDDCaption},
    {"CheckBoxRun", TTextId::CheckBoxRunCaption},
    {"ChkBoxCpErsM", TTextId::ChkBoxCpErsMCaption},
};

const TTextId resetItems[] = {TTextId::ResetOutputLowItem, TTextId::ResetShutHiZItem, TTextId::ResetAndShutItem};

const TControlText layoutCaptions[] = {
    {"ChipSett", "Chip Setting"},
    {"TabSheetFlash", "Main Flash"},
    {"TabSheetEEP", "Data Flash"},
    {"InfoPanel", "Device = ??????"},
    {"DevButton", "..."},
    {"BtnOptionCfg", "Set Option Byte"},
    {"RadioGroupPIF", "接口"},
    {"ChkBoxRunSHT", "启动后关闭t(ms):  "},
    {"LabelDEVA", "Device Address: "},
    {"EditDevAdr", "0x00"},
    {"GainEdit", "0x01"},
    {"SNEdit1", "0x00000000"},
    {"AddrEdit", "0x0000FFF0"},
};

const char* const voltageItems[] = {"3.3V", "5.0V"};
const char* const speedItems[] = {"Fast SWCLK", "Slow SWCLK"};
const char* const interfaceItems[] = {"SWD", "SWE"};

}  // namespace

const std::span<const TToolButtonText> kToolbarButtons = toolbar;
const std::span<const TMenuText> kMainMenu = mainMenu;
const TMenuText kLogPopupMenu = {"PopupMenu2", "", logPopupItems};
const TMenuText kEepPopupMenu = {"PopupMenuOTP", "", eepPopupItems};
const std::span<const TStartupCaption> kStartupCaptions = startupCaptions;
const std::span<const TTextId> kResetItems = resetItems;
const std::span<const TControlText> kLayoutCaptions = layoutCaptions;
const std::span<const char* const> kVoltageItems = voltageItems;
const std::span<const char* const> kSpeedItems = speedItems;
const std::span<const char* const> kInterfaceItems = interfaceItems;

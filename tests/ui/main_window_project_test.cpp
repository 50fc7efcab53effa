// The window's project commands: a job saved and opened again in a fresh
// window comes back whole, a project that fails leaves the window as it
// was, the command line's open shows no box, and a save that fails keeps the
// old file.
#include <gtest/gtest.h>

#include <QTableView>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <numeric>
#include <set>

#include "chips/vendor_index.h"
#include "data/program_state.h"
#include "file_window.h"
#include "modal_closer.h"
#include "modal_watch.h"
#include "project/project_file.h"
#include "text/format_text.h"
#include "text/text_id.h"
#include "ui/config_sn_form.h"
#include "ui/message_box_prompts.h"

namespace {

constexpr std::size_t kOptionBitsOffset = 256;  // ProjectOptionBits, stored plain

class WindowProjectTest : public FileWindowTest {
 protected:
  // The chip with data loaded through "&Load" and "Load EEP Data File".
  void LoadJob(std::uint8_t vendor, std::size_t row) {
    Choose(vendor, row);
    const std::string object = Path("board.bin");
    WriteFile(object, RandomBytes(0x1234, vendor));
    OffsetAnswer(nullptr);
    RunWith("SpdBtnOpen", object);
    if (SelectedChip.EepSize > 0) {
      WriteFile(Path("eep.bin"), RandomBytes(0x300, 40 + vendor));
      RunWith("LoadEepDataFile1", Path("eep.bin"));
    }
    prompts.Shown.clear();
  }

  // Every setting away from its default, as an operator leaves them.
  void SetEverySetting(bool snDecimal, bool onlineSn) {
    TGenMFrmARM& w = *window;
    w.RadioGpVolt->SetItemIndex(0);
    w.ChkBoxBlkEr->setChecked(true);
    w.RadioGrpRST->SetItemIndex(2);
    w.ChkBoxVDD->setChecked(false);
    w.CheckBoxRun->setChecked(true);
    w.RadioGrpSpdF->SetItemIndex(1);
    w.ChkBoxRunSHT->setChecked(true);
    w.SpinEditRTM->setValue(730);
    w.CheckBoxOpt->setChecked(false);  // the family ticks it
    w.ChkBoxPrgEEP->setChecked(!w.ChkBoxPrgEEP->isChecked());
    w.ChkBoxErsEEP->setChecked(false);  // the EEP load ticked it
    w.ChkBoxCpErsM->setChecked(false);
    w.ChkBoxAuto->setChecked(true);
    w.SpinEditIn->setValue(600);
    w.SpinEditOut->setValue(930);
    w.SpinEditVddTim->setValue(250);
    w.SpinEditPWDTim->setValue(370);
    w.CheckBoxCtrl->setChecked(true);
    w.SpinEditNum->setValue(12345);
    w.CheckBoxSN->setChecked(true);
    w.SNOrderChk->setChecked(false);
    w.ChkBoxPCSN->setChecked(onlineSn);
    w.ChkBoxSNDP->setChecked(snDecimal);
    w.SNEdit1->setText(snDecimal ? "305419896" : "0x12345678");
    w.GainEdit->setText("7");
    w.AddrEdit->setText("0x03007FF0");
    w.EditDevAdr->setText("0x5A");
  }

  std::string Save(const std::string& name) {
    const std::string path = Path(name);
    RunWith("SavetoProjectFile1", path);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectCreatedText) + path});
    prompts.Shown.clear();
    return path;
  }

  static Bytes Image(const std::uint8_t* image, std::size_t count) { return Bytes(image, image + count); }
  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) names.insert(entry.path().filename());
    return names;
  }
};

// What the window showed and held when the job was saved, it shows and
// holds again after the project is opened in a window just started.
TEST_F(WindowProjectTest, AProjectSavedAndOpenedAgainRestoresTheWholeJob) {
  for (const bool decimal : {true, false}) {
    SCOPED_TRACE(decimal ? "decimal S/N, online" : "hex S/N, not online");
    StartAgain();
    LoadJob(kVendorAUCUx, kAu301);
    SetEverySetting(decimal, decimal);
    const std::string path = Save("job.pqx");
    const auto controls = Controls();
    const Bytes main = Image(MemoryImages.MainFlashImage, ObjectState.MainDataLength);
    const Bytes eep = Image(MemoryImages.EepImage, SelectedChip.EepSize);
    const TControlBytes bytes = SelectedChip.ControlBytes;
    const TProgramSettings settings = ProgramSettings;
    const QString fileSum = Panel(0);

    StartAgain();
    Answer(path);
    Trigger("SpdBtnLdPrj");
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectOpenSuccessText)});
    EXPECT_EQ(window->MCUNameEdit->text(), "AU301LDF51xx");
    EXPECT_TRUE(Logged("Chip \"AU301LDF51xx\" has been selected!"));
    EXPECT_EQ(Controls(), controls);
    EXPECT_EQ(window->SNEdit1->text(), decimal ? "305419896" : "0x12345678");
    EXPECT_EQ(ObjectState.ObjectLoaded, 1);
    EXPECT_EQ(ObjectState.ChipSelected, 1);
    EXPECT_EQ(Image(MemoryImages.MainFlashImage, ObjectState.MainDataLength), main);
    EXPECT_EQ(Image(MemoryImages.EepImage, SelectedChip.EepSize), eep);
    EXPECT_EQ(Panel(0), fileSum);
    const std::uint32_t chipSum = std::accumulate(main.begin(), main.end(), 0u) + std::accumulate(eep.begin(), eep.end(), 0u);
    EXPECT_EQ(Panel(1), QString::asprintf("Chip CheckSum: 0x%08X", chipSum));
    EXPECT_EQ(Panel(2), "board.bin");
    EXPECT_EQ(HexCells().rowCount(), static_cast<int>(main.size() / 16));
    EXPECT_EQ(EepCells().rowCount(), 512);
    EXPECT_TRUE(Logged("Load Quorix Project file of \"" + path + "\".2024/05/06"));

    // Collected again, the controls give the settings that were saved.
    window->CollectProgramSettings();
    const TControlBytes& back = SelectedChip.ControlBytes;
    EXPECT_EQ(std::vector<int>({back.PifSpeedFlags, back.VoltageFlags, back.ResetPowerFlags, back.ProgramStepFlags,
                                back.EraseFlags}),
              std::vector<int>({bytes.PifSpeedFlags, bytes.VoltageFlags, bytes.ResetPowerFlags, bytes.ProgramStepFlags,
                                bytes.EraseFlags}));
    const TProgramSettings& s = ProgramSettings;
    EXPECT_EQ(std::vector<std::uint32_t>({s.DeviceAddress, s.PowerUpTime, s.PowerDownTime, s.ChipInTime,
                                          s.ChipOutTime, s.RunTime, s.AutoDetect, s.OptionProgram, s.EepProgram,
                                          s.SnFlags, s.SnSize, s.SnGain, s.SnValue, s.SnAddress, s.CountLimit}),
              std::vector<std::uint32_t>({settings.DeviceAddress, settings.PowerUpTime, settings.PowerDownTime,
                                          settings.ChipInTime, settings.ChipOutTime, settings.RunTime,
                                          settings.AutoDetect, settings.OptionProgram, settings.EepProgram,
                                          settings.SnFlags, settings.SnSize, settings.SnGain, settings.SnValue,
                                          settings.SnAddress, settings.CountLimit}));

    // Saved again at once, the option bits are those it was opened from.
    prompts.Shown.clear();
    const std::string again = Save("again.pqx");
    EXPECT_EQ(ReadFile(again).at(kOptionBitsOffset), ReadFile(path).at(kOptionBitsOffset));
    EXPECT_EQ(ReadFile(path).at(kOptionBitsOffset), decimal ? 0x03 : 0x00);
  }
}

// A chip that needs a flash driver loads it on opening exactly when the
// project's option bits say so.
TEST_F(WindowProjectTest, TheFlashDriverIsLoadedWhenTheProjectSaysSo) {
  for (const bool driver : {true, false}) {
    SCOPED_TRACE(driver);
    StartAgain();
    LoadJob(kVendorIndie, kIndie);
    SelectedChip.UseFlashDriver = driver;
    const std::string path = Save("indie.pqx");
    EXPECT_EQ(ReadFile(path).at(kOptionBitsOffset), driver ? 0x04 : 0x00);

    StartAgain();
    Answer(path);
    Trigger("SpdBtnLdPrj");
    const std::string missing = "File \"" + Path("QuorixDRVs/LDR02.VDR") + "\" is not exists, please check it!";
    std::vector<std::string> boxes{Text(TTextId::ProjectOpenSuccessText)};
    if (driver) boxes.push_back(missing);
    EXPECT_EQ(prompts.Shown, boxes);
    EXPECT_EQ(SelectedChip.UseFlashDriver, driver);
    EXPECT_EQ(window->MCUNameEdit->text(), "IND83204xx");
    EXPECT_FALSE(window->ViewPageCtrl->isTabVisible(window->ViewPageCtrl->indexOf(window->TabSheetEEP)));
  }
}

// "S/N Decimal Display" comes from the project's option bits, the bit the
// save writes; bit 3 of the S/N flags does not change it.
TEST_F(WindowProjectTest, TheDecimalDisplayFollowsTheOptionBitsNotTheSnFlags) {
  struct Case {
    std::uint8_t optionBits;
    std::uint8_t snFlags;
    bool ticked;
    const char* shown;
  };
  const Case cases[] = {{0x00, 0x09, false, "0x00BC614E"}, {0x01, 0x01, true, "12345678"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    StartAgain();
    LoadJob(kVendorAUCUx, kAu301);
    window->CollectProgramSettings();
    ProgramSettings.ProjectOptionBits = c.optionBits;
    ProgramSettings.SnFlags = c.snFlags;
    ProgramSettings.SnValue = 12345678;
    const std::string path = Path("sn.pqx");
    ASSERT_TRUE(WriteProjectFile(path, 0x55));

    StartAgain();
    window->OpenProjectFile(path);
    EXPECT_EQ(window->ChkBoxSNDP->isChecked(), c.ticked);
    EXPECT_EQ(window->SNEdit1->text(), c.shown);
    EXPECT_TRUE(window->CheckBoxSN->isChecked());
    EXPECT_TRUE(window->SNEdit1->isEnabled());
  }
}

// A project that cannot be used, for whatever reason, leaves the window as
// it was: only the log lines and the message say that it was tried.
TEST_F(WindowProjectTest, AProjectThatFailsToOpenChangesNothingInTheWindow) {
  LoadJob(kVendorIndie, kIndie);
  const Bytes other = ReadFile(Save("other.pqx"));
  LoadJob(kVendorAUCUx, kAu301);
  const std::string shown = Save("shown.pqx");
  const auto damaged = [&](const char* name, const std::function<void(Bytes&)>& damage) {
    Bytes bytes = other;
    damage(bytes);
    WriteFile(Path(name), bytes);
    return Path(name);
  };
  struct Case {
    std::string path;
    std::string box;  // part of the one box
    bool readerSays;  // the box holds the reader's log lines, the reason among them
  };
  const Case cases[] = {
      {damaged("data.pqx", [](Bytes& b) { b[b.size() - 300] ^= 0x01; }), Text(TTextId::ProjectCorruptedText), true},
      {damaged("magic.pqx", [](Bytes& b) { b[0] = 'q'; }), Text(TTextId::ProjectNotValidText), true},
      {damaged("short.pqx", [](Bytes& b) { b.resize(b.size() / 2); }),
       FormatText(TTextId::ProjectDamagedFormat, Path("short.pqx").c_str()), true},
      {damaged("header.pqx", [](Bytes& b) { b.resize(200); }),
       "Project File Check Failed: the file ends after 200 bytes, inside the header.\n" +
           FormatText(TTextId::ProjectDamagedFormat, Path("header.pqx").c_str()),
       true},
      {Path("missing.pqx"), "missing.pqx", false},  // the system's error, naming the file
      {Path(""), "", false},                        // a folder
  };
  StartAgain();
  Answer(shown);
  Trigger("SpdBtnLdPrj");
  ASSERT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectOpenSuccessText)});
  const auto controls = Controls();
  const QString panels[] = {Panel(0), Panel(1), Panel(2)};
  const Bytes main(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage));
  const Bytes eep(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage));
  const int rows = HexCells().rowCount();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    prompts.Shown.clear();
    const QStringList memo = Memo();
    ObjectState.ObjectLoaded = 0;  // a failed open must not set it either
    Answer(c.path);
    Trigger("LoadFromProjectFile1");
    ASSERT_EQ(prompts.Shown.size(), 1u);
    EXPECT_NE(prompts.Shown[0].find(c.box), std::string::npos) << prompts.Shown[0];
    EXPECT_EQ(Controls(), controls);
    EXPECT_EQ(window->MCUNameEdit->text(), "AU301LDF51xx");
    EXPECT_EQ(SessionTexts.ChipName, "AU301LDF51xx");
    EXPECT_EQ(SelectedChip.ChipFamilyIndex, kVendorAUCUx);
    EXPECT_EQ(ObjectState.ObjectLoaded, 0);
    EXPECT_EQ(Panel(0), panels[0]);
    EXPECT_EQ(Panel(1), panels[1]);
    EXPECT_EQ(Panel(2), panels[2]);
    EXPECT_EQ(HexCells().rowCount(), rows);
    EXPECT_TRUE(std::ranges::equal(MemoryImages.MainFlashImage, main));
    EXPECT_TRUE(std::ranges::equal(MemoryImages.EepImage, eep));
    // The line that names the file, then at most the reader's own lines.
    const QStringList added = Memo().mid(memo.size());
    ASSERT_FALSE(added.isEmpty());
    EXPECT_TRUE(added[0].startsWith("> 09:05:07 Load Quorix Project file of")) << added[0].toStdString();
    EXPECT_LE(added.size(), 3);
    if (c.readerSays) {
      QStringList said;  // without the time prefix "> 09:05:07 "
      for (const QString& line : added.mid(1)) said << line.mid(11);
      EXPECT_EQ(QString::fromStdString(prompts.Shown[0]), said.join('\n'));
    }
    ObjectState.ObjectLoaded = 1;
  }
}

// A programmer that starts while the file dialog is open (as the command-line
// download starts) refuses the open as a programmer busy before it does.
TEST_F(WindowProjectTest, AProgrammerThatStartsWhileTheDialogIsOpenRefusesTheOpen) {
  LoadJob(kVendorAUCUx, kAu301);
  const std::string path = Save("job.pqx");
  StartAgain();
  const QStringList memo = Memo();
  window->ExecFileDialog = [&path](QFileDialog& dialog) {
    dialog.selectFile(QString::fromStdString(path));
    ProgrammerState.ChannelBusy[2] = 1;
    return true;
  };
  Trigger("SpdBtnLdPrj");
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::LoadBusyText)});
  EXPECT_EQ(Memo(), memo);
  EXPECT_EQ(ObjectState.ObjectLoaded, 0);
  EXPECT_EQ(window->MCUNameEdit->text(), "Please select Chip....");
}

// A programmer that starts while the project's message box is open (the
// command-line download, an upgrade that a late search reply starts) is sent
// the job that stood before; once the box is answered the project is refused
// with the busy box, and neither the job nor the window changes.
TEST_F(WindowProjectTest, AProgrammerThatStartsWhileTheProjectsBoxIsOpenIsSentTheOldJobAndRefusesTheOpen) {
  LoadJob(kVendorIndie, kIndie);
  const std::string path = Save("indie.pqx");
  LinkSimulatedUnit();
  LoadJob(kVendorAUCUx, kAu301);
  const TShownJob before = ShownJob();
  const QStringList memo = Memo();
  const std::string success = Text(TTextId::ProjectOpenSuccessText);
  bool started = false;
  prompts.WhileOpen = [&](const std::string& text) {
    if (text != success) return;
    started = true;
    StartDownloadOnProgrammer1();
  };
  Answer(path);
  Trigger("SpdBtnLdPrj");
  prompts.WhileOpen = nullptr;

  EXPECT_TRUE(started);
  EXPECT_EQ(prompts.Shown, (std::vector<std::string>{success, Text(TTextId::LoadBusyText)}));
  EXPECT_TRUE(ShownJob() == before);
  EXPECT_EQ(window->MCUNameEdit->text(), "AU301LDF51xx");
  EXPECT_EQ(WindowLines(Memo().mid(memo.size())).join('\n').toStdString(),
            "> 09:05:07 Load Quorix Project file of \"" + path + "\".2024/05/06\n> 09:05:07 " + success);
  ExpectUnitWasSent(before);
  EXPECT_TRUE(ShownJob() == before);
}

// A project's main data is all the main image holds once it is open: the
// rest is the project's blank value, so a later scan of the used length
// (here "Fill SN Data", cancelled) keeps the project's length, whatever an
// earlier, larger job or start-up's 0xFF left there.
TEST_F(WindowProjectTest, AProjectOpenedLeavesNoEarlierBytesInTheMainImage) {
  struct Case {
    const char* what;
    std::uint8_t vendor;
    std::size_t row;
    std::uint8_t blank;
    bool largerJobFirst;
  };
  const Case cases[] = {
      {"IND83204xx after a larger job", kVendorIndie, kIndie, 0xFF, true},
      {"SN32F774xx just after start-up", kVendorSonic, 0, 0x00, false},
      {"SN32F774xx after a larger job", kVendorSonic, 0, 0x00, true},
  };
  // Data without a blank byte, so the used length ends with it.
  const auto data = [](std::size_t size, std::uint32_t seed) {
    Bytes bytes = RandomBytes(size, seed);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(b == 0x00 || b == 0xFF ? 0x5A : b);
    return bytes;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartAgain();
    Choose(c.vendor, c.row);
    WriteFile(Path("small.bin"), data(0x1000, 1));
    OffsetAnswer(nullptr);
    RunWith("SpdBtnOpen", Path("small.bin"));
    ASSERT_EQ(ObjectState.MainDataLength, 0x1000u);
    const std::string project = Save("small.pqx");

    StartAgain();
    if (c.largerJobFirst) {
      Choose(c.vendor, c.row);
      WriteFile(Path("large.bin"), data(0x8000, 2));
      OffsetAnswer(nullptr);
      RunWith("SpdBtnOpen", Path("large.bin"));
      ASSERT_EQ(ObjectState.MainDataLength, 0x8000u);
    }
    Answer(project);
    Trigger("SpdBtnLdPrj");
    ASSERT_EQ(ObjectState.MainDataLength, 0x1000u);
    OnNextModal([](QWidget& modal) { dynamic_cast<TConfigSNForm&>(modal).BitBtnCancel->click(); });
    window->ButtonCfgSN->click();

    EXPECT_EQ(ObjectState.MainDataLength, 0x1000u);
    const std::span<const std::uint8_t> image(MemoryImages.MainFlashImage);
    EXPECT_TRUE(std::ranges::equal(image.first(0x1000), data(0x1000, 1)));
    EXPECT_EQ(std::ranges::find_if(image.subspan(0x1000), [&c](std::uint8_t b) { return b != c.blank; }) - image.begin(),
              static_cast<std::ptrdiff_t>(image.size()))
        << "the first byte past the project's data that is not blank";
    EXPECT_EQ(HexCells().rowCount(), 0x1000 / 16);
  }
}

// The project on the command line opens without a single box, also without
// "OFF": the reader's message and those of the chip change (a missing flash
// driver) are logged. What comes after the open is the operator's again: the
// download that the missing driver refuses says so in a box, and a project
// that the operator opens later in the same window shows its box.
TEST_F(WindowProjectTest, TheCommandLineProjectOpensWithoutABoxAndTheOperatorsOpenShowsIts) {
  LoadJob(kVendorIndie, kIndie);
  const std::string good = Save("indie.pqx");
  Bytes bytes = ReadFile(good);
  bytes[bytes.size() - 300] ^= 0x01;
  const std::string bad = Path("bad.pqx");
  WriteFile(bad, bytes);

  for (const std::string& path : {bad, good}) {
    SCOPED_TRACE(path);
    window.reset();
    ResetProgramState();
    window = std::make_unique<TGenMFrmARM>(Startup({path}));
    window->show();
    TMessageBoxPrompts boxes;
    SetPrompts(&boxes);
    TModalWatch watch;
    // With no port listed the first tick of Timer2 ends its wait and opens the project.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->Timer2->isActive(); }));
    SetPrompts(&prompts);
    const bool opened = path == good;
    EXPECT_EQ(watch.Opened, opened ? 1 : 0);
    EXPECT_TRUE(Logged(opened ? Text(TTextId::ProjectOpenSuccessText) : Text(TTextId::ProjectCorruptedText)));
    const std::string driver = Path("QuorixDRVs/LDR02.VDR");
    EXPECT_EQ(Logged("File \"" + driver + "\" is not exists, please check it!"), opened);
    EXPECT_EQ(Logged("Flash Driver \"" + driver + "\" Not Loaded, Operation Not Started!"), opened);
    EXPECT_EQ(ObjectState.ObjectLoaded, opened);
    EXPECT_EQ(window->MCUNameEdit->text(), opened ? "IND83204xx" : "Please select Chip....");

    prompts.Shown.clear();
    window->OpenProjectFile(bad);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectCorruptedText)});
  }
}

// A save that cannot be made shows one message, and the file that stood
// there before is left as it was.
TEST_F(WindowProjectTest, ASaveThatFailsLeavesTheOldFileAndShowsOneMessage) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    std::string path;
    const char* shown;  // part of the one box
  };
  std::filesystem::create_directory(Path("taken.pqx"));
  WriteFile(Path("taken.pqx/inside"), Bytes{1, 2, 3});
  const Case cases[] = {
      {"a job no file can hold", [] { ObjectState.MainDataLength = 0; }, Path("old.pqx"), "Project File Not Saved"},
      {"an S/N that is no number", [this] { window->SNEdit1->setText("12x"); }, Path("old.pqx"), "'12x'"},
      {"a folder in the way", [] {}, Path("taken.pqx"), "taken.pqx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartAgain();
    LoadJob(kVendorAUCUx, kAu301);
    WriteFile(Path("old.pqx"), Bytes{'o', 'l', 'd'});
    c.spoil();
    const auto entries = Entries();
    RunWith("SavetoProjectFile1", c.path);
    ASSERT_EQ(prompts.Shown.size(), 1u);
    EXPECT_NE(prompts.Shown[0].find(c.shown), std::string::npos) << prompts.Shown[0];
    EXPECT_EQ(ReadFile(Path("old.pqx")), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(ReadFile(Path("taken.pqx/inside")), (Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(), entries) << "no file left behind";
  }
}

}  // namespace

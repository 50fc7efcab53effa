// The window's object and EEP data file commands, driven as the operator
// drives them, with the file and offset dialogs answered through the seams.
#include <gtest/gtest.h>

#include <QFileSystemModel>
#include <QListView>
#include <QTableView>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <numeric>

#include "chips/vendor_index.h"
#include "data/program_state.h"
#include "file_window.h"
#include "text/format_text.h"

namespace {

std::string Hex8(std::uint32_t value) { return FormatText("0x%08X", value); }

// A path too long for the file panel loses characters from the middle of its
// folder: the file's own name shows whole, the whole path is the panel's
// tooltip, and a narrower panel elides it again.
TEST_F(FileWindowTest, ALongPathInTheFilePanelShowsTheFileNameWhole) {
  Choose(kVendorIndie, kIndie);
  const std::string folder = Path("line_7_station_b_programming_jobs/customer_orders_of_2024/");
  std::filesystem::create_directories(folder);
  const std::string path = folder + "board_firmware_v1.hex";
  WriteFile(path, HexLine(0, 0, RandomBytes(0x10, 1)) + "\n" + HexLine(1, 0, {}) + "\n");
  RunWith("SpdBtnOpen", path);
  ASSERT_TRUE(prompts.Shown.empty());

  TElidedLabel& panel = *window->StatusPanels[2];
  const QString whole = QString::fromStdString(path);
  EXPECT_EQ(panel.FullText(), whole);
  EXPECT_EQ(panel.toolTip(), whole);
  for (const int width : {panel.width(), 200}) {
    SCOPED_TRACE(width);
    panel.setFixedWidth(width);
    const QString shown = panel.text();
    EXPECT_TRUE(shown.endsWith("/board_firmware_v1.hex")) << shown.toStdString();
    const qsizetype cut = shown.indexOf(QChar(0x2026));  // the ellipsis
    ASSERT_GT(cut, 0) << shown.toStdString();
    EXPECT_TRUE(whole.startsWith(shown.left(cut))) << shown.toStdString();
    EXPECT_LE(panel.fontMetrics().horizontalAdvance(shown), panel.contentsRect().width());
  }
}

// What each command's dialog offers, and that the command's controls reach it.
TEST_F(FileWindowTest, EachCommandOffersItsOwnFileDialog) {
  Choose(kVendorAUCUx, kAu301);
  ObjectState.ObjectLoaded = 1;
  struct Case {
    const char* control;
    const char* dialog;
    QStringList filters;
    int chosen;
    const char* suffix;
    const char* title;  // nullptr: the system's
    bool save;
  };
  const QStringList object = {"All Files (*.*) (*)", "All Binary Files (*.Bin)", "All Intel Hex Files (*.Hex)",
                              "All Motorola Hex Files(*.S19)",
                              "All Hex/Binary Files (*.Hex,*.S1*,*.Bin) (*.Hex *.S1* *.Bin)"};
  const QStringList eep = {"All Binary Files (*.Bin)", "All Object Files(*.S19,*.HEX) (*.S19 *.HEX)",
                           "All Hex/Binary Files (*.HEX,*.S1*,*.Bin) (*.Hex *.S1* *.Bin)"};
  const QStringList memory = {"All Binary Files(*.BIN)", "Intel Hex Files(*.HEX)",
                              "Motorola S-record Files(*.mot) (*.S19)"};
  const QStringList openProject = {"Velmotxx Project Files(*.pqx)", "All FIles(*.*) (*)"};
  const QStringList saveProject = {"Velmotxx Project File(*.pqx)", "All FIles(*.*) (*)"};
  const Case cases[] = {
      {"SpdBtnOpen", "OpenDialog1", object, 4, "BIN", nullptr, false},
      {"Execute1", "OpenDialog1", object, 4, "BIN", nullptr, false},
      {"SpdBtnLoadMore", "OpenDialog1", object, 4, "BIN", nullptr, false},
      {"LoadEepDataFile1", "OpenDialogOTP", eep, 0, "bin", nullptr, false},
      {"LoadFileOTP", "OpenDialogOTP", eep, 0, "bin", nullptr, false},
      {"SaveEepDatatoFile1", "SaveDialog1", memory, 0, "bin", nullptr, true},
      {"SavetoProjectFile1", "SaveDialogPrj", saveProject, 0, "pqx", "Save to Velmot200xx Project File", true},
      {"SpdBtnLdPrj", "OpenDialogPrj", openProject, 0, "pqx", "Open Velmot200xx Project File", false},
      {"LoadFromProjectFile1", "OpenDialogPrj", openProject, 0, "pqx", "Open Velmot200xx Project File", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    int asked = 0;
    window->ExecFileDialog = [&](QFileDialog& dialog) {
      ++asked;
      EXPECT_EQ(dialog.objectName(), c.dialog);
      EXPECT_EQ(dialog.nameFilters(), c.filters);
      EXPECT_EQ(dialog.selectedNameFilter(), c.filters.value(c.chosen));
      EXPECT_EQ(dialog.defaultSuffix(), c.suffix);
      if (c.title) {
        EXPECT_EQ(dialog.windowTitle(), c.title);
      }
      EXPECT_EQ(dialog.acceptMode(), c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      if (!c.save) {
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
      }
      // The operator picks another entry and cancels: a project dialog offers its first again next time.
      if (c.title) dialog.selectNameFilter(c.filters.back());
      return false;
    };
    Trigger(c.control);
    EXPECT_EQ(asked, 1);
    if (c.title) {
      Trigger(c.control);
      EXPECT_EQ(asked, 2);
    }
  }
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_EQ(ObjectState.ObjectLoaded, 1);
}

// The entries for all files list every file, also one whose name has no dot:
// a project saved as "job" can be picked, not only typed.
TEST_F(FileWindowTest, TheAllFilesEntriesListNamesWithoutADot) {
  Choose(kVendorAUCUx, kAu301);
  ObjectState.ObjectLoaded = 1;
  const QString folder = QString::fromStdString(Folder()) + "listed";
  std::filesystem::create_directory(folder.toStdString());
  for (const char* name : {"job", "board.hex", "job.pqx"}) WriteFile(folder.toStdString() + "/" + name, Bytes{1});
  struct Case {
    const char* control;
    int entry;
    const char* caption;  // what the operator reads
  };
  const Case cases[] = {
      {"SpdBtnOpen", 0, "All Files (*.*)"},
      {"SpdBtnLdPrj", 1, "All FIles(*.*)"},
      {"SavetoProjectFile1", 1, "All FIles(*.*)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    QStringList listed;
    window->ExecFileDialog = [&](QFileDialog& dialog) {
      dialog.setDirectory(folder);
      const QString entry = dialog.nameFilters().value(c.entry);
      EXPECT_TRUE(entry.startsWith(c.caption)) << entry.toStdString();
      dialog.selectNameFilter(entry);
      auto* model = dialog.findChild<QFileSystemModel*>();
      auto* view = dialog.findChild<QListView*>("listView");
      EXPECT_TRUE(model && view);
      if (!model || !view) return false;
      // The folder is read on a thread of the model's own.
      const auto names = [&] {
        QStringList shown;
        for (int row = 0; row < model->rowCount(view->rootIndex()); ++row)
          shown << model->index(row, 0, view->rootIndex()).data().toString();
        shown.sort();
        return shown;
      };
      if (!QTest::qWaitFor([&] { return names().contains("board.hex"); }, 60'000)) ADD_FAILURE() << "never listed";
      listed = names();
      return false;
    };
    Trigger(c.control);
    EXPECT_EQ(listed, (QStringList{"board.hex", "job", "job.pqx"}));
  }
}

// The running steps send and compare the images: nothing is loaded under them.
TEST_F(FileWindowTest, WithoutAChipOrDataOrWhileBusyTheCommandsSayWhyAndOpenNoDialog) {
  struct Case {
    const char* control;
    bool chip;
    bool busy;  // a programmer runs an operation
    const char* box;
  };
  const Case cases[] = {
      {"SpdBtnOpen", false, false, Text(TTextId::SelectChipFirstText)},
      {"SpdBtnLoadMore", false, false, Text(TTextId::SelectChipFirstText)},
      {"LoadEepDataFile1", false, false, Text(TTextId::SelectChipFirstText)},
      {"SavetoProjectFile1", false, false, Text(TTextId::SelectChipFirstText)},
      {"SavetoProjectFile1", true, false, Text(TTextId::LoadObjectFirstText)},
      {"SpdBtnOpen", true, true, Text(TTextId::LoadBusyText)},
      {"Execute1", true, true, Text(TTextId::LoadBusyText)},
      {"SpdBtnLoadMore", true, true, Text(TTextId::LoadBusyText)},
      {"LoadFileOTP", true, true, Text(TTextId::LoadBusyText)},
      {"SpdBtnLdPrj", true, true, Text(TTextId::LoadBusyText)},
      {"LoadFromProjectFile1", false, true, Text(TTextId::LoadBusyText)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    StartAgain();
    if (c.chip) Choose(kVendorAUCUx, kAu301);
    ProgrammerState.ChannelBusy[7] = c.busy;
    const QStringList memo = Memo();
    RunWith(c.control, Path("board.hex"));
    EXPECT_EQ(fileDialogs, 0);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{c.box});
    EXPECT_EQ(Memo(), memo);
  }
}

// A programmer that starts while a load's file dialog is open (the
// command-line download, an upgrade a search reply starts) refuses the load
// that the dialog then confirms: the busy box, and nothing changes.
TEST_F(FileWindowTest, AProgrammerThatStartsWhileTheFileDialogIsOpenRefusesTheLoad) {
  Choose(kVendorAUCUx, kAu301);
  WriteFile(Path("board.hex"), HexLine(4, 0, {0x03, 0x00}) + "\n" + HexLine(0, 0x0100, RandomBytes(0x80, 5)) + "\n");
  WriteFile(Path("eep.hex"), HexLine(4, 0, {0x03, 0x02}) + "\n" + HexLine(0, 0x6000, RandomBytes(0x20, 6)) + "\n");
  const Bytes main(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage));
  const Bytes eep(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage));
  for (const auto& [control, file] : {std::pair{"SpdBtnOpen", "board.hex"}, std::pair{"SpdBtnLoadMore", "board.hex"},
                                      std::pair{"LoadEepDataFile1", "eep.hex"}}) {
    SCOPED_TRACE(control);
    ProgrammerState.ChannelBusy[2] = 0;
    prompts.Shown.clear();
    const QStringList memo = Memo();
    const std::string path = Path(file);
    window->ExecFileDialog = [&path](QFileDialog& dialog) {
      dialog.selectFile(QString::fromStdString(path));
      ProgrammerState.ChannelBusy[2] = 1;
      return true;
    };
    Trigger(control);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::LoadBusyText)});
    EXPECT_EQ(Memo(), memo);
    EXPECT_EQ(ObjectState.ObjectLoaded, 0);
    EXPECT_TRUE(std::ranges::equal(MemoryImages.MainFlashImage, main));
    EXPECT_TRUE(std::ranges::equal(MemoryImages.EepImage, eep));
  }
}

// A box of a load runs the event loop, so a programmer may start while it is
// open (the command-line download, an upgrade that a late search reply
// starts). That programmer is sent the job that stood before the load; once
// the load's last box has been answered the load is refused with the busy
// box, and the job stays as it was. A load aborted at its line box says
// itself that nothing was loaded, and needs no busy box.
TEST_F(FileWindowTest, AProgrammerThatStartsWhileABoxOfALoadIsOpenIsSentTheOldJobAndRefusesTheLoad) {
  LinkSimulatedUnit();
  Choose(kVendorAUCUx, kAu301);  // 32 KB at 0x03000000, 8 KB EEP at 0x03026000, binary files run on into it
  const std::uint32_t option = SelectedChip.OptionStart;
  const auto linear = [](std::uint32_t address) {
    return HexLine(4, 0, {std::uint8_t(address >> 24), std::uint8_t(address >> 16)}) + "\n";
  };
  const auto data = [](std::uint32_t address, std::uint32_t seed) {
    return HexLine(0, std::uint16_t(address), RandomBytes(0x10, seed)) + "\n";
  };
  const auto bad = [](std::uint32_t address) {
    return WithBadChecksum(HexLine(0, std::uint16_t(address), {1, 2})) + "\n";
  };
  WriteFile(Path("job.hex"), linear(0x03000000) + data(0x03000100, 1) + linear(option) + data(option, 2));
  WriteFile(Path("eep.hex"), linear(0x03026000) + data(0x03026000, 3));
  // Option bytes and main data, and a bad line among them: line 4.
  WriteFile(Path("lines.hex"),
            linear(option) + data(option, 4) + linear(0x03000000) + bad(0x03000500) + data(0x03000600, 5));
  WriteFile(Path("eep-lines.hex"), linear(0x03026000) + data(0x03026100, 6) + bad(0x03026200));
  WriteFile(Path("board.bin"), RandomBytes(0x300, 7));
  WriteFile(Path("long.bin"), RandomBytes(0x28001, 8));  // one byte past EepEnd
  WriteFile(Path("eep-long.bin"), RandomBytes(0x2001, 9));
  RunWith("SpdBtnOpen", Path("job.hex"));
  RunWith("LoadEepDataFile1", Path("eep.hex"));
  ASSERT_TRUE(prompts.Shown.empty());
  const TShownJob before = ShownJob();

  const std::string busy = Text(TTextId::LoadBusyText);
  const std::string flash = Text(TTextId::OutOfFlashText);
  const std::string eep = Text(TTextId::OutOfEepText);
  const auto logged = [](const std::string& line) { return QString::fromStdString("> 09:05:07 " + line); };
  struct Case {
    const char* control;
    const char* file;
    std::string startsAt;                // the box during which programmer 1 starts; empty: the offset dialog
    std::deque<TPromptAnswer> answers;  // to the line boxes
    std::vector<std::string> boxes;     // every box, in order
    QStringList logged;                 // what the window's log gains
  };
  const std::string lineBox = FormatText(TTextId::LineDataErrorFormat, 4, 4);
  const std::string eepLineBox = FormatText(TTextId::LineDataErrorFormat, 3, 4);
  const Case cases[] = {
      {"SpdBtnOpen", "lines.hex", lineBox, {TPromptAnswer::Ok}, {lineBox, busy}, {}},
      {"SpdBtnLoadMore", "lines.hex", lineBox, {TPromptAnswer::Abort}, {lineBox, busy},
       {logged(FormatText(TTextId::LoadAbortedFormat, Path("lines.hex").c_str()))}},
      {"LoadEepDataFile1", "eep-lines.hex", eepLineBox, {TPromptAnswer::Ok}, {eepLineBox, busy}, {}},
      {"SpdBtnOpen", "board.bin", "", {}, {busy}, {}},
      {"SpdBtnLoadMore", "long.bin", flash, {}, {flash, busy},
       {logged(FormatText(TTextId::FileLoadedFormat, Path("long.bin").c_str())), "", logged(flash)}},
      {"LoadFileOTP", "eep-long.bin", eep, {}, {eep, busy},
       {logged(FormatText(TTextId::EepFileLoadedFormat, Path("eep-long.bin").c_str())), logged(eep)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " " + c.file);
    prompts.Shown.clear();
    prompts.Answers = c.answers;
    const QStringList memo = WindowLines(Memo());
    bool started = false;
    const auto start = [&started] {
      ASSERT_FALSE(started);
      started = true;
      StartDownloadOnProgrammer1();
    };
    prompts.WhileOpen = [&](const std::string& text) {
      if (text == c.startsAt) start();
    };
    window->ExecOffsetDialog = [&](QDialog& dialog) {
      if (c.startsAt.empty()) start();
      dialog.reject();
    };
    RunWith(c.control, Path(c.file));
    prompts.WhileOpen = nullptr;

    EXPECT_TRUE(started);
    EXPECT_EQ(prompts.Shown, c.boxes);
    EXPECT_TRUE(prompts.Answers.empty());
    EXPECT_EQ(WindowLines(Memo()).join('\n').toStdString(), (memo + c.logged).join('\n').toStdString());
    EXPECT_TRUE(ShownJob() == before);
    ExpectUnitWasSent(before);
    if (HasFatalFailure()) return;
  }
}

// "&Load" with a binary file: the offset dialog offers the chip's start, and
// the room is counted in bytes from the address typed to the area's end.
TEST_F(FileWindowTest, ABinaryLoadFillsTheMainAreaFromTheAddressTyped) {
  struct Case {
    const char* what;
    std::size_t size;
    const char* typed;      // nullptr: closed with the close box
    std::uint32_t address;  // where the file lands
    const char* box;        // nullptr: none
    bool loaded;
  };
  const std::string refused = FormatText(TTextId::OffsetOutOfFlashFormat, 0x10000u, 0u, 0xFFFFu);
  const std::string badNumber = "'12x' is not a valid integer value";
  const Case cases[] = {
      {"exactly MainSize at offset 0", 0x10000, nullptr, 0, nullptr, true},
      {"running past the end", 0x9000, "0x8000", 0x8000, Text(TTextId::OutOfFlashText), true},
      {"an address past the area", 0x100, "0x10000", 0, refused.c_str(), false},
      {"no number typed", 0x100, "12x", 0, badNumber.c_str(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartAgain();
    Choose(kVendorIndie, kIndie);
    // A sum of an earlier chip with EEP must not reach the chip checksum.
    ObjectState.EepSum = 0x12345678;
    Bytes file = RandomBytes(c.size, static_cast<std::uint32_t>(c.size));
    std::ranges::replace(file, 0xFF, 0xFE);  // no blank byte: the used length ends with the file
    const std::string path = Path("board.bin");
    WriteFile(path, file);
    OffsetAnswer(c.typed);
    RunWith("SpdBtnOpen", path);

    EXPECT_EQ(offeredOffsets, QStringList{"0x00000000"});
    EXPECT_EQ(prompts.Shown, c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
    EXPECT_EQ(ObjectState.ObjectLoaded, c.loaded);
    const std::span<const std::uint8_t> image(MemoryImages.MainFlashImage);
    if (!c.loaded) {  // refused before anything changed
      EXPECT_TRUE(Panel(2).isEmpty());
      EXPECT_TRUE(SessionTexts.ChipText2.empty());
      EXPECT_EQ(HexCells().rowCount(), 0);
      EXPECT_EQ(Panel(0), Text(TTextId::FileChecksumPanel));
      continue;
    }
    EXPECT_EQ(Panel(2), QString::fromStdString(path));
    EXPECT_EQ(SessionTexts.ChipText2, "board.bin");
    const std::size_t kept = std::min<std::size_t>(c.size, 0x10000 - c.address);
    EXPECT_TRUE(std::ranges::equal(image.subspan(c.address, kept), std::span(file).first(kept)));
    EXPECT_EQ(image[c.address + kept], 0xFF);
    const std::uint32_t length = std::max<std::uint32_t>(1024, ((c.address + std::uint32_t(kept) - 1) | 0xFF) + 1);
    const std::uint32_t fileSum = std::accumulate(file.begin(), file.begin() + kept, 0u);
    const std::uint32_t mainSum = std::accumulate(image.begin(), image.begin() + length, 0u);
    EXPECT_TRUE(Logged("Object File Start Address  = " + Hex8(c.address) + "."));
    EXPECT_TRUE(Logged("Object File End Address    = " + Hex8(c.address + std::uint32_t(kept) - 1) + "."));
    EXPECT_TRUE(Logged("Object File ACC32 Checksum = " + Hex8(fileSum)));
    EXPECT_TRUE(Logged(FormatText("Chip Actual Programmed Data Size is: %uBytes/0x%08X.", length, length - 1)));
    EXPECT_EQ(Memo().back(), QString::fromStdString("> 09:05:07 Chip ACC32 CheckSum is : " + Hex8(mainSum)));
    EXPECT_EQ(Panel(0), QString::fromStdString("File CheckSum: " + Hex8(fileSum)));
    EXPECT_EQ(Panel(1), QString::fromStdString("Chip CheckSum: " + Hex8(mainSum)));
    EXPECT_EQ(HexCells().rowCount(), static_cast<int>(length / 16));
    EXPECT_EQ(Cell(HexCells(), static_cast<int>(length / 16) - 1, 16), QString::asprintf("%02X", image[length - 1]));
    EXPECT_EQ(window->ViewPageCtrl->currentWidget(), window->TabSheetFlash);
  }
}

// "Load &More" keeps what the first file loaded wherever the second has no
// records; "&Load" blanks the images first.
TEST_F(FileWindowTest, LoadMoreKeepsTheFirstFilesDataOutsideTheSecondsRecords) {
  Choose(kVendorIndie, kIndie);
  const Bytes first = RandomBytes(0x40, 1);
  const Bytes second = RandomBytes(0x10, 2);
  const Bytes far = RandomBytes(0x08, 3);
  WriteFile(Path("first.hex"), HexLine(0, 0x0000, Bytes(first.begin(), first.begin() + 0x20)) + "\n" +
                                   HexLine(0, 0x0020, Bytes(first.begin() + 0x20, first.end())) + "\n" +
                                   HexLine(1, 0, {}) + "\n");
  WriteFile(Path("second.HEX"), HexLine(0, 0x0010, second) + "\r\n" + HexLine(0, 0x2000, far) + "\r\n");

  RunWith("SpdBtnOpen", Path("first.hex"));
  RunWith("SpdBtnLoadMore", Path("second.HEX"));
  EXPECT_TRUE(prompts.Shown.empty());
  const std::span<const std::uint8_t> image(MemoryImages.MainFlashImage);
  Bytes expected = first;
  std::ranges::copy(second, expected.begin() + 0x10);
  EXPECT_TRUE(std::ranges::equal(image.first(0x40), expected));
  EXPECT_TRUE(std::ranges::equal(image.subspan(0x2000, 8), far));
  EXPECT_EQ(image[0x40], 0xFF);
  // The second file's own bounds; the panel and the file name stay the first's.
  EXPECT_EQ(ObjectState.ObjectStart, 0x10u);
  EXPECT_EQ(ObjectState.ObjectEnd, 0x2007u);
  EXPECT_EQ(Panel(2), QString::fromStdString(Path("first.hex")));
  EXPECT_EQ(SessionTexts.ChipText2, "first.hex");
  EXPECT_EQ(ObjectState.MainDataLength, 0x2100u);
  EXPECT_TRUE(Logged("File \"" + Path("second.HEX") + "\" has been loaded!"));

  RunWith("SpdBtnOpen", Path("second.HEX"));
  EXPECT_TRUE(std::ranges::all_of(image.first(0x10), [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(SessionTexts.ChipText2, "second.HEX");
}

// A load that cannot be made, by any of the three commands, is refused before
// anything changes: one box names the file and the reason, the log says the
// same, and the job loaded before stays whole, in memory and on screen. A
// record file that places no data, or that the operator aborts at a line
// box, is refused once read and leaves the job just as whole.
TEST_F(FileWindowTest, ARefusedLoadChangesNothingAndSaysWhyOnce) {
  Choose(kVendorAUCUx, kAu301);  // 32 KB at 0x03000000, 8 KB EEP at 0x03026000 (the area up to 0x03027FFF)
  // No listed chip has an auxiliary area; the chip of a project may bring one.
  SelectedChip.AuxStart = 0x20000000;
  SelectedChip.AuxEnd = 0x200003FF;
  WriteFile(Path("good.hex"), HexLine(4, 0, {0x03, 0x00}) + "\n" + HexLine(0, 0x0100, RandomBytes(0x80, 5)) + "\n");
  WriteFile(Path("eep.bin"), RandomBytes(0x40, 6));
  WriteFile(Path("board.bin"), RandomBytes(0x40, 7));
  WriteFile(Path("board.elf"), RandomBytes(0x40, 8));
  WriteFile(Path("board.s37"), ReadText(Path("good.hex")));
  for (const char* empty : {"empty.hex", "empty.S19", "empty.bin"}) WriteFile(Path(empty), std::string());
  std::filesystem::create_directory(Path("folder.hex"));
  const std::uint32_t option = SelectedChip.OptionStart;
  ASSERT_NE(option, 0xFFFFFFFFu);
  const auto linear = [](std::uint32_t address) {
    return HexLine(4, 0, {std::uint8_t(address >> 24), std::uint8_t(address >> 16)}) + "\n";
  };
  const auto data = [](std::uint32_t address, std::uint32_t seed) {
    return HexLine(0, std::uint16_t(address), RandomBytes(0x10, seed)) + "\n";
  };
  WriteFile(Path("end.hex"), ":00000001FF\r\n");
  WriteFile(Path("headers.S19"), "S00600004844521B\r\nS9030000FC\r\n");
  WriteFile(Path("nowhere.hex"), linear(0x7F000000) + data(0x7F000100, 9) + ":00000001FF\n");
  WriteFile(Path("aborted.hex"), linear(0x03000000) + data(0x03000200, 10) +
                                     WithBadChecksum(HexLine(0, 0x0300, RandomBytes(0x10, 11))) + "\n" +
                                     data(0x03000400, 12));
  WriteFile(Path("aborted.S19"), SRecLine('3', 4, 0x03026000, RandomBytes(0x10, 13)) + "\n" +
                                     SRecLine('3', 4, 0x03000600, RandomBytes(0x10, 14)) + "\n" + "S1bad\n" +
                                     SRecLine('3', 4, 0x03026100, RandomBytes(0x10, 15)) + "\n");
  WriteFile(Path("options.hex"), linear(option) + data(option, 16));
  // Option and auxiliary bytes placed before the line that is aborted.
  WriteFile(Path("options-aborted.hex"), linear(option) + data(option, 17) +
                                             WithBadChecksum(HexLine(0, std::uint16_t(option + 0x10), {1, 2})) + "\n");
  WriteFile(Path("aux-aborted.S19"), SRecLine('3', 4, 0x20000010, RandomBytes(0x10, 18)) + "\n" +
                                         SRecLine('3', 4, 0x03026000, RandomBytes(0x10, 19)) + "\nS1bad\n");
  RunWith("SpdBtnOpen", Path("good.hex"));
  OffsetAnswer(nullptr);
  RunWith("LoadEepDataFile1", Path("eep.bin"));
  ASSERT_TRUE(prompts.Shown.empty());
  const TShownJob before = ShownJob();
  ASSERT_EQ(ObjectState.ObjectLoaded, 1);
  ASSERT_EQ(before.MainCells.size(), 1024 / 16 * 18);
  ASSERT_EQ(before.EepCells.size(), 8192 / 16 * 18);

  const std::string noFile = std::strerror(ENOENT);
  const std::string folder = std::strerror(EISDIR);
  const std::string empty = "is empty, nothing has been loaded!";
  const std::string format = Text(TTextId::FormatErrorText);
  const auto offset = [](TTextFormat<std::uint32_t, std::uint32_t, std::uint32_t> text, std::uint32_t address,
                         std::uint32_t start) { return FormatText(text, address, start, 0x03027FFFu); };
  struct Case {
    const char* control;
    const char* file;
    const char* typed;   // binary files: the address typed (nullptr: the one offered)
    std::string reason;  // what the box says
    bool namesFile;      // and the file it names
  };
  const Case cases[] = {
      {"SpdBtnOpen", "missing.hex", nullptr, noFile, true},
      {"SpdBtnLoadMore", "missing.bin", nullptr, noFile, true},
      {"LoadEepDataFile1", "missing.S19", nullptr, noFile, true},
      {"SpdBtnOpen", "empty.hex", nullptr, empty, true},
      {"SpdBtnLoadMore", "empty.S19", nullptr, empty, true},
      {"SpdBtnOpen", "empty.bin", nullptr, empty, true},
      {"LoadFileOTP", "empty.bin", nullptr, empty, true},
      {"SpdBtnOpen", "folder.hex", nullptr, folder, true},
      {"LoadEepDataFile1", "folder.hex", nullptr, folder, true},
      {"SpdBtnOpen", "board.elf", nullptr, format, false},
      {"SpdBtnLoadMore", "board.elf", nullptr, format, false},
      {"LoadEepDataFile1", "board.s37", nullptr, format, false},
      {"SpdBtnOpen", "board.bin", "0x02FFFFFF", offset(TTextId::OffsetOutOfFlashFormat, 0x02FFFFFF, 0x03000000), false},
      {"SpdBtnLoadMore", "board.bin", "0x03028000", offset(TTextId::OffsetOutOfFlashFormat, 0x03028000, 0x03000000),
       false},
      {"LoadEepDataFile1", "eep.bin", "0x03028000", offset(TTextId::OffsetOutOfEepFormat, 0x03028000, 0x03026000),
       false},
      {"LoadFileOTP", "eep.bin", "0x03025FFF", offset(TTextId::OffsetOutOfEepFormat, 0x03025FFF, 0x03026000), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " " + c.file);
    prompts.Shown.clear();
    const QStringList memo = Memo();
    OffsetAnswer(c.typed);
    RunWith(c.control, Path(c.file));

    ASSERT_EQ(prompts.Shown.size(), 1u);
    const std::string& box = prompts.Shown[0];
    EXPECT_NE(box.find(c.reason), std::string::npos) << box;
    EXPECT_EQ(box.find(Path(c.file)) != std::string::npos, c.namesFile) << box;
    EXPECT_EQ(Memo(), memo + QStringList{QString::fromStdString("> 09:05:07 " + box)});
    EXPECT_TRUE(ShownJob() == before);
  }

  const auto noData = [this](const char* file) { return FormatText(TTextId::NoDataPlacedFormat, Path(file).c_str()); };
  const auto aborted = [this](const char* file) { return FormatText(TTextId::LoadAbortedFormat, Path(file).c_str()); };
  const std::string lineBox = FormatText(TTextId::LineDataErrorFormat, 3, 4);
  const std::string nowhere[] = {FormatText(TTextId::AddressOutOfChipFormat, 0x7F000100u),
                                 FormatText(TTextId::LineDataErrorFormat, 2, 7)};
  struct RecordCase {
    const char* control;
    const char* file;
    std::deque<TPromptAnswer> answers;  // to the line boxes, in order
    std::vector<std::string> boxes;     // every box, in order
    std::string logged;                 // the one line the log gains
  };
  const RecordCase records[] = {
      {"SpdBtnOpen", "end.hex", {}, {noData("end.hex")}, noData("end.hex")},
      {"SpdBtnLoadMore", "end.hex", {}, {noData("end.hex")}, noData("end.hex")},
      {"LoadEepDataFile1", "headers.S19", {}, {noData("headers.S19")}, noData("headers.S19")},
      {"SpdBtnOpen", "headers.S19", {}, {noData("headers.S19")}, noData("headers.S19")},
      {"SpdBtnOpen", "nowhere.hex", {TPromptAnswer::Ok}, {nowhere[0], nowhere[1], noData("nowhere.hex")},
       noData("nowhere.hex")},
      {"LoadFileOTP", "nowhere.hex", {TPromptAnswer::Ok}, {nowhere[0], nowhere[1], noData("nowhere.hex")},
       noData("nowhere.hex")},
      {"SpdBtnOpen", "aborted.hex", {TPromptAnswer::Abort}, {lineBox}, aborted("aborted.hex")},
      {"SpdBtnLoadMore", "aborted.hex", {TPromptAnswer::Abort}, {lineBox}, aborted("aborted.hex")},
      {"LoadEepDataFile1", "aborted.hex", {TPromptAnswer::Abort}, {lineBox}, aborted("aborted.hex")},
      {"LoadFileOTP", "aborted.S19", {TPromptAnswer::Abort}, {lineBox}, aborted("aborted.S19")},
      {"SpdBtnLoadMore", "aborted.S19", {TPromptAnswer::Abort}, {lineBox}, aborted("aborted.S19")},
      {"SpdBtnLoadMore", "options-aborted.hex", {TPromptAnswer::Abort}, {lineBox}, aborted("options-aborted.hex")},
      {"LoadEepDataFile1", "aux-aborted.S19", {TPromptAnswer::Abort}, {lineBox}, aborted("aux-aborted.S19")},
  };
  for (const RecordCase& c : records) {
    SCOPED_TRACE(std::string(c.control) + " " + c.file);
    prompts.Shown.clear();
    prompts.Answers = c.answers;
    const QStringList memo = Memo();
    RunWith(c.control, Path(c.file));

    EXPECT_EQ(prompts.Shown, c.boxes);
    EXPECT_TRUE(prompts.Answers.empty());
    EXPECT_EQ(Memo(), memo + QStringList{QString::fromStdString("> 09:05:07 " + c.logged)});
    EXPECT_TRUE(ShownJob() == before);
  }

  // Option bytes alone are data: the file loads.
  prompts.Shown.clear();
  RunWith("SpdBtnLoadMore", Path("options.hex"));
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_TRUE(Logged("File \"" + Path("options.hex") + "\" has been loaded!"));
  EXPECT_TRUE(std::ranges::equal(std::span(MemoryImages.OptionImage).first(0x10), RandomBytes(0x10, 16)));
  EXPECT_EQ(ObjectState.OptionLoaded, 1);
}

// An AU30x binary file runs on into the data flash: the bytes at the data
// flash's addresses also fill the EEP image, and the CRC-32 of the object
// range is logged as python3's zlib computes it.
TEST_F(FileWindowTest, AnAu30xBinaryFileRunsOnIntoItsDataFlashAndLogsItsCrc32) {
  ASSERT_TRUE(RequireTool("python3"));
  struct Case {
    std::size_t size;
    bool intoEep;
    const char* box;
  };
  const Case cases[] = {
      {0x8000, false, nullptr},            // the main flash only
      {0x28000, true, nullptr},            // up to EepEnd
      {0x28001, true, Text(TTextId::OutOfFlashText)},    // one byte more
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    StartAgain();
    Choose(kVendorAUCUx, kAu301);
    ASSERT_EQ(SelectedChip.ControlBytes.EraseFlags & 0x80, 0x80);
    const Bytes file = RandomBytes(c.size, static_cast<std::uint32_t>(c.size));
    const std::string path = Path("au301.bin");
    WriteFile(path, file);
    OffsetAnswer(nullptr);
    RunWith("SpdBtnOpen", path);

    EXPECT_EQ(offeredOffsets, QStringList{"0x03000000"});
    EXPECT_EQ(prompts.Shown, c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
    const std::size_t kept = std::min<std::size_t>(c.size, 0x28000);
    EXPECT_TRUE(std::ranges::equal(std::span(MemoryImages.MainFlashImage).first(kept), std::span(file).first(kept)));
    EXPECT_EQ(MemoryImages.MainFlashImage[kept], 0xFF);
    const std::span<const std::uint8_t> eep(MemoryImages.EepImage, 0x2000);
    if (c.intoEep) {
      EXPECT_TRUE(std::ranges::equal(eep, std::span(file).subspan(0x26000, 0x2000)));
    } else {
      EXPECT_TRUE(std::ranges::all_of(eep, [](std::uint8_t b) { return b == 0xFF; }));
    }
    EXPECT_EQ(ObjectState.ObjectEnd, 0x03000000u + kept - 1);

    std::string crc;
    ASSERT_EQ(RunCommand("python3 -c 'import sys, zlib; print(\"%08X\" % zlib.crc32(open(sys.argv[1], \"rb\")"
                         ".read()[:" + std::to_string(kept) + "]), end=\"\")' '" + path + "'",
                         crc),
              0)
        << crc;
    EXPECT_TRUE(Logged("Object File CRC32 Checksum = 0x" + crc)) << crc;
    EXPECT_EQ(ObjectState.ObjectCrc32, std::stoul(crc, nullptr, 16));
    // The EEP viewer shows what the main image held at the data flash.
    EXPECT_EQ(EepCells().rowCount(), 512);
    EXPECT_EQ(Cell(EepCells(), 0, 1), QString::asprintf("%02X", eep[0]));
  }
}

// EEP data files in HEX, S-record and binary reach the EEP image and its
// viewer; "Erase Data Flash" is ticked; the main data stays as it was.
TEST_F(FileWindowTest, EepDataFilesFillTheEepImageInEachFormat) {
  ASSERT_TRUE(RequireTool("srec_cat"));
  const Bytes data = RandomBytes(0x120, 21);
  WriteFile(Path("eep.bin"), data);
  for (const auto& [name, format] : std::vector<std::pair<std::string, std::string>>{
           {"eep.hex", "-intel"}, {"eep.S19", "-motorola -address-length=4"}, {"eep.s37", "-motorola"}}) {
    std::string output;
    ASSERT_EQ(RunCommand("srec_cat '" + Path("eep.bin") + "' -binary -offset 0x03026100 -o '" + Path(name) + "' " +
                             format,
                         output),
              0)
        << output;
  }
  struct Case {
    const char* name;
    const char* typed;  // nullptr: closed with the close box
    bool loaded;
    std::size_t index;
  };
  const Case cases[] = {
      {"eep.hex", nullptr, true, 0x100},
      {"eep.S19", nullptr, true, 0x100},
      {"eep.bin", "0x03026100", true, 0x100},
      {"eep.bin", nullptr, true, 0},
      {"eep.s37", nullptr, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.typed ? " at 0x03026100" : ""));
    StartAgain();
    Choose(kVendorAUCUx, kAu301);
    ObjectState.ObjectLoaded = 1;
    std::fill_n(MemoryImages.MainFlashImage, 0x100, 0x33);
    std::fill_n(MemoryImages.EepImage, kEepImageSize, 0x55);  // blanked over the EEP area first
    OffsetAnswer(c.typed);
    RunWith("LoadFileOTP", Path(c.name));

    EXPECT_EQ(Logged("EEP Data file of \"" + Path(c.name) + "\" hasn been loaded."), c.loaded);
    const std::span<const std::uint8_t> eep(MemoryImages.EepImage);
    EXPECT_EQ(MemoryImages.MainFlashImage[0], 0x33);
    EXPECT_EQ(ObjectState.ObjectLoaded, 1);
    EXPECT_EQ(eep[0x2000], 0x55);
    if (!c.loaded) {  // refused before the EEP area was blanked
      EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::FormatErrorText)});
      EXPECT_TRUE(std::ranges::all_of(eep, [](std::uint8_t b) { return b == 0x55; }));
      EXPECT_FALSE(window->ChkBoxErsEEP->isChecked());
      continue;
    }
    EXPECT_TRUE(prompts.Shown.empty());
    EXPECT_TRUE(std::ranges::equal(eep.subspan(c.index, data.size()), data));
    EXPECT_EQ(eep[c.index + data.size()], 0xFF);
    EXPECT_TRUE(window->ChkBoxErsEEP->isChecked());
    EXPECT_TRUE(window->ChkBoxPrgEEP->isChecked());
    const std::uint32_t eepSum = std::accumulate(eep.begin(), eep.begin() + 0x2000, 0u);
    EXPECT_TRUE(Logged("Chip EEP Data ACC32 CheckSum   = " + Hex8(eepSum)));
    // The chip checksum takes the new EEP sum.
    EXPECT_EQ(Memo().back(), QString::fromStdString("> 09:05:07 Chip ACC32 CheckSum is : " +
                                                    Hex8(ObjectState.MainSum + eepSum)));
    EXPECT_EQ(Panel(1), QString::fromStdString("Chip CheckSum: " + Hex8(ObjectState.MainSum + eepSum)));
    EXPECT_TRUE(Logged("Load EEP File Start Address  = " + Hex8(0x03026000 + std::uint32_t(c.index)) + "."));
    EXPECT_EQ(EepCells().rowCount(), 512);
    EXPECT_EQ(Cell(EepCells(), static_cast<int>(c.index / 16), 1), QString::asprintf("%02X", data[0]));
  }
}

// An EEP data file's records go by their addresses: one that lies in the main
// area changes what gets programmed there, and the main sums, "Chip
// CheckSum" and the main viewer follow it.
TEST_F(FileWindowTest, AnEepFileRecordInTheMainAreaRefreshesTheMainSums) {
  Choose(kVendorAUCUx, kAu301);  // 32 KB at 0x03000000, 8 KB EEP at 0x03026000
  WriteFile(Path("good.hex"), HexLine(4, 0, {0x03, 0x00}) + "\n" + HexLine(0, 0x0100, RandomBytes(0x80, 5)) + "\n");
  const Bytes inMain = RandomBytes(0x10, 31);
  WriteFile(Path("eep.hex"), HexLine(4, 0, {0x03, 0x02}) + "\n" + HexLine(0, 0x6000, RandomBytes(0x20, 30)) + "\n" +
                                 HexLine(4, 0, {0x03, 0x00}) + "\n" + HexLine(0, 0x0600, inMain) + "\n");
  RunWith("SpdBtnOpen", Path("good.hex"));
  ASSERT_EQ(ObjectState.MainDataLength, 1024u);
  RunWith("LoadEepDataFile1", Path("eep.hex"));
  ASSERT_TRUE(prompts.Shown.empty());

  const std::span<const std::uint8_t> main(MemoryImages.MainFlashImage);
  EXPECT_TRUE(std::ranges::equal(main.subspan(0x600, 0x10), inMain));
  EXPECT_EQ(ObjectState.MainDataLength, 0x700u);  // the last byte at 0x60F, rounded up to 256
  const std::uint32_t mainSum = std::accumulate(main.begin(), main.begin() + 0x700, 0u);
  const std::uint32_t eepSum = std::accumulate(MemoryImages.EepImage, MemoryImages.EepImage + 0x2000, 0u);
  EXPECT_EQ(ObjectState.MainSum, mainSum);
  EXPECT_EQ(ObjectState.EepSum, eepSum);
  EXPECT_EQ(ObjectState.ChipChecksum, mainSum + eepSum);
  EXPECT_TRUE(Logged("Chip Actual Programmed Data Size is: 1792Bytes/0x000006FF."));
  EXPECT_EQ(Memo().back(), QString::fromStdString("> 09:05:07 Chip ACC32 CheckSum is : " + Hex8(mainSum + eepSum)));
  EXPECT_EQ(Panel(1), QString::fromStdString("Chip CheckSum: " + Hex8(mainSum + eepSum)));
  EXPECT_EQ(HexCells().rowCount(), 0x700 / 16);
  EXPECT_EQ(Cell(HexCells(), 0x600 / 16, 1), QString::asprintf("%02X", inMain[0]));
  EXPECT_EQ(Cell(EepCells(), 0, 1), QString::asprintf("%02X", MemoryImages.EepImage[0]));
}

// Binary whichever format entry the operator chose.
TEST_F(FileWindowTest, SavingEepDataWritesTheEepAreaAsBinary) {
  Choose(kVendorAUCUx, kAu301);
  for (std::size_t i = 0; i < kEepImageSize; ++i) MemoryImages.EepImage[i] = static_cast<std::uint8_t>(i * 5 + 1);
  for (int filter = 0; filter < 3; ++filter) {
    SCOPED_TRACE(filter);
    const std::string path = Path("eep" + std::to_string(filter) + ".hex");
    RunWith("SaveEepDatatoFile1", path, filter);
    EXPECT_TRUE(std::ranges::equal(ReadFile(path), std::span(MemoryImages.EepImage, 0x2000)));
  }
  EXPECT_TRUE(prompts.Shown.empty());
}

}  // namespace

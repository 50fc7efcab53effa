#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QSignalSpy>
#include <QTabWidget>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "object_test_support.h"
#include "started_window.h"

namespace {

class WindowViewsTest : public StartedWindowTest {
 protected:
  void SetUp() override {
    StartedWindowTest::SetUp();
    SelectPatternChip();
  }
};

TEST_F(WindowViewsTest, TheMainViewerShowsRowsFromTheAreaStartAndFullLastRows) {
  struct Case {
    std::uint32_t first, last;
    int rows;
  };
  const Case cases[] = {
      {0, 999, 63},
      {0, 1023, 64},
      {0x100, 0x100 + 999, 63},  // still from the area's start
      {0x08000000, 0x0801FFFF, 8192},
      {0, 0xFFFFFFF0, 8192},  // a length far beyond the area
      {0, 0xFFFFFFFF, 0},     // no length at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last);
    window->FillHexViewer(c.first, c.last);
    ASSERT_EQ(HexCells().rowCount(), c.rows);
    if (c.rows == 0) continue;
    EXPECT_EQ(Cell(HexCells(), 0, 0), "0x08000000");
    const int last = c.rows - 1;
    EXPECT_EQ(Cell(HexCells(), last, 0), QString::asprintf("0x%08X", 0x08000000 + 16 * last));
    // The last row shows all 16 bytes, also past the length filled.
    const std::uint8_t b = MemoryImages.MainFlashImage[16 * last + 15];
    EXPECT_EQ(Cell(HexCells(), last, 16), QString::asprintf("%02X", b));
  }
}

TEST_F(WindowViewsTest, PatchedRowsShowTheNewBytesAndTheViewerGrowsToReachThem) {
  window->FillHexViewer(0, 1023);
  QSignalSpy reset(&HexCells(), &QAbstractItemModel::modelReset);
  MemoryImages.MainFlashImage[0x2000] = 0x7F;  // row 0x200, above the data
  MemoryImages.MainFlashImage[0x2001] = 0x80;
  MemoryImages.MainFlashImage[0x2002] = 0x1F;
  MemoryImages.MainFlashImage[0x2003] = 0x20;
  window->UpdateHexViewerRows(0x08002000, 0x08002003);
  ASSERT_EQ(HexCells().rowCount(), 0x201);
  EXPECT_EQ(Cell(HexCells(), 0x200, 0), "0x08002000");
  EXPECT_EQ(Cell(HexCells(), 0x200, 1), "7F");
  EXPECT_EQ(Cell(HexCells(), 0x200, 5), "FF");
  EXPECT_EQ(Cell(HexCells(), 0x200, 17), QString::fromLatin1("\x7F.. ") + QString(12, QLatin1Char('.')));
  EXPECT_EQ(reset.size(), 0);  // the view keeps its place

  // Addresses outside the main area touch nothing; a range running past its end stops there.
  window->UpdateHexViewerRows(0x08020000, 0x08020100);
  window->UpdateHexViewerRows(0x07000000, 0x07FFFFFF);
  EXPECT_EQ(HexCells().rowCount(), 0x201);
  window->UpdateHexViewerRows(0x0801FFF0, 0x0803FFFF);
  EXPECT_EQ(HexCells().rowCount(), 8192);
  EXPECT_EQ(Cell(HexCells(), 8191, 0), "0x0801FFF0");
}

TEST_F(WindowViewsTest, TheEepViewerTicksProgDataFlashOnlyForDataThatIsNotBlank) {
  struct Case {
    const char* what;
    std::uint32_t eepSize;
    std::function<void()> fill;
    bool ticked;
  };
  const auto fillWith = [](std::uint8_t b) {
    return [b] { std::fill(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage), b); };
  };
  const Case cases[] = {
      {"all 0xFF", 0x1000, fillWith(0xFF), false},
      {"all 0x00", 0x1000, fillWith(0x00), false},
      {"one 0x5A", 0x1000, [] { MemoryImages.EepImage[0xFFF] = 0x5A; }, true},
      {"0x5A past the EEP size", 0x800, [] {}, false},
      {"no EEP", 0, [] {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SelectedChip.EepSize = c.eepSize;
    c.fill();
    window->ChkBoxPrgEEP->setChecked(!c.ticked);
    window->FillEepViewer();
    EXPECT_TRUE(window->ViewPageCtrl->isTabVisible(window->ViewPageCtrl->indexOf(window->TabSheetEEP)));
    EXPECT_EQ(window->ChkBoxPrgEEP->isChecked(), c.ticked);
    ASSERT_EQ(EepCells().rowCount(), static_cast<int>(c.eepSize / 16));
    if (c.eepSize) {
      EXPECT_EQ(Cell(EepCells(), 1, 0), "0x08100010");
    }
  }
}

class WindowMemorySaveTest : public WindowViewsTest {
 protected:
  void SetUp() override {
    WindowViewsTest::SetUp();
    // Data over the whole area, and a programmed length that does not matter.
    ::SelectPatternChip(kMainFlashImageSize);
    ObjectState.MainDataLength = 0x400;
  }

  // Triggers "&Save Memory to File" with the dialog answered by choose.
  void Save(std::function<bool(QFileDialog&)> choose) {
    window->ExecFileDialog = std::move(choose);
    window->findChild<QAction*>("SaveFile1")->trigger();
  }
  // The operator picks the format, then names the file.
  static std::function<bool(QFileDialog&)> Choose(const std::string& path, int filter) {
    return [path, filter](QFileDialog& dialog) {
      dialog.selectNameFilter(dialog.nameFilters().at(filter));
      dialog.selectFile(QString::fromStdString(path));
      return true;
    };
  }
  static Bytes MainArea() { return Bytes(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + 0x20000); }
};

TEST_F(WindowMemorySaveTest, TheDialogOffersTheThreeFormatsBinaryFirst) {
  QStringList filters;
  QString chosen;
  Save([&](QFileDialog& dialog) {
    filters = dialog.nameFilters();
    chosen = dialog.selectedNameFilter();
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), "bin");
    return false;
  });
  EXPECT_EQ(filters, (QStringList{"All Binary Files(*.BIN)", "Intel Hex Files(*.HEX)",
                                  "Motorola S-record Files(*.mot) (*.S19)"}));
  EXPECT_EQ(chosen, filters.value(0));
}

TEST_F(WindowMemorySaveTest, EachFormatHoldsTheWholeMainAreaAsSrecCatReadsIt) {
  ASSERT_TRUE(RequireTool("srec_cat"));
  struct Case {
    const char* name;
    int filter;
    const char* srecCatFormat;  // empty: compared as written
  };
  const Case cases[] = {{"board.bin", 0, ""}, {"board.hex", 1, "-intel"}, {"board.s19", 2, "-motorola"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Folder() + c.name;
    Save(Choose(path, c.filter));
    ASSERT_TRUE(prompts.Shown.empty()) << prompts.Shown.front();
    std::string readBack = path;
    if (*c.srecCatFormat) {
      readBack = path + ".bin";
      std::string output;
      const std::string command = "srec_cat '" + path + "' " + c.srecCatFormat + " -offset -0x08000000 -o '" +
                                  readBack + "' -binary";
      ASSERT_EQ(RunCommand(command, output), 0) << command << "\n" << output;
    }
    const Bytes saved = ReadFile(readBack);
    EXPECT_EQ(saved.size(), 131072u);
    EXPECT_TRUE(saved == MainArea());
  }
}

TEST_F(WindowMemorySaveTest, NothingIsSavedWithoutDataOrAConfirmedName) {
  const std::string path = Folder() + "none.bin";
  int asked = 0;
  ObjectState.ObjectLoaded = 0;
  Save([&](QFileDialog& dialog) {
    ++asked;
    return Choose(path, 0)(dialog);
  });
  EXPECT_EQ(asked, 0);
  ObjectState.ObjectLoaded = 1;
  Save([&](QFileDialog& dialog) {
    ++asked;
    dialog.selectFile(QString::fromStdString(path));
    return false;
  });
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(WindowMemorySaveTest, AFileThatCannotBeWrittenIsReportedNamingIt) {
  const std::string path = Folder() + "no-such-folder/board.hex";
  Save(Choose(path, 1));
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_NE(prompts.Shown[0].find(path), std::string::npos) << prompts.Shown[0];
}

}  // namespace

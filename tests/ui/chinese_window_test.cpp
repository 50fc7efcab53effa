// The Chinese program's window: this test is linked with the Chinese column,
// so the show handlers set the Chinese texts while the layout keeps its own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <fstream>

#include "control_fit.h"
#include "shown_text.h"
#include "started_window.h"
#include "text/format_text.h"
#include "text/text_rows.h"
#include "text/window_texts.h"
#include "ui/gauge_widget.h"
#include "ui/log_config_dialog.h"
#include "ui/main_window.h"
#include "ui/radio_group.h"

namespace {

QString Chinese(TTextId id) { return QString::fromUtf8(TextRow(id).Chinese); }

class ChineseWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (HasFatalFailure()) return;
    // No ports: the port combo keeps its caption and no search runs.
    std::ofstream(Folder() + "ConfigVmg.ini") << "Velmot\r\n[Connection]\r\n";
    StartWindow();
    window->Timer2->stop();
  }
};

TEST_F(ChineseWindowTest, TheShowHandlerSetsTheChineseCaptionsAndTheLayoutKeepsItsOwn) {
  ExpectTableCaptions(*window, Chinese);
  EXPECT_EQ(window->findChild<QToolButton*>("AutoSpdBtn")->text(), "自动");
  EXPECT_EQ(window->CheckBoxOpt->text(), "Program Option Byte");
  EXPECT_EQ(window->RadioGrpRST->ItemText(0), Chinese(TTextId::ResetOutputLowItem));
  EXPECT_EQ(window->StatusPanels[0]->text(), Chinese(TTextId::FileChecksumPanel));
  EXPECT_TRUE(Memo().first().endsWith("您好，Velmot200IND用户！ ------ ")) << Memo().first().toStdString();

  TLogCfgForm logDialog;
  EXPECT_EQ(logDialog.RadioGrpCreat->ItemText(0), "系统自动生成Logo文件");
}

TEST_F(ChineseWindowTest, TheChecksumPanelsShowTheirWidestSums) {
  EXPECT_EQ(CutChecksumPanels(*window), std::vector<std::string>{});
}

TEST_F(ChineseWindowTest, EveryLabelListAndGroupShowsItsWholeText) { ExpectEveryTextFits(*window); }

TEST_F(ChineseWindowTest, PictureOfTheWindow) {
  window->AddLog(FormatText(TTextId::ChipSelectedFormat, "AC7801x"));
  window->AddLog(FormatText(TTextId::MainSizeFormat, 0x20000));
  window->Gauges[0]->Gauge().SetPosition(40);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window->grab().toImage().save(QStringLiteral(VELMOT_UI_TEST_OUTPUT_DIR) + "/main_window_zh.png"));
}

}  // namespace

// The Chinese build's texts, read through the lookup this test is linked
// with (the Chinese column), found by their English keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "text/format_text.h"
#include "text/text_rows.h"

namespace {

// The Chinese text of the row whose key is english, through Text().
std::string ChineseOf(std::string_view english) {
  const auto* row = std::ranges::find_if(kTextRows, [&](const TTextRow& r) { return r.English == english; });
  if (row == std::end(kTextRows)) return "<no row " + std::string(english) + ">";
  return Text(static_cast<TTextId>(row - std::begin(kTextRows)));
}

TEST(ChineseBuild, TheTellingRowsReadAsTheChineseBuildHasThem) {
  struct TRow {
    const char* English;
    const char* Chinese;
  };
  // Hex placeholders in the program's printf form ("%08X" shows what the
  // original's "%0.8x" shows: eight upper-case digits).
  const TRow rows[] = {
      {"Operation Success!", "操作成功！"},
      {"Packet Error!", "数据包错误！"},
      {"Data Verify error!", "数据编程校验错误!"},
      {"Chip error!", "芯片型号错误或不存在!"},
      {"Manufacturing error!", "芯片型号与厂家不匹配!"},
      {"Start to Download Chip Data......", "开始下载芯片数据......"},
      {"Data Donwload Success!", "数据下载成功！"},
      {"Chip is Blank!", "芯片为空！"},
      {"Chip is not blank, do erasing......", "芯片不为空! 擦除芯片..."},
      {"Chip programming Successed!", "编程操作成功！"},
      {"Find Device: %s!", "找到设备：%s!"},
      {"No Dvice Found!", "未找到设备！"},
      {"Command Executed Time Out!", "命令执行操作超时！"},
      {"Please select chip type first!", "请先选择芯片型号！"},
      {"Please load the object file first!", "请先加载目标文件！"},
      {"Please connect the device!", "请连接好设备！"},
      {"Project File Data Has Been Corrupted!", "工程文件数据被破坏！"},
      {"Not Valid Quorix Project File!", "不是有效的Quorix工程文件！"},
      {"No COM Port", "无可用的串口"},
      {"&AutoProg", "自动"},
      {"&Connect Dev.", "查找并连接设备"},
      {"Anti. Piggyback", "非空报错退出"},
      {"System Auto-Create Log File", "系统自动生成Logo文件"},
      {"Prog. Option Byte", "Program Option Byte"},
      {"Main Flash=%dByte, EEP=%dBytes", "Main Flash= %dByte, EEP= %dBytes"},
      {"Chip Main Flash Memory Size = %dBytes.", "目标芯片Main Flash大小   = %dBYtes."},
      {"Chip EEP Data Start Address = 0x%08X.", "目标芯片EEP Data首地址 = 0x%08X."},
      {"Chip EEP Data End Address  = 0x%08X.", "目标芯片EEP Data尾地址 = 0x%08X."},
      {"Chip Actual Programmed Data Size is: %dBytes/0x%08X.", "芯片有效编程数据大小为：%dBytes."},
      {"Start to Upgrade Programmer %ds Firmware......", "开始升级编程器%d的固件......"},
      {"Programmer %ds Firmware Fpgrade Completed!", "编程器固件升级成功！"},
  };
  for (const TRow& row : rows) EXPECT_EQ(ChineseOf(row.English), row.Chinese) << row.English;
}

TEST(ChineseBuild, ATextWithFewerPlaceholdersShowsOnlyThoseOfTheSameArguments) {
  EXPECT_EQ(FormatText(TTextId::ProgrammedSizeFormat, 4096, 0x1000u), "芯片有效编程数据大小为：4096Bytes.");
  EXPECT_EQ(FormatText(TTextId::UpgradeCompletedFormat, 3), "编程器固件升级成功！");
  EXPECT_EQ(FormatText(TTextId::UpgradeStartFormat, 3), "开始升级编程器3的固件......");
  EXPECT_EQ(FormatText(TTextId::EepEndFormat, 0x5005FFu), "目标芯片EEP Data尾地址 = 0x005005FF.");
}

}  // namespace

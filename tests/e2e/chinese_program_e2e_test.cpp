// The Chinese program, run unattended as a production line starts it: the
// same job and the same result file as the English one, its log in Chinese.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "demo_job.h"
#include "program_run.h"
#include "sim_pty.h"

namespace {

using namespace std::chrono_literals;

TEST(ChineseProgram, DownloadsUnattendedWritingTheSameResultFileAndAChineseLog) {
  sim::UnitGroup units(2);
  TProgramFolder folder("ChineseOff", TProgramBuild::Chinese);
  folder.ListPorts(units.Paths());
  const std::string project = folder.File("job.pqx").string();
  WriteDemoProject(project);

  TProgramProcess program(folder, {project, "OFF"});
  ASSERT_EQ(program.WaitForExit(60s), 0) << ReadText(folder.File("program.out"));
  EXPECT_EQ(ReadText(folder.File("ResDW.Txt")), "Download Success\r\n");

  const std::string log = ReadText(folder.LogFile());
  for (const char* line : {"您好，Velmot200IND用户！ ------ ", "C1 : 找到设备：Velmot200IND V1.06!", "C1 : 开始下载芯片数据......",
                           "C1 : 数据下载成功！", "C2 : 数据下载成功！"})
    EXPECT_NE(log.find(std::string(line) + "\r\n"), std::string::npos) << line << " not in\n" << log;
  EXPECT_EQ(log.find("Success!"), std::string::npos) << log;
}

}  // namespace

// The log configuration "DivAriR.cfg" in the program folder, read over the
// dialog's defaults; what it gives is saved and read back unchanged. The
// whole input is the file.
#include "data/program_state.h"
#include "ui/log_config.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartFuzzInput(0);
  WriteFuzzFile(kLogConfigName, {data, size});
  TLogConfig config;
  LoadLogConfig(config);
  FUZZ_CHECK(config.Location == kLogLocationSystem || config.Location == kLogLocationCustomer);
  FUZZ_CHECK(config.WriteMode >= kLogModeNew && config.WriteMode <= kLogModeAppend);
  FUZZ_CHECK(config.LogFileName.find('\n') == std::string::npos);

  FUZZ_CHECK(!SaveLogConfig(config));
  TLogConfig again;
  LoadLogConfig(again);
  FUZZ_CHECK(again.GenerateLog == config.GenerateLog && again.Location == config.Location);
  // The mode and the file name are kept for a log of the operator's own.
  if (config.Location == kLogLocationCustomer)
    FUZZ_CHECK(again.WriteMode == config.WriteMode && again.LogFileName == config.LogFileName);
  return 0;
}

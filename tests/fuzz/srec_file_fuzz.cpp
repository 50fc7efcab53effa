// A whole S-record file (S19, S37 or MOT) through the object and EEP data loads.
#include "record_file_fuzz.h"

namespace {
constexpr std::string_view kExtensions[] = {".s19", ".S37", ".mot"};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzRecordFile(data, size, kExtensions);
}

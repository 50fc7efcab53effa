// A whole Intel HEX file through the object and EEP data loads.
#include "record_file_fuzz.h"

namespace {
constexpr std::string_view kExtensions[] = {".hex", ".HEX"};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzRecordFile(data, size, kExtensions);
}

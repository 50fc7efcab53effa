#include "data/object_file_kind.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

struct TExtension {
  std::string_view Name;  // upper case, with its '.'
  TObjectFileKind Kind;
  bool EepData;  // also taken as an EEP data file
};

constexpr TExtension kExtensions[] = {
    {".HEX", TObjectFileKind::IntelHex, true}, {".S19", TObjectFileKind::SRecord, true},
    {".S37", TObjectFileKind::SRecord, false}, {".MOT", TObjectFileKind::SRecord, true},
    {".BIN", TObjectFileKind::Binary, true},
};

// From the last '.' of the name (not of a folder) on, in upper case; empty without one.
std::string UpperExtension(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  std::string extension(name.substr(dot));
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return extension;
}

TObjectFileKind KindOf(std::string_view fileName, bool eepData) {
  const std::string extension = UpperExtension(fileName);
  for (const TExtension& row : kExtensions)
    if (row.Name == extension && (row.EepData || !eepData)) return row.Kind;
  return TObjectFileKind::Unknown;
}

}  // namespace

TObjectFileKind ObjectFileKindOf(std::string_view fileName) { return KindOf(fileName, false); }

TObjectFileKind EepFileKindOf(std::string_view fileName) { return KindOf(fileName, true); }

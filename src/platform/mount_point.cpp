#include "platform/mount_point.h"

#include <sys/stat.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool DeviceOf(const fs::path& p, dev_t& device) {
  struct stat st {};
  if (stat(p.c_str(), &st) != 0) return false;
  device = st.st_dev;
  return true;
}

std::string WithSlash(std::string s) {
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

}  // namespace

std::string MountPointOf(const std::string& folder) {
  std::error_code ec;
  fs::path p = fs::canonical(folder, ec);
  dev_t device{};
  if (ec || !DeviceOf(p, device)) return WithSlash(folder);
  // Walk up while the parent lies on the same filesystem.
  while (p != p.root_path()) {
    const fs::path parent = p.parent_path();
    dev_t parentDevice{};
    if (!DeviceOf(parent, parentDevice) || parentDevice != device) break;
    p = parent;
  }
  return WithSlash(p.string());
}

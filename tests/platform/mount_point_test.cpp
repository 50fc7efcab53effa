#include "platform/mount_point.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "temp_folder.h"

namespace {

// df names the mount point of the filesystem holding a path.
std::string DfMountPoint(const std::string& path) {
  const std::string command = "df --output=target '" + path + "' 2>/dev/null | tail -n 1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  char buffer[4096] = {};
  const bool got = std::fgets(buffer, sizeof buffer, pipe) != nullptr;
  pclose(pipe);
  std::string line = got ? buffer : "";
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
  if (line.empty() || line.back() != '/') line += '/';
  return line;
}

TEST(MountPoint, AgreesWithDf) {
  TempFolder tmp;
  const auto nested = tmp.Path() / "a" / "b";
  std::filesystem::create_directories(nested);
  EXPECT_EQ(MountPointOf(nested.string() + "/"), DfMountPoint(nested.string()));
  // A second filesystem, where the machine has one mounted.
  for (const char* other : {"/dev/shm", "/proc"}) {
    if (!std::filesystem::is_directory(other)) continue;
    EXPECT_EQ(MountPointOf(other), DfMountPoint(other)) << other;
  }
}

TEST(MountPoint, MissingFolderIsItsOwnRoot) {
  EXPECT_EQ(MountPointOf("/no/such/folder"), "/no/such/folder/");
}

}  // namespace

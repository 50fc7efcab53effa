// Test helpers: a temporary folder removed with everything in it, and a fake
// sysfs tty class with its /dev beside it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmot-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as a program folder: ending in '/'.
  std::string Dir() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// sys/class/tty/NAME/device/driver -> sys/bus/usb-serial/drivers/DRIVER, and
// dev/NAME, below one temporary folder.
class FakePortTree {
 public:
  FakePortTree() { std::filesystem::create_directories(root_.Path() / "dev"); }

  std::string SysfsRoot() const { return (root_.Path() / "sys").string(); }
  std::string DevDir() const { return (root_.Path() / "dev").string(); }
  std::filesystem::path Device(const std::string& name) const { return root_.Path() / "dev" / name; }

  // A tty bound to the driver (none when empty), without a /dev entry.
  void AddTty(const std::string& name, const std::string& driver) {
    namespace fs = std::filesystem;
    const fs::path device = root_.Path() / "sys" / "class" / "tty" / name / "device";
    fs::create_directories(device);
    if (driver.empty()) return;
    const fs::path drivers = root_.Path() / "sys" / "bus" / "usb-serial" / "drivers" / driver;
    fs::create_directories(drivers);
    fs::create_symlink(drivers, device / "driver");
  }

  // A tty bound to the driver, with a regular file standing in for its device.
  void AddPort(const std::string& name, const std::string& driver) {
    AddTty(name, driver);
    WriteFile(Device(name), "");
  }

 private:
  TempFolder root_;
};

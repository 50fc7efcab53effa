#include "platform/serial_port_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <vector>

#include "temp_folder.h"

namespace {

TSerialPortRoots RootsOf(const FakePortTree& tree) { return {tree.SysfsRoot(), tree.DevDir()}; }

// Holds an exclusive lock on a device as another program would.
class HeldLock {
 public:
  explicit HeldLock(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    locked_ = fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }
  ~HeldLock() {
    if (fd_ >= 0) close(fd_);
  }
  bool Locked() const { return locked_; }

 private:
  int fd_;
  bool locked_ = false;
};

TEST(SerialPortList, KeepsFtdiAndCp210xPortsInNaturalOrder) {
  FakePortTree tree;
  tree.AddPort("ttyUSB10", "ftdi_sio");
  tree.AddPort("ttyUSB2", "ftdi_sio");
  tree.AddPort("ttyUSB1", "cp210x");
  tree.AddPort("ttyACM0", "cdc_acm");  // another driver
  tree.AddPort("ttyS0", "");           // no driver link at all
  tree.AddTty("ttyUSB3", "ftdi_sio");  // unplugged: no device node

  const std::string dev = tree.DevDir() + "/";
  EXPECT_EQ(ListUsbSerialPorts(RootsOf(tree)),
            (std::vector<std::string>{dev + "ttyUSB1", dev + "ttyUSB2", dev + "ttyUSB10"}));
}

TEST(SerialPortList, SkipsALockedPortAndLeavesNoLockBehind) {
  FakePortTree tree;
  tree.AddPort("ttyUSB0", "ftdi_sio");
  tree.AddPort("ttyUSB1", "cp210x");
  const std::string dev = tree.DevDir() + "/";
  {
    HeldLock held(tree.Device("ttyUSB0"));
    ASSERT_TRUE(held.Locked());
    EXPECT_EQ(ListUsbSerialPorts(RootsOf(tree)), (std::vector<std::string>{dev + "ttyUSB1"}));
  }
  EXPECT_EQ(ListUsbSerialPorts(RootsOf(tree)), (std::vector<std::string>{dev + "ttyUSB0", dev + "ttyUSB1"}));
  // The probe released what it took.
  HeldLock again(tree.Device("ttyUSB1"));
  EXPECT_TRUE(again.Locked());
}

TEST(SerialPortList, ProbesARealTerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  FakePortTree tree;
  tree.AddTty("ttyUSB0", "ftdi_sio");
  std::filesystem::create_symlink(ptsname(master), tree.Device("ttyUSB0"));

  EXPECT_EQ(ListUsbSerialPorts(RootsOf(tree)), (std::vector<std::string>{tree.Device("ttyUSB0").string()}));
  {
    HeldLock held(tree.Device("ttyUSB0"));
    ASSERT_TRUE(held.Locked());
    EXPECT_TRUE(ListUsbSerialPorts(RootsOf(tree)).empty());
  }
  close(master);
}

TEST(SerialPortList, NoTtyClassGivesNoPorts) {
  TempFolder empty;
  EXPECT_TRUE(ListUsbSerialPorts({empty.Path().string(), "/dev"}).empty());
}

TEST(SerialPortList, NaturalNameOrder) {
  struct Case {
    const char* a;
    const char* b;
    bool less;
  };
  const Case cases[] = {
      {"ttyUSB2", "ttyUSB10", true}, {"ttyUSB10", "ttyUSB2", false}, {"ttyUSB9", "ttyUSB9", false},
      {"ttyACM1", "ttyUSB0", true},  {"ttyUSB", "ttyUSB0", true},    {"ttyUSB0", "ttyUSB", false},
      {"ttyUSB02", "ttyUSB10", true}, {"ttyUSB1", "ttyUSB01", false}, {"ttyUSB01", "ttyUSB1", true},
      {"ttyUSB1a", "ttyUSB1b", true}, {"ttyUSB100", "ttyUSB99", false},
  };
  for (const Case& c : cases) EXPECT_EQ(NaturalNameLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

}  // namespace

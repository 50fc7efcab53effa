#include "platform/serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <linux/serial.h>

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "platform/wake_event.h"

namespace {

struct TBaudEntry {
  std::uint32_t Rate;
  speed_t Speed;
};

constexpr TBaudEntry kBaudRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

constexpr tcflag_t kDataBitFlags[] = {CS5, CS6, CS7, CS8};  // 5 .. 8 data bits

tcflag_t ParityFlags(TSerialParity parity) {
  switch (parity) {
    case TSerialParity::None: return 0;
    case TSerialParity::Odd: return PARENB | PARODD;
    case TSerialParity::Even: return PARENB;
    case TSerialParity::Mark: return PARENB | PARODD | CMSPAR;
    case TSerialParity::Space: return PARENB | CMSPAR;
  }
  return 0;
}

void SetModemLine(int fd, int line, bool raised) {
  // Pseudo-terminals and some adapters refuse this; the line keeps its level.
  ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &line);
}

// Polls the device together with the stop event; retries when interrupted.
TSerialWait WaitDevice(int fd, short events, const TWakeEvent& stop, int timeoutMs) {
  pollfd p[2] = {{stop.Handle(), POLLIN, 0}, {fd, events, 0}};
  for (;;) {
    const int n = poll(p, 2, timeoutMs);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return TSerialWait::Lost;
    if (n == 0) return TSerialWait::TimedOut;
    if (p[0].revents) return TSerialWait::Stopped;
    // A device that has gone may still hold bytes: ready wins, and the read
    // that follows reports the loss once they are taken.
    if (p[1].revents & events) return TSerialWait::Ready;
    return TSerialWait::Lost;  // POLLHUP, POLLERR or POLLNVAL alone
  }
}

}  // namespace

TSerialDevice::~TSerialDevice() { Close(); }

TSerialOpenResult TSerialDevice::Open(const std::string& path) {
  Close();
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return TSerialOpenResult::OpenFailed;
  struct stat st;
  termios tio;
  TSerialOpenResult result = TSerialOpenResult::Opened;
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
    result = TSerialOpenResult::NotCharDevice;
  } else if (tcgetattr(fd, &tio) != 0) {
    result = TSerialOpenResult::NotTerminal;
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // Exclusive use among the programs that lock their ports.
    result = TSerialOpenResult::OpenFailed;
  }
  if (result != TSerialOpenResult::Opened) {
    close(fd);
    return result;
  }
  ioctl(fd, TIOCEXCL);  // best effort: also keeps out programs that do not lock
  fd_ = fd;
  return result;
}

void TSerialDevice::Close() {
  if (fd_ < 0) return;
  ioctl(fd_, TIOCNXCL);
  flock(fd_, LOCK_UN);
  close(fd_);
  fd_ = -1;
}

bool TSerialDevice::Apply(const TSerialLineSettings& settings) const {
  const auto baud = std::find_if(std::begin(kBaudRates), std::end(kBaudRates),
                                 [&](const TBaudEntry& e) { return e.Rate == settings.BaudRate; });
  if (baud == std::end(kBaudRates) || settings.DataBits < 5 || settings.DataBits > 8) return false;
  termios tio;
  if (tcgetattr(fd_, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  tio.c_cflag |= CLOCAL | CREAD | kDataBitFlags[settings.DataBits - 5] | ParityFlags(settings.Parity);
  if (settings.TwoStopBits) tio.c_cflag |= CSTOPB;
  if (settings.RtsCtsFlow) tio.c_cflag |= CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  if (settings.XonXoffOutput) tio.c_iflag |= IXON;
  if (settings.XonXoffInput) tio.c_iflag |= IXOFF;
  if (settings.CheckParity) tio.c_iflag |= INPCK;
  tio.c_cc[VSTART] = static_cast<cc_t>(settings.XonChar);
  tio.c_cc[VSTOP] = static_cast<cc_t>(settings.XoffChar);
  // Reads never wait inside the driver: the read thread's poll does.
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, baud->Speed);
  cfsetospeed(&tio, baud->Speed);
  const bool applied = tcsetattr(fd_, TCSANOW, &tio) == 0;
  SetModemLine(fd_, TIOCM_DTR, settings.Dtr);
  SetModemLine(fd_, TIOCM_RTS, settings.Rts);
  return applied;
}

void TSerialDevice::Purge(TSerialPurge which) const {
  constexpr int kQueue[] = {TCIFLUSH, TCOFLUSH, TCIOFLUSH};
  tcflush(fd_, kQueue[static_cast<int>(which)]);
}

bool TSerialDevice::ReadLineCounters(TSerialLineCounters& counters) const {
  serial_icounter_struct ic{};
  if (ioctl(fd_, TIOCGICOUNT, &ic) != 0) return false;
  auto u = [](int v) { return static_cast<std::uint32_t>(v); };
  counters = {u(ic.frame), u(ic.overrun), u(ic.parity), u(ic.brk), u(ic.buf_overrun), u(ic.dcd), u(ic.rng)};
  return true;
}

TSerialWait TSerialDevice::WaitReadable(const TWakeEvent& stop, int timeoutMs) const {
  return WaitDevice(fd_, POLLIN, stop, timeoutMs);
}

TSerialWait TSerialDevice::WaitWritable(const TWakeEvent& stop) const {
  return WaitDevice(fd_, POLLOUT, stop, -1);
}

TSerialIo TSerialDevice::Read(std::uint8_t* buffer, std::size_t capacity) const {
  const ssize_t n = read(fd_, buffer, capacity);
  if (n > 0) return {TSerialIoStatus::Done, static_cast<std::size_t>(n)};
  // With VMIN = VTIME = 0 an empty line also reads 0; callers read only
  // after a ready wait, where 0 means the device has gone.
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return {TSerialIoStatus::Again, 0};
  return {TSerialIoStatus::Lost, 0};
}

TSerialIo TSerialDevice::Write(const std::uint8_t* data, std::size_t length) const {
  const ssize_t n = write(fd_, data, length);
  if (n > 0) return {TSerialIoStatus::Done, static_cast<std::size_t>(n)};
  if (n == 0 || errno == EAGAIN || errno == EINTR) return {TSerialIoStatus::Again, 0};
  return {TSerialIoStatus::Lost, 0};
}

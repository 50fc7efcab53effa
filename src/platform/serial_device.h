// The serial device of one port: a terminal device opened for exclusive use,
// set to raw mode, and the reads, writes and waits of the port threads. Every
// wait includes a stop event, so closing a port never hangs on its device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TWakeEvent;

enum class TSerialOpenResult {
  Opened,
  OpenFailed,     // missing, not accessible, or held by another open
  NotCharDevice,  // e.g. a regular file
  NotTerminal,    // a character device that is no serial line, e.g. /dev/null
};

enum class TSerialParity { None, Odd, Even, Mark, Space };

// Raw 8N2 at 1,000,000 baud, no flow control, DTR and RTS low unless changed.
struct TSerialLineSettings {
  std::uint32_t BaudRate = 1'000'000;
  int DataBits = 8;  // 5 .. 8
  TSerialParity Parity = TSerialParity::None;
  bool TwoStopBits = true;
  bool CheckParity = false;
  bool RtsCtsFlow = false;
  bool XonXoffOutput = false;
  bool XonXoffInput = false;
  std::uint8_t XonChar = 0x11;
  std::uint8_t XoffChar = 0x13;
  bool Dtr = false;
  bool Rts = false;
};

// The driver's running counts of line errors and modem-line changes.
struct TSerialLineCounters {
  std::uint32_t Frame = 0, Overrun = 0, Parity = 0, Break = 0, BufferOverrun = 0;
  std::uint32_t CarrierDetect = 0, Ring = 0;
};

enum class TSerialWait { Ready, TimedOut, Stopped, Lost };

enum class TSerialIoStatus { Done, Again, Lost };

struct TSerialIo {
  TSerialIoStatus Status;
  std::size_t Count;  // bytes moved when Done
};

enum class TSerialPurge { Input, Output, Both };

// Open, Apply, Purge and Close belong to the owner; once open, one thread may
// read and wait for input while another writes and waits for output.
class TSerialDevice {
 public:
  TSerialDevice() = default;
  ~TSerialDevice();
  TSerialDevice(const TSerialDevice&) = delete;
  TSerialDevice& operator=(const TSerialDevice&) = delete;

  TSerialOpenResult Open(const std::string& path);
  // Releases the exclusive use, then closes. Does nothing when closed.
  void Close();

  // False when the line refused the settings (an unknown baud rate among
  // them); DTR and RTS are set as far as the line allows.
  bool Apply(const TSerialLineSettings& settings) const;
  // Discards what is received and not read, or written and not sent.
  void Purge(TSerialPurge which) const;
  // False when the driver keeps no counters (pseudo-terminals among them).
  bool ReadLineCounters(TSerialLineCounters& counters) const;

  // timeoutMs < 0 waits without limit. Stopped wins over a ready device.
  TSerialWait WaitReadable(const TWakeEvent& stop, int timeoutMs) const;
  TSerialWait WaitWritable(const TWakeEvent& stop) const;

  // Never block. A read that finds the device gone (0 bytes after a ready
  // wait, or an I/O error) is Lost.
  TSerialIo Read(std::uint8_t* buffer, std::size_t capacity) const;
  TSerialIo Write(const std::uint8_t* data, std::size_t length) const;

 private:
  int fd_ = -1;
};

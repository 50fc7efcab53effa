// The line-setting and time-out properties of a serial port component, and
// how they map onto the serial device.
#pragma once

#include <cstdint>

#include "platform/serial_device.h"

enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };
enum class TByteSize { _5, _6, _7, _8 };
enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// The line settings that have setters, with the defaults of a new component.
// Parity is only stored and lives in the component itself.
struct TCommLineSettings {
  std::uint32_t BaudRate = 9600;
  bool ParityCheck = false;
  bool Outx_CtsFlow = false;
  bool Outx_DsrFlow = false;  // kept; the device has no DSR flow control
  TDtrControl DtrControl = TDtrControl::DtrEnable;
  bool DsrSensitivity = false;  // kept; no meaning here
  bool TxContinueOnXoff = true;  // kept; no meaning here
  bool Outx_XonXoffFlow = true;
  bool Inx_XonXoffFlow = true;
  bool ReplaceWhenParityError = false;  // kept; no meaning here
  bool IgnoreNullChar = false;  // kept; no meaning here
  TRtsControl RtsControl = TRtsControl::RtsEnable;
  std::uint16_t XonLimit = 500;  // kept; the driver sets its own limits
  std::uint16_t XoffLimit = 500;  // kept; the driver sets its own limits
  TByteSize ByteSize = TByteSize::_8;
  TStopBits StopBits = TStopBits::_1;
  char XonChar = 0x11;
  char XoffChar = 0x13;
  char ReplacedChar = 0x00;  // kept; no meaning here

  bool operator==(const TCommLineSettings&) const = default;
};

// In milliseconds. ReadIntervalTimeout is the silence after which the bytes
// received so far are posted as a chunk (0: each read is posted at once);
// the others are kept (reads and writes here carry no total time-out, which
// is what 0 means).
struct TCommTimeouts {
  std::uint32_t ReadIntervalTimeout = 100;
  std::uint32_t ReadTotalTimeoutMultiplier = 0;
  std::uint32_t ReadTotalTimeoutConstant = 0;
  std::uint32_t WriteTotalTimeoutMultiplier = 0;
  std::uint32_t WriteTotalTimeoutConstant = 0;

  bool operator==(const TCommTimeouts&) const = default;
};

// What the ten programmer ports of the main window carry: 1,000,000 baud,
// 8 data bits, no parity, 2 stop bits, no flow control, DTR and RTS off,
// chunks after 3 ms of silence.
TCommLineSettings ProgrammerLineSettings();
TCommTimeouts ProgrammerTimeouts();

TSerialLineSettings ToSerialLineSettings(const TCommLineSettings& line, TParity parity);

// Line error flags of an OnReceiveError event.
constexpr std::uint32_t kCommErrorRxOver = 0x0001;
constexpr std::uint32_t kCommErrorOverrun = 0x0002;
constexpr std::uint32_t kCommErrorRxParity = 0x0004;
constexpr std::uint32_t kCommErrorFrame = 0x0008;
constexpr std::uint32_t kCommErrorBreak = 0x0010;
// Modem bits of an OnModemStateChange event.
constexpr std::uint32_t kModemRing = 0x4;
constexpr std::uint32_t kModemCarrierDetect = 0x8;

struct TLineEvents {
  std::uint32_t ErrorFlags = 0;  // 0: no receive-error event
  std::uint32_t ModemBits = 0;   // 0: no modem event
};

// What the line reported between two readings of the driver's counters. A
// receive error is a frame, overrun or parity error; its flags name every
// kind of error counted since, a break or lost input among them.
TLineEvents LineEventsBetween(const TSerialLineCounters& before, const TSerialLineCounters& after);

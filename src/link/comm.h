// TComm: the serial port component of one programmer. It moves raw bytes:
// a read thread posts what arrives in chunks, a write thread writes the
// blocks queued to it, and every event is raised on the GUI thread through
// the port-event sink.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "link/comm_settings.h"
#include "link/port_events.h"

class TSerialDevice;
class TWakeEvent;
class TSendQueue;
class TCommNotifier;

// Port set-up failures of TComm::OpenPort.
class ECommsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The messages the port threads post to the component.
enum class TCommMessage { ReceiveData, ReceiveError, RequestHangup, ModemStateChange, SendDataEmpty };

constexpr std::uint16_t kCommChunkSize = 2048;

class TComm {
 public:
  // events must outlive the component.
  explicit TComm(IPortEventSink& events);
  // Closes the port; events still queued for it are dropped.
  ~TComm();
  TComm(const TComm&) = delete;
  TComm& operator=(const TComm&) = delete;

  // The device path. Takes effect at the next OpenPort.
  std::string CommName = "COM2";
  // Only stored; used whenever the line settings are applied.
  TParity Parity = TParity::None;

  const TCommLineSettings& LineSettings() const { return line_; }
  const TCommTimeouts& Timeouts() const { return timeouts_; }
  // Each setter does nothing for the stored value, else stores it and, when
  // the port is open, applies the line settings or time-outs at once. The
  // two whole-set setters give a component all its values in one step, as
  // the ten programmer ports take theirs.
  void SetLineSettings(const TCommLineSettings& line);
  void SetTimeouts(const TCommTimeouts& timeouts);
  void SetBaudRate(std::uint32_t v) { SetLine(&TCommLineSettings::BaudRate, v); }
  void SetParityCheck(bool v) { SetLine(&TCommLineSettings::ParityCheck, v); }
  void SetOutx_CtsFlow(bool v) { SetLine(&TCommLineSettings::Outx_CtsFlow, v); }
  void SetOutx_DsrFlow(bool v) { SetLine(&TCommLineSettings::Outx_DsrFlow, v); }
  void SetDtrControl(TDtrControl v) { SetLine(&TCommLineSettings::DtrControl, v); }
  void SetDsrSensitivity(bool v) { SetLine(&TCommLineSettings::DsrSensitivity, v); }
  void SetTxContinueOnXoff(bool v) { SetLine(&TCommLineSettings::TxContinueOnXoff, v); }
  void SetOutx_XonXoffFlow(bool v) { SetLine(&TCommLineSettings::Outx_XonXoffFlow, v); }
  void SetInx_XonXoffFlow(bool v) { SetLine(&TCommLineSettings::Inx_XonXoffFlow, v); }
  void SetReplaceWhenParityError(bool v) { SetLine(&TCommLineSettings::ReplaceWhenParityError, v); }
  void SetIgnoreNullChar(bool v) { SetLine(&TCommLineSettings::IgnoreNullChar, v); }
  void SetRtsControl(TRtsControl v) { SetLine(&TCommLineSettings::RtsControl, v); }
  void SetXonLimit(std::uint16_t v) { SetLine(&TCommLineSettings::XonLimit, v); }
  void SetXoffLimit(std::uint16_t v) { SetLine(&TCommLineSettings::XoffLimit, v); }
  void SetByteSize(TByteSize v) { SetLine(&TCommLineSettings::ByteSize, v); }
  void SetStopBits(TStopBits v) { SetLine(&TCommLineSettings::StopBits, v); }
  void SetXonChar(char v) { SetLine(&TCommLineSettings::XonChar, v); }
  void SetXoffChar(char v) { SetLine(&TCommLineSettings::XoffChar, v); }
  void SetReplacedChar(char v) { SetLine(&TCommLineSettings::ReplacedChar, v); }
  void SetReadIntervalTimeout(std::uint32_t v) { SetTimeout(&TCommTimeouts::ReadIntervalTimeout, v); }
  void SetReadTotalTimeoutMultiplier(std::uint32_t v) { SetTimeout(&TCommTimeouts::ReadTotalTimeoutMultiplier, v); }
  void SetReadTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&TCommTimeouts::ReadTotalTimeoutConstant, v); }
  void SetWriteTotalTimeoutMultiplier(std::uint32_t v) { SetTimeout(&TCommTimeouts::WriteTotalTimeoutMultiplier, v); }
  void SetWriteTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&TCommTimeouts::WriteTotalTimeoutConstant, v); }

  // Opens CommName and starts both threads; throws ECommsError, leaving the
  // component closed with nothing held.
  void OpenPort();
  // Stops both threads and closes the port; returns once both have ended,
  // also with a write pending. Does nothing when closed.
  void ClosePort();
  bool PortOpen() const { return device_ != nullptr; }
  // Queues a copy of the bytes; the caller may reuse its buffer at once.
  // False, with nothing queued, when the port is not open, its write thread
  // has ended, or length is 0. True says queued, not written.
  bool SendBuffer(const std::uint8_t* buffer, std::uint16_t length);

  // Raised on the GUI thread, each only when assigned, and only for the
  // open that is current: events of a port closed or opened again since are
  // dropped. At most one OnRequestHangup per open. OnSendDataEmpty is raised
  // for an open only when it was assigned before OpenPort.
  std::function<void(TComm* sender, const std::uint8_t* buffer, std::uint16_t length)> OnReceiveData;
  std::function<void(TComm* sender, std::uint32_t eventMask)> OnReceiveError;
  std::function<void(TComm* sender, std::uint32_t modemEvent)> OnModemStateChange;
  std::function<void(TComm* sender)> OnRequestHangup;
  std::function<void(TComm* sender)> OnSendDataEmpty;

 private:
  friend class TCommNotifier;

  template <typename T>
  void SetLine(T TCommLineSettings::*field, T value) {
    TCommLineSettings line = line_;
    line.*field = value;
    SetLineSettings(line);
  }
  template <typename T>
  void SetTimeout(T TCommTimeouts::*field, T value) {
    TCommTimeouts timeouts = timeouts_;
    timeouts.*field = value;
    SetTimeouts(timeouts);
  }
  // Runs on the GUI thread for every message a port thread posted; chunk and
  // length are the received bytes of ReceiveData.
  void NotifyWindowProc(std::uint64_t open, TCommMessage message, std::uint32_t value, const std::uint8_t* chunk,
                        std::uint16_t length);

  TCommLineSettings line_;
  TCommTimeouts timeouts_;
  std::shared_ptr<TCommNotifier> notifyWindow_;
  // The read thread's chunk gap, in ms; changed while it runs.
  std::atomic<std::uint32_t> readGap_{100};

  // Set while open.
  std::unique_ptr<TSerialDevice> device_;
  std::unique_ptr<TWakeEvent> stopEvent_;
  std::unique_ptr<TSendQueue> sendQueue_;
  std::thread reader_;
  std::thread writer_;

  std::uint64_t opens_ = 0;        // opens so far; numbers each open
  std::uint64_t currentOpen_ = 0;  // number of the open in effect, 0 when closed
  bool hangupRaised_ = false;      // OnRequestHangup raised for the current open
};

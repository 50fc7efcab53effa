#include "link/comm.h"

#include <new>
#include <system_error>

#include "link/comm_threads.h"
#include "platform/serial_device.h"
#include "platform/wake_event.h"
#include "text/text_id.h"

TComm::TComm(IPortEventSink& events) : notifyWindow_(std::make_shared<TCommNotifier>(events, *this)) {}

TComm::~TComm() {
  ClosePort();
  notifyWindow_->Detach();
}

void TComm::OpenPort() {
  if (PortOpen()) throw ECommsError(Text(TTextId::PortAlreadyOpenText));
  auto device = std::make_unique<TSerialDevice>();
  switch (device->Open(CommName)) {
    case TSerialOpenResult::Opened: break;
    case TSerialOpenResult::OpenFailed: throw ECommsError(Text(TTextId::PortOpenErrorText) + CommName);
    case TSerialOpenResult::NotCharDevice: throw ECommsError(Text(TTextId::PortNotCommText));
    case TSerialOpenResult::NotTerminal: throw ECommsError(Text(TTextId::PortBufferErrorText));
  }
  device->Purge(TSerialPurge::Both);
  readGap_ = timeouts_.ReadIntervalTimeout;
  device->Apply(ToSerialLineSettings(line_, Parity));  // a refusal is not reported

  auto stopEvent = std::make_unique<TWakeEvent>();
  auto sendQueue = std::make_unique<TSendQueue>();
  if (!stopEvent->Valid() || !sendQueue->Valid()) throw ECommsError(Text(TTextId::PortEventErrorText));

  const TPortThreadContext context{*device, *stopEvent, notifyWindow_, ++opens_, static_cast<bool>(OnSendDataEmpty)};
  try {
    reader_ = std::thread([context, this] { TReadThread(context, readGap_).Execute(); });
  } catch (const std::system_error&) {
    throw ECommsError(Text(TTextId::PortReadThreadErrorText));
  }
  try {
    writer_ = std::thread([context, queue = sendQueue.get()] { TWriteThread(context, *queue).Execute(); });
  } catch (const std::system_error&) {
    stopEvent->Signal();
    reader_.join();
    throw ECommsError(Text(TTextId::PortWriteThreadErrorText));
  }
  device_ = std::move(device);
  stopEvent_ = std::move(stopEvent);
  sendQueue_ = std::move(sendQueue);
  currentOpen_ = context.Open;
  hangupRaised_ = false;
}

void TComm::ClosePort() {
  if (!PortOpen()) return;
  // Every wait of both threads includes the stop event, so they end promptly,
  // a write blocked on a stalled line among them; a block still queued is not
  // written.
  sendQueue_->Stop();
  stopEvent_->Signal();
  reader_.join();
  writer_.join();
  currentOpen_ = 0;
  sendQueue_.reset();
  stopEvent_.reset();
  device_.reset();
}

bool TComm::SendBuffer(const std::uint8_t* buffer, std::uint16_t length) {
  if (!sendQueue_ || length == 0 || buffer == nullptr) return false;
  try {
    return sendQueue_->Push(buffer, length);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void TComm::SetLineSettings(const TCommLineSettings& line) {
  if (line == line_) return;
  line_ = line;
  if (PortOpen()) device_->Apply(ToSerialLineSettings(line_, Parity));
}

void TComm::SetTimeouts(const TCommTimeouts& timeouts) {
  if (timeouts == timeouts_) return;
  timeouts_ = timeouts;
  if (PortOpen()) readGap_ = timeouts_.ReadIntervalTimeout;
}

void TComm::NotifyWindowProc(std::uint64_t open, TCommMessage message, std::uint32_t value,
                             const std::uint8_t* chunk, std::uint16_t length) {
  if (open != currentOpen_) return;
  switch (message) {
    case TCommMessage::ReceiveData:
      if (OnReceiveData) OnReceiveData(this, chunk, length);
      break;
    case TCommMessage::ReceiveError:
      if (OnReceiveError) OnReceiveError(this, value);
      break;
    case TCommMessage::RequestHangup:
      if (hangupRaised_) break;
      hangupRaised_ = true;
      if (OnRequestHangup) OnRequestHangup(this);
      break;
    case TCommMessage::ModemStateChange:
      if (OnModemStateChange) OnModemStateChange(this, value);
      break;
    case TCommMessage::SendDataEmpty:
      if (OnSendDataEmpty) OnSendDataEmpty(this);
      break;
  }
}

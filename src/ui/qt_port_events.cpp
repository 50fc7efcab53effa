#include "ui/qt_port_events.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <utility>

namespace {

QEvent::Type PortEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

// Carries a port event through the GUI thread's queue. Qt deletes a posted
// event after delivering it, or unrun with its receiver; the port event is
// then discarded.
class TQtPortEvent : public QEvent {
 public:
  explicit TQtPortEvent(IPortEvent& event) : QEvent(PortEventType()), event_(&event) {}
  ~TQtPortEvent() override {
    if (event_) event_->Discard();
  }
  TQtPortEvent(const TQtPortEvent&) = delete;
  TQtPortEvent& operator=(const TQtPortEvent&) = delete;

  void Deliver() { std::exchange(event_, nullptr)->Deliver(); }

 private:
  IPortEvent* event_;
};

// Lives on the GUI thread, so the events posted to it run there.
class TPortEventReceiver : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != PortEventType()) return QObject::event(e);
    static_cast<TQtPortEvent*>(e)->Deliver();
    return true;
  }
};

}  // namespace

TQtPortEventSink::TQtPortEventSink() : receiver_(std::make_unique<TPortEventReceiver>()) {}

TQtPortEventSink::~TQtPortEventSink() = default;

void TQtPortEventSink::Post(IPortEvent& event) {
  QCoreApplication::postEvent(receiver_.get(), new TQtPortEvent(event));
}

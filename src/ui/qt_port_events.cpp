#include "ui/qt_port_events.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace {

QEvent::Type PortEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

class TPortEvent : public QEvent {
 public:
  explicit TPortEvent(std::function<void()> deliver) : QEvent(PortEventType()), Deliver(std::move(deliver)) {}
  std::function<void()> Deliver;
};

// Lives on the GUI thread, so the events posted to it run there. Events still
// posted to it when it goes are deleted with it, unrun.
class TPortEventReceiver : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != PortEventType()) return QObject::event(e);
    static_cast<TPortEvent*>(e)->Deliver();
    return true;
  }
};

}  // namespace

TQtPortEventSink::TQtPortEventSink() : receiver_(std::make_unique<TPortEventReceiver>()) {}

TQtPortEventSink::~TQtPortEventSink() = default;

void TQtPortEventSink::Post(std::function<void()> deliver) {
  QCoreApplication::postEvent(receiver_.get(), new TPortEvent(std::move(deliver)));
}

// The port-event sink of the window: port threads post their events to the
// GUI thread's event queue, and the GUI thread runs them there.
#pragma once

#include <memory>

#include "link/port_events.h"

class QObject;

class TQtPortEventSink : public IPortEventSink {
 public:
  // Create on the GUI thread, before the ports, and destroy after them.
  TQtPortEventSink();
  ~TQtPortEventSink() override;
  TQtPortEventSink(const TQtPortEventSink&) = delete;
  TQtPortEventSink& operator=(const TQtPortEventSink&) = delete;

  void Post(IPortEvent& event) override;

 private:
  std::unique_ptr<QObject> receiver_;
};

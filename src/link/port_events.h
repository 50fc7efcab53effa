// How the events of a serial port reach the GUI thread. The port threads
// never call program code: they hand each event to the sink, and the sink
// runs it on the GUI thread, where the port's handlers run.
#pragma once

#include <functional>

class IPortEventSink {
 public:
  virtual ~IPortEventSink() = default;
  // Called from any thread. Runs deliver once, later, on the GUI thread, after
  // everything posted before it; an event still queued when the sink goes
  // is freed unrun. The sink must outlive the ports that post to it.
  virtual void Post(std::function<void()> deliver) = 0;
};

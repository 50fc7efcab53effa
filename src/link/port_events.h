// How the events of a serial port reach the GUI thread. The port threads
// never call program code: they hand each event to the sink, and the sink
// runs it on the GUI thread, where the port's handlers run.
#pragma once

// One event on its way. Its poster owns and reuses it; while it is posted it
// belongs to the sink, which ends that with exactly one of the two calls.
class IPortEvent {
 public:
  // On the GUI thread: raises the event. It may be reused from the call on.
  virtual void Deliver() = 0;
  // Instead of Deliver, when the sink goes with the event still queued.
  virtual void Discard() = 0;

 protected:
  ~IPortEvent() = default;
};

class IPortEventSink {
 public:
  virtual ~IPortEventSink() = default;
  // Called from any thread. Delivers the event once, later, on the GUI thread,
  // after everything posted before it; an event still queued when the sink
  // goes is discarded unrun. The sink must outlive the ports that post to it.
  // When Post throws, the event was not taken.
  virtual void Post(IPortEvent& event) = 0;
};

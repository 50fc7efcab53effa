// A request from outside to end the program (SIGINT from Ctrl+C, SIGTERM
// from a script or the system): the Linux counterpart of closing the
// window from outside. The first signal only makes a descriptor readable;
// the GUI thread watches it and closes the main window the normal way, so
// the ports are stopped and the log is written. A second signal, of either
// kind, ends the process at once by that signal, whether the close that the
// first began hangs or not; what the close had not yet written is lost.
#pragma once

class TStopRequest {
 public:
  // Installs the handlers, with no request taken yet; one instance at a time.
  TStopRequest();
  // Puts the default handlers back.
  ~TStopRequest();
  TStopRequest(const TStopRequest&) = delete;
  TStopRequest& operator=(const TStopRequest&) = delete;

  bool Valid() const { return readFd_ >= 0; }
  // Readable once a request has arrived.
  int Handle() const { return readFd_; }
  // Takes the requests that have arrived; true when there was one.
  bool Take() const;

 private:
  int readFd_ = -1;
};

// The run of the main window: shown (its show handler sets everything up),
// then the event loop until the window closes.
// A stop request from outside (Ctrl+C, SIGTERM) ends the run whatever is
// open: every menu, box and dialog closes as Cancel or Abort would close it,
// no box opens any more (their texts go to the log), and once the handlers
// that opened them have returned, the window closes the normal way: ports
// stopped, log written.
#pragma once

class QWidget;
class TStopRequest;

// The event loop's result: 0 when the window closed or a stop ended the run.
int RunMainWindow(QWidget& window, const TStopRequest& stopRequest);

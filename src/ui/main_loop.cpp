#include "ui/main_loop.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "data/operator_io.h"
#include "platform/stop_request.h"

namespace {

// How often a run that is stopping looks again for what is still open.
constexpr int kStopCheckMs = 10;

int LoopLevel() { return QThread::currentThread()->loopLevel(); }

// Closes what top() gives, the innermost first, until nothing is left or one
// refuses to close (the next check tries it again).
template <typename Top, typename Close>
void CloseEach(Top top, Close close) {
  for (QWidget* widget = top(); widget;) {
    close(*widget);
    QWidget* next = top();
    if (next == widget) return;
    widget = next;
  }
}

// Every menu, box and dialog that is open closes as Cancel or Abort would.
void CloseEveryModal() {
  CloseEach(&QApplication::activePopupWidget, [](QWidget& popup) { popup.close(); });
  CloseEach(&QApplication::activeModalWidget, [](QWidget& modal) {
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
      dialog->reject();
    } else {
      modal.close();
    }
  });
}

// A window that has closed already (the end of an unattended run, in the
// same turn of the loop as the request) has written its log: not again.
void CloseOnce(QWidget& window) {
  if (window.isVisible()) window.close();
}

class TStopOnRequest {
 public:
  TStopOnRequest(QWidget& window, const TStopRequest& request) : window_(window), request_(request) {
    if (!request_.Valid()) return;
    watch_ = std::make_unique<QSocketNotifier>(request_.Handle(), QSocketNotifier::Read);
    QObject::connect(watch_.get(), &QSocketNotifier::activated, [this] {
      if (request_.Take()) Stop();
    });
    check_.setInterval(kStopCheckMs);
    QObject::connect(&check_, &QTimer::timeout, [this] { CloseWhenBackInTheMainLoop(); });
  }

  bool Stopped() const { return silenced_.has_value(); }
  // The main loop runs at this level from now on.
  void MainLoopAt(int level) { mainLoopLevel_ = level; }

 private:
  void Stop() {
    if (Stopped()) return;
    silenced_.emplace();
    check_.start();
    CloseWhenBackInTheMainLoop();
  }

  // A box's handler is still running until the box's own loop has ended.
  void CloseWhenBackInTheMainLoop() {
    CloseEveryModal();
    if (LoopLevel() != mainLoopLevel_) return;
    check_.stop();
    CloseOnce(window_);
    QApplication::quit();
  }

  QWidget& window_;
  const TStopRequest& request_;
  std::unique_ptr<QSocketNotifier> watch_;
  QTimer check_;
  std::optional<TSilencedPrompts> silenced_;  // set once stopped: nobody answers a box any more
  int mainLoopLevel_ = -1;                    // until the main loop runs
};

}  // namespace

int RunMainWindow(QWidget& window, const TStopRequest& stopRequest) {
  TStopOnRequest stop(window, stopRequest);
  // A box that start-up opens runs the first event loop, inside show().
  window.show();
  if (stop.Stopped()) {
    CloseOnce(window);
    return 0;
  }
  stop.MainLoopAt(LoopLevel() + 1);
  return QApplication::exec();
}

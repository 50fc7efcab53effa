// The window's two timers. Timer1 (10 ms): the reply watch, then the end of
// an unattended run, which closes the window the normal way. Timer2 (50 ms):
// the start-up search and the wait for every programmer in use, then the
// command-line download; the timer is stopped before the project is opened,
// so whatever that meets, the download is never started twice.
#include <QTimer>
#include <thread>

#include "link/reply_timeout.h"
#include "link/unattended_run.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace {

class TWindowStartupSearch final : public IStartupSearchActions {
 public:
  explicit TWindowStartupSearch(TGenMFrmARM& window) : window_(window) {}
  void SearchAgain() override { window_.SearchAgain(); }
  std::uint8_t OpenProjectFile(const std::string& path) override { return window_.OpenProjectFile(path); }
  void Pause(std::chrono::milliseconds time) override { std::this_thread::sleep_for(time); }

 private:
  TGenMFrmARM& window_;
};

}  // namespace

void TGenMFrmARM::Timer1Timer() {
  TickReplyTimeouts();
  if (unattendedEnd_.Tick()) close();
}

void TGenMFrmARM::Timer2Timer() {
  TWindowStartupSearch actions(*this);
  RunGuarded([&] {
    if (StartupSearchTick(actions) != TStartupSearch::AllAnswered) return;
    Timer2->stop();
    StartCommandLineDownload(actions);
  });
}

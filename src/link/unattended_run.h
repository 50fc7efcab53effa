// The work of the main window's two timers besides the reply watch: the end
// of an unattended run (Timer1), and the start-up search, the wait for every
// programmer in use, the search again after firmware upgrades and the
// command-line download (Timer2). The window only binds these.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// What Timer2's work needs of the window; tests replace it.
class IStartupSearchActions {
 public:
  virtual ~IStartupSearchActions() = default;
  // The automatic search (SearchAgain): every port closed, the port list
  // read again, searched. Called only while no programmer is busy.
  virtual void SearchAgain() = 0;
  // Opens the project and brings the window up to date (chip, flash driver,
  // settings); returns the reader's result, 0 when the file was read. A file
  // that cannot be opened or read throws std::system_error.
  virtual std::uint8_t OpenProjectFile(const std::string& path) = 0;
  // Holds the GUI thread; what arrives meanwhile waits in the ports.
  virtual void Pause(std::chrono::milliseconds time) = 0;
};

// The pause between the end of the upgrades and the search again.
inline constexpr std::chrono::milliseconds kUpgradeResearchPause{500};

enum class TStartupSearch : std::uint8_t {
  Waiting,      // keep ticking
  AllAnswered,  // every programmer in use has answered: the timer is done
};

// One Timer2 tick: the start-up search when it is pending; then whether
// every programmer in use has answered. In command-line mode a firmware
// upgrade on any programmer holds the answer back, since the upgraded
// programmer restarts; once no programmer is busy (no upgrade runs, and no
// operation that a search would cut off), UpgradeRunning is cleared and the
// search runs again after the pause, once for all the upgrades that ended,
// those that failed too.
TStartupSearch StartupSearchTick(IStartupSearchActions& actions);

// Once every programmer has answered, in command-line mode: opens the
// command-line project and starts the download on every programmer in use.
// The project opens with the boxes silenced: its messages are logged. A
// project that is missing (logged, and shown unless the run is unattended),
// that fails its checks (the reader has said why), that cannot be read (the
// system's error logged), whose chip needs a flash driver that did not load
// or whose S/N step does not fit the chip-data block starts nothing.
// "Prog. Data Flash" is taken from the project, as the window shows it.
void StartCommandLineDownload(IStartupSearchActions& actions);

// The end of an unattended ("OFF") run, checked after every reply watch:
// once every programmer found has finished its download, "ResDW.Txt" is
// written with its one line. A file that cannot be written is reported once
// and tried again about a second later (kResultRetryTicks ticks), for as
// long as it takes; the write that then succeeds is logged too.
class TUnattendedEnd {
 public:
  // True exactly once: the result file is written and the window must close.
  bool Tick();

 private:
  bool written_ = false;
  bool failureReported_ = false;
  int retryWait_ = 0;  // ticks left before the next try
};

// Ticks (of 10 ms) from a failed write of the result file to the next try.
inline constexpr int kResultRetryTicks = 100;

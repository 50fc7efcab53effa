// Simulated programmer units on pseudo-terminals. Each PtyUnit owns a pty
// pair and a thread that reads the program's frames from the master side,
// lets its Unit answer them, and writes the answers with the unit's timing
// (reply delay, chunks, noise, line pacing). The unit keeps a descriptor of
// the slave side open, so the program may close and reopen the device path
// as often as it likes; Close() shuts both sides, which the program sees as
// a hang-up (EIO, POLLHUP), like an unplugged USB adapter.
//
// The unit watches who has the device open (inotify). When the last of them
// closes it, it does what the last close of a real port does: the exclusive
// flag (TIOCEXCL) is cleared and unread input dropped; and what the unit
// sends while no one has the device open is lost.
//
// Every accessor locks the unit: tests call them from their own thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim_framing.h"
#include "sim_unit.h"

namespace sim {

class PtyUnit {
 public:
  // Opens the pty and starts the unit; throws std::system_error on failure.
  explicit PtyUnit(UnitSettings settings = {});
  ~PtyUnit();
  PtyUnit(const PtyUnit&) = delete;
  PtyUnit& operator=(const PtyUnit&) = delete;

  // The slave device the program opens, e.g. /dev/pts/7.
  const std::string& Path() const { return path_; }
  // Unplugs the unit: stops its thread and closes both sides of the pty.
  void Close();

  void Update(const std::function<void(UnitSettings&)>& change);
  // Runs f on the unit under its lock and returns what f returns.
  template <class F>
  auto Inspect(F&& f) const {
    std::lock_guard lock(mutex_);
    return f(static_cast<const Unit&>(unit_));
  }
  template <class F>
  auto Modify(F&& f) {
    std::lock_guard lock(mutex_);
    return f(unit_);
  }

  std::vector<PacketRecord> Received() const;
  std::size_t ReceivedCount() const;
  // Waits until at least count packets have been recorded; false when the
  // limit passed first.
  bool WaitForPackets(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

  // How many descriptors other than the unit's own have the device open.
  int Listeners() const;
  // Bytes of frames queued and not yet written (or lost).
  std::size_t Pending() const;
  // Bytes the unit has read from the line and written to it so far.
  std::size_t BytesRead() const;
  std::size_t BytesWritten() const;

  void SendProgress(const ProgressReport& report);
  // Called on the unit's thread after each recorded packet, unlocked.
  void OnPacket(std::function<void(const PacketRecord&)> observer);

 private:
  using Clock = std::chrono::steady_clock;
  struct Outgoing {
    Clock::time_point due;
    Bytes bytes;
    std::size_t sent = 0;
  };

  void Run();
  void CountListeners();
  void ReadInput();
  void WriteOutput();
  std::chrono::nanoseconds LineTime(std::size_t bytes) const;  // lock held
  // Noise, then the frame in chunks; returns when its last chunk is due.
  Clock::time_point QueueFrame(const Bytes& frame, Clock::time_point due);  // lock held
  void QueueScript(Clock::time_point after);                                 // lock held
  void Wake();

  std::string path_;
  int master_ = -1;
  int slave_ = -1;
  int wake_ = -1;
  int watch_ = -1;  // inotify on the slave path; -1 when not available

  mutable std::mutex mutex_;
  mutable std::condition_variable recorded_;
  Unit unit_;
  std::deque<Outgoing> queue_;
  std::function<void(const PacketRecord&)> observer_;
  int listeners_ = 0;  // opens of the slave path other than the unit's own
  std::size_t bytesRead_ = 0;
  std::size_t bytesWritten_ = 0;

  std::atomic<bool> stop_{false};
  std::thread thread_;
  // The unit's thread only.
  FrameSplitter splitter_;
  Clock::time_point inputFreeAt_{};
  Clock::time_point outputFreeAt_{};
};

// A set of units, e.g. one per programmer of a test or the demo.
class UnitGroup {
 public:
  explicit UnitGroup(std::size_t count, const UnitSettings& settings = {});
  explicit UnitGroup(const std::vector<UnitSettings>& settings);

  PtyUnit& operator[](std::size_t i) { return *units_.at(i); }
  std::size_t size() const { return units_.size(); }
  std::vector<std::string> Paths() const;
  // Writes folder/"ConfigVmg.ini" naming the units in order.
  void WriteConfigIni(const std::filesystem::path& folder) const;

 private:
  std::vector<std::unique_ptr<PtyUnit>> units_;
};

// The connection settings naming these device paths as programmers 1, 2, ...
std::string ConfigIniText(const std::vector<std::string>& paths);

}  // namespace sim

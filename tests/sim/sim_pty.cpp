#include "sim_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace sim {

namespace {

// Paced output goes out in slices this long (about 1.4 ms at the real line
// speed), so a paced reply arrives spread out as it would from a unit.
constexpr std::size_t kPaceSlice = 128;
constexpr auto kPaceLateness = std::chrono::milliseconds(2);

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

PtyUnit::PtyUnit(UnitSettings settings) : unit_(std::move(settings)) {
  const auto fail = [this](const char* what) {
    const int error = errno;
    CloseFd(watch_);
    CloseFd(wake_);
    CloseFd(slave_);
    CloseFd(master_);
    throw std::system_error(error, std::generic_category(), what);
  };
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) fail("posix_openpt");
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) fail("grantpt/unlockpt");
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) fail("ptsname_r");
  path_ = name;
  // Raw on this side so every byte passes unchanged; the program sets its
  // own line settings when it opens the slave.
  termios settingsRaw{};
  if (::tcgetattr(master_, &settingsRaw) != 0) fail("tcgetattr");
  ::cfmakeraw(&settingsRaw);
  if (::tcsetattr(master_, TCSANOW, &settingsRaw) != 0) fail("tcsetattr");
  if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) fail("fcntl");
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) fail("open pty slave");
  wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_ < 0) fail("eventfd");
  watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch_ >= 0 && ::inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE) < 0) CloseFd(watch_);
  thread_ = std::thread(&PtyUnit::Run, this);
}

PtyUnit::~PtyUnit() { Close(); }

void PtyUnit::Close() {
  if (thread_.joinable()) {
    stop_ = true;
    Wake();
    thread_.join();
  }
  CloseFd(master_);
  CloseFd(slave_);
  CloseFd(wake_);
  CloseFd(watch_);
}

void PtyUnit::Update(const std::function<void(UnitSettings&)>& change) {
  std::lock_guard lock(mutex_);
  change(unit_.settings);
}

std::vector<PacketRecord> PtyUnit::Received() const {
  std::lock_guard lock(mutex_);
  return unit_.records;
}

std::size_t PtyUnit::ReceivedCount() const {
  std::lock_guard lock(mutex_);
  return unit_.records.size();
}

bool PtyUnit::WaitForPackets(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return recorded_.wait_for(lock, limit, [&] { return unit_.records.size() >= count; });
}

int PtyUnit::Listeners() const {
  std::lock_guard lock(mutex_);
  return listeners_;
}

std::size_t PtyUnit::Pending() const {
  std::lock_guard lock(mutex_);
  std::size_t bytes = 0;
  for (const Outgoing& out : queue_) bytes += out.bytes.size() - out.sent;
  return bytes;
}

std::size_t PtyUnit::BytesRead() const {
  std::lock_guard lock(mutex_);
  return bytesRead_;
}

std::size_t PtyUnit::BytesWritten() const {
  std::lock_guard lock(mutex_);
  return bytesWritten_;
}

void PtyUnit::SendProgress(const ProgressReport& report) {
  {
    std::lock_guard lock(mutex_);
    QueueFrame(Unit::ProgressFrame(report), Clock::now());
  }
  Wake();
}

void PtyUnit::OnPacket(std::function<void(const PacketRecord&)> observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

void PtyUnit::Wake() {
  const std::uint64_t one = 1;
  if (wake_ >= 0) {
    [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
  }
}

std::chrono::nanoseconds PtyUnit::LineTime(std::size_t bytes) const {
  const std::uint32_t rate = unit_.settings.bytesPerSecond;
  if (rate == 0) return {};
  return std::chrono::nanoseconds(static_cast<std::int64_t>(bytes * 1'000'000'000ull / rate));
}

PtyUnit::Clock::time_point PtyUnit::QueueFrame(const Bytes& frame, Clock::time_point due) {
  const UnitSettings& s = unit_.settings;
  Bytes bytes = s.noise;
  bytes.insert(bytes.end(), frame.begin(), frame.end());
  const std::size_t chunk = s.chunkSize ? s.chunkSize : bytes.size();
  for (std::size_t at = 0; at < bytes.size(); at += chunk) {
    if (at > 0) due += std::chrono::milliseconds(s.chunkGapMs);
    const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, bytes.size()));
    queue_.push_back({due, Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at), end)});
  }
  return due;
}

void PtyUnit::QueueScript(Clock::time_point after) {
  for (const ProgressReport& report : unit_.settings.script) {
    after = QueueFrame(Unit::ProgressFrame(report), after + std::chrono::milliseconds(report.gapMs));
  }
}

void PtyUnit::Run() {
  while (!stop_) {
    bool writeNow = false;
    timespec wait{};
    timespec* timeout = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (!queue_.empty()) {
        const auto due = std::max(queue_.front().due, outputFreeAt_);
        const auto now = Clock::now();
        if (due <= now) {
          writeNow = true;
        } else {
          const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(due - now).count();
          wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
          wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
          timeout = &wait;
        }
      }
    }
    pollfd fds[3] = {{master_, static_cast<short>(POLLIN | (writeNow ? POLLOUT : 0)), 0},
                     {wake_, POLLIN, 0},
                     {watch_, POLLIN, 0}};
    if (::ppoll(fds, watch_ >= 0 ? 3 : 2, timeout, nullptr) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] auto n = ::read(wake_, &count, sizeof count);
    }
    // Before the input: an open is queued before the program can write.
    CountListeners();
    if (fds[0].revents & POLLIN) ReadInput();
    if (fds[0].revents & POLLOUT) WriteOutput();
  }
}

void PtyUnit::CountListeners() {
  if (watch_ < 0) return;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(watch_, buffer, sizeof buffer);
    if (n <= 0) return;
    std::lock_guard lock(mutex_);
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_OPEN) ++listeners_;
      if ((event->mask & IN_CLOSE) && listeners_ > 0 && --listeners_ == 0) {
        ::ioctl(slave_, TIOCNXCL);
        ::tcflush(slave_, TCIFLUSH);
      }
    }
  }
}

void PtyUnit::ReadInput() {
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) return;
    std::vector<PacketRecord> recorded;
    std::function<void(const PacketRecord&)> observer;
    {
      std::lock_guard lock(mutex_);
      bytesRead_ += static_cast<std::size_t>(n);
      // With pacing, the bytes count as received when the line would have
      // carried the last of them.
      inputFreeAt_ = std::max(Clock::now(), inputFreeAt_) + LineTime(static_cast<std::size_t>(n));
      splitter_.Feed(std::span(buffer, static_cast<std::size_t>(n)));
      while (auto frame = splitter_.Next()) {
        const Reply reply = unit_.Receive(*frame);
        recorded.push_back(unit_.records.back());
        auto due = inputFreeAt_ + std::chrono::milliseconds(unit_.settings.replyDelayMs);
        if (!reply.frame.empty()) due = QueueFrame(reply.frame, due);
        if (reply.startScript) QueueScript(due);
      }
      observer = observer_;
    }
    if (recorded.empty()) continue;
    recorded_.notify_all();
    if (observer) {
      for (const PacketRecord& record : recorded) observer(record);
    }
  }
}

void PtyUnit::WriteOutput() {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return;
  Outgoing& head = queue_.front();
  const auto now = Clock::now();
  if (std::max(head.due, outputFreeAt_) > now) return;
  if (watch_ >= 0 && listeners_ == 0) {  // no one listens: lost
    queue_.pop_front();
    return;
  }
  std::size_t count = head.bytes.size() - head.sent;
  if (unit_.settings.bytesPerSecond != 0) count = std::min(count, kPaceSlice);
  if (count > 0) {
    const ssize_t n = ::write(master_, head.bytes.data() + head.sent, count);
    if (n < 0) {
      if (errno != EAGAIN && errno != EINTR) queue_.clear();
      return;
    }
    head.sent += static_cast<std::size_t>(n);
    bytesWritten_ += static_cast<std::size_t>(n);
    // A line that is still sending keeps its schedule, so that a late
    // wake-up of this thread does not slow the line down; an idle one
    // starts now.
    const auto from = outputFreeAt_ + kPaceLateness >= now ? outputFreeAt_ : now;
    outputFreeAt_ = from + LineTime(static_cast<std::size_t>(n));
  }
  if (head.sent == head.bytes.size()) queue_.pop_front();
}

UnitGroup::UnitGroup(std::size_t count, const UnitSettings& settings)
    : UnitGroup(std::vector<UnitSettings>(count, settings)) {}

UnitGroup::UnitGroup(const std::vector<UnitSettings>& settings) {
  for (const UnitSettings& s : settings) units_.push_back(std::make_unique<PtyUnit>(s));
}

std::vector<std::string> UnitGroup::Paths() const {
  std::vector<std::string> paths;
  for (const auto& unit : units_) paths.push_back(unit->Path());
  return paths;
}

void UnitGroup::WriteConfigIni(const std::filesystem::path& folder) const {
  std::ofstream out(folder / "ConfigVmg.ini", std::ios::binary);
  out << ConfigIniText(Paths());
  if (!out) throw std::system_error(errno, std::generic_category(), "write ConfigVmg.ini");
}

std::string ConfigIniText(const std::vector<std::string>& paths) {
  std::string text = "; Velmot200IND programmer units\n[Connection]\n";
  text += "TOTDEV=" + std::to_string(paths.size()) + "\n";
  for (std::size_t i = 0; i < paths.size(); ++i) text += "DEV" + std::to_string(i + 1) + "=" + paths[i] + "\n";
  return text;
}

}  // namespace sim

#include "platform/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(int error, const std::string& fileName) {
  throw std::system_error(error, std::generic_category(), fileName);
}

// Closes the descriptor when the scope ends.
class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return fd_; }
  // Closes now; false (errno set) when the close reports a lost write.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a link points to; the name itself otherwise.
fs::path FinalTarget(const std::string& fileName) {
  std::error_code ec;
  if (!fs::is_symlink(fileName, ec)) return fileName;
  const fs::path target = fs::weakly_canonical(fileName, ec);
  return ec ? fs::path(fileName) : target;
}

// A new, hidden file in the target's folder; created with the process's
// umask like any new file.
int CreateSibling(const fs::path& target, fs::path& temp) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string stem = "." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder / (stem + std::to_string(attempt));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& fileName, std::size_t maxBytes) {
  TFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) Fail(errno, fileName);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) Fail(errno, fileName);
  std::vector<std::uint8_t> bytes;
  if (S_ISREG(st.st_mode)) bytes.reserve(std::min<std::size_t>(maxBytes, static_cast<std::size_t>(st.st_size)));
  constexpr std::size_t kBlock = 1 << 16;
  while (bytes.size() < maxBytes) {
    const std::size_t at = bytes.size();
    bytes.resize(at + std::min(kBlock, maxBytes - at));
    const ssize_t n = ::read(fd.Get(), bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) {
      bytes.resize(at);
      continue;
    }
    if (n < 0) Fail(errno, fileName);
    bytes.resize(at + static_cast<std::size_t>(n));
    if (n == 0) break;
  }
  return bytes;
}

void ReplaceFileBytes(const std::string& fileName, std::span<const std::uint8_t> bytes) {
  const fs::path target = FinalTarget(fileName);
  fs::path temp;
  TFd fd(CreateSibling(target, temp));
  if (fd.Get() < 0) Fail(errno, fileName);
  int error = 0;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd.Get(), old.st_mode & 07777);
  if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0 || !fd.Close() ||
      ::rename(temp.c_str(), target.c_str()) != 0)
    error = errno;
  if (error == 0) return;
  ::unlink(temp.c_str());
  Fail(error, fileName);
}

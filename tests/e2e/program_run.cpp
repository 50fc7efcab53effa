#include "program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

#include "demo_job.h"
#include "sim_pty.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The customer's own log file, replaced at every close.
std::string LogConfigText(const fs::path& log) {
  return "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef0\r\nSpcFile=" + log.string() + "\r\n[EndCfg]\r\n";
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::system_error(errno, std::generic_category(), path.string());
}

// A hard link where the build tree allows one (the program finds its folder
// through the link's path), else a copy; under the executable's own name.
fs::path PlaceProgram(const fs::path& folder, TProgramBuild build) {
  const fs::path built = build == TProgramBuild::Chinese ? VELMOT_PROGRAM_ZH : VELMOT_PROGRAM;
  const fs::path placed = folder / built.filename();
  std::error_code ec;
  fs::create_hard_link(built, placed, ec);
  if (ec) fs::copy_file(built, placed, fs::copy_options::overwrite_existing);
  return placed;
}

std::optional<int> ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

}  // namespace

TProgramFolder::TProgramFolder(const std::string& name, TProgramBuild build)
    : path_(fs::path(VELMOT_E2E_RUNS_DIR) / name) {
  fs::remove_all(path_);
  fs::create_directories(path_);
  program_ = PlaceProgram(path_, build);
  WriteDemoProgramFiles(path_);
  WriteText(path_ / "DivAriR.cfg", LogConfigText(LogFile()));
}

void TProgramFolder::ListPorts(const std::vector<std::string>& ports) const {
  WriteText(path_ / "ConfigVmg.ini", sim::ConfigIniText(ports));
}

TProgramProcess::TProgramProcess(const TProgramFolder& folder, const std::vector<std::string>& arguments) {
  const std::string program = folder.Program().string();
  const std::string output = (folder.Path() / "program.out").string();
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  // The program's own folder is its working folder, as a line's script would start it.
  posix_spawn_file_actions_addchdir_np(&actions, folder.Path().c_str());
  const int error = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::system_error(error, std::generic_category(), "start " + program);
}

TProgramProcess::~TProgramProcess() {
  if (Running()) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
}

bool TProgramProcess::Running() {
  if (exit_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) exit_ = ExitCode(status).value_or(-1);
  return !exit_;
}

std::optional<int> TProgramProcess::WaitForExit(std::chrono::milliseconds limit) {
  WaitUntil([this] { return !Running(); }, limit);
  return exit_;
}

void TProgramProcess::Signal(int signal) {
  if (Running()) ::kill(pid_, signal);
}

std::optional<int> TProgramProcess::Close(std::chrono::milliseconds limit, int signal) {
  Signal(signal);
  return WaitForExit(limit);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool ShownAMessageBox(const TProgramFolder& folder) {
  return ReadText(folder.File("program.out")).find("This plugin does not support propagateSizeHints()") !=
         std::string::npos;
}

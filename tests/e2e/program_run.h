// The real program in a program folder of its own: the folder (a copy of
// the executable, its connection settings naming the simulated units, the
// demo's flash driver and firmware image, a log configuration that keeps
// the log in the folder), and the program running there as a child process,
// drawn offscreen.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The language build of the program that a folder holds.
enum class TProgramBuild { English, Chinese };

class TProgramFolder {
 public:
  // build/.../runs/<name>, emptied first.
  explicit TProgramFolder(const std::string& name, TProgramBuild build = TProgramBuild::English);

  const std::filesystem::path& Path() const { return path_; }
  const std::filesystem::path& Program() const { return program_; }
  std::filesystem::path File(const std::string& name) const { return path_ / name; }
  // The program's log, as the folder's "DivAriR.cfg" names it.
  std::filesystem::path LogFile() const { return path_ / "run.log"; }
  // "ConfigVmg.ini" naming these ports as programmers 1, 2, ...
  void ListPorts(const std::vector<std::string>& ports) const;

 private:
  std::filesystem::path path_;
  std::filesystem::path program_;
};

class TProgramProcess {
 public:
  // Starts the folder's program with the arguments; its output goes to
  // "program.out" in the folder.
  TProgramProcess(const TProgramFolder& folder, const std::vector<std::string>& arguments);
  // Kills the program if it still runs.
  ~TProgramProcess();
  TProgramProcess(const TProgramProcess&) = delete;
  TProgramProcess& operator=(const TProgramProcess&) = delete;

  // The exit code (128 + the signal when one ended it) once the program has
  // ended within the limit; nothing while it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);
  bool Running();
  // Sends the signal to the program if it still runs; waits for nothing.
  void Signal(int signal);
  // Asks the program to close, as Ctrl+C (SIGINT) or a service manager
  // (SIGTERM) does, and waits for its end.
  std::optional<int> Close(std::chrono::milliseconds limit, int signal = SIGINT);

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_;
};

// Polls until done() holds; false when the limit passed first. A safety
// net for a program that hangs, not a measurement.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

std::string ReadText(const std::filesystem::path& path);

// Whether the folder's program has shown a message box: drawn offscreen, Qt
// says so on the program's output when a box fixes its size, the one sign of
// an open box that can be seen from outside.
bool ShownAMessageBox(const TProgramFolder& folder);

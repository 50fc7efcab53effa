// Start-up and the unattended run, on ten simulated units paced at the
// line's rate (1,000,000 baud 8N2: 90,909 bytes/s per port). Prints:
//  - start-up in this process, as main() runs it: the application, the five
//    windows and the main window shown, then the start-up search until every
//    unit has its link request;
//  - the program started as a line's script starts it ("project.pqx OFF",
//    a 512 KB job): exec to the first and to the last link request, and the
//    whole run to the program's exit against the wire-time bound of the
//    busiest port's bytes (both ways), with the ratio; the same from the
//    first chip-data packet on (the download alone).
//   unattended_run_bench
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "demo_job.h"
#include "program_run.h"
#include "sim_pty.h"
#include "ui/startup_forms.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration;

constexpr std::size_t kUnits = 10;
constexpr std::uint32_t kMainBytes = 512 * 1024;

double Seconds(Clock::duration d) { return duration<double>(d).count(); }

sim::UnitSettings Paced() {
  sim::UnitSettings settings;
  settings.bytesPerSecond = sim::kPacedBytesPerSecond;
  return settings;
}

// When each unit saw its first packet of a command.
class TFirstPackets {
 public:
  explicit TFirstPackets(sim::UnitGroup& units) : times_(units.size()) {
    for (std::size_t n = 0; n < units.size(); ++n) {
      units[n].OnPacket([this, n](const sim::PacketRecord& record) {
        std::lock_guard lock(mutex_);
        last_ = Clock::now();
        times_[n].try_emplace(record.command, last_);
      });
    }
  }
  // The last packet any unit received.
  Clock::time_point Last() const {
    std::lock_guard lock(mutex_);
    return last_;
  }
  // The earliest and the latest unit's first packet of the command.
  std::pair<Clock::time_point, Clock::time_point> Span(std::uint8_t command) const {
    std::lock_guard lock(mutex_);
    Clock::time_point first = Clock::time_point::max(), last = Clock::time_point::min();
    for (const auto& unit : times_) {
      const auto at = unit.find(command);
      if (at == unit.end()) return {Clock::time_point::max(), Clock::time_point::max()};
      first = std::min(first, at->second);
      last = std::max(last, at->second);
    }
    return {first, last};
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::map<std::uint8_t, Clock::time_point>> times_;
  Clock::time_point last_{};
};

bool NonEmpty(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// As scripts/run does: without a display the window is drawn offscreen,
// unless the caller chose a platform.
void DrawOffscreenWithoutDisplay() {
  if (NonEmpty("DISPLAY") || NonEmpty("WAYLAND_DISPLAY") || NonEmpty("QT_QPA_PLATFORM")) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

bool AllProbed(sim::UnitGroup& units) {
  for (std::size_t n = 0; n < units.size(); ++n)
    if (units[n].ReceivedCount() == 0) return false;
  return true;
}

void StartUpInProcess(int argc, char** argv) {
  sim::UnitGroup units(kUnits, Paced());
  TFirstPackets first(units);
  TProgramFolder folder("bench-startup");
  folder.ListPorts(units.Paths());

  DrawOffscreenWithoutDisplay();
  const Clock::time_point start = Clock::now();
  QApplication app(argc, argv);
  TStartupForms forms(TWindowStartup{folder.Path().string() + "/", {}, {}});
  forms.GenMFrmARM->show();
  const Clock::time_point shown = Clock::now();
  while (!AllProbed(units) && Clock::now() - start < std::chrono::seconds(30)) app.processEvents();
  const auto [firstProbe, lastProbe] = first.Span(sim::kCmdLinkProbe);
  std::printf("start-up in process: window shown %.3f s, first link request %.3f s, all %zu link requests %.3f s\n",
              Seconds(shown - start), Seconds(firstProbe - start), kUnits, Seconds(lastProbe - start));
}

void UnattendedRun() {
  sim::UnitGroup units(kUnits, Paced());
  TFirstPackets first(units);
  TProgramFolder folder("bench-unattended");
  folder.ListPorts(units.Paths());
  const std::string project = folder.File("job.pqx").string();
  TDemoJob job;
  job.PartName = "BAT32G179GM64xx";
  job.MainDataLength = kMainBytes;
  job.ProgramEep = false;
  const TDemoLayout layout = WriteDemoProject(project, job);

  const Clock::time_point start = Clock::now();
  TProgramProcess program(folder, {project, "OFF"});
  const std::optional<int> exit = program.WaitForExit(std::chrono::minutes(5));
  const Clock::time_point end = Clock::now();

  const auto [firstProbe, lastProbe] = first.Span(sim::kCmdLinkProbe);
  const Clock::time_point firstChipData = first.Span(sim::kCmdChipData).first;
  std::size_t busiest = 0;
  for (std::size_t n = 0; n < kUnits; ++n) busiest = std::max(busiest, units[n].BytesRead() + units[n].BytesWritten());
  const double bound = static_cast<double>(busiest) / sim::kPacedBytesPerSecond;
  const double wall = Seconds(end - start);
  const bool result = ReadText(folder.File("ResDW.Txt")) == "Download Success\r\n";
  std::printf("program started: first link request %.3f s, all %zu link requests %.3f s\n", Seconds(firstProbe - start),
              kUnits, Seconds(lastProbe - start));
  std::printf("unattended run, %zu units, %u KB main data each: exit %d after %.3f s, wire bound %.3f s "
              "(%zu bytes on the busiest port), ratio %.3f; %s\n",
              kUnits, layout.MainDataLength / 1024, exit.value_or(-1), wall, bound, busiest, wall / bound,
              result ? "\"ResDW.Txt\" written" : "NO \"ResDW.Txt\"");
  std::printf("  of which: to the first chip data %.3f s, download (first chip data to the last packet) %.3f s, "
              "ratio %.3f; last packet to exit %.3f s\n",
              Seconds(firstChipData - start), Seconds(first.Last() - firstChipData),
              Seconds(first.Last() - firstChipData) / bound, Seconds(end - first.Last()));
}

}  // namespace

int main(int argc, char** argv) {
  StartUpInProcess(argc, argv);
  UnattendedRun();
  return 0;
}

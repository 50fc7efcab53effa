// A gang run: ten simulated units, an auto run (blank check, program,
// verify) of a 512 KB main area on each. Prints, for a run paced at the
// line's rate and one unpaced:
//   wall time, the wire-time bound of the bytes exchanged (the busiest
//   port's bytes both ways at 1,000,000 baud 8N2, 90,909 bytes/s), their
//   ratio, and the program's CPU time per 4 KB block.
// The units run in a child process, so that the CPU time measured is the
// program's alone: its GUI thread and the ports' read and write threads.
//   gang_run_bench [--unpaced-only | --paced-only]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "link/comm.h"
#include "link/comm_settings.h"
#include "link/device_search.h"
#include "link/gauge.h"
#include "link/operation_starters.h"
#include "link/port_hangup.h"
#include "link/receive_path.h"
#include "queued_port_events.h"
#include "sim_pty.h"

namespace {

constexpr int kUnits = 10;
constexpr std::uint32_t kMainBytes = 512 * 1024;

// The units' side: paths out, then byte counts out on request, then exit.
struct TUnitsProcess {
  pid_t Pid = -1;
  FILE* FromUnits = nullptr;
  FILE* ToUnits = nullptr;
};

void WriteCounts(FILE* out, sim::UnitGroup& units) {
  for (std::size_t i = 0; i < units.size(); ++i) std::fprintf(out, "%zu %zu\n", units[i].BytesRead(), units[i].BytesWritten());
  std::fflush(out);
}

TUnitsProcess StartUnits(bool paced) {
  int down[2], up[2];
  if (::pipe(down) != 0 || ::pipe(up) != 0) std::exit(1);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(down[1]);
    ::close(up[0]);
    FILE* in = ::fdopen(down[0], "r");
    FILE* out = ::fdopen(up[1], "w");
    sim::UnitSettings settings;
    if (paced) settings.bytesPerSecond = sim::kPacedBytesPerSecond;
    sim::UnitGroup units(kUnits, settings);
    for (const std::string& path : units.Paths()) std::fprintf(out, "%s\n", path.c_str());
    std::fflush(out);
    // 'c': the counts; end of input: done.
    for (int c; (c = std::fgetc(in)) != EOF;)
      if (c == 'c') WriteCounts(out, units);
    std::_Exit(0);
  }
  ::close(down[0]);
  ::close(up[1]);
  return {pid, ::fdopen(up[0], "r"), ::fdopen(down[1], "w")};
}

struct TLineCounts {
  std::vector<std::size_t> In, Out;  // as the units count them
};

TLineCounts Counts(TUnitsProcess& units) {
  std::fputc('c', units.ToUnits);
  std::fflush(units.ToUnits);
  TLineCounts counts;
  for (int i = 0; i < kUnits; ++i) {
    std::size_t in = 0, out = 0;
    if (std::fscanf(units.FromUnits, "%zu %zu", &in, &out) != 2) std::exit(1);
    counts.In.push_back(in);
    counts.Out.push_back(out);
  }
  return counts;
}

struct TCpu {
  double User = 0, System = 0;
  double Switches = 0;  // context switches, voluntary and forced
  double Total() const { return User + System; }
  TCpu operator-(const TCpu& o) const { return {User - o.User, System - o.System, Switches - o.Switches}; }
};

TCpu Cpu(int who) {
  rusage usage{};
  ::getrusage(who, &usage);
  return {usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6, usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6,
          static_cast<double>(usage.ru_nvcsw + usage.ru_nivcsw)};
}

TCpu ProcessCpu() { return Cpu(RUSAGE_SELF); }
TCpu GuiThreadCpu() { return Cpu(RUSAGE_THREAD); }

void SetChip() {
  TSelectedChip& chip = SelectedChip;
  chip.ChipCode = 0x55;
  chip.ChipFamilyCode = 0x01;
  chip.MainSize = kMainBytes;
  chip.MainStart = 0x08000000;
  chip.MainEnd = chip.MainStart + kMainBytes - 1;
  chip.EepStart = chip.EepEnd = 0xFFFFFFFF;
  ObjectState.MainDataLength = kMainBytes;
  ObjectState.ObjectLoaded = ObjectState.ChipSelected = 1;
  std::uint32_t x = 12345;
  for (std::uint32_t i = 0; i < kMainBytes; ++i) {
    x = x * 1103515245u + 12345u;
    MemoryImages.MainFlashImage[i] = static_cast<std::uint8_t>(x >> 16);
  }
}

bool AllIdle() {
  for (int ch = 0; ch < kUnits; ++ch)
    if (ProgrammerState.ChannelBusy[ch] || ProgrammerState.ProgOpCode[ch] != kOpIdle) return false;
  return true;
}

bool Run(bool paced) {
  TUnitsProcess child = StartUnits(paced);
  std::vector<std::string> paths;
  char line[256];
  for (int i = 0; i < kUnits && std::fgets(line, sizeof line, child.FromUnits); ++i) {
    paths.emplace_back(line);
    paths.back().pop_back();
  }

  ResetProgramState();
  TGauge gauges[kUnits];
  TProgrammerBindings bindings;
  for (int ch = 0; ch < kUnits; ++ch) bindings.Gauges[ch] = &gauges[ch];
  InitGlobalSettings(bindings);
  SetChip();
  TQueuedPortEvents events;
  TReceivePath receivePath;
  std::vector<std::unique_ptr<TComm>> ports;
  for (int ch = 0; ch < kUnits; ++ch) {
    auto port = std::make_unique<TComm>(events);
    port->SetLineSettings(ProgrammerLineSettings());
    port->SetTimeouts(ProgrammerTimeouts());
    port->OnReceiveData = [&receivePath, ch](TComm*, const std::uint8_t* b, std::uint16_t n) { receivePath.ReceiveData(ch, b, n); };
    port->OnRequestHangup = [ch](TComm*) { HandleHangup(ch); };
    ProgrammerState.CommPorts[ch] = port.get();
    ports.push_back(std::move(port));
  }
  FindDevices([&] {
    SessionState.ProgrammerCount = kUnits;
    return paths;
  });
  bool ok = events.RunUntil([] { return SessionState.FoundDeviceCount == kUnits; });

  const TLineCounts before = Counts(child);
  const auto start = std::chrono::steady_clock::now();
  const TCpu cpuStart = ProcessCpu();
  const TCpu guiStart = GuiThreadCpu();
  for (int ch = 0; ch < kUnits; ++ch) {
    ProgrammerState.AutoMode[ch] = 1;
    StartAutoProgramming(ch);
  }
  ok = ok && events.RunUntil(AllIdle, std::chrono::minutes(5));
  const TCpu used = ProcessCpu() - cpuStart;
  const TCpu guiUsed = GuiThreadCpu() - guiStart;
  const double cpu = used.Total();
  const double gui = guiUsed.Total();
  const double guiSwitches = guiUsed.Switches;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const TLineCounts after = Counts(child);

  int good = 0;
  for (int ch = 0; ch < kUnits; ++ch) good += gauges[ch].ForeColor() == TGaugeColor::Blue;
  std::size_t busiest = 0, total = 0;
  for (int i = 0; i < kUnits; ++i) {
    const std::size_t bytes = after.In[i] - before.In[i] + after.Out[i] - before.Out[i];
    busiest = std::max(busiest, bytes);
    total += bytes;
  }
  const double bound = busiest / double{sim::kPacedBytesPerSecond};
  const int blocks = kUnits * 2 * static_cast<int>(kMainBytes / 4096);  // program and verify
  std::printf("%-8s %d units, %u KB each: wall %.3f s, wire bound %.3f s (%zu bytes on the busiest port, %.1f MB in all), "
              "ratio %.3f, host CPU %.3f s = %.1f us per 4 KB block (user %.1f us, system %.1f us; GUI thread %.1f us, port threads %.1f us; "
              "context switches per block: GUI thread %.1f, port threads %.1f); %d of %d ended well\n",
              paced ? "paced" : "unpaced", kUnits, kMainBytes / 1024, wall, bound, busiest, total / 1e6, wall / bound,
              cpu, cpu / blocks * 1e6, used.User / blocks * 1e6, used.System / blocks * 1e6, gui / blocks * 1e6,
              (cpu - gui) / blocks * 1e6, guiSwitches / blocks, (used.Switches - guiSwitches) / blocks, good, kUnits);

  for (const auto& port : ports) port->ClosePort();
  std::fclose(child.ToUnits);
  std::fclose(child.FromUnits);
  ::waitpid(child.Pid, nullptr, 0);
  ResetProgramState();
  return ok && good == kUnits;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  bool ok = true;
  if (only != "--unpaced-only") ok = Run(true) && ok;
  if (only != "--paced-only") ok = Run(false) && ok;
  return ok ? 0 : 1;
}

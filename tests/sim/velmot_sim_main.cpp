// velmot-sim: simulated programmer units on pseudo-terminals, for the demo
// and for trying the program without hardware. Prints one device path per
// unit, optionally writes a "ConfigVmg.ini" naming them, and answers until
// SIGINT or SIGTERM.

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim_pty.h"

namespace {

const char* const kUsage =
    "usage: velmot-sim [--units N] [--ini DIR] [--verbose] [unit options] [--unit K unit options]...\n"
    "  --units N                  number of units, 1 to 10 (default 1)\n"
    "  --ini DIR                  write DIR/ConfigVmg.ini naming the units\n"
    "  --verbose                  log every received packet on stderr\n"
    "  --unit K                   the options that follow apply to unit K (1..N) only;\n"
    "                             options before any --unit apply to every unit\n"
    "unit options (numbers decimal or 0x hexadecimal):\n";

long Number(const std::string& text) {
  std::size_t used = 0;
  long value = 0;
  try {
    value = std::stol(text, &used, 0);
  } catch (const std::logic_error&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) throw std::invalid_argument("not a number: \"" + text + "\"");
  return value;
}

// "CMD[:ARG]" into a fault for that command (and argument).
sim::Fault FaultFor(const std::string& text, sim::FaultKind kind) {
  sim::Fault fault;
  fault.kind = kind;
  const auto colon = text.find(':');
  fault.command = static_cast<std::uint8_t>(Number(text.substr(0, colon)));
  if (colon != std::string::npos) fault.argument = static_cast<int>(Number(text.substr(colon + 1)));
  return fault;
}

// "SPEC=VALUE" split at the '='; VALUE is empty when there is none.
std::pair<std::string, std::string> SplitValue(const std::string& text) {
  const auto eq = text.find('=');
  if (eq == std::string::npos) return {text, ""};
  return {text.substr(0, eq), text.substr(eq + 1)};
}

// "CMD[:ARG]=VALUE" into a fault and the value.
std::pair<sim::Fault, long> FaultAndValue(const std::string& text, sim::FaultKind kind) {
  const auto [spec, value] = SplitValue(text);
  return {FaultFor(spec, kind), Number(value)};
}

sim::Fault CutReply(const std::string& text, sim::FaultKind kind) {
  auto [fault, keep] = FaultAndValue(text, kind);
  fault.keep = static_cast<std::size_t>(keep);
  return fault;
}

sim::Bytes Hex(const std::string& text) {
  if (text.size() % 2 != 0) throw std::invalid_argument("odd number of hex digits: " + text);
  sim::Bytes bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  return bytes;
}

sim::Area AreaNamed(const std::string& name) {
  if (name == "main") return sim::Area::Main;
  if (name == "eep") return sim::Area::Eep;
  if (name == "option") return sim::Area::Option;
  throw std::invalid_argument("no such area: " + name);
}

struct UnitOption {
  const char* name;
  const char* value;  // nullptr: takes none
  const char* help;
  void (*apply)(sim::UnitSettings&, const std::string&);
};

const UnitOption kUnitOptions[] = {
    {"--identity", "TEXT", "identity reply text (default \"Velmot200IND V1.06\")",
     [](sim::UnitSettings& s, const std::string& v) { s.identity = v; }},
    {"--version", "V", "application identity with this version, e.g. V1.05",
     [](sim::UnitSettings& s, const std::string& v) { s.identity = sim::ApplicationIdentity(v); }},
    {"--boot-loader", nullptr, "answer with the boot-loader identity",
     [](sim::UnitSettings& s, const std::string&) { s.identity = sim::kBootLoaderIdentity; }},
    {"--upgrade-version", "V", "version taken on after a firmware upgrade (default V1.06)",
     [](sim::UnitSettings& s, const std::string& v) { s.identityAfterUpgrade = sim::ApplicationIdentity(v); }},
    {"--delay", "MS", "delay before every reply",
     [](sim::UnitSettings& s, const std::string& v) { s.replyDelayMs = static_cast<int>(Number(v)); }},
    {"--silent", nullptr, "answer nothing", [](sim::UnitSettings& s, const std::string&) { s.silent = true; }},
    {"--result", "CMD[:ARG]=CODE", "answer CODE instead of doing the command",
     [](sim::UnitSettings& s, const std::string& v) {
       auto [fault, code] = FaultAndValue(v, sim::FaultKind::Result);
       fault.code = static_cast<std::uint8_t>(code);
       s.faults.push_back(fault);
     }},
    {"--mute", "CMD[:ARG]", "neither do nor answer the command",
     [](sim::UnitSettings& s, const std::string& v) { s.faults.push_back(FaultFor(v, sim::FaultKind::Silent)); }},
    {"--bad-checksum", "CMD[:ARG]", "reply with a wrong checksum",
     [](sim::UnitSettings& s, const std::string& v) { s.faults.push_back(FaultFor(v, sim::FaultKind::BadChecksum)); }},
    {"--undecodable", "CMD[:ARG]", "reply with a frame that does not decode",
     [](sim::UnitSettings& s, const std::string& v) { s.faults.push_back(FaultFor(v, sim::FaultKind::Undecodable)); }},
    {"--truncate", "CMD[:ARG]=N", "data reply cut to N data bytes, its length field unchanged",
     [](sim::UnitSettings& s, const std::string& v) { s.faults.push_back(CutReply(v, sim::FaultKind::Truncate)); }},
    {"--short-data", "CMD[:ARG]=N", "data reply cut to N data bytes, its length field saying N",
     [](sim::UnitSettings& s, const std::string& v) { s.faults.push_back(CutReply(v, sim::FaultKind::ShortData)); }},
    {"--chunks", "N[:GAP_MS]", "write replies in chunks of N bytes (default gap 5 ms)",
     [](sim::UnitSettings& s, const std::string& v) {
       const auto colon = v.find(':');
       s.chunkSize = static_cast<std::size_t>(Number(v.substr(0, colon)));
       if (colon != std::string::npos) s.chunkGapMs = static_cast<int>(Number(v.substr(colon + 1)));
     }},
    {"--noise", "HEX", "bytes written before every frame, e.g. 112233",
     [](sim::UnitSettings& s, const std::string& v) { s.noise = Hex(v); }},
    {"--flip", "AREA:OFFSET[=MASK]", "a byte of main, eep or option reads back XOR MASK (default 1)",
     [](sim::UnitSettings& s, const std::string& v) {
       const auto [spec, mask] = SplitValue(v);
       const auto colon = spec.find(':');
       if (colon == std::string::npos) throw std::invalid_argument("--flip needs AREA:OFFSET");
       sim::ReadbackFlip flip{AreaNamed(spec.substr(0, colon)), static_cast<std::uint32_t>(Number(spec.substr(colon + 1)))};
       if (!mask.empty()) flip.mask = static_cast<std::uint8_t>(Number(mask));
       s.flips.push_back(flip);
     }},
    {"--blank", "00|FF", "value of an erased byte (default FF)",
     [](sim::UnitSettings& s, const std::string& v) { s.blankIsZero = Number("0x" + v) == 0; }},
    {"--paced", nullptr, "pace both directions like 1,000,000 baud 8N2",
     [](sim::UnitSettings& s, const std::string&) { s.bytesPerSecond = sim::kPacedBytesPerSecond; }},
    {"--script", "BLOCKS[=RESULT]", "after the start packet report one chip of BLOCKS blocks (result 6 passes)",
     [](sim::UnitSettings& s, const std::string& v) {
       const auto [blocks, result] = SplitValue(v);
       s.script = sim::StandAloneScript(static_cast<std::uint16_t>(Number(blocks)),
                                        result.empty() ? sim::kResultAck : static_cast<std::uint8_t>(Number(result)));
     }},
};

const UnitOption* FindOption(const std::string& name) {
  for (const UnitOption& option : kUnitOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

void PrintUsage(std::FILE* to) {
  std::fputs(kUsage, to);
  for (const UnitOption& option : kUnitOptions) {
    const std::string left = std::string(option.name) + (option.value ? std::string(" ") + option.value : "");
    std::fprintf(to, "  %-26s %s\n", left.c_str(), option.help);
  }
}

struct Scoped {
  std::size_t unit;  // 0: every unit
  const UnitOption* option;
  std::string value;
};

struct Command {
  std::size_t units = 1;
  std::string iniFolder;
  bool verbose = false;
  std::vector<Scoped> options;
};

Command Parse(int argc, char** argv) {
  Command command;
  std::size_t scope = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(name + " needs a value");
      return argv[++i];
    };
    if (name == "--help" || name == "-h") {
      PrintUsage(stdout);
      std::exit(0);
    } else if (name == "--units") {
      command.units = static_cast<std::size_t>(Number(value()));
    } else if (name == "--ini") {
      command.iniFolder = value();
    } else if (name == "--verbose") {
      command.verbose = true;
    } else if (name == "--unit") {
      scope = static_cast<std::size_t>(Number(value()));
      if (scope == 0) throw std::invalid_argument("--unit counts from 1");
    } else if (const UnitOption* option = FindOption(name)) {
      command.options.push_back({scope, option, option->value ? value() : std::string()});
    } else {
      throw std::invalid_argument("unknown option " + name);
    }
  }
  if (command.units < 1 || command.units > 10) throw std::invalid_argument("--units takes 1 to 10");
  return command;
}

std::vector<sim::UnitSettings> SettingsOf(const Command& command) {
  std::vector<sim::UnitSettings> settings(command.units);
  for (const Scoped& scoped : command.options) {
    if (scoped.unit > command.units) throw std::invalid_argument("--unit " + std::to_string(scoped.unit) + " has no unit");
  }
  for (std::size_t u = 0; u < command.units; ++u) {
    for (const std::size_t scope : {std::size_t{0}, u + 1}) {
      for (const Scoped& scoped : command.options) {
        if (scoped.unit == scope) scoped.option->apply(settings[u], scoped.value);
      }
    }
  }
  return settings;
}

void LogPacket(std::size_t unit, const sim::PacketRecord& record) {
  std::string line = "C" + std::to_string(unit + 1);
  char text[64];
  std::snprintf(text, sizeof text, " %02X %04X %zu bytes", record.command, record.argument, record.packet.size());
  line += text;
  if (record.replyCode) {
    std::snprintf(text, sizeof text, " -> %02X", *record.replyCode);
    line += text;
  } else if (record.answered) {
    line += " -> data";
  } else {
    line += " -> none";
  }
  if (!record.problem.empty()) line += " (" + record.problem + ")";
  line += "\n";
  std::fputs(line.c_str(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
  Command command;
  std::vector<sim::UnitSettings> settings;
  try {
    command = Parse(argc, argv);
    settings = SettingsOf(command);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velmot-sim: %s\n", error.what());
    PrintUsage(stderr);
    return 2;
  }

  // The unit threads inherit the mask, so the signals reach sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    sim::UnitGroup units(settings);
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (command.verbose) units[u].OnPacket([u](const sim::PacketRecord& record) { LogPacket(u, record); });
      std::cout << units[u].Path() << '\n';
    }
    std::cout.flush();
    if (!command.iniFolder.empty()) {
      units.WriteConfigIni(command.iniFolder);
      std::cerr << "velmot-sim: wrote " << (std::filesystem::path(command.iniFolder) / "ConfigVmg.ini").string() << std::endl;
    }
    int signal = 0;
    sigwait(&stopSignals, &signal);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velmot-sim: %s\n", error.what());
    return 1;
  }
  return 0;
}

// What the window's commands check before they act: the programmers in use
// (the first ProgrammerCount, at most ten), which of them are linked and
// idle, a programmer busy, and a precondition that does not hold (the flash
// driver among them).
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/driver_check.h"
#include "link/programmers_in_use.h"
#include "link/serial_step.h"
#include "text/text_id.h"

// Linked by the last search, and running no operation.
inline bool LinkedAndIdle(int ch) { return ProgrammerState.DeviceLinked[ch] && !ProgrammerState.ChannelBusy[ch]; }

// The linked, idle programmers in use, in ascending order.
inline std::vector<int> LinkedIdleProgrammers() {
  std::vector<int> programmers;
  for (int ch = 0; ch < ProgrammersInUse(); ++ch)
    if (LinkedAndIdle(ch)) programmers.push_back(ch);
  return programmers;
}

// How many programmers in use the last search linked.
inline int LinkedProgrammerCount() {
  return static_cast<int>(std::count_if(ProgrammerState.DeviceLinked, ProgrammerState.DeviceLinked + ProgrammersInUse(),
                                        [](std::uint8_t linked) { return linked != 0; }));
}

// When refuse holds, the box with text; the command then stops.
inline bool Refused(bool refuse, const std::string& text) {
  if (refuse) Prompts().ShowInfo(text);
  return refuse;
}

// The one guard of every command that changes the job (an image, the chip
// record, the option bytes): a running step sends and compares them, so
// while any programmer is busy the command stops with the box of text and
// changes nothing. Dialogs that change the job ask again at their OK, as a
// programmer may start while they are open (the command-line download, an
// upgrade that a search reply starts).
inline bool RefusedWhileBusy(TTextId text) { return Refused(AnyProgrammerBusy(), Text(text)); }

// The file a load's or project's dialog chose; empty, after the busy box,
// when a programmer started while the dialog was open.
inline std::string ChosenWhileIdle(const std::string& name) {
  return name.empty() || RefusedWhileBusy(TTextId::LoadBusyText) ? std::string() : name;
}

// A load's or project's last check, once every box it opened has been
// answered: false, after the busy box, when a programmer started meanwhile.
inline bool IdleToPlace() { return !RefusedWhileBusy(TTextId::LoadBusyText); }

// When the states would send a flash driver that did not load, the box that
// names its file; the command then stops.
inline bool RefusedWithoutDriver(std::span<const std::uint8_t> states) {
  return DriverMissingFor(states) && Refused(true, DriverMissingText());
}

// When the states would download a S/N step that does not fit, the refusal
// logged and shown; the command then stops.
inline bool RefusedSerialStep(std::span<const std::uint8_t> states) {
  const std::optional<std::string> refusal = SerialStepRefusalFor(states);
  if (refusal) LogAndShow(*refusal);
  return refusal.has_value();
}

// The programmers in use: as many as the port list holds, never more than
// the per-programmer tables have entries, whatever the settings say.
#pragma once

#include <algorithm>

#include "data/program_state.h"

inline int ProgrammersInUse() { return std::min<int>(SessionState.ProgrammerCount, kProgrammerMax); }

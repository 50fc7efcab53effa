// Finding the programmers on the listed ports: "&Connect Dev.", the search
// itself, and "Start Off-line Progrm", which reopens the ports and sets
// every programmer off on its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/result_report.h"

// Reads the connection list again (the window's port list) and returns its
// port names; SessionState.ProgrammerCount is then their number, at most 10.
using TPortListReload = std::function<std::vector<std::string>()>;

// "&Connect Dev.": the operations still running end as stopped, with their
// line and a red, full gauge, which the search leaves so; every port
// closed and every programmer unlinked, not busy and idle; no upgrade is
// pending or running any more, so one that failed is tried again; then
// the list is read again and searched.
void FindDevices(const TPortListReload& reloadPortList);

// The automatic search (at start-up, and again once the firmware upgrades
// have ended), which the start-up timer runs only while no programmer is
// busy, so it stops nothing: every port closed and every programmer
// unlinked, then the list is read again and searched. A programmer whose
// upgrade failed in this run is left out (HandleLinkReply).
void SearchAgain(const TPortListReload& reloadPortList);

// Opens the ports of the programmers in use one after another, each with
// an empty receive buffer, unlinked and its gauge emptied (not those of
// the programmers the caller has just stopped), then sends each open port
// the link request, the first 100 ms after the last open and each further
// one 50 ms after the one before. Blocks meanwhile: the answers wait in
// the ports' queues. Throws the ECommsError of a port that cannot be
// opened, after closing again the ports this search opened, so none is
// probed.
void SearchDevices(const std::vector<std::string>& portNames, const TStoppedProgrammers& stopped = {});

// "Start Off-line Progrm": the operations still running end as stopped,
// with their line and a red, full gauge; the programmers in use are
// unlinked, not busy and their ports closed, the other gauges emptied, and
// no upgrade is pending or running any more; the list is read again, and
// each port is opened and, 30 ms later, sent the start packet of
// stand-alone programming. The ports stay open so that the
// progress reports reach the link handlers. An ECommsError leaves at once;
// the ports opened before it stay open.
void StartOfflineProgramming(const TPortListReload& reloadPortList);

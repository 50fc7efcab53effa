// The port combo ComboBoxCOM: the port list, and its text, which is either
// one of its items or a prompt shown while none is chosen.
#pragma once

#include <string>
#include <vector>

#include "ui/connection_settings.h"

class QComboBox;

// The text the combo shows.
std::string PortComboText(const QComboBox& combo);

// Replaces the combo's items and text by the list's.
void ShowPortList(QComboBox& combo, const TPortList& list);

// The port names the list holds, item n the port of programmer n.
std::vector<std::string> PortComboItems(const QComboBox& combo);

// Deletes the entry that names the port, when there is one; an emptied list
// reads "Please Connect device......". By name, not by programmer: after
// one port has left the list the others have moved up.
void DeletePortEntry(QComboBox& combo, const std::string& port);

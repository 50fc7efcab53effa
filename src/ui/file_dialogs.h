// The window's file dialogs: made at their first use and kept, so each one
// opens again in the folder last used.
#pragma once

#include <QFileDialog>
#include <span>

enum class TFileDialogMode { Open, Save };

// A dialog named name, to open an existing file or to save one.
QFileDialog* CreateFileDialog(QWidget* parent, const char* name, TFileDialogMode mode);

// The filter entries, entry chosen being the one selected, and the suffix
// added to a name typed without one.
void SetFileFilters(QFileDialog& dialog, std::span<const char* const> filters, int chosen, const char* suffix);

// The file the operator confirmed, as a full path; empty when none.
std::string ChosenFile(const QFileDialog& dialog);

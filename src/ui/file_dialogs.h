// The program's file dialogs. A dialog's window exists only while it runs:
// a file dialog keeps a model of its folder that watches the folder and
// reads it again at every change, work that an idle program must not do.
// What the operator left in a dialog (its folder, the file confirmed, the
// filter entry) is kept here, so it opens again as it was closed.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <string>

class QFileDialog;
class QWidget;

enum class TFileDialogMode {
  Open,  // an existing file
  Name,  // a file to open or to create
  Save,
};

// The filter entries, the entry selected at first and the suffix added to a
// name typed without one.
struct TFileFilters {
  std::span<const char* const> Entries;
  int Chosen = 0;
  const char* Suffix = "";
};

class TFileDialogSettings {
 public:
  // title nullptr: the system's caption.
  TFileDialogSettings(const char* name, TFileDialogMode mode, TFileFilters filters, const char* title = nullptr);

  // The filters offered from the next run on, their chosen entry selected.
  void SetFilters(TFileFilters filters);

  // Runs the dialog over parent: through exec when set (tests answer it
  // there), else modally. Returns the file the operator confirmed, as a
  // full path; empty when the dialog was cancelled.
  std::string Run(QWidget* parent, const std::function<bool(QFileDialog&)>& exec);

  // The file last confirmed, and the filter entry (from 0) selected when
  // the dialog last closed.
  const std::string& FileName() const { return fileName_; }
  int FilterIndex() const { return filterIndex_; }

 private:
  void Prepare(QFileDialog& dialog) const;
  void Keep(const QFileDialog& dialog, bool confirmed);

  QString name_;
  TFileDialogMode mode_;
  QString title_;
  QStringList filters_;
  int filterIndex_;
  QString suffix_;
  QString folder_;  // empty until the first run: the system's choice
  std::string fileName_;
};

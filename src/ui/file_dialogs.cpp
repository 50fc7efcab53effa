#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

TFileDialogSettings::TFileDialogSettings(const char* name, TFileDialogMode mode, TFileFilters filters,
                                         const char* title)
    : name_(QString::fromLatin1(name)), mode_(mode), title_(title ? QString::fromLatin1(title) : QString()) {
  SetFilters(filters);
}

void TFileDialogSettings::SetFilters(TFileFilters filters) {
  filters_.clear();
  for (const char* entry : filters.Entries) filters_ << QString::fromLatin1(entry);
  filterIndex_ = filters.Chosen;
  suffix_ = QString::fromLatin1(filters.Suffix);
}

std::string TFileDialogSettings::Run(QWidget* parent, const std::function<bool(QFileDialog&)>& exec) {
  QFileDialog dialog(parent);
  Prepare(dialog);
  const bool confirmed = exec ? exec(dialog) : dialog.exec() == QDialog::Accepted;
  Keep(dialog, confirmed);
  return confirmed ? fileName_ : std::string();
}

void TFileDialogSettings::Prepare(QFileDialog& dialog) const {
  dialog.setObjectName(name_);
  if (!title_.isEmpty()) dialog.setWindowTitle(title_);
  dialog.setAcceptMode(mode_ == TFileDialogMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(mode_ == TFileDialogMode::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilters(filters_);
  dialog.selectNameFilter(filters_.value(filterIndex_));
  dialog.setDefaultSuffix(suffix_);
  if (!folder_.isEmpty()) dialog.setDirectory(folder_);
  // The name alone: the folder stays the one the dialog was left in.
  if (!fileName_.empty()) dialog.selectFile(QFileInfo(QString::fromStdString(fileName_)).fileName());
}

// A cancelled dialog keeps its folder and filter entry, not a name typed.
void TFileDialogSettings::Keep(const QFileDialog& dialog, bool confirmed) {
  folder_ = dialog.directory().absolutePath();
  if (const qsizetype entry = filters_.indexOf(dialog.selectedNameFilter()); entry >= 0)
    filterIndex_ = static_cast<int>(entry);
  if (!confirmed) return;
  const QStringList names = dialog.selectedFiles();
  fileName_ = names.isEmpty() ? std::string() : names.front().toStdString();
}

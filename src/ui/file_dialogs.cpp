#include "ui/file_dialogs.h"

QFileDialog* CreateFileDialog(QWidget* parent, const char* name, TFileDialogMode mode) {
  auto* dialog = new QFileDialog(parent);
  dialog->setObjectName(QString::fromLatin1(name));
  if (mode == TFileDialogMode::Save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  return dialog;
}

void SetFileFilters(QFileDialog& dialog, std::span<const char* const> filters, int chosen, const char* suffix) {
  QStringList entries;
  for (const char* filter : filters) entries << QString::fromLatin1(filter);
  dialog.setNameFilters(entries);
  dialog.selectNameFilter(entries.value(chosen));
  dialog.setDefaultSuffix(QString::fromLatin1(suffix));
}

std::string ChosenFile(const QFileDialog& dialog) {
  const QStringList names = dialog.selectedFiles();
  return names.isEmpty() ? std::string() : names.front().toStdString();
}

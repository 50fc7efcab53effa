// The five windows that live for the whole run, created in this order: the
// main window, the About window, the binary-offset dialog, the
// constant-filling dialog and the log-configuration dialog. Every other
// dialog is created when its command runs.
#pragma once

#include <memory>

#include "ui/about_form.h"
#include "ui/config_sn_form.h"
#include "ui/log_config_dialog.h"
#include "ui/main_window.h"
#include "ui/offset_address_form.h"

class TStartupForms {
 public:
  explicit TStartupForms(TWindowStartup startup);
  ~TStartupForms();

  // Declared in creation order; the dialogs are the main window's children
  // and go before it.
  std::unique_ptr<TGenMFrmARM> GenMFrmARM;
  std::unique_ptr<TAboutForm> AboutForm;
  std::unique_ptr<TFormOfsAddr> FormOfsAddr;
  std::unique_ptr<TConfigSNForm> ConfigSNForm;
  std::unique_ptr<TLogCfgForm> LogCfgForm;
};

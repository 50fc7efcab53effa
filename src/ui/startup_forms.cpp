#include "ui/startup_forms.h"

#include <QApplication>
#include <QLabel>

TStartupForms::TStartupForms(TWindowStartup startup) {
  GenMFrmARM = std::make_unique<TGenMFrmARM>(std::move(startup));
  AboutForm = std::make_unique<TAboutForm>();
  const QString title = QApplication::applicationName();
  GenMFrmARM->setWindowTitle(title);
  AboutForm->LabelTilA->setText(title);
  FormOfsAddr = std::make_unique<TFormOfsAddr>(GenMFrmARM.get());
  ConfigSNForm = std::make_unique<TConfigSNForm>(GenMFrmARM.get());
  LogCfgForm = std::make_unique<TLogCfgForm>(GenMFrmARM.get());
  GenMFrmARM->SetForms(AboutForm.get(), LogCfgForm.get(), FormOfsAddr.get(), ConfigSNForm.get());
}

TStartupForms::~TStartupForms() = default;

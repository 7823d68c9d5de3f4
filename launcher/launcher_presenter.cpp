#include "launcher/launcher_presenter.h"

#include "handoff/handoff.h"
#include "platform/link_error.h"
#include "link/command_failure.h"
#include "link/read_patient_fields.h"

namespace corvane {

ClickRow ChooseClickRow(int button, int shift, const std::wstring& showScreenFlag) {
  if (button == mouse::kRight && shift == mouse::kCtrl) return ClickRow::AskTest;
  if (button == mouse::kRight && shift == 0) return ClickRow::AskQuit;
  if (shift == mouse::kCtrl) return ClickRow::Configure;
  if (shift == mouse::kShift) return ClickRow::ShowFields;
  if (shift == 0 && showScreenFlag == L"1") return ClickRow::ShowAndLaunch;
  return ClickRow::Launch;
}

LauncherPresenter::LauncherPresenter(SharedState& state, const LinkPaths& paths, Platform& platform, LauncherView& view,
                                     ScreenHost& screen)
    : state_(state), paths_(paths), platform_(platform), view_(view), screen_(screen) {}

void LauncherPresenter::OnLoad() {
  state_.screenMode = ScreenMode::Normal;
  view_.BringToTop();
}

void LauncherPresenter::OnActivate() {
  // A command of its own: a press made while it reads a slow practice program is dropped.
  const CommandGate::Command command = state_.commands.Admit({}, platform_.clock);
  if (!command) return;
  // No click was made: a practice program that is busy or changing patient is read again at
  // the next click, which says so then. Settings files that cannot be read are an installation
  // to repair, said at once.
  RunShowingFailure(platform_.messages, [this] {
    try {
      ReadPatientFields(state_, paths_, platform_);
    } catch (const LinkError&) {
      if (state_.settingsLoadFailed) throw;
    }
  });
  screen_.RefreshFields();
}

bool LauncherPresenter::Harvest() {
  const bool read = HarvestAndReport(state_, paths_, platform_);
  // A harvest that stopped half-way may have stored some fields: the screen shows them too.
  screen_.RefreshFields();
  return read;
}

void LauncherPresenter::ShowScreen(ScreenMode mode) {
  state_.screenMode = mode;
  view_.Hide();
  screen_.ShowScreen();
}

void LauncherPresenter::OnMouseDown(int button, int shift, const Press& press) {
  const CommandGate::Command command = state_.commands.Admit(press, platform_.clock);
  if (!command) return;
  // No failure ends the program: whatever a command could not finish is reported and the
  // launcher waits for the next click.
  RunShowingFailure(platform_.messages, [&] { Dispatch(button, shift); });
}

void LauncherPresenter::Dispatch(int button, int shift) {
  // The questions come before any harvest: answering No must leave everything as it was.
  ClickRow row = ChooseClickRow(button, shift, state_.settings.Entry(kEntryShowScreenFlag));
  if (row == ClickRow::AskTest) {
    if (platform_.messages.AskYesNo(kTestQuestion)) DiagnoseVisiodentTitle(state_, platform_);
    return;
  }
  if (row == ClickRow::AskQuit) {
    OnCloseRequest();
    return;
  }
  // Configuration is how a practice gets out of a failing harvest (no settings files yet, a
  // practice program that does not answer): the failure is reported, then the screen opens
  // on the entries as they stand. Every other command is abandoned.
  if (!Harvest()) {
    if (row != ClickRow::Configure) return;
    if (state_.settingsLoadFailed) StartFromRecoveredSettings();
  }
  // Entry 15 counts as the file holds it at the click, so the row is chosen again now that
  // the harvest has reloaded the settings (the questions, Ctrl and Shift do not depend on it).
  row = ChooseClickRow(button, shift, state_.settings.Entry(kEntryShowScreenFlag));
  switch (row) {
    case ClickRow::Configure:
      ShowScreen(ScreenMode::Configuration);
      break;
    case ClickRow::ShowFields:
      ShowScreen(ScreenMode::Normal);
      break;
    case ClickRow::ShowAndLaunch:
      ShowScreen(ScreenMode::Normal);
      LaunchSidexis(state_, paths_, platform_);
      break;
    case ClickRow::Launch:
      state_.screenMode = ScreenMode::Normal;
      LaunchSidexis(state_, paths_, platform_);
      break;
    case ClickRow::AskTest:
    case ClickRow::AskQuit:
      break;
  }
}

void LauncherPresenter::StartFromRecoveredSettings() {
  const RecoveredSettings recovered =
      RecoverLinkSettings(paths_.settings, platform_.files, platform_.text, state_.lastLoaded);
  state_.settings = recovered.settings;
  const std::wstring notice = RecoveryNotice(recovered, paths_.settings);
  if (!notice.empty()) platform_.messages.Inform(notice);
}

void LauncherPresenter::OnCloseRequest() {
  if (platform_.messages.AskYesNo(kQuitQuestion, kQuitTitle)) view_.Quit();
}

void LauncherPresenter::OnHelp() {
  platform_.messages.Inform(kHelpText, kLinkName);
}

}  // namespace corvane

#include "settings/screen/screen_presenter.h"

#include "handoff/handoff.h"
#include "link/command_failure.h"
#include "link/read_patient_fields.h"
#include "settings/link_settings.h"

namespace corvane {

ScreenPresenter::ScreenPresenter(SharedState& state, const LinkPaths& paths, Platform& platform, ScreenView& view,
                                 ScreenExit& exit)
    : state_(state), paths_(paths), platform_(platform), view_(view), exit_(exit) {}

void ScreenPresenter::ShowScreen() {
  view_.Show();
}

bool ScreenPresenter::ConfigurationMode() const {
  return state_.screenMode == ScreenMode::Configuration;
}

void ScreenPresenter::OnActivate() {
  view_.BringToTop();
  LinkSettings& settings = state_.settings;
  // The box is ticked only by exactly "1", the same test the launcher makes before it
  // presents the screen, so the box always says what a plain click will do. Any other value
  // (empty, " 1", "01", "2") unticks it and is then stored as "0".
  OnCheckBox(settings.Entry(kEntryShowScreenFlag) == L"1");

  const bool configuration = ConfigurationMode();
  view_.ShowConfigurationControls(configuration);
  view_.SetButtonCaption(configuration ? kValidateCaption : kLaunchCaption);
  view_.UseFinderIconAsDragCursor();
}

void ScreenPresenter::OnButton(const Press& press) {
  const CommandGate::Command command = state_.commands.Admit(press, platform_.clock);
  if (!command) return;
  if (!ConfigurationMode()) {
    // The same step as the launcher's: a harvest that stopped half-way is shown too, and
    // nothing is handed off after it.
    const bool read = HarvestAndReport(state_, paths_, platform_);
    RefreshFields();
    if (!read) return;
    // The user pressed for the patient the screen showed: another one now in the practice
    // program is shown, not handed off.
    if (state_.patient.FoundAnotherPatient()) {
      platform_.messages.Inform(kOtherPatientShown);
      return;
    }
    RunShowingFailure(platform_.messages, [this] { LaunchSidexis(state_, paths_, platform_); });
    return;
  }
  const auto save = [this] { SaveLinkSettings(state_.settings, paths_.settings, platform_.files, platform_.text); };
  if (!RunShowingFailure(platform_.messages, save)) return;
  state_.finder.drops = {};
  ReturnToLauncher();
}

void ScreenPresenter::OnCheckBox(bool ticked) {
  if (ticked != checkBoxTicked_) view_.SetCheckBox(ticked);
  checkBoxTicked_ = ticked;
  state_.settings.SetEntry(kEntryShowScreenFlag, ticked ? L"1" : L"0");
}

void ScreenPresenter::OnReset(const Press& press) {
  const CommandGate::Command command = state_.commands.Admit(press, platform_.clock);
  if (!command) return;
  if (!platform_.messages.AskYesNo(kResetQuestion, kResetTitle)) return;
  ApplyResetValues(state_.settings);
  // Nothing captured before the reset shapes what is dropped after it.
  state_.finder.capturedPracticeClass.clear();
  state_.finder.drops = {};
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    const Field field = FieldOfEntry(entry);
    state_.patient.Clear(field);
    view_.SetFieldText(field, L"");
  }
  // The table holds the reset values but the files may not: on a failure the screen stays, so
  // that the user sees it and may try again; the next harvest reloads the files anyway.
  if (!RunShowingFailure(platform_.messages, [this] {
        SaveLinkSettings(state_.settings, paths_.settings, platform_.files, platform_.text);
      })) {
    return;
  }
  ReturnToLauncher();
}

void ScreenPresenter::ReturnToLauncher() {
  // This showing of the screen ends: what was typed on it stops counting, before the
  // launcher's activation harvests.
  view_.Hide();
  state_.patient.EndScreenShowing();
  exit_.ShowLauncher();
}

void ScreenPresenter::OnClose() {
  // The window goes first and the record is emptied before the launcher shows: the launcher's
  // activation harvests at once, and that harvest must not be wiped.
  view_.Destroy();
  checkBoxTicked_ = false;
  state_.patient.ClearAll();
  state_.practice.lastTextRead = kNothingReadYet;
  state_.finder.drops = {};
  state_.finder.capturedPracticeClass.clear();
  exit_.ShowLauncher();
}

void ScreenPresenter::OnFieldEdited(Field field, const std::wstring& text) {
  state_.patient.StoreTyped(field, text);
}

void ScreenPresenter::RefreshFields() {
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    const Field field = FieldOfEntry(entry);
    view_.SetFieldText(field, state_.patient.Value(field));
  }
}

}  // namespace corvane

#pragma once
// The behaviour of the screen LienSidexis, apart from its window: what activation, its two
// buttons, its check box and its close box do. The window only tells it what happened.
#include <string>

#include "link/link_state.h"
#include "platform/link_error.h"
#include "platform/platform.h"
#include "reader/patient_record.h"
#include "settings/screen/screen_view.h"

namespace corvane {

// The captions of DemarrerSIDEXIS in each mode.
inline constexpr wchar_t kLaunchCaption[] = L"LANCER";
inline constexpr wchar_t kValidateCaption[] = L"VALIDER";
inline constexpr wchar_t kResetQuestion[] = L"Voulez-vous vraiment supprimer le paramétrage actuel ?";
inline constexpr wchar_t kResetTitle[] = L"Suppression du paramétrage";
inline constexpr wchar_t kOtherPatientShown[] =
    L"Le logiciel de gestion du cabinet affiche maintenant un autre patient : rien n'a été transmis à Sidexis.\n\n"
    L"Vérifiez le patient affiché sur cet écran, puis appuyez de nouveau sur « LANCER ».";

class ScreenPresenter {
 public:
  ScreenPresenter(SharedState& state, const LinkPaths& paths, Platform& platform, ScreenView& view, ScreenExit& exit);

  // The launcher asks for the screen: shown (built first when needed), then activated.
  void ShowScreen();

  // The screen became the active window: on top, check box from entry 15, controls and
  // caption by screen mode, drag cursor.
  void OnActivate();
  // DemarrerSIDEXIS: hands off in launch mode, saves the settings otherwise.
  // Both buttons share the launcher's gate (SharedState::commands): the second press of a double
  // click, or a press made before the last command ended, does nothing.
  void OnButton(const Press& press = {});
  // MontreSurClic is now to be `ticked`: the view shows it, entry 15 follows ("1" or "0").
  void OnCheckBox(bool ticked);
  // RAZ: asks, then resets the settings, empties the fields and saves.
  void OnReset(const Press& press = {});
  // The close box: the launcher comes back, nothing is saved, the screen is destroyed.
  void OnClose();
  // The user typed into a field text box.
  void OnFieldEdited(Field field, const std::wstring& text);
  // The view, when it exists, shows the record's 14 values.
  void RefreshFields();

  bool CheckBoxTicked() const { return checkBoxTicked_; }

 private:
  bool ConfigurationMode() const;
  // Hides the screen and shows the launcher again.
  void ReturnToLauncher();

  SharedState& state_;
  const LinkPaths& paths_;
  Platform& platform_;
  ScreenView& view_;
  ScreenExit& exit_;
  // The check box as the view shows it; unticked when the window is (re)built.
  bool checkBoxTicked_ = false;
};

}  // namespace corvane

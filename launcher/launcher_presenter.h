#pragma once
// The behaviour of the launcher Demarre, apart from its window: start-up, the harvest at each
// activation, the dispatch of a press on the tooth, and the help box.
#include <string>

#include "link/link_state.h"
#include "launcher/launcher_view.h"
#include "platform/platform.h"
#include "launcher/screen_host.h"

namespace corvane {

// Mouse buttons and modifier keys of a press, as the launcher's picture reports them.
namespace mouse {
inline constexpr int kLeft = 1, kRight = 2, kMiddle = 4;
inline constexpr int kShift = 1, kCtrl = 2, kAlt = 4;
}  // namespace mouse

// The rows of the click table, in the order they are tried.
enum class ClickRow {
  AskTest = 1,        // right + Ctrl: the Visiodent title test, after a question
  AskQuit = 2,        // right alone: quit, after a question
  Configure = 3,      // Ctrl: the screen in configuration mode
  ShowFields = 4,     // Shift: the screen in launch mode, nothing started
  ShowAndLaunch = 5,  // no modifier and entry 15 is "1": the screen in launch mode, then hand-off
  Launch = 6,         // anything else: hand-off, the launcher stays
};

// The row a press selects. `shift` is compared whole (Ctrl means Ctrl alone); `showScreenFlag`
// is link settings entry 15 and counts only when it is exactly "1".
ClickRow ChooseClickRow(int button, int shift, const std::wstring& showScreenFlag);

inline constexpr wchar_t kLauncherCaption[] = L"Corvane Link";
inline constexpr wchar_t kTestQuestion[] = L"Voulez-vous lancer cette fonction de test ?";
inline constexpr wchar_t kQuitQuestion[] = L"Voulez-vous fermer 'Corvane Link' ?";
inline constexpr wchar_t kQuitTitle[] = L"Quitter ?";
inline constexpr wchar_t kHelpText[] =
    L"Clic : lance SIDEXIS sur le patient affiché,\rMaj + Clic : ouvre l'écran de lancement,\rCtrl + Clic : ouvre "
    L"l'écran de paramétrage\rClic Droit : ferme l'application.";
inline constexpr wchar_t kHelpTooltip[] =
    L"Clic : lance Sidexis sur le patient affiché, Maj + Clic : ouvre l'écran de lancement, Ctrl + Clic : ouvre "
    L"l'écran de paramétrage, Clic Droit : ferme l'application.";

class LauncherPresenter {
 public:
  LauncherPresenter(SharedState& state, const LinkPaths& paths, Platform& platform, LauncherView& view,
                    ScreenHost& screen);

  // The launcher is loaded, before it is first shown: screen mode "Normal", on top of all.
  void OnLoad();
  // The launcher became the active window of the program (first show, or the screen gave way
  // to it): a harvest, which reports only settings files it cannot load.
  void OnActivate();
  // A mouse button went down on the picture; `button` and `shift` as in namespace mouse.
  // The second press of a double click, or a press made before the last command ended, does nothing.
  void OnMouseDown(int button, int shift, const Press& press = {});
  // The "?" box was clicked.
  void OnHelp();
  // The window's close box or Alt+F4: the same question as a right click, so that nothing
  // but Yes to it ends the program.
  void OnCloseRequest();

 private:
  // Runs ReadPatientFields and shows the screen's fields again. A failure is reported in a
  // box and false returned: the command that asked for the harvest is abandoned, except the
  // configuration, which opens all the same.
  bool Harvest();
  void Dispatch(int button, int shift);
  // The settings files could not be loaded: the configuration starts from the best that can
  // be had of them (said in a box unless it is Tech.txt itself), so that "VALIDER" repairs
  // them instead of saving over them what a failed load left in the table.
  void StartFromRecoveredSettings();
  void ShowScreen(ScreenMode mode);

  SharedState& state_;
  const LinkPaths& paths_;
  Platform& platform_;
  LauncherView& view_;
  ScreenHost& screen_;
};

}  // namespace corvane

#pragma once
// The launcher's window "Corvane Link": the tooth picture Image1 that takes the clicks and
// the "?" box Aide, a humble view that forwards its events to LauncherPresenter.
#include <windows.h>

#include <functional>
#include <utility>

#include "launcher/launcher_presenter.h"
#include "launcher/launcher_view.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window_base.h"

namespace corvane {

inline constexpr wchar_t kLauncherClassName[] = L"CorvaneLinkDemarre";
inline constexpr wchar_t kLauncherImageClassName[] = L"CorvaneLinkImage";
// The object whose owner is the one copy of the link in a Windows session. Named in the session's
// own namespace: another user's session on the same PC (remote desktop) runs a copy of its own.
inline constexpr wchar_t kOneCopyName[] = L"Local\\CorvaneLink.OneCopy";
// The registered message that ends the link at once, without the quit question: the installer
// and the uninstaller post it to every launcher window before they replace or remove the program.
// Nothing is half written when it arrives: messages are only read between commands or while a
// box waits for an answer, and an unanswered question counts as "No".
inline constexpr wchar_t kEndRequestName[] = L"CorvaneLink.Terminer";

// Control identifiers of the launcher (GetDlgItem on LauncherWindow::Window()).
namespace launcher_id {
inline constexpr int kImage1 = 1;
inline constexpr int kAide = 2;
}  // namespace launcher_id

// The launcher's geometry in pixels at 96 dots per inch; scaled to the window's DPI.
namespace launcher_layout {
inline constexpr int kClientLeft = 70, kClientTop = 455, kClientWidth = 69, kClientHeight = 60;
inline constexpr int kImageWidth = 73, kImageHeight = 65;
inline constexpr int kAideLeft = 56, kAideTop = 0, kAideSize = 13;
inline constexpr int kAideFontHundredthsOfPoint = 975;  // 9.75 pt
}  // namespace launcher_layout

// Image1: the tooth stretched over the whole picture. A press on it goes to `onPress` with
// its button (namespace mouse), the message's key flags and whether it is the second press of a
// double click (its class has the double-click style, so that such a press says so).
class LauncherPicture : public WindowBase {
 public:
  using OnPress = std::function<void(int button, WPARAM keys, PressKind kind)>;
  explicit LauncherPicture(OnPress onPress) : onPress_(std::move(onPress)) {}
  ~LauncherPicture() override = default;
  bool Create(HWND parent, HINSTANCE instance);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();

  OnPress onPress_;
  UniqueBitmap tooth_;
};

class LauncherWindow : public LauncherView, public WindowBase {
 public:
  explicit LauncherWindow(HINSTANCE instance);
  ~LauncherWindow() override;
  LauncherWindow(const LauncherWindow&) = delete;
  LauncherWindow& operator=(const LauncherWindow&) = delete;

  // Builds the window, runs the presenter's load (which puts it on top), shows it, and
  // queues its first activation. False when the window could not be built.
  bool Create(LauncherPresenter& presenter);

  bool QuitRequested() const { return quitRequested_; }

  // LauncherView
  // Shows the window; being shown by the program is the launcher's activation, whose harvest
  // runs once the command that showed it has finished (a posted message).
  void Show() override;
  void Hide() override;
  void BringToTop() override;
  // Hides the window and ends the message loop; no command runs after it.
  void Quit() override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool RegisterClasses();
  void CreateControls();
  void CreateTooltip();  // the tooltip of Aide
  void LayOut();
  RECT Frame() const;  // the window rectangle around the client area, at (0, 0)
  void PlaceAtStoredPosition();
  void OnMouseDown(int button, WPARAM keys, PressKind kind);

  HINSTANCE instance_;
  LauncherPresenter* presenter_ = nullptr;
  LauncherPicture image_{[this](int button, WPARAM keys, PressKind kind) { OnMouseDown(button, keys, kind); }};
  HWND aide_ = nullptr;
  HWND tooltip_ = nullptr;
  UINT endRequest_ = 0;  // kEndRequestName's number in this session
  bool quitRequested_ = false;
  UniqueFont aideFont_;
  UniqueBrush aideBrush_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
};

}  // namespace corvane

// Start-up: the Win32 platform, the one shared state, the fixed paths, the launcher and the
// screen, and the message loop. Starting the program loads the launcher and nothing else;
// everything after that follows from its events.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs the types of windows.h
// clang-format on

#include "finder/finder_drag.h"
#include "launcher/launcher_presenter.h"
#include "launcher/launcher_win32.h"
#include "link/fixed_paths.h"
#include "link/link_state.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"
#include "reader/normalise.h"
#include "settings/screen/screen_presenter.h"
#include "settings/screen/screen_win32.h"

namespace {

// The link's files, fixed (link/fixed_paths.h): app/ alone hands them to the core.
corvane::LinkPaths FixedPaths() {
  return corvane::FixedLinkPaths();
}

// The launcher and the screen know nothing of each other; each says what it needs of the
// other, and these connect them.
class ToLauncher : public corvane::ScreenExit {
 public:
  explicit ToLauncher(corvane::LauncherView& launcher) : launcher_(launcher) {}
  void ShowLauncher() override { launcher_.Show(); }

 private:
  corvane::LauncherView& launcher_;
};

class ToScreen : public corvane::ScreenHost {
 public:
  explicit ToScreen(corvane::ScreenPresenter& screen) : screen_(screen) {}
  void ShowScreen() override { screen_.ShowScreen(); }
  void RefreshFields() override { screen_.RefreshFields(); }

 private:
  corvane::ScreenPresenter& screen_;
};

// One copy per Windows session: true when another copy already holds the session's object, after
// bringing its window to the front (the launcher, or the screen that stands in for it). `mark` is
// this copy's hold on the object, which ends with the process however it ends.
bool AnotherCopyRuns(corvane::UniqueKernelHandle& mark) {
  using namespace corvane;
  HANDLE made = CreateMutexW(nullptr, FALSE, kOneCopyName);
  const DWORD error = GetLastError();
  mark.reset(made);
  // Access denied: a copy run under another account in this session made it; it runs all the same.
  if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) return false;
  HWND launcher = nullptr;
  // The running copy may have just started and not built its launcher yet.
  for (int wait = 0; wait < 50 && (launcher = FindWindowW(kLauncherClassName, nullptr)) == nullptr; ++wait) Sleep(100);
  HWND shown = launcher;
  if (!IsWindowVisible(shown)) shown = FindWindowW(kScreenClassName, nullptr);
  if (shown != nullptr && IsWindowVisible(shown)) BringToTop(shown);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace corvane;
  UniqueKernelHandle oneCopy;
  if (AnotherCopyRuns(oneCopy)) return 0;
  // The manifest asks for per-monitor awareness; this covers a copy run without it.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  Win32Platform real;
  Platform& platform = real.platform;

  SharedState state;
  const LinkPaths paths = FixedPaths();

  LauncherWindow launcher(instance);
  ScreenWindow screen(instance);
  ToLauncher toLauncher(launcher);
  ScreenPresenter screenPresenter(state, paths, platform, screen, toLauncher);
  screen.Attach(screenPresenter);
  // The one finder drag: the screen's window reports the presses on its finder boxes and does
  // what the drag tells it; the drag works on the state's settings, practice window and finder
  // values, and previews a field under the harvest's rules.
  FinderDrag finder(screen, real.windows, real.accessibility, real.gdi, real.text, &NormaliseField, state.settings,
                    state.practice, state.finder);
  screen.AttachFinder(finder, real.messages);
  ToScreen toScreen(screenPresenter);
  LauncherPresenter presenter(state, paths, platform, launcher, toScreen);
  if (!launcher.Create(presenter)) {
    real.messages.Inform(L"La fenêtre de Corvane Link n'a pas pu être créée.", kLinkName);
    return 1;
  }
  // A box belongs to the window the user is looking at, the screen when it shows, else the
  // launcher: that window is disabled while the box is up, so no click can start a second
  // command in the middle of the first.
  real.messages.SetOwner([&screen, &launcher] {
    HWND screenWindow = screen.Window();
    return screenWindow != nullptr && IsWindowVisible(screenWindow) ? screenWindow : launcher.Window();
  });

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The screen is modeless: Tab and the arrow keys move between its controls only when its
    // messages go through IsDialogMessage.
    HWND screenWindow = screen.Window();
    if (screenWindow != nullptr && IsDialogMessageW(screenWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

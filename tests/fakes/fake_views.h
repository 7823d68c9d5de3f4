#pragma once
// A launcher window and a screen host that only note what they were told, in one shared
// journal so that a test sees the order of the calls across both.
#include <functional>
#include <string>
#include <vector>

#include "launcher/launcher_view.h"
#include "launcher/screen_host.h"
#include "link/link_state.h"
#include "settings/screen/screen_view.h"

namespace corvane::fakes {

using Journal = std::vector<std::wstring>;

// The launcher window: counts its calls, notes them in the journal when it has one, and runs
// `onShow` at each Show, as the launcher's activation would.
class LauncherSpy : public LauncherView, public ScreenExit {
 public:
  LauncherSpy() = default;
  explicit LauncherSpy(Journal& journal) : journal_(&journal) {}
  int shown = 0, hidden = 0, broughtToTop = 0, quit = 0;
  bool visible = true;
  std::function<void()> onShow;
  void Show() override {
    Note(L"launcher.Show", shown, visible = true);
    if (onShow) onShow();
  }
  void Hide() override { Note(L"launcher.Hide", hidden, visible = false); }
  void BringToTop() override { Note(L"launcher.BringToTop", broughtToTop, visible); }
  void Quit() override { Note(L"launcher.Quit", quit, visible); }
  void ShowLauncher() override { Show(); }

 private:
  void Note(const wchar_t* call, int& count, bool) {
    ++count;
    if (journal_ != nullptr) journal_->push_back(call);
  }
  Journal* journal_ = nullptr;
};

// Notes "screen.Show(<screen mode at that moment>)" and "screen.Refresh".
class FakeScreenHost : public ScreenHost {
 public:
  FakeScreenHost(Journal& journal, const SharedState& state) : journal_(journal), state_(state) {}
  bool shown = false;
  void ShowScreen() override {
    shown = true;
    journal_.push_back(state_.screenMode == ScreenMode::Ctrl ? L"screen.Show(Ctrl)" : L"screen.Show(Normal)");
  }
  void RefreshFields() override { journal_.push_back(L"screen.Refresh"); }

 private:
  Journal& journal_;
  const SharedState& state_;
};

}  // namespace corvane::fakes

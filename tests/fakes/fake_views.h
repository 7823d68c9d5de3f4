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

// The launcher window: counts its shows, notes its calls in the journal when it has one, and runs
// `onShow` at each Show, as the launcher's activation would.
class LauncherSpy : public LauncherView, public ScreenExit {
 public:
  LauncherSpy() = default;
  explicit LauncherSpy(Journal& journal) : journal_(&journal) {}
  int shown = 0;
  bool visible = true;
  std::function<void()> onShow;
  void Show() override {
    Note(L"launcher.Show"), ++shown, visible = true;
    if (onShow) onShow();
  }
  void Hide() override { Note(L"launcher.Hide"), visible = false; }
  void BringToTop() override { Note(L"launcher.BringToTop"); }
  void Quit() override { Note(L"launcher.Quit"); }
  void ShowLauncher() override { Show(); }

 private:
  void Note(const wchar_t* call) {
    if (journal_ != nullptr) journal_->push_back(call);
  }
  Journal* journal_ = nullptr;
};

// Notes "screen.Show(<screen mode at that moment>)" and "screen.Refresh".
class FakeScreenHost : public ScreenHost {
 public:
  FakeScreenHost(Journal& journal, const SharedState& state) : journal_(journal), state_(state) {}
  void ShowScreen() override {
    journal_.push_back(state_.screenMode == ScreenMode::Ctrl ? L"screen.Show(Ctrl)" : L"screen.Show(Normal)");
  }
  void RefreshFields() override { journal_.push_back(L"screen.Refresh"); }

 private:
  Journal& journal_;
  const SharedState& state_;
};

}  // namespace corvane::fakes

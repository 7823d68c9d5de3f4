#pragma once
// A launcher window and a screen that only note what they were told, in one shared journal
// so that a test sees the order of the calls across both.
#include <string>
#include <vector>

#include "link/link_state.h"
#include "launcher/launcher_view.h"
#include "launcher/screen_host.h"

namespace corvane::fakes {

using Journal = std::vector<std::wstring>;

class FakeLauncherView : public LauncherView {
 public:
  explicit FakeLauncherView(Journal& journal) : journal_(journal) {}
  bool visible = true;
  bool quit = false;
  void Show() override {
    visible = true;
    journal_.push_back(L"launcher.Show");
  }
  void Hide() override {
    visible = false;
    journal_.push_back(L"launcher.Hide");
  }
  void BringToTop() override { journal_.push_back(L"launcher.BringToTop"); }
  void Quit() override {
    quit = true;
    journal_.push_back(L"launcher.Quit");
  }

 private:
  Journal& journal_;
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

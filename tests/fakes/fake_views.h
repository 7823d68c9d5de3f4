#pragma once
// A launcher window and a screen host that only note what they were told, in one shared
// journal so that a test sees the order of the calls across both; a screen window that only
// remembers what it was told, and is brought to the top only as often as the test expects.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "launcher/launcher_view.h"
#include "launcher/screen_host.h"
#include "link/link_state.h"
#include "settings/screen/screen_view.h"

namespace corvane::fakes {

using Journal = std::vector<std::wstring>;

// The launcher window: counts its shows, notes its calls in the journal, and runs `onShow` at
// each Show, as the launcher's activation would.
class LauncherSpy : public LauncherView, public ScreenExit {
 public:
  explicit LauncherSpy(Journal& journal) : journal_(journal) {}
  int shown = 0;
  bool visible = true;
  std::function<void()> onShow;
  void Show() override {
    journal_.push_back(L"launcher.Show"), ++shown, visible = true;
    if (onShow) onShow();
  }
  void Hide() override { journal_.push_back(L"launcher.Hide"), visible = false; }
  void BringToTop() override { journal_.push_back(L"launcher.BringToTop"); }
  void Quit() override { journal_.push_back(L"launcher.Quit"); }
  void ShowLauncher() override { Show(); }

 private:
  Journal& journal_;
};

// Notes "screen.Show(<screen mode at that moment>)" and "screen.Refresh".
class FakeScreenHost : public ScreenHost {
 public:
  FakeScreenHost(Journal& journal, const SharedState& state) : journal_(journal), state_(state) {}
  void ShowScreen() override {
    journal_.push_back(state_.screenMode == ScreenMode::Configuration ? L"screen.Show(Configuration)"
                                                                      : L"screen.Show(Normal)");
  }
  void RefreshFields() override { journal_.push_back(L"screen.Refresh"); }

 private:
  Journal& journal_;
  const SharedState& state_;
};

class FakeScreenView : public ScreenView {
 public:
  ~FakeScreenView() override { EXPECT_EQ(bringsToTopExpected, 0) << "brings to the top expected that never came"; }
  bool built = true;  // false after Destroy
  bool visible = false, checkBox = false, configurationControls = false, dragCursorIsFinderIcon = false;
  int bringsToTopExpected = 0;  // each one beyond these fails the test
  std::wstring caption;
  std::array<std::wstring, kFieldCount> fields;  // by entry number - 1

  const std::wstring& Field(corvane::Field field) const { return fields[EntryOf(field) - 1]; }

  void Show() override { built = visible = true; }
  void Hide() override { visible = false; }
  void BringToTop() override {
    if (bringsToTopExpected == 0) ADD_FAILURE() << "brought to the top when the test expected it no more";
    else --bringsToTopExpected;
  }
  void SetFieldText(corvane::Field field, const std::wstring& text) override { fields[EntryOf(field) - 1] = text; }
  void SetCheckBox(bool ticked) override { checkBox = ticked; }
  void ShowConfigurationControls(bool shown) override { configurationControls = shown; }
  void SetButtonCaption(const std::wstring& text) override { caption = text; }
  void UseFinderIconAsDragCursor() override { dragCursorIsFinderIcon = true; }
  void Destroy() override {  // built again from nothing
    const int expected = std::exchange(bringsToTopExpected, 0);
    *this = FakeScreenView();
    built = false, bringsToTopExpected = expected;
  }
};

}  // namespace corvane::fakes

#pragma once
// A screen window that only remembers what it was told, and a launcher that counts its calls
// (named apart from the launcher's own fakes, which live in the same library).
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "launcher/launcher_view.h"
#include "settings/screen/screen_presenter.h"

namespace corvane::fakes {

class FakeScreenView : public ScreenView {
 public:
  bool built = true;  // false after Destroy
  bool visible = false;
  int bringToTopCount = 0;
  bool checkBox = false;
  int checkBoxSets = 0;
  bool configurationControls = false;
  std::wstring caption;
  bool dragCursorIsFinderIcon = false;
  std::array<std::wstring, 14> fields;  // by entry number - 1
  std::vector<std::wstring> calls;      // every call, in order, by name

  const std::wstring& Field(corvane::Field field) const { return fields[static_cast<std::size_t>(EntryOf(field) - 1)]; }

  void Show() override;
  void Hide() override;
  void BringToTop() override;
  void SetFieldText(corvane::Field field, const std::wstring& text) override;
  void SetCheckBox(bool ticked) override;
  void ShowConfigurationControls(bool shown) override;
  void SetButtonCaption(const std::wstring& text) override;
  void UseFinderIconAsDragCursor() override;
  void Destroy() override;
};

class LauncherSpy : public LauncherView {
 public:
  int shown = 0;
  int hidden = 0;
  int broughtToTop = 0;
  int quit = 0;
  std::function<void()> onShow;  // runs at each Show, as the launcher's activation would
  void Show() override {
    ++shown;
    if (onShow) onShow();
  }
  void Hide() override { ++hidden; }
  void BringToTop() override { ++broughtToTop; }
  void Quit() override { ++quit; }
};

}  // namespace corvane::fakes

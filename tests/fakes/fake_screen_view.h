#pragma once
// A screen window that only remembers what it was told (the launcher's fake is in fake_views.h).
#include <array>
#include <string>

#include "settings/screen/screen_view.h"
#include "tests/fakes/fake_views.h"

namespace corvane::fakes {

class FakeScreenView : public ScreenView {
 public:
  bool built = true;  // false after Destroy
  bool visible = false, checkBox = false, configurationControls = false, dragCursorIsFinderIcon = false;
  std::wstring caption;
  std::array<std::wstring, kFieldCount> fields;  // by entry number - 1

  const std::wstring& Field(corvane::Field field) const { return fields[static_cast<std::size_t>(EntryOf(field) - 1)]; }

  void Show() override { built = visible = true; }
  void Hide() override { visible = false; }
  void BringToTop() override {}
  void SetFieldText(corvane::Field field, const std::wstring& text) override {
    fields[static_cast<std::size_t>(EntryOf(field) - 1)] = text;
  }
  void SetCheckBox(bool ticked) override { checkBox = ticked; }
  void ShowConfigurationControls(bool shown) override { configurationControls = shown; }
  void SetButtonCaption(const std::wstring& text) override { caption = text; }
  void UseFinderIconAsDragCursor() override { dragCursorIsFinderIcon = true; }
  void Destroy() override {  // built again from its design time
    *this = FakeScreenView();
    built = false;
  }
};

}  // namespace corvane::fakes

#pragma once
// A screen window that only remembers what it was told (the launcher's fake, which the
// screen's tests use too, is in fake_views.h).
#include <array>
#include <string>
#include <vector>

#include "settings/screen/screen_view.h"
#include "tests/fakes/fake_views.h"

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

}  // namespace corvane::fakes

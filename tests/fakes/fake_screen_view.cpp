#include "tests/fakes/fake_screen_view.h"

namespace corvane::fakes {

void FakeScreenView::Show() {
  calls.push_back(L"Show");
  built = true;
  visible = true;
}

void FakeScreenView::Hide() {
  calls.push_back(L"Hide");
  visible = false;
}

void FakeScreenView::BringToTop() {
  calls.push_back(L"BringToTop");
  ++bringToTopCount;
}

void FakeScreenView::SetFieldText(corvane::Field field, const std::wstring& text) {
  calls.push_back(L"SetFieldText");
  fields[static_cast<std::size_t>(EntryOf(field) - 1)] = text;
}

void FakeScreenView::SetCheckBox(bool ticked) {
  calls.push_back(L"SetCheckBox");
  checkBox = ticked;
  ++checkBoxSets;
}

void FakeScreenView::ShowConfigurationControls(bool shown) {
  calls.push_back(L"ShowConfigurationControls");
  configurationControls = shown;
}

void FakeScreenView::SetButtonCaption(const std::wstring& text) {
  calls.push_back(L"SetButtonCaption");
  caption = text;
}

void FakeScreenView::UseFinderIconAsDragCursor() {
  calls.push_back(L"UseFinderIconAsDragCursor");
  dragCursorIsFinderIcon = true;
}

void FakeScreenView::Destroy() {
  // A window built again starts from its design time; the history of calls stays.
  std::vector<std::wstring> history = std::move(calls);
  *this = FakeScreenView{};
  calls = std::move(history);
  calls.push_back(L"Destroy");
  built = false;
}

}  // namespace corvane::fakes

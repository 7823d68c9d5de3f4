// Control identities: the control id outside WinDev, the Edit ordinal inside it, and the
// one-pass counter of the harvest giving the same ordinals as the count from the start.
#include "link/link_state.h"
#include "finder/control_identity.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/fakes/fake_desktop.h"

namespace corvane {
namespace {

using fakes::FakeDesktop;

class ControlIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override { state_.practice.handle = desktop_.AddTopLevel("WinDevObject", "Patients"); }
  WindowHandle Add(const std::string& className, std::int32_t id = 0) {
    return desktop_.AddChild(state_.practice.handle, className, id);
  }
  std::wstring WinDevIdentity(WindowHandle window) {
    state_.patient.application = kWinDevApplication;
    return Identity(window);
  }

  // As the finder takes it: the form from the captured class, the ordinal below the practice window.
  std::wstring Identity(WindowHandle window) {
    return ControlIdentityOf(window, IdentityFormOf(state_.patient.application), state_.practice.handle, desktop_);
  }

  FakeDesktop desktop_;
  SharedState state_;
};

TEST_F(ControlIdentityTest, OutsideWinDevTheIdentityIsTheControlId) {
  const WindowHandle edit = Add("Edit", 1001);
  const WindowHandle negative = Add("Edit", -5);
  const WindowHandle label = Add("Static", 0);
  for (const std::wstring application : {L"", L"JULIE", L"WinDevObject ", L"windevobject", L"WinDevObjec"}) {
    state_.patient.application = application;
    EXPECT_EQ(Identity(edit), L"1001");
    EXPECT_EQ(Identity(negative), L"-5");
    EXPECT_EQ(Identity(label), L"0");
    EXPECT_EQ(Identity(WindowHandle()), L"0");
  }
  EXPECT_EQ(desktop_.counts.enumerations, 0) << "no Edit ordinal is counted outside WinDev";
}

TEST_F(ControlIdentityTest, EditOrdinalsCountOnlyClassesBeginningWithEdit) {
  const WindowHandle panel = Add("Panel");
  const WindowHandle first = desktop_.AddChild(panel, "Edit", 50);
  Add("RichEdit20A");
  Add("edit");
  Add("EDIT");
  Add("Edi");
  const WindowHandle longer = Add("EditXYZ", 60);
  const WindowHandle spaced = Add(" Edit ");
  const WindowHandle label = Add("Static", 7);
  const WindowHandle last = Add("Edit");
  const WindowHandle after = Add("Edit");

  const std::pair<WindowHandle, const wchar_t*> expected[] = {
      {first, L"1"}, {longer, L"2"}, {spaced, L"3"},
      {last, L"4"},  {after, L"5"},  {label, L"0"},  // no Edit window: no ordinal, never the previous one
  };
  for (const auto& [window, ordinal] : expected)
    EXPECT_EQ(WinDevIdentity(window), ordinal) << desktop_.At(window).className;

  // The walk stops at the target: the window after it is never looked at.
  desktop_.counts = {};
  WinDevIdentity(last);
  EXPECT_EQ(desktop_.counts.visited, 10);

  desktop_.ReverseChildren(state_.practice.handle);
  EXPECT_EQ(WinDevIdentity(after), L"1");
  EXPECT_EQ(WinDevIdentity(first), L"5");

  // Counted below the practice window only: a control of another window is not met.
  const WindowHandle otherTop = desktop_.AddTopLevel("WinDevObject", "Autre");
  desktop_.AddChild(otherTop, "Edit");
  state_.practice.handle = otherTop;
  EXPECT_EQ(WinDevIdentity(last), L"0");
}

TEST_F(ControlIdentityTest, OrdinalsGoOnPastThe255thEditWindowInTheHarvestAndTheFinder) {
  std::vector<WindowHandle> edits;
  for (int i = 0; i < 300; ++i) edits.push_back(Add(i % 2 ? "Edit" : "EditBox"));
  EditOrdinalCounter counter;
  for (std::size_t i = 0; i < edits.size(); ++i) {
    const int ordinal = static_cast<int>(i + 1);  // an 8-bit counter would wrap to 0 then 1
    EXPECT_EQ(counter.Next(desktop_.ClassName(edits[i])), ordinal) << i;
    if (i % 50 == 0 || (i >= 254 && i <= 257)) {
      EXPECT_EQ(WinDevIdentity(edits[i]), std::to_wstring(ordinal)) << i;
    }
  }
}

// A WinDev-like window: panels in panels, labels, buttons, edit fields of several classes.
void BuildForm(FakeDesktop& desktop, WindowHandle parent, std::mt19937& random, int depth, int& budget) {
  static const char* const kClasses[] = {"Edit",   "EditMasked", " Edit",    "RichEdit20A", "Static",
                                         "Button", "edit",       "ComboBox", "Edit",        "WinDevPanel"};
  while (budget > 0) {
    const char* className = kClasses[random() % std::size(kClasses)];
    const WindowHandle child = desktop.AddChild(parent, className, static_cast<std::int32_t>(random() % 50));
    --budget;
    if (depth < 4 && random() % 4 == 0) BuildForm(desktop, child, random, depth + 1, budget);
    if (random() % 6 == 0) return;
  }
}

std::vector<WindowHandle> Walk(FakeDesktop& desktop, WindowHandle parent) {
  std::vector<WindowHandle> walk;
  desktop.EnumerateDescendants(parent, [&](WindowHandle window) {
    walk.push_back(window);
    return true;
  });
  return walk;
}

TEST(EditOrdinalCounterTest, OnePassGivesTheOrdinalsOfTheCountFromTheStart) {
  for (const unsigned seed : {1u, 2u, 3u, 42u, 2027u}) {
    FakeDesktop desktop;
    SharedState state;
    state.patient.application = kWinDevApplication;
    state.practice.handle = desktop.AddTopLevel("WinDevObject", "Dossier");
    desktop.AddTopLevel("Other", "");  // outside the practice window: never counted
    std::mt19937 random(seed);
    int budget = 300;
    while (budget > 0) BuildForm(desktop, state.practice.handle, random, 0, budget);
    const std::vector<WindowHandle> built = Walk(desktop, state.practice.handle);
    desktop.ShuffleChildren(state.practice.handle, seed * 7919);
    const std::vector<WindowHandle> walk = Walk(desktop, state.practice.handle);
    ASSERT_EQ(walk.size(), 300u);
    ASSERT_NE(walk, built) << "the enumeration order should have changed";

    EditOrdinalCounter counter;
    int edits = 0;
    for (const WindowHandle window : walk) {
      const std::int16_t ordinal = counter.Next(desktop.ClassName(window));
      if (ordinal == 0) continue;
      ++edits;
      EXPECT_EQ(EditOrdinalOf(window, state.practice.handle, desktop), ordinal) << "seed " << seed;
    }
    EXPECT_GT(edits, 60) << "seed " << seed << ": the tree should hold many Edit windows";
  }
}

}  // namespace
}  // namespace corvane

// The fake desktop must answer as USER32 does, or the finder and harvest tests prove nothing.
#include "tests/fakes/fake_desktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace corvane::fakes {
namespace {

std::vector<WindowHandle> Walk(FakeDesktop& desktop, WindowHandle parent, std::size_t stopAfter = 1000) {
  std::vector<WindowHandle> seen;
  desktop.EnumerateDescendants(parent, [&](WindowHandle window) {
    seen.push_back(window);
    return seen.size() < stopAfter;
  });
  return seen;
}

TEST(FakeDesktopTest, EnumeratesDepthFirstStopsOnRequestAndSkipsDestroyedWindows) {
  FakeDesktop desktop;
  const WindowHandle top = desktop.AddTopLevel("Main", "Dossier");
  EXPECT_EQ(top.value, 0x100u);
  const WindowHandle a = desktop.AddChild(top, "Panel");
  const WindowHandle a1 = desktop.AddChild(a, "Edit", 10);
  const WindowHandle a2 = desktop.AddChild(a, "Edit", 11);
  const WindowHandle b = desktop.AddChild(top, "Edit", 12);
  const WindowHandle other = desktop.AddTopLevel("Other", "");
  const WindowHandle otherChild = desktop.AddChild(other, "Static");

  EXPECT_EQ(Walk(desktop, top), (std::vector{a, a1, a2, b}));
  EXPECT_EQ(Walk(desktop, WindowHandle()), (std::vector{top, a, a1, a2, b, other, otherChild}));
  EXPECT_EQ(Walk(desktop, top, 2), (std::vector{a, a1}));
  EXPECT_EQ(desktop.counts.enumerations, 3);
  EXPECT_EQ(desktop.counts.visited, 4 + 7 + 2);

  desktop.ReverseChildren(top);
  EXPECT_EQ(Walk(desktop, top), (std::vector{b, a, a1, a2}));

  desktop.Destroy(a);
  EXPECT_EQ(Walk(desktop, top), (std::vector{b}));
  EXPECT_FALSE(desktop.IsWindow(a1));
  EXPECT_EQ(desktop.ControlId(a1), 0);
  EXPECT_EQ(desktop.ReadText(a1).status, TextRead::Status::NotAWindow);
  EXPECT_EQ(desktop.ClassName(a1), "");
  EXPECT_EQ(desktop.At(a1).className, "Edit");  // still known, no longer a window
  EXPECT_THROW(desktop.At(WindowHandle(0x9999)), std::out_of_range);
}

TEST(FakeDesktopTest, ShuffleIsDeterministicAndKeepsEveryWindow) {
  auto build = [](FakeDesktop& desktop) {
    const WindowHandle top = desktop.AddTopLevel("Main", "");
    for (int i = 0; i < 6; ++i) {
      const WindowHandle panel = desktop.AddChild(top, "Panel");
      for (int j = 0; j < 5; ++j) desktop.AddChild(panel, "Edit", i * 10 + j);
    }
    return top;
  };
  FakeDesktop one, two;
  const WindowHandle topOne = build(one);
  const WindowHandle topTwo = build(two);
  const auto before = Walk(one, topOne);
  one.ShuffleChildren(topOne, 7);
  two.ShuffleChildren(topTwo, 7);
  const auto after = Walk(one, topOne);
  EXPECT_EQ(after, Walk(two, topTwo));
  EXPECT_NE(after, before);
  EXPECT_TRUE(std::is_permutation(after.begin(), after.end(), before.begin(), before.end()));
  // Still depth first: every window comes right after its parent or a sibling's subtree.
  for (std::size_t i = 0; i < after.size(); ++i) {
    const WindowHandle parent = one.At(after[i]).parent;
    if (parent == topOne) continue;
    const auto parentAt = std::find(after.begin(), after.end(), parent) - after.begin();
    EXPECT_LT(static_cast<std::size_t>(parentAt), i);
    EXPECT_LE(i - parentAt, 5u);
  }
}

TEST(FakeDesktopTest, AnswersTheWindowCallsLikeUser32) {
  FakeDesktop desktop;
  const WindowHandle first = desktop.AddTopLevel("Main", "Dossier");
  const WindowHandle second = desktop.AddTopLevel("Main", std::string("Patient\0junk", 12));
  const WindowHandle dialog = desktop.AddTopLevel("#32770", "Fiche");
  desktop.At(dialog).owner = second;
  const WindowHandle edit = desktop.AddChild(dialog, "EditLongClassName", -5);

  EXPECT_EQ(desktop.FindTopLevel("Main", std::nullopt), first);
  EXPECT_EQ(desktop.FindTopLevel("Main", std::string("Patient\0other", 13)), second);
  EXPECT_EQ(desktop.FindTopLevel("Main", std::string("Absent")), WindowHandle());
  desktop.ReverseChildren(WindowHandle());  // enumeration order does not change FindWindow
  EXPECT_EQ(desktop.FindTopLevel("Main", std::nullopt), first);

  EXPECT_EQ(desktop.ClassName(edit, 5), "Edit");
  EXPECT_EQ(desktop.ControlId(edit), -5);
  EXPECT_EQ(desktop.counts.classNameReads, 1);
  EXPECT_EQ(desktop.counts.controlIdReads, 1);
  EXPECT_EQ(desktop.Ancestor(edit, AncestorKind::Parent), dialog);
  EXPECT_EQ(desktop.Ancestor(dialog, AncestorKind::Parent), WindowHandle());
  EXPECT_EQ(desktop.Ancestor(edit, AncestorKind::Root), dialog);
  EXPECT_EQ(desktop.Ancestor(edit, AncestorKind::RootOwner), second);
  EXPECT_EQ(desktop.Parent(edit), dialog);
  EXPECT_EQ(desktop.Parent(dialog), second);
  EXPECT_EQ(desktop.Parent(first), WindowHandle());
  EXPECT_EQ(desktop.FirstChild(dialog), edit);
  EXPECT_EQ(desktop.Caption(second), "Patient");

  desktop.At(edit).text = std::string(300, 'x');
  TextRead read = desktop.ReadText(edit);
  EXPECT_EQ(read.status, TextRead::Status::Read);
  EXPECT_EQ(read.bytes.size(), 254u);
  desktop.At(edit).text = std::string("Dupont\0Jean", 11);
  EXPECT_EQ(desktop.ReadText(edit).bytes, "Dupont");
  desktop.At(edit).hung = true;
  EXPECT_EQ(desktop.ReadText(edit).status, TextRead::Status::NotAnswering);
  EXPECT_EQ(desktop.counts.textReads, 3);

  desktop.At(dialog).visible = false;
  EXPECT_FALSE(desktop.IsVisible(edit));  // a hidden parent hides its children
}

TEST(FakeDesktopTest, WindowFromPointFindsTheDeepestVisibleWindowOnTop) {
  FakeDesktop desktop;
  const WindowHandle back = desktop.AddTopLevel("Back", "");
  desktop.At(back).rect = {0, 0, 500, 500};
  const WindowHandle front = desktop.AddTopLevel("Front", "");
  desktop.At(front).rect = {100, 100, 300, 300};
  const WindowHandle panel = desktop.AddChild(front, "Panel");
  desktop.At(panel).rect = {100, 100, 200, 200};
  const WindowHandle edit = desktop.AddChild(panel, "Edit");
  desktop.At(edit).rect = {110, 110, 150, 150};
  const WindowHandle overlap = desktop.AddChild(panel, "Static");
  desktop.At(overlap).rect = {140, 140, 180, 180};

  EXPECT_EQ(desktop.WindowFromPoint({50, 50}), back);
  EXPECT_EQ(desktop.WindowFromPoint({120, 120}), edit);
  EXPECT_EQ(desktop.WindowFromPoint({145, 145}), overlap);  // added last, so on top
  EXPECT_EQ(desktop.WindowFromPoint({250, 250}), front);
  desktop.At(overlap).visible = false;
  EXPECT_EQ(desktop.WindowFromPoint({145, 145}), edit);
  desktop.At(front).visible = false;
  EXPECT_EQ(desktop.WindowFromPoint({120, 120}), back);
  EXPECT_EQ(desktop.WindowFromPoint({900, 900}), WindowHandle());
}

}  // namespace
}  // namespace corvane::fakes

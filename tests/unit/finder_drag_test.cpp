// The finder's drag against an in-memory desktop: what is picked under the pointer, where the
// frame lies, what a drop stores, and in which identity form.
#include "finder/finder_drag.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"

namespace corvane {
namespace {

// The test is the screen: it notes what the drag told it, and the frames left at each show.
class FinderDragTest : public ::testing::Test, public FinderView {
 protected:
  FinderDragTest() {
    const WindowHandle behind = desktop.AddTopLevel("Other", "");  // under the practice window
    main = Add(WindowHandle(), "PracticeMain", 0, {0, 0, 1000, 800});
    desktop.At(main).title = "Dossier patient";
    desktop.At(behind).rect = {940, 690, 960, 710};
  }

  WindowHandle Add(WindowHandle parent, const char* className, std::int32_t id, Rect rect, std::string text = {}) {
    const WindowHandle window =
        parent ? desktop.AddChild(parent, className, id, std::move(text)) : desktop.AddTopLevel(className, "");
    desktop.At(window).rect = rect;
    return window;
  }
  // The living windows that carry a frame: an odd number of drawings.
  std::vector<WindowHandle> Framed() const {
    std::map<std::uintptr_t, int> drawn;
    for (const auto& drawing : gdi.drawings) ++drawn[drawing.window.value];
    std::vector<WindowHandle> framed;
    for (const auto& [window, count] : drawn)
      if (count % 2 && desktop.At(WindowHandle(window)).alive) framed.push_back(WindowHandle(window));
    return framed;
  }
  std::wstring DropOn(Field box, Point point) {
    drag.Start(box);
    drag.Move(point);
    drag.Drop();
    return settings.Entry(EntryOf(box));
  }

  void HideScreen() override { journal.push_back(L"hide"); }
  void ShowScreen() override { journal.push_back(L"show, frames " + std::to_wstring(Framed().size())); }
  void EmptyFinderBox(Field box) override { journal.push_back(L"empty " + std::to_wstring(EntryOf(box))); }
  void ShowFinderIcon(Field box) override { journal.push_back(L"icon " + std::to_wstring(EntryOf(box))); }
  void SetDragPointer() override { journal.push_back(L"drag pointer"); }
  void RestorePointer() override { journal.push_back(L"default pointer"); }
  void ShowPreview(Field field, const std::wstring& text) override {
    journal.push_back(L"preview " + std::to_wstring(EntryOf(field)) + L" [" + text + L"]");
  }

  fakes::FakeDesktop desktop;
  fakes::FakeGdi gdi;
  PortableText text;
  LinkSettings settings;
  PatientRecord record;
  PracticeWindow practice;
  FinderState finder;
  FinderDrag drag{*this, desktop, gdi, text, settings, record, practice, finder};
  std::vector<std::wstring> journal;
  WindowHandle main;
};

TEST_F(FinderDragTest, PicksTheSmallestQualifyingWindowAroundThePointedOne) {
  const WindowHandle anchor = Add(main, "Edit", 1, {900, 10, 980, 30});
  const WindowHandle inside = Add(main, "Edit", 1001, {50, 50, 250, 80});
  desktop.At(Add(main, "Edit", 1002, {300, 200, 350, 220})).visible = false;
  const WindowHandle group = Add(main, "Button", 200, {10, 10, 410, 310});  // on top of both
  const WindowHandle strip = Add(main, "Panel", 300, {480, 40, 700, 100});
  const WindowHandle twinA = Add(strip, "Edit", 1003, {500, 50, 600, 80});
  Add(strip, "Edit", 1004, {500, 50, 600, 80});  // on top, but walked first:
  desktop.ReverseChildren(strip);
  Add(main, "Edit", kNeverPickedControlId, {520, 120, 540, 130});
  const WindowHandle box = Add(main, "Static", 400, {500, 110, 600, 140});  // on top of the 27001
  Add(main, "Static", 500, {500, 150, 600, 200});
  Add(main, "Tip", kNeverPickedControlId, {520, 160, 540, 170});  // on top of the larger static
  Add(main, "Internet Explorer_Server2", 0, {600, 300, 900, 600});
  const WindowHandle notBrowser = Add(main, "Internet explorer_Server", 0, {600, 650, 900, 700});

  const struct {
    const char* what;
    Point pointer;
    WindowHandle expected;
  } cases[] = {
      {"a smaller control inside a larger one", {100, 60}, inside},
      {"pointer on the right and bottom edges", {250, 80}, inside},
      {"pointer on the left and top edges", {50, 50}, inside},
      {"an invisible window is never picked", {320, 210}, group},
      {"equal areas: the later in the walk", {550, 60}, twinA},
      {"id 27001 never picked, even the smallest", {530, 125}, box},
      {"never larger than the pointed window", {530, 165}, anchor},
      {"an embedded browser keeps the earlier pick", {700, 400}, anchor},
      {"a browser prefix is case-sensitive", {700, 660}, notBrowser},
      {"nothing under the pointer", {2000, 2000}, anchor},
      {"a top-level: never a window behind it", {950, 700}, main},
  };
  for (const auto& c : cases) {
    drag.Start(Field::Nom);
    drag.Move({950, 20});
    drag.Move(c.pointer);
    EXPECT_EQ(finder.picked, c.expected) << c.what;
    EXPECT_EQ(Framed(), std::vector{c.expected}) << c.what;
    drag.Drop();
    EXPECT_EQ(Framed(), std::vector<WindowHandle>()) << c.what;
  }
}

TEST_F(FinderDragTest, ASecondDragFramesTheFirstPickAgainAndTheDropLeavesNoFrame) {
  const WindowHandle name = Add(main, "Edit", 1001, {50, 50, 250, 80}, "DUPONT");
  const WindowHandle other = Add(main, "Edit", 1002, {50, 90, 250, 120}, "Jean");
  EXPECT_EQ(DropOn(Field::Nom, {100, 60}), L"1001");
  EXPECT_EQ(journal,
            (std::vector<std::wstring>{L"hide", L"drag pointer", L"empty 9", L"preview 9 [ ]", L"preview 9 [DUPONT]",
                                       L"icon 9", L"default pointer", L"show, frames 0"}));
  drag.Move({100, 100});  // no drag: nothing moves
  EXPECT_EQ(finder.picked, name);

  drag.Start(Field::Prenom);
  EXPECT_EQ(Framed(), std::vector{name});
  EXPECT_EQ(journal.back(), L"preview 12 [DUPONT]");
  drag.Move({100, 100});
  EXPECT_EQ(Framed(), std::vector{other});
  drag.Drop();
  EXPECT_EQ((std::tuple{settings.Entry(12), record.temp, journal.back()}),
            (std::tuple{std::wstring(L"1002"), std::wstring(L"Jean"), std::wstring(L"show, frames 0")}));
}

TEST_F(FinderDragTest, NoFrameLeftWhenTheDragEndsOverNothingOrOverAClosedWindow) {
  const WindowHandle name = Add(main, "Edit", 1001, {50, 50, 250, 80}, "DUPONT");
  const WindowHandle closing = Add(main, "Edit", 1002, {50, 90, 250, 120});
  EXPECT_EQ(DropOn(Field::Nom, {2000, 2000}), L"0") << "nothing picked yet in the run";
  EXPECT_EQ(DropOn(Field::Nom, {100, 60}), L"1001");
  drag.Start(Field::Nom);
  drag.Move({2000, 2000});
  drag.Drop();
  EXPECT_EQ(settings.Entry(9), L"1001") << "the earlier pick is kept";

  drag.Start(Field::Prenom);
  drag.Move({100, 100});
  desktop.Destroy(closing);
  drag.Move({2000, 2000});
  drag.Drop();
  EXPECT_EQ((std::pair{settings.Entry(12), journal.back()}),
            (std::pair{std::wstring(L"0"), std::wstring(L"show, frames 0")}));
  EXPECT_EQ(journal[journal.size() - 4], L"preview 12 [ ]");

  // The program stops answering before the drop: the drag ends all the same, nothing stored.
  drag.Start(Field::Ville);
  drag.Move({100, 60});
  desktop.At(name).hung = true;
  EXPECT_THROW(drag.Drop(), LinkError);
  EXPECT_EQ((std::tuple{settings.Entry(14), finder.dragging, journal.back()}),
            (std::tuple{std::wstring(), false, std::wstring(L"show, frames 0")}));
}

TEST_F(FinderDragTest, TheFileNumberDropCapturesTheRootOwnersClassAndTheRootsCaptionWithItsNul) {
  const WindowHandle dialog = Add(WindowHandle(), "#32770", 0, {100, 100, 300, 300});
  desktop.At(dialog).owner = main;
  desktop.At(dialog).title = "Recherche";
  Add(dialog, "Edit", 77, {120, 120, 280, 140}, "12345");

  EXPECT_EQ(DropOn(Field::NumDossier, {150, 130}), L"77");
  EXPECT_EQ((std::tuple{record.application, settings.Entry(16), practice.handle, settings.Entry(17)}),
            (std::tuple{std::wstring(L"PracticeMain"), std::wstring(L"PracticeMain"), dialog,
                        std::wstring(L"Recherche\0", 10)}));
  desktop.At(dialog).title.clear();
  DropOn(Field::NumDossier, {150, 130});
  EXPECT_EQ(settings.Entry(17), std::wstring(1, L'\0'));
}

class WinDevDragTest : public FinderDragTest {
 protected:
  WinDevDragTest() {
    windev = Add(WindowHandle(), "WinDevObject", 0, {1000, 0, 1400, 400});
    for (int i = 0; i < 3; ++i) Add(windev, i == 1 ? "Static" : "Edit", 11 + i, {1010, 10 + 30 * i, 1100, 30 + 30 * i});
  }
  Point Row(int i) const { return {1050, 20 + 30 * i}; }  // Edit 1, the label, Edit 2
  WindowHandle windev;
};

TEST_F(WinDevDragTest, ARedropOnAConfiguredProgramStoresEditOrdinalsAndALabelGetsZero) {
  practice = {L"WinDevObject", L"Patients", L"0", windev};
  EXPECT_EQ(DropOn(Field::Nom, Row(2)), L"2");
  EXPECT_EQ(DropOn(Field::Prenom, Row(1)), L"0");
}

TEST_F(WinDevDragTest, FieldsDroppedBeforeTheFileNumberFollowTheFormItCaptures) {
  ApplyResetValues(settings);
  practice = {L"Notepad", L"Sans titre - Bloc-notes ", L"0", WindowHandle()};
  EXPECT_EQ(DropOn(Field::Nom, Row(2)), L"13");
  EXPECT_EQ(DropOn(Field::Prenom, Row(0)), L"11");
  settings.SetEntry(12, L"100");  // changed since its drop: left alone
  EXPECT_EQ(DropOn(Field::NumDossier, Row(0)), L"1");
  EXPECT_EQ((std::pair{settings.Entry(9), settings.Entry(12)}), (std::pair{std::wstring(L"2"), std::wstring(L"100")}));
}

}  // namespace
}  // namespace corvane

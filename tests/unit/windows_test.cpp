// The practice program's windows: the harvest in its three reading modes, the finder's drag
// and its frame, and the control identities the finder gives, which the harvest reads back.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "finder/finder_drag.h"
#include "practice/highlight.h"
#include "reader/harvest.h"
#include "reader/normalise.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_link.h"
#include "tests/support/window_facts.h"

namespace corvane {
namespace {

using Handles = std::vector<WindowHandle>;
using Texts = std::vector<std::wstring>;

// A desktop, and the screen the finder's drag talks to: the test notes what it was told, and
// how many frames are left when it shows.
class WindowsTest : public ::testing::Test, public FinderView {
 protected:
  void TearDown() override {
    EXPECT_EQ(gdi.Leftovers(), std::vector<std::string>{}) << "each frame gives back what it used";
  }
  WindowHandle Practice(const char* className) {
    practiceClass = PortableText().FromAnsi(className);
    return main = desktop.AddTopLevel(className, "Dossier");
  }
  WindowHandle Add(WindowHandle parent, const char* className, std::int32_t id = 0, std::string text = "",
                   Rect rect = {}) {
    const WindowHandle window =
        parent ? desktop.AddChild(parent, className, id, text) : desktop.AddTopLevel(className, "");
    return desktop.At(window).rect = rect, window;
  }
  // Entry n of the settings is entries[n - 1]; the fields harvested, "|" after each.
  std::wstring Harvest(const std::vector<const wchar_t*>& entries) {
    for (std::size_t n = 0; n < entries.size(); ++n) settings.SetEntry(static_cast<int>(n + 1), entries[n]);
    patient = PatientRecord();
    PracticeWindow harvested{practiceClass, L"Dossier", main};
    sources = HarvestPracticeWindow(harvested, settings, patient, desktop, desktop, PortableText());
    std::wstring fields;
    for (int n = 1; n <= kFieldCount; ++n) fields += patient.Value(FieldOfEntry(n)) + L"|";
    return fields;
  }
  Handles Framed() const {  // the living windows drawn on an odd number of times: those framed
    std::set<std::uintptr_t> drawn;
    for (const auto& drawing : gdi.drawings)
      if (!drawn.erase(drawing.dc.window.value)) drawn.insert(drawing.dc.window.value);
    Handles framed;
    for (const auto value : drawn)
      if (desktop.At(WindowHandle(value)).alive) framed.push_back(WindowHandle(value));
    return framed;
  }
  std::wstring DropOn(Field box, Point point) {
    drag.Start(box), drag.Drop(point);  // a step at the release point first
    return settings.Entry(EntryOf(box));
  }
  void Note(const std::wstring& what, Field box = {}) {
    journal.push_back(what + L" " + std::to_wstring(EntryOf(box)));
  }
  void HideScreen() override { Note(L"hide"); }
  void ShowScreen() override { Note(L"show, frames " + std::to_wstring(Framed().size())); }
  void EmptyFinderBox(Field box) override { Note(L"empty", box); }
  void ShowFinderIcon(Field box) override { Note(L"icon", box); }
  void SetDragPointer() override { Note(L"drag pointer"); }
  void RestorePointer() override { Note(L"default pointer"); }
  void ShowPreview(Field field, const std::wstring& text) override { Note(L"[" + text + L"] in", field); }

  fakes::FakeDesktop desktop;
  fakes::FakeGdi gdi;
  PortableText text;
  LinkSettings settings;
  PatientRecord patient;
  HarvestSources sources;
  PracticeWindow practice;
  FinderState finder;
  FinderDrag drag{*this, desktop, desktop, gdi, text, &NormaliseField, settings, practice, finder};
  Texts journal;
  std::wstring practiceClass;
  const WindowHandle behind = Add({}, "Other", 0, "", {940, 690, 960, 710});  // under the practice window
  WindowHandle main = Add({}, "PracticeMain", 0, "", {0, 0, 1000, 800});
  const WindowHandle name = Add(main, "Edit", 1001, "DUPONT", {50, 50, 250, 80});
};
using HarvestTest = WindowsTest;

struct FakeWindows : facts::WindowBuilder {
  WindowHandle TopLevel(const std::string& className, const std::string& title) override {
    const WindowHandle window = desktop.AddTopLevel(className, title);
    return desktop.At(window).rect = kTop, window;
  }
  WindowHandle Add(WindowHandle parent, const facts::Child& c) override {
    const WindowHandle w = desktop.AddChild(parent, c.className, 0, c.text);
    const Rect& p = desktop.At(parent).rect;
    desktop.At(w).rect = {p.left + c.rect.left, p.top + c.rect.top, p.left + c.rect.right, p.top + c.rect.bottom};
    return desktop.At(w).visible = c.visible, desktop.At(w).enabled = c.enabled, w;
  }
  void Destroy(WindowHandle window) override { desktop.Destroy(window); }
  fakes::FakeDesktop desktop;
};
TEST(WindowFactsTest, TheFakeDesktopAnswersAsUser32) {
  for (const facts::Fact& fact : facts::kWindowFacts) {
    FakeWindows windows;
    EXPECT_EQ(fact.ask(windows, windows.desktop), fact.answer) << fact.what;
  }
}
using FinderTest = WindowsTest;

// Combos are read through their first child; statics and buttons never, whatever their id;
// two entries on one control each get its own rule.
TEST_F(HarvestTest, PlainModeMatchesEntriesAgainstControlIds) {
  Practice("JULIE2"), Add(Add(main, "Panel", 50, "panneau"), "Edit", 1002, "Lef\xE8vre");
  Add(main, "Edit", -5, "01 02");
  const WindowHandle combo = Add(main, "JWCOMBOBOX", 1006, "Liste");
  Add(combo, "EDIT", 1016, "Mme\tMadame"), Add(combo, "EDIT", 1017, "second");
  Add(main, "JWCOMBO", 1007, "sans enfant"), Add(main, "STATIQUE_LABEL", 11, "LIBELLE");
  Add(main, "BOUTON", 12, "OK"), Add(main, "XBOUTON", 14, "lu");  // the class tests are case-sensitive prefixes
  EXPECT_EQ(
      Harvest({L"", L"0", L"1002", L"1006", L"11", L"12", L"", L"14", L"1002", L"1016", L"-5", L"1007", L"14"}),
      L"||Lefèvre|Mme||||lu|LEFÈVRE|Mme\tMadame|0102| |lu||");
  EXPECT_EQ(desktop.counts.textReads, 6) << "only the configured windows are read";
}

TEST_F(HarvestTest, JulieReadsOnlyControlsWhoseDirectParentIsATabPageOrADialog) {
  Practice("JULIE");
  const WindowHandle page = Add(main, "JWTABPAGE1", 2000);
  Add(page, "Edit", 1001, "00042"), Add(Add(main, "#32770", 2001), "Edit", 1007, "3 rue");
  Add(Add(page, "JWCOMBOBOX", 1006, "Civilit\xE9"), "Edit", 1016, "M.\tMonsieur");  // its parent is the combo
  Add(main, "Edit", 1099, "HORS PAGE"), Add(Add(main, "jwtabpage", 2004), "Edit", 1096, "minuscules");
  Add(page, "STATIQUE", 1095, "libell\xE9");
  EXPECT_EQ(Harvest({L"1001", L"1007", L"1006", L"1016", L"1099", L"", L"1096", L"2000", L"1095"}),
            L"00042|3 rue|M.\tMonsieur||||||||||||");
}

TEST_F(HarvestTest, WinDevReadsEditWindowsByOrdinalAndStopsPastTheHighest) {
  Practice("WinDevObject"), Add(main, "Edit", 7, "00042");             // 1
  Add(main, "RichEdit20A", 0, "Remarques");  // not of the family
  Add(main, "EditWinDev", 0, "Lef\xE8vre");  // 2: any class beginning with "Edit"
  Add(main, "EDITMAJ", 0, "MAJUSCULES");
  desktop.At(Add(Add(main, "WinDevPane"), "Edit", 0, "CACH\xC9")).visible = false;  // 3: hidden ones count
  Add(main, "Edit", 1002, "Zo\xEB");                                                // 4, whatever its id
  Add(main, "Edit", 0, "jamais vu");
  EXPECT_EQ(Harvest({L"3", L"", L"", L"", L"", L"", L"", L"", L"2", L"1", L"", L"4"}),
            L"CACHÉ||||||||LEFÈVRE|00042||ZOE|||");
  EXPECT_EQ(desktop.counts.visited, 7) << "no window after the 4th Edit is asked anything";
  EXPECT_EQ(Harvest({L"1", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L""}), L"00042" + std::wstring(14, L'|'));
}

TEST_F(HarvestTest, AProgramThatStopsAnsweringAbandonsTheWalkAndADestroyedControlGivesASpace) {
  Practice("CabinetPlain");
  desktop.At(Add(main, "Panel", 1)).destroyedWhileRead = true;  // rebuilt for the next patient as we read
  Add(main, "Edit", 2, "avant"), desktop.At(Add(main, "Edit", 3, "jamais")).hung = true;
  Add(main, "Edit", 4, "apres");
  EXPECT_TRUE(fakes::FailureOf([&] { Harvest({L"1", L"2", L"3", L"4"}); }).ends_with(L"Erreur N° 20004"));
  EXPECT_EQ(patient.Value(Field::Adresse1) + patient.Value(Field::Adresse2) + patient.Value(Field::CP), L" avant");
  EXPECT_EQ(desktop.counts.visited, 3);  // each further window would wait out its own time-out
}

// Fields drawn by the practice window and its windows are found in their walk order by role, name and occurrence,
// beside fields read from windows; an entry not of that form names none. A field changed or gone since counts as
// another patient's; a program that does not answer abandons the reading.
TEST_F(HarvestTest, DrawnFieldsAreReadByRoleNameAndOccurrenceInWalkOrder) {
  Practice("Cabinet");
  desktop.At(main).drawn = {{42, L"Nom", L"Dupont"}, {42, L"Ligne", L"1 rue"}};
  desktop.At(Add(main, "Page")).drawn = {{42, L"Ligne", L"Paris"}, {41, L"Nom", L"Nom :"}};
  Add(main, "Edit", 5, "00042");
  EXPECT_EQ(Harvest({L"acc:42:2:Ligne", L"acc:42:3:Ligne", L"acc:42:0:Ligne", L"acc:x:1:Nom", L"acc:42:1:", L"", L"",
                     L"", L"acc:42:1:Nom", L"5", L"", L"acc:41:1:Nom", L"", L"acc:42:1:Ligne"}),
            L"Paris||||||||DUPONT|00042||NOM :||1 rue|");
  for (const std::wstring entry : {L"acc:42:2:Ligne", L"acc:0:1:N° : dossier", L"acc:123456789:9:x"})
    EXPECT_EQ(DrawnFieldEntry(DrawnFieldOf(entry).value()), entry);
  for (const std::wstring bad : {L"acc::1:x", L"acc:1::x", L"acc:1234567890:1:x", L"ac:1:1:x"})
    EXPECT_FALSE(DrawnFieldOf(bad));
  EXPECT_TRUE(HandedOffFieldsUnchanged(sources, patient, desktop, desktop, text));
  desktop.At(main).drawn[0].value = L"Martin";
  EXPECT_FALSE(HandedOffFieldsUnchanged(sources, patient, desktop, desktop, text));
  desktop.At(main).drawn[0].name = L"Nom du patient";
  EXPECT_FALSE(HandedOffFieldsUnchanged(sources, patient, desktop, desktop, text)) << "gone";
  desktop.At(main).hung = true;
  EXPECT_TRUE(fakes::FailureOf([&] { Harvest({L"acc:42:1:Nom"}); }).ends_with(L"Erreur N° 20004"));
}

// The finder's identity of a control is what the harvest looks for, in both forms, on a tree
// past the 255 edit windows an 8-bit counter can number; a window that is no Edit has none.
TEST_F(HarvestTest, TheHarvestReadsTheControlTheFinderIdentified) {
  const char* classes[] = {"Edit", "Edit", "EditWinDev", "Edit ", " Edit", "EDIT", "Edi", "edit", "RichEdit20A", "  "};
  for (const char* mode : {"WinDevObject", "Cabinet"}) {
    Practice(mode);
    std::mt19937 random(7);
    std::vector<WindowHandle> windows{main};
    for (int i = 0; i < 700; ++i) {
      const char* className = classes[random() % std::size(classes)];
      windows.push_back(Add(windows[random() % windows.size()], className, i + 1, className + std::to_string(i)));
    }
    for (std::size_t at = 1; at <= 700; at += 9) {  // a " Edit" window is counted but never read
      const std::string& className = desktop.At(windows[at]).className;
      const std::wstring identity = ControlIdentityOf(windows[at], IdentityFormOf(practiceClass), main, desktop);
      const bool plain = practiceClass == L"Cabinet", read = plain || className.starts_with("Edit");
      EXPECT_EQ(identity == L"0", !plain && className.find("Edit") > 1) << mode << at;
      if (identity != L"0")
        EXPECT_EQ(PortableText().ToAnsi(Harvest({identity.c_str()})),
                  (read ? desktop.At(windows[at]).text : "") + std::string(14, '|'));
    }
  }
}

// What the walk over random Edit trees below seldom meets: edges, equal areas, a browser, a top-level window.
TEST_F(FinderTest, PicksTheSmallestQualifyingWindowAroundThePointedOne) {
  const WindowHandle anchor = Add(main, "Edit", 1, "", {900, 10, 980, 30});
  Add(main, "Edit", 5, "", {500, 50, 600, 80});  // on top of its twin, walked before it: the child made first is on top
  const WindowHandle twin = Add(Add(main, "Panel", 4, "", {480, 40, 700, 100}), "Edit", 6, "", {500, 50, 600, 80});
  Add(main, "Button", 3, "", {10, 10, 410, 310});  // around the name box
  Add(main, "Internet Explorer_Server2", 9, "", {600, 300, 900, 600});
  const std::pair<Point, WindowHandle> cases[] = {
      {{250, 80}, name},       // on the right and bottom edges, a smaller control inside a larger one
      {{50, 50}, name},        // on the left and top edges
      {{550, 60}, twin},       // equal areas: the later in the walk
      {{700, 400}, anchor},    // an embedded browser keeps the earlier pick
      {{950, 700}, main},      // a top-level window: never a window of another program behind it
  };
  for (const auto& [pointer, expected] : cases) {
    SCOPED_TRACE(testing::Message() << pointer.x << ", " << pointer.y);
    drag.Start(Field::Nom), drag.Move({950, 20}), drag.Move(pointer);
    EXPECT_EQ(Framed(), Handles{expected});
    drag.Drop(pointer);
    EXPECT_EQ(Framed(), Handles{});
  }
}

// The drag reads each walk's rectangles once. On random trees (children outside their parent,
// hidden windows, ids 27001) each step picks what a walk reading every rectangle now picks;
// while windows move, vanish or hide meanwhile, a step never picks a window that is not where
// it is seen or not shown, and the drop, read anew, stores what such a walk picks.
TEST_F(FinderTest, EachStepPicksWhatAWalkOfEveryWindowPicksAndNeverOnStaleRectangles) {
  std::mt19937 random(11);
  const auto place = [&] {
    const std::int32_t x = random() % 900, y = random() % 700;
    return Rect{x, y, x + 1 + std::int32_t(random() % 300), y + 1 + std::int32_t(random() % 200)};
  };
  const auto inside = [](std::optional<Rect> r, Point p) {
    return r && p.x >= r->left && p.x <= r->right && p.y >= r->top && p.y <= r->bottom;
  };
  const auto walkPick = [&](Point p) {  // the oracle: every rectangle read at the time of the step
    const WindowHandle pointed = desktop.WindowFromPoint(p), top = desktop.Ancestor(pointed, AncestorKind::Root);
    const auto area = [](Rect r) { return std::int64_t{r.right - r.left} * (r.bottom - r.top); };
    std::int64_t smallest = pointed ? area(desktop.At(pointed).rect) : 0;
    WindowHandle pick;
    const auto consider = [&](WindowHandle w) {
      const Rect r = desktop.At(w).rect;
      if (inside(r, p) && area(r) <= smallest && desktop.IsVisible(w) && desktop.ControlId(w) != kNeverPickedControlId)
        smallest = area(r), pick = w;
      return true;
    };
    if (pointed && top == pointed) consider(pointed);
    if (pointed) desktop.EnumerateDescendants(top == pointed ? pointed : desktop.Parent(pointed), consider);
    return pick;
  };
  for (int tree = 0; tree < 30; ++tree) {
    std::vector<WindowHandle> windows{main};
    for (int i = 0; i < 40; ++i) {
      const std::int32_t id = random() % 10 == 0 ? kNeverPickedControlId : 100 * tree + i + 2;
      windows.push_back(Add(windows[random() % windows.size()], "Edit", id, "", place()));
      desktop.At(windows.back()).visible = random() % 8 != 0;
    }
    drag.Start(Field::Nom);
    for (int step = 0; step < 41; ++step) {
      // After 20 steps a window moves, vanishes, hides or appears before each; the last is the drop.
      WindowHandle changed = windows[1 + random() % 40];
      if (step >= 20 && step % 4 == 0) desktop.At(changed).rect = place();
      if (step >= 20 && step % 4 == 1) desktop.Destroy(changed);
      if (step >= 20 && step % 4 == 2) desktop.At(changed).visible = false;
      if (step >= 20 && step % 4 == 3) changed = Add(windows[random() % 40], "Edit", 99, "", place());
      const Point point{std::int32_t(random() % 1000), std::int32_t(random() % 800)};
      const WindowHandle before = finder.picked, expected = walkPick(point), now = expected ? expected : before;
      SCOPED_TRACE(testing::Message() << "tree " << tree << ", step " << step);
      if (step == 40) {  // the drop reads every window anew
        drag.Drop(point);
        EXPECT_EQ(settings.Entry(EntryOf(Field::Nom)), ControlIdentityOf(now, IdentityForm::ControlId, main, desktop));
        break;
      }
      drag.Move(point);
      // What is pointed at is always seen as it is now.
      if (step < 20 || desktop.WindowFromPoint(point) == changed) EXPECT_EQ(finder.picked, now);
      if (finder.picked != before)
        EXPECT_TRUE(inside(desktop.WindowRect(finder.picked), point) && desktop.IsVisible(finder.picked));
    }
    for (std::size_t i = 1; i < windows.size(); ++i) desktop.Destroy(windows[i]);
  }
}

TEST_F(FinderTest, ADragFramesThePreviousPickAndEndsWithoutAFrameWhereverItEnds) {
  gdi.metrics[gdi::kSmCxBorder] = 2;
  EXPECT_EQ(DropOn(Field::Nom, {100, 60}), L"1001");
  for (const auto& drawn : gdi.drawings) EXPECT_EQ(gdi.ObjectOf(drawn.dc.pen).width, 6) << "3 borders, drawn as erased";
  EXPECT_EQ(journal, (Texts{L"hide 0", L"drag pointer 0", L"empty 9", L"[ ] in 9", L"[DUPONT] in 9", L"icon 9",
                            L"default pointer 0", L"show, frames 0 0"}));
  drag.Move({100, 100}), drag.Drop({100, 100});  // no drag: nothing moves
  practice.lastTextRead.clear(), drag.Start(Field::Prenom);
  EXPECT_EQ(Framed(), Handles{name});
  EXPECT_EQ((Texts{journal.back(), practice.lastTextRead}), (Texts{L"[DUPONT] in 12", L"DUPONT"}));
  drag.Drop({2000, 2000});
  EXPECT_EQ((Texts{settings.Entry(12), journal.back()}), (Texts{L"1001", L"show, frames 0 0"})) << "the earlier pick";
  // The program stops answering before the drop: the drag ends all the same, nothing stored.
  drag.Start(Field::Ville), drag.Move({100, 60}), desktop.At(name).hung = true;
  EXPECT_THROW(drag.Drop({100, 60}), LinkError);
  EXPECT_EQ((Texts{settings.Entry(14), journal.back()}), (Texts{L"", L"show, frames 0 0"}));
  // The preview is what the harvest will read: a combo box's first child under the field's rule,
  // nothing from a label it never reads.
  Add(Add(main, "JWCOMBOBOX", 20, "Liste", {300, 300, 400, 320}), "Edit", 21, "Mme\tMadame");
  Add(main, "STATIQUE_LIBELLE", 22, "Nom :", {300, 330, 400, 350});
  for (const auto& [box, point, preview] :
       {std::tuple{Field::Civilite, Point{350, 310}, L"[Mme] in 4"}, {Field::Nom, Point{350, 340}, L"[] in 9"}})
    EXPECT_EQ((DropOn(box, point), journal.end()[-4]), preview);
}

// The file-number drop captures the root owner's class and the root's caption with its NUL; fields dropped before it
// follow the identity form of the class it captures, unless their entry changed since or their window is gone.
TEST_F(FinderTest, IdentitiesTakeTheFormOfThePracticeClassInForce) {
  const WindowHandle dialog = Add({}, "#32770", 0, "", {100, 100, 300, 300});
  desktop.At(dialog).owner = main, desktop.At(dialog).title = "Recherche";
  Add(dialog, "Edit", 77, "", {120, 120, 280, 140});
  EXPECT_EQ(DropOn(Field::NumDossier, {150, 130}), L"77");
  EXPECT_EQ((Texts{finder.capturedPracticeClass, settings.Entry(16), settings.Entry(17)}),
            (Texts{L"PracticeMain", L"PracticeMain", std::wstring(L"Recherche\0", 10)}));
  EXPECT_EQ(practice.handle, dialog);
  desktop.At(dialog).title.clear(), DropOn(Field::NumDossier, {150, 130});
  EXPECT_EQ(settings.Entry(17), std::wstring(1, L'\0'));

  const WindowHandle windev = Add({}, "WinDevObject", 0, "", {1000, 0, 1400, 400});
  for (int i = 0; i < 3; ++i)
    Add(windev, i == 1 ? "Static" : "Edit", 11 + i, "", {1010, 10 + 30 * i, 1100, 30 + 30 * i});
  const Point edit1{1050, 20}, label{1050, 50}, edit2{1050, 80};
  finder.capturedPracticeClass.clear(), practice = {L"WinDevObject", L"Patients", windev};
  EXPECT_EQ((Texts{DropOn(Field::Nom, edit2), DropOn(Field::Prenom, label)}), (Texts{L"2", L"0"}));
  ApplyResetValues(settings), practice = {L"Notepad", L"Sans titre - Bloc-notes ", WindowHandle()};
  EXPECT_EQ((Texts{DropOn(Field::Adresse1, edit2), DropOn(Field::Nom, edit1), DropOn(Field::Ville, edit2)}),
            (Texts{L"13", L"11", L"13"}));
  settings.SetEntry(9, L"100");
  EXPECT_EQ(DropOn(Field::NumDossier, edit1), L"1");
  EXPECT_EQ((Texts{settings.Entry(1), settings.Entry(9), settings.Entry(14)}), (Texts{L"2", L"100", L"2"}));
  // The practice program restarted: a new file-number drop leaves the drops on its dead windows.
  desktop.Destroy(windev),
      Add(Add({}, "WinDevObject", 0, "", {1000, 0, 1400, 400}), "Edit", 11, "", {1010, 10, 1100, 30});
  EXPECT_EQ(DropOn(Field::NumDossier, edit1), L"1");
  EXPECT_EQ((Texts{settings.Entry(1), settings.Entry(14)}), (Texts{L"2", L"2"}));
}

// Over a window that draws its fields, the field under the pointer is framed on the window's DC
// and stored by role and name; between fields, the window itself. A name that holds the value
// shown, names two fields or none is refused, and the entry stays.
TEST_F(FinderTest, ADrawnFieldIsFramedAndStoredByRoleAndNameUnlessItCouldFollowThePatient) {
  const WindowHandle form = Add(main, "Canvas", 0, "", {300, 400, 900, 700});
  desktop.At(form).drawn = {{16, L"Formulaire", L"", Rect{300, 400, 900, 700}},
                            {42, L"Nom", L"Dupont", Rect{310, 410, 500, 430}, 2},
                            {41, L"Nom", L"", Rect{300, 405, 505, 435}, 2},
                            {42, L"Dossier 00042", L" 00042 ", Rect{310, 440, 500, 460}, 2},
                            {42, L"Ligne", L"a", Rect{310, 470, 500, 490}, 2},
                            {42, L"Ligne", L"b", Rect{510, 470, 700, 490}, 2},
                            {42, L" ", L"c", Rect{310, 500, 500, 520}, 2},
                            {42, L"Ω", L"d", Rect{310, 530, 500, 550}, 2}};
  drag.Start(Field::Nom), drag.Move({400, 420});
  EXPECT_EQ(Framed(), Handles{form});
  EXPECT_EQ(gdi.drawings.back().args, (std::vector<std::int64_t>{10, 10, 200, 30}));
  drag.Drop({400, 420});
  EXPECT_EQ(Framed(), Handles{});
  EXPECT_EQ((Texts{settings.Entry(9), journal[journal.size() - 4]}), (Texts{L"acc:42:1:Nom", L"[DUPONT] in 9"}));
  EXPECT_EQ(DropOn(Field::Prenom, {800, 650}), L"0");  // between fields, the window; a later file number keeps both
  EXPECT_EQ((Texts{DropOn(Field::NumDossier, {100, 60}), settings.Entry(9)}), (Texts{L"1001", L"acc:42:1:Nom"}));
  settings.SetEntry(14, L"avant");
  for (const Point point : {Point{400, 450}, Point{400, 480}, Point{400, 510}, Point{400, 540}}) {
    EXPECT_TRUE(fakes::FailureOf([&] { drag.Start(Field::Ville), drag.Drop(point); }).ends_with(L"Erreur N° 20011"))
        << point.y;
    EXPECT_EQ(settings.Entry(14), L"avant");
  }
}

// Each frame is one drawing on the window's own DC with the frame pen (inside frame, 3 borders
// thick, blue), no fill, in XOR; the fake GDI finds no misuse and nothing is left created.
TEST_F(FinderTest, TheFrameIsDrawnInXorAndEverythingIsPutBack) {
  gdi.metrics = {{gdi::kSmCxScreen, 1280}, {gdi::kSmCyScreen, 1024}, {gdi::kSmCxBorder, 2},
                 {gdi::kSmCyBorder, 5},    {gdi::kSmCxFrame, 7},     {gdi::kSmCyFrame, 11}};
  gdi.sysColors[gdi::kColorWindowFrame] = 0x00123456;
  const WindowHandle zoomed = Add({}, "Zoomed", 0, "", {-7, -11, 1287, 1035}),
                     shaped = Add({}, "Shaped", 0, "", {5, 5, 50, 50});
  desktop.At(zoomed).zoomed = desktop.At(shaped).zoomed = true;  // a region comes first
  gdi.shapedWindows.insert(shaped), HighlightWindow(WindowHandle(), 3, desktop, gdi);
  for (const WindowHandle window : {zoomed, shaped}) HighlightWindow(window, 3, desktop, gdi);
  EXPECT_EQ(CaptureWindowText(name, desktop, gdi, text), L"DUPONT");
  std::vector<std::vector<std::int64_t>> drawn;  // the window, then the arguments after the DC
  for (const auto& [what, args, dc] : gdi.drawings) {
    const auto& pen = gdi.ObjectOf(dc.pen);
    EXPECT_EQ(
        std::tuple(dc.mix, pen.kind, pen.style, pen.width, pen.color, gdi.ObjectOf(dc.brush).style),
        std::tuple(gdi::kR2XorPen, fakes::FakeGdi::Kind::Pen, gdi::kPsInsideFrame, 6, 0x00FF6400u, gdi::kNullBrush));
    drawn.push_back({std::int64_t(dc.window.value)});
    drawn.back().insert(drawn.back().end(), args.begin(), args.end());
  }
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(gdi.ObjectOf(GdiHandle(drawn[1][2])).color, 0x00123456u);  // the shaped window's outline's hatch
  const auto window = [](WindowHandle w) { return std::int64_t(w.value); };
  EXPECT_EQ(drawn, (decltype(drawn){{window(zoomed), 7, 11, 1287, 1035},
                                    {window(shaped), drawn[1][1], drawn[1][2], 6, 15},
                                    {window(name), 0, 0, 200, 30}}));
}

}  // namespace
}  // namespace corvane

#include "reader/harvest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/text.h"
#include "tests/fakes/fake_desktop.h"

namespace corvane {
namespace {

TEST(EntryIdentityTest, OnlyDecimalIntegersWithin32BitsNameAControl) {
  struct Case {
    const wchar_t* entry;
    std::int32_t identity;
  };
  const Case cases[] = {
      {L"", 0},
      {L"0", 0},
      {L"1001", 1001},
      {L"-5", -5},
      {L"+7", 7},
      {L"0012", 12},
      {L" 12 ", 12},
      {L"2147483647", 2147483647},
      {L"-2147483648", -2147483647 - 1},
      // Not configured: neither empty nor a number a control could carry.
      {L"2147483648", 0},
      {L"-2147483649", 0},
      {L"99999999999999999999", 0},
      {L"12a", 0},
      {L"1 2", 0},
      {L"1e3", 0},
      {L"0x10", 0},
      {L"-", 0},
      {L"+", 0},
      {L"--5", 0},
      {L"\x0661\x0662", 0},  // digits of another script
      {L"100\t", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EntryIdentity(c.entry), c.identity) << "entry \"" << std::wstring(c.entry).size();
}

TEST(ReadingModeTest, ClassesAreComparedWholeAndCaseSensitive) {
  EXPECT_EQ(ReadingModeOf(L"JULIE"), ReadingMode::Julie);
  EXPECT_EQ(ReadingModeOf(L"WinDevObject"), ReadingMode::WinDev);
  for (const wchar_t* other :
       {L"julie", L"JULIE ", L"JULIE2", L"WinDevObject ", L"windevobject", L"WinDev", L"FENETRE_VISIODENT32", L""}) {
    EXPECT_EQ(ReadingModeOf(other), ReadingMode::Plain) << other;
  }
}

class HarvestTest : public ::testing::Test {
 protected:
  WindowHandle Practice(const std::string& className) {
    main = desktop.AddTopLevel(className, "Dossier");
    state.practice.className = PortableText().FromAnsi(className);
    state.practice.handle = main;
    return main;
  }
  void Entry(int n, const std::wstring& value) { state.settings.SetEntry(n, value); }
  const std::wstring& Value(Field field) const { return state.patient.Value(field); }
  void Harvest(OrdinalCounting counting = OrdinalCounting::DuringTheWalk) {
    state.patient.BeginHarvest();
    HarvestPracticeWindow(state, desktop, text, counting);
  }

  fakes::FakeDesktop desktop;
  PortableText text;
  SharedState state;
  WindowHandle main;
};

TEST_F(HarvestTest, PlainModeMatchesEntriesAgainstControlIds) {
  Practice("CabinetPlain");
  desktop.AddChild(main, "Edit", 0, "SANS IDENTIFIANT");
  const WindowHandle panel = desktop.AddChild(main, "Panel", 50, "panneau");
  desktop.AddChild(panel, "Edit", 1002, "Lef\xE8vre");
  desktop.AddChild(main, "Edit", -5, "01 02 03 04 05");
  desktop.AddChild(main, "Edit", 1005, "1 85 01 75");
  Entry(1, L"");       // not configured
  Entry(2, L"0");      // never matches, not even the control whose id is 0
  Entry(9, L"1002");   // Nom, upper-cased ...
  Entry(3, L"1002");   // ... and Adresse3 from the same control, unchanged
  Entry(13, L"-5");    // a negative id
  Entry(11, L"1005");  // NumSS loses its spaces
  Entry(12, L"12x");   // not a number: not configured

  Harvest();

  EXPECT_EQ(Value(Field::Adresse1), L"");
  EXPECT_EQ(Value(Field::Adresse2), L"");
  EXPECT_EQ(Value(Field::Nom), L"LEFÈVRE");
  EXPECT_EQ(Value(Field::Adresse3), L"Lefèvre");
  EXPECT_EQ(Value(Field::Telephone), L"01 02 03 04 05");
  EXPECT_EQ(Value(Field::NumSS), L"1850175");
  EXPECT_EQ(Value(Field::Prenom), L"");
  // Every window that passes the class tests is read, matched or not; Temp holds the last.
  EXPECT_EQ(desktop.counts.textReads, 5);
  EXPECT_EQ(state.patient.temp, L"1 85 01 75");
}

TEST_F(HarvestTest, StaticsAndButtonsAreNeverReadWhateverTheirId) {
  Practice("CabinetPlain");
  desktop.AddChild(main, "STATIQUE", 10, "LIBELLE");
  desktop.AddChild(main, "STATIQUE_LABEL", 11, "LIBELLE");
  desktop.AddChild(main, "BOUTON", 12, "OK");
  desktop.AddChild(main, "BOUTONS", 13, "OK");
  desktop.AddChild(main, "Statique", 14, "lu");  // the tests are case-sensitive
  desktop.AddChild(main, "XBOUTON", 15, "lu");   // and prefixes, not substrings
  for (int n = 1; n <= 6; ++n) Entry(n, std::to_wstring(9 + n));

  Harvest();

  for (Field f : {Field::Adresse1, Field::Adresse2, Field::Adresse3, Field::Civilite}) EXPECT_EQ(Value(f), L"");
  EXPECT_EQ(Value(Field::CP), L"lu");
  EXPECT_EQ(Value(Field::DateNaissance), L"lu");
  EXPECT_EQ(desktop.counts.textReads, 2);
}

TEST_F(HarvestTest, ComboIsMatchedByItsOwnIdButReadThroughItsFirstChild) {
  Practice("CabinetPlain");
  const WindowHandle combo = desktop.AddChild(main, "JWCOMBOBOX", 1006, "Liste des civilit\xE9s");
  desktop.AddChild(combo, "EDIT", 1016, "Mme\tMadame");
  desktop.AddChild(combo, "EDIT", 1017, "second");
  desktop.AddChild(main, "JWCOMBO", 1007, "sans enfant");
  Entry(4, L"1006");   // Civilite: text before the TAB
  Entry(10, L"1016");  // the child itself is also a window of the walk, with its own id
  Entry(9, L"1007");   // a combo without a child reads as a single space ...
  Entry(11, L"1007");  // ... which NumSS stores as nothing

  Harvest();

  EXPECT_EQ(Value(Field::Civilite), L"Mme");
  EXPECT_EQ(Value(Field::NumDossier), L"Mme\tMadame");
  EXPECT_EQ(Value(Field::Nom), L" ");
  EXPECT_EQ(Value(Field::NumSS), L"");
}

TEST_F(HarvestTest, TextsAreCutAtTheFirstNulAndAt254Bytes) {
  Practice("CabinetPlain");
  desktop.AddChild(main, "Edit", 1, std::string(255, 'a'));
  desktop.AddChild(main, "Edit", 2, std::string("avant\0apres", 11));
  Entry(1, L"1");
  Entry(2, L"2");

  Harvest();

  EXPECT_EQ(Value(Field::Adresse1), std::wstring(254, L'a'));
  EXPECT_EQ(Value(Field::Adresse2), L"avant");
}

TEST_F(HarvestTest, JulieReadsOnlyControlsWhoseParentIsATabPageOrADialog) {
  Practice("JULIE");
  const WindowHandle page = desktop.AddChild(main, "JWTABPAGE1", 2000);
  desktop.AddChild(page, "Edit", 1001, "00042");
  const WindowHandle dialog = desktop.AddChild(main, "#32770", 2001);
  desktop.AddChild(dialog, "Edit", 1007, "3 rue des Lilas");
  const WindowHandle combo = desktop.AddChild(page, "JWCOMBOBOX", 1006, "Civilit\xE9");
  desktop.AddChild(combo, "Edit", 1016, "M.\tMonsieur");  // parent is the combo: not read for itself
  desktop.AddChild(main, "Edit", 1099, "HORS PAGE");
  const WindowHandle frame = desktop.AddChild(main, "JWCADRE", 2002);
  desktop.AddChild(frame, "Edit", 1098, "HORS CADRE");
  const WindowHandle pageInFrame = desktop.AddChild(frame, "JWTABPAGE", 2003);
  desktop.AddChild(pageInFrame, "Edit", 1097, "PAGE DANS CADRE");  // the direct parent decides
  const WindowHandle lowerPage = desktop.AddChild(main, "jwtabpage", 2004);
  desktop.AddChild(lowerPage, "Edit", 1096, "minuscules");
  Entry(10, L"1001");
  Entry(1, L"1007");
  Entry(4, L"1006");
  Entry(5, L"1016");
  Entry(9, L"1099");
  Entry(2, L"1098");
  Entry(3, L"1097");
  Entry(7, L"1096");
  Entry(8, L"2000");  // a tab page on the main window is itself outside any container

  Harvest();

  EXPECT_EQ(Value(Field::NumDossier), L"00042");
  EXPECT_EQ(Value(Field::Adresse1), L"3 rue des Lilas");
  EXPECT_EQ(Value(Field::Civilite), L"M.");
  EXPECT_EQ(Value(Field::CP), L"");
  EXPECT_EQ(Value(Field::Nom), L"");
  EXPECT_EQ(Value(Field::Adresse2), L"");
  EXPECT_EQ(Value(Field::Adresse3), L"PAGE DANS CADRE");
  EXPECT_EQ(Value(Field::EMail), L"");
  EXPECT_EQ(Value(Field::Mobile), L"");
}

TEST_F(HarvestTest, WinDevReadsEditWindowsByOrdinalIgnoringControlIds) {
  Practice("WinDevObject");
  desktop.AddChild(main, "Edit", 0, "00042");             // 1
  desktop.AddChild(main, "RichEdit20A", 0, "Remarques");  // not of the family
  desktop.AddChild(main, "EditWinDev", 0, "Lef\xE8vre");  // 2: any class beginning with "Edit"
  desktop.AddChild(main, "STATIQUE", 0, "Nom");
  desktop.AddChild(main, "EDITMAJ", 0, "MAJUSCULES");  // capitals: not of the family
  const WindowHandle pane = desktop.AddChild(main, "WinDevPane", 0);
  const WindowHandle hidden = desktop.AddChild(pane, "Edit", 0, "CACH\xC9");  // 3: hidden ones count
  desktop.At(hidden).visible = false;
  desktop.AddChild(pane, "Edit", 1002, "Zo\xEB");  // 4, whatever its id
  desktop.AddChild(main, "Edit", 0, "1 85");       // 5
  Entry(10, L"1");
  Entry(9, L"2");
  Entry(3, L"3");
  Entry(12, L"4");
  Entry(11, L"5");
  Entry(1, L"1002");  // a control id is taken as an ordinal: there is no 1002nd edit window

  Harvest();

  EXPECT_EQ(Value(Field::NumDossier), L"00042");
  EXPECT_EQ(Value(Field::Nom), L"LEFÈVRE");
  EXPECT_EQ(Value(Field::Adresse3), L"CACHÉ");
  EXPECT_EQ(Value(Field::Prenom), L"ZOE");
  EXPECT_EQ(Value(Field::NumSS), L"185");
  EXPECT_EQ(Value(Field::Adresse1), L"");
  EXPECT_EQ(desktop.counts.textReads, 5);  // only edit windows are read
}

TEST_F(HarvestTest, AProgramThatStopsAnsweringAbandonsTheWalk) {
  Practice("CabinetPlain");
  desktop.AddChild(main, "Edit", 1, "avant");
  const WindowHandle hung = desktop.AddChild(main, "Edit", 2, "jamais");
  desktop.AddChild(main, "Edit", 3, "apres");
  desktop.At(hung).hung = true;
  Entry(1, L"1");
  Entry(2, L"2");
  Entry(3, L"3");

  try {
    Harvest();
    FAIL() << "the walk must fail";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
  }
  EXPECT_EQ(Value(Field::Adresse1), L"avant");  // stored before: may stay
  EXPECT_EQ(Value(Field::Adresse2), L"");
  EXPECT_EQ(Value(Field::Adresse3), L"");
  EXPECT_EQ(desktop.counts.textReads, 2);  // nothing more was asked of the program
  EXPECT_EQ(desktop.counts.visited, 2);
}

TEST_F(HarvestTest, AHungComboChildAlsoAbandonsTheWalk) {
  Practice("CabinetPlain");
  const WindowHandle combo = desktop.AddChild(main, "JWCOMBO", 4, "liste");
  const WindowHandle part = desktop.AddChild(combo, "Edit", 0, "Mme");
  desktop.At(part).hung = true;
  Entry(4, L"4");

  EXPECT_THROW(Harvest(), LinkError);
  EXPECT_EQ(Value(Field::Civilite), L"");
}

// The WinDev harvest counts Edit ordinals once during its walk instead of once per edit
// window; on any tree it must give exactly the fields the per-window count gives.
class OrdinalEquivalenceTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(OrdinalEquivalenceTest, CountingDuringTheWalkGivesTheFieldsOfOneCountPerWindow) {
  const unsigned seed = GetParam();
  fakes::FakeDesktop desktop;
  const WindowHandle main = desktop.AddTopLevel("WinDevObject", "Cabinet");
  std::mt19937 random(seed);
  const char* classes[] = {"Edit", "Edit", "Edit",        "EditWinDev", "EditWinDev", "Edit ",      " Edit",
                           "EDIT", "Edi",  "RichEdit20A", "STATIQUE",   "BOUTON",     "WinDevPane", "Static"};
  std::vector<WindowHandle> containers{main};
  // Large enough trees to pass the 255 edit windows an 8-bit counter can number.
  const int windowCount = 300 + static_cast<int>(random() % 400);
  for (int i = 0; i < windowCount; ++i) {
    const WindowHandle parent = containers[random() % containers.size()];
    const char* className = classes[random() % std::size(classes)];
    const WindowHandle added =
        desktop.AddChild(parent, className, static_cast<std::int32_t>(random() % 4), "texte " + std::to_string(i));
    if (random() % 5 == 0) containers.push_back(added);
  }
  desktop.ShuffleChildren(main, seed * 7 + 1);

  std::array<std::wstring, kFieldCount> entries = {L"1",   L"2",   L"3",   L"17",  L"60", L"128", L"200",
                                                   L"254", L"255", L"256", L"300", L"",   L"0",   L"2"};
  auto harvest = [&](OrdinalCounting counting) {
    SharedState state;
    state.practice.className = L"WinDevObject";
    state.practice.handle = main;
    for (int n = 1; n <= kFieldCount; ++n) state.settings.SetEntry(n, entries[static_cast<std::size_t>(n - 1)]);
    HarvestPracticeWindow(state, desktop, PortableText(), counting);
    std::array<std::wstring, kFieldCount> values;
    for (int n = 1; n <= kFieldCount; ++n)
      values[static_cast<std::size_t>(n - 1)] = state.patient.Value(FieldOfEntry(n));
    return values;
  };

  const auto linear = harvest(OrdinalCounting::DuringTheWalk);
  const auto nested = harvest(OrdinalCounting::OneCountPerWindow);
  EXPECT_EQ(linear, nested);
  // Not two empty records: most of the ordinals named exist in every tree (an edit window whose
  // class only begins with "Edit" after a space is counted but never read, so one may miss).
  const auto found = std::count_if(linear.begin(), linear.end(), [](const std::wstring& v) { return !v.empty(); });
  EXPECT_GE(found, 3);
}

INSTANTIATE_TEST_SUITE_P(VariedTrees, OrdinalEquivalenceTest, ::testing::Values(1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u));

}  // namespace
}  // namespace corvane

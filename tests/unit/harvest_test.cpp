#include "link/link_state.h"
#include "reader/harvest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "bench/per_window_harvest.h"
#include "platform/text.h"
#include "reader/normalise.h"
#include "tests/fakes/fake_desktop.h"

namespace corvane {
namespace {

TEST(HarvestRulesTest, OnlyDecimalIntegersWithin32BitsNameAControl) {
  EXPECT_EQ(EntryIdentity(L"1001"), 1001);
  EXPECT_EQ(EntryIdentity(L" +7 "), 7);
  EXPECT_EQ(EntryIdentity(L"2147483647"), 2147483647);
  EXPECT_EQ(EntryIdentity(L"-2147483648"), -2147483647 - 1);
  // Anything else is not configured rather than guessed at: 0 never matches a control.
  for (const wchar_t* entry :
       {L"", L"0", L"2147483648", L"12a", L"1 2", L"0x10", L"--5", L"-", L"100\t", L"\x0661\x0662"})
    EXPECT_EQ(EntryIdentity(entry), 0) << entry;
}

TEST(HarvestRulesTest, ReadingModeComparesTheWholeClassCaseSensitively) {
  EXPECT_EQ(ReadingModeOf(L"JULIE"), ReadingMode::Julie);
  EXPECT_EQ(ReadingModeOf(L"WinDevObject"), ReadingMode::WinDev);
  for (const wchar_t* other : {L"julie", L"JULIE ", L"JULIE2", L"windevobject", L"WinDev", L"FENETRE_VISIODENT32"})
    EXPECT_EQ(ReadingModeOf(other), ReadingMode::Plain) << other;
}

class HarvestTest : public ::testing::Test {
 protected:
  void Practice(const std::string& className) {
    main = desktop.AddTopLevel(className, "Dossier");
    state.practice.className = PortableText().FromAnsi(className);
    state.practice.handle = main;
  }
  // One configured field: its settings entry and what the harvest must leave in it.
  struct Row {
    Field field;
    const wchar_t* entry;
    std::wstring expected;
  };
  void HarvestAndExpect(std::initializer_list<Row> rows) {
    for (const Row& row : rows) state.settings.SetEntry(EntryOf(row.field), row.entry);
    state.patient.BeginHarvest();
    HarvestPracticeWindow(main, state.settings, state.practice.className, state.patient, desktop, PortableText());
    for (const Row& row : rows) EXPECT_EQ(state.patient.Value(row.field), row.expected) << "entry " << row.entry;
  }

  fakes::FakeDesktop desktop;
  SharedState state;
  WindowHandle main;
};

// Combos are read through their first child; statics and buttons never, whatever their id.
TEST_F(HarvestTest, PlainModeMatchesEntriesAgainstControlIds) {
  Practice("CabinetPlain");
  desktop.AddChild(main, "Edit", 0, "SANS IDENTIFIANT");
  desktop.AddChild(desktop.AddChild(main, "Panel", 50, "panneau"), "Edit", 1002, "Lef\xE8vre");
  desktop.AddChild(main, "Edit", -5, "01 02 03 04 05");
  desktop.AddChild(main, "Edit", 15, std::string(255, 'a'));
  const WindowHandle combo = desktop.AddChild(main, "JWCOMBOBOX", 1006, "Liste des civilit\xE9s");
  desktop.AddChild(combo, "EDIT", 1016, "Mme\tMadame");
  desktop.AddChild(combo, "EDIT", 1017, "second");
  desktop.AddChild(main, "JWCOMBO", 1007, "sans enfant");
  desktop.AddChild(main, "STATIQUE", 10, "LIBELLE");
  desktop.AddChild(main, "STATIQUE_LABEL", 11, "LIBELLE");
  desktop.AddChild(main, "BOUTON", 12, "OK");
  desktop.AddChild(main, "Statique", 13, "lu");  // the class tests are case-sensitive ...
  desktop.AddChild(main, "XBOUTON", 14, "lu");   // ... prefixes
  HarvestAndExpect({
      {Field::Adresse1, L"", L""},
      {Field::Adresse2, L"0", L""},       // not even the control whose id is 0
      {Field::Nom, L"1002", L"LEFÈVRE"},  // two entries on one control, each with its own rule
      {Field::Adresse3, L"1002", L"Lefèvre"},
      {Field::Telephone, L"-5", L"01 02 03 04 05"},
      {Field::Ville, L"15", std::wstring(254, L'a')},  // 255 bytes shown, 254 read
      {Field::Civilite, L"1006", L"Mme"},
      {Field::NumDossier, L"1016", L"Mme\tMadame"},  // the combo's child is also walked, with its own id
      {Field::Prenom, L"1007", L" "},                // a combo without a child reads as a single space
      {Field::CP, L"10", L""},
      {Field::DateNaissance, L"11", L""},
      {Field::EMail, L"12", L""},
      {Field::Mobile, L"13", L"lu"},
      {Field::NumSS, L"14", L"lu"},
  });
}

TEST_F(HarvestTest, JulieReadsOnlyControlsWhoseDirectParentIsATabPageOrADialog) {
  Practice("JULIE");
  const WindowHandle page = desktop.AddChild(main, "JWTABPAGE1", 2000);
  desktop.AddChild(page, "Edit", 1001, "00042");
  desktop.AddChild(desktop.AddChild(main, "#32770", 2001), "Edit", 1007, "3 rue des Lilas");
  const WindowHandle combo = desktop.AddChild(page, "JWCOMBOBOX", 1006, "Civilit\xE9");
  desktop.AddChild(combo, "Edit", 1016, "M.\tMonsieur");
  desktop.AddChild(main, "Edit", 1099, "HORS PAGE");
  const WindowHandle frame = desktop.AddChild(main, "JWCADRE", 2002);
  desktop.AddChild(frame, "Edit", 1098, "HORS CADRE");
  desktop.AddChild(desktop.AddChild(frame, "JWTABPAGE", 2003), "Edit", 1097, "PAGE DANS CADRE");
  desktop.AddChild(desktop.AddChild(main, "jwtabpage", 2004), "Edit", 1096, "minuscules");
  HarvestAndExpect({
      {Field::NumDossier, L"1001", L"00042"},
      {Field::Adresse1, L"1007", L"3 rue des Lilas"},
      {Field::Civilite, L"1006", L"M."},
      {Field::CP, L"1016", L""},   // its parent is the combo
      {Field::Nom, L"1099", L""},  // directly on the main window
      {Field::Adresse2, L"1098", L""},
      {Field::Adresse3, L"1097", L"PAGE DANS CADRE"},
      {Field::EMail, L"1096", L""},
      {Field::Mobile, L"2000", L""},  // the tab page itself sits on the main window
  });
}

TEST_F(HarvestTest, WinDevReadsEditWindowsByOrdinalIgnoringControlIds) {
  Practice("WinDevObject");
  desktop.AddChild(main, "Edit", 0, "00042");             // 1
  desktop.AddChild(main, "RichEdit20A", 0, "Remarques");  // not of the family
  desktop.AddChild(main, "EditWinDev", 0, "Lef\xE8vre");  // 2: any class beginning with "Edit"
  desktop.AddChild(main, "STATIQUE", 0, "Nom");
  desktop.AddChild(main, "EDITMAJ", 0, "MAJUSCULES");
  const WindowHandle pane = desktop.AddChild(main, "WinDevPane", 0);
  desktop.At(desktop.AddChild(pane, "Edit", 0, "CACH\xC9")).visible = false;  // 3: hidden ones count
  desktop.AddChild(pane, "Edit", 1002, "Zo\xEB");                             // 4, whatever its id
  HarvestAndExpect({
      {Field::NumDossier, L"1", L"00042"},
      {Field::Nom, L"2", L"LEFÈVRE"},
      {Field::Adresse3, L"3", L"CACHÉ"},
      {Field::Prenom, L"4", L"ZOE"},
      {Field::Adresse1, L"1002", L""},
  });
}

TEST_F(HarvestTest, AProgramThatStopsAnsweringAbandonsTheWalk) {
  Practice("CabinetPlain");
  desktop.AddChild(main, "Edit", 1, "avant");
  desktop.At(desktop.AddChild(main, "Edit", 2, "jamais")).hung = true;
  desktop.AddChild(main, "Edit", 3, "apres");
  for (int entry = 1; entry <= 3; ++entry) state.settings.SetEntry(entry, std::to_wstring(entry));

  try {
    HarvestPracticeWindow(main, state.settings, state.practice.className, state.patient, desktop, PortableText());
    ADD_FAILURE() << "the walk must fail";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
  }
  EXPECT_EQ(state.patient.Value(Field::Adresse1), L"avant");
  EXPECT_EQ(state.patient.Value(Field::Adresse3), L"");
  EXPECT_EQ(desktop.counts.visited, 2);  // each further window would wait out its own time-out
}

// The harvest as first written, kept as the reference: every window that passes the class
// tests has its text read, in the order the harvest's steps are described.
void ReadEverything(WindowHandle main, ReadingMode mode, const LinkSettings& settings, PatientRecord& patient,
                    fakes::FakeDesktop& desktop) {
  PortableText text;
  desktop.EnumerateDescendants(main, [&](WindowHandle window) {
    const auto begins = [](const std::string& name, const char* prefix) { return name.starts_with(prefix); };
    if (mode == ReadingMode::Julie) {
      const std::string parent = desktop.ClassName(desktop.Ancestor(window, AncestorKind::Parent));
      if (!begins(parent, "JWTABPAGE") && !begins(parent, "#32770")) return true;
    }
    const std::string name = desktop.ClassName(window);
    if (begins(name, "STATIQUE") || begins(name, "BOUTON")) return true;
    if (mode == ReadingMode::WinDev && desktop.ClassName(window, 5) != "Edit") return true;
    const std::int32_t identity =
        mode == ReadingMode::WinDev ? EditOrdinalOf(window, main, desktop) : desktop.ControlId(window);
    patient.temp = ReadWindowText(begins(name, "JWCOMBO") ? desktop.FirstChild(window) : window, desktop, text);
    for (int n = 1; n <= kFieldCount; ++n) {
      const std::int32_t wanted = EntryIdentity(settings.Entry(n));
      if (wanted != 0 && wanted == identity)
        patient.StoreHarvested(FieldOfEntry(n), NormaliseField(FieldOfEntry(n), patient.temp, text));
    }
    return true;
  });
}

// Asking for a window's class and text only once its identity names a field must store what
// reading every window stores, on any tree: decoys whose ids are configured, combos with and
// without a child, hidden windows, containers of every kind, an identity named by two entries.
TEST(HarvestOrderTest, ReadingOnlyConfiguredWindowsStoresWhatReadingEveryWindowStores) {
  const char* classes[] = {"Edit",         "Edit",   "EditWinDev", " Edit",      "Edi",     "EDIT",
                           "STATIQUE_LBL", "BOUTON", "Statique",   "XBOUTON",    "JWCOMBO", "JWCOMBOBOX",
                           "JWTABPAGE1",   "#32770", "JWCADRE",    "RichEdit20A"};
  for (const char* mainClass : {"CabinetPlain", "JULIE", "WinDevObject"}) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
      SCOPED_TRACE(std::string(mainClass) + " seed " + std::to_string(seed));
      std::mt19937 random(seed);
      fakes::FakeDesktop desktop;
      const WindowHandle main = desktop.AddTopLevel(mainClass, "Dossier");
      std::vector<WindowHandle> parents{main};
      const int windowCount = 5 + static_cast<int>(random() % 60);
      for (int i = 0; i < windowCount; ++i) {
        const std::int32_t id = static_cast<std::int32_t>(random() % 16) - 3;
        const WindowHandle added =
            desktop.AddChild(parents[random() % parents.size()], classes[random() % std::size(classes)], id,
                             "t\xE9" + std::to_string(i));
        desktop.At(added).visible = random() % 4 != 0;
        if (random() % 3 == 0) parents.push_back(added);
      }
      LinkSettings settings;
      for (int n = 1; n <= kFieldCount; ++n)
        settings.SetEntry(n, random() % 7 == 0 ? L"" : std::to_wstring(static_cast<int>(random() % 14) - 2));
      settings.SetEntry(12, settings.Entry(9));  // Nom and Prenom from one control, each by its own rule

      auto harvest = [&](bool reference) {
        PatientRecord patient;
        for (int n = 1; n <= kFieldCount; ++n) patient.StoreHarvested(FieldOfEntry(n), L"avant");
        patient.BeginHarvest();
        if (reference) {
          ReadEverything(main, ReadingModeOf(PortableText().FromAnsi(mainClass)), settings, patient, desktop);
        } else {
          HarvestPracticeWindow(main, settings, PortableText().FromAnsi(mainClass), patient, desktop, PortableText());
        }
        patient.CompleteHarvest();
        std::vector<std::wstring> values;
        for (int n = 1; n <= kFieldCount; ++n) values.push_back(patient.Value(FieldOfEntry(n)));
        const HandOffValues handed = patient.ValuesToHandOff();
        values.insert(values.end(), {handed.nom, handed.prenom, handed.dateNaissance, handed.numDossier, handed.numSS});
        return values;
      };
      EXPECT_EQ(harvest(false), harvest(true));
    }
  }
}

// What reaches the practice program: an id (WinDev: a class) per window, and a class and a text
// only for a window an entry names. Entries 11, 12, 13, 16 are ids; 3 is an Edit ordinal.
TEST(HarvestOrderTest, ClassesAndTextsAreAskedOnlyOfConfiguredWindows) {
  struct Expected {
    const char* mainClass;
    int classReads, idReads, textReads;
  };
  for (const Expected& expected : {Expected{"CabinetPlain", 4, 7, 3},  // the static is not read
                                   Expected{"JULIE", 7, 7, 2},         // 16 is not in a tab page
                                   Expected{"WinDevObject", 7, 0, 1}}) {
    SCOPED_TRACE(expected.mainClass);
    fakes::FakeDesktop desktop;
    const WindowHandle main = desktop.AddTopLevel(expected.mainClass, "Dossier");
    const WindowHandle page = desktop.AddChild(main, "JWTABPAGE1", 1);
    desktop.AddChild(page, "Edit", 11, "a");
    desktop.AddChild(page, "STATIQUE", 12, "b");
    desktop.AddChild(desktop.AddChild(page, "JWCOMBO", 13), "Edit", 14, "c");
    desktop.AddChild(page, "Edit", 15, "d");
    desktop.AddChild(main, "Edit", 16, "e");
    LinkSettings settings;
    int entry = 1;
    for (const wchar_t* identity : {L"11", L"12", L"13", L"16", L"3"}) settings.SetEntry(entry++, identity);
    PatientRecord patient;
    HarvestPracticeWindow(main, settings, PortableText().FromAnsi(expected.mainClass), patient, desktop,
                          PortableText());
    EXPECT_EQ(desktop.counts.classNameReads, expected.classReads);
    EXPECT_EQ(desktop.counts.controlIdReads, expected.idReads);
    EXPECT_EQ(desktop.counts.textReads, expected.textReads);
  }
}

// A practice program rebuilding its panel for the next patient destroys controls as we read.
TEST_F(HarvestTest, AControlDestroyedWhileReadGivesASpaceAndTheWalkGoesOn) {
  Practice("CabinetPlain");
  const WindowHandle panel = desktop.AddChild(main, "Panel", 1);
  desktop.At(panel).destroyedWhileRead = true;
  desktop.AddChild(panel, "Edit", 2, "jamais lu");
  desktop.AddChild(main, "Edit", 3, "apres");
  HarvestAndExpect({{Field::Adresse1, L"1", L" "}, {Field::Adresse2, L"2", L""}, {Field::Adresse3, L"3", L"apres"}});
}

// The walk counts Edit ordinals once as it goes; the finder counts them for the one control it
// drops on. Both must give the same fields on any tree, trees past the 255 edit windows an
// 8-bit counter can number included, or a dropped field would be read from another control.
TEST(OrdinalCountingTest, TheHarvestReadsTheOrdinalsTheFinderGives) {
  const char* classes[] = {"Edit", "Edit", "Edit",        "EditWinDev", "EditWinDev", "Edit ",      " Edit",
                           "EDIT", "Edi",  "RichEdit20A", "STATIQUE",   "BOUTON",     "WinDevPane", "Static"};
  const wchar_t* entries[] = {L"1", L"2", L"3", L"17", L"60", L"128", L"200", L"254", L"255", L"256", L"300", L"0"};
  for (unsigned seed : {1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u}) {
    SCOPED_TRACE(seed);
    fakes::FakeDesktop desktop;
    const WindowHandle main = desktop.AddTopLevel("WinDevObject", "Cabinet");
    std::mt19937 random(seed);
    std::vector<WindowHandle> containers{main};
    const int windowCount = 300 + static_cast<int>(random() % 400);
    for (int i = 0; i < windowCount; ++i) {
      const WindowHandle added = desktop.AddChild(containers[random() % containers.size()],
                                                  classes[random() % std::size(classes)], 0, std::to_string(i));
      if (random() % 5 == 0) containers.push_back(added);
    }
    desktop.ShuffleChildren(main, seed * 7 + 1);

    auto harvest = [&](bool perWindow) {
      SharedState state;
      for (int n = 1; n <= static_cast<int>(std::size(entries)); ++n) state.settings.SetEntry(n, entries[n - 1]);
      if (perWindow) {
        bench::HarvestCountingEachWindow(main, state.settings, state.patient, desktop, PortableText());
      } else {
        HarvestPracticeWindow(main, state.settings, L"WinDevObject", state.patient, desktop, PortableText());
      }
      std::vector<std::wstring> values;
      for (int n = 1; n <= kFieldCount; ++n) values.push_back(state.patient.Value(FieldOfEntry(n)));
      return values;
    };
    const auto linear = harvest(false);
    EXPECT_EQ(linear, harvest(true));
    // Not two empty records (one may miss: a " Edit" window is counted but never read).
    EXPECT_GE(std::count_if(linear.begin(), linear.end(), [](const std::wstring& v) { return !v.empty(); }), 3);
  }
}

}  // namespace
}  // namespace corvane

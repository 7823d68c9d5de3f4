// The harvest in its three reading modes, and the control identities the finder gives, which
// the harvest must read back.
#include "reader/harvest.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/fakes/fake_desktop.h"

namespace corvane {
namespace {

class HarvestTest : public ::testing::Test {
 protected:
  WindowHandle Practice(const char* className) {
    practiceClass = PortableText().FromAnsi(className);
    return main = desktop.AddTopLevel(className, "Dossier");
  }
  WindowHandle Add(WindowHandle parent, const char* className, std::int32_t id = 0, std::string text = "") {
    return desktop.AddChild(parent, className, id, text);
  }
  // Entry n of the settings is entries[n - 1]; the fields harvested, "|" after each.
  std::wstring Harvest(const std::vector<const wchar_t*>& entries) {
    for (std::size_t n = 0; n < entries.size(); ++n) settings.SetEntry(static_cast<int>(n + 1), entries[n]);
    patient = PatientRecord();
    HarvestPracticeWindow(main, settings, practiceClass, patient, desktop, PortableText());
    std::wstring fields;
    for (int n = 1; n <= kFieldCount; ++n) fields += patient.Value(FieldOfEntry(n)) + L"|";
    return fields;
  }

  fakes::FakeDesktop desktop;
  LinkSettings settings;
  PatientRecord patient;
  WindowHandle main;
  std::wstring practiceClass;
};

// Combos are read through their first child; statics and buttons never, whatever their id;
// two entries on one control each get its own rule; 255 bytes shown, 254 read.
TEST_F(HarvestTest, PlainModeMatchesEntriesAgainstControlIds) {
  Practice("JULIE2");
  Add(main, "Edit", 0, "SANS IDENTIFIANT");
  Add(Add(main, "Panel", 50, "panneau"), "Edit", 1002, "Lef\xE8vre");
  Add(main, "Edit", -5, "01 02");
  Add(main, "Edit", 15, std::string(255, 'a') + '\0' + "b");
  const WindowHandle combo = Add(main, "JWCOMBOBOX", 1006, "Liste");
  Add(combo, "EDIT", 1016, "Mme\tMadame");
  Add(combo, "EDIT", 1017, "second");
  Add(main, "JWCOMBO", 1007, "sans enfant");
  Add(main, "STATIQUE_LABEL", 11, "LIBELLE");
  Add(main, "BOUTON", 12, "OK");
  Add(main, "Statique", 13, "lu");  // the class tests are case-sensitive prefixes
  Add(main, "XBOUTON", 14, "lu");
  EXPECT_EQ(Harvest({L"", L"0", L"1002", L"1006", L"11", L"12", L"13", L"14", L"1002", L"1016", L"-5", L"1007",
                     L"14", L"15"}),
            L"||Lefèvre|Mme|||lu|lu|LEFÈVRE|Mme\tMadame|0102| |lu|" + std::wstring(254, L'a') + L"|");
  EXPECT_EQ(desktop.counts.textReads, 8) << "only the configured windows are read";
}

TEST_F(HarvestTest, JulieReadsOnlyControlsWhoseDirectParentIsATabPageOrADialog) {
  Practice("JULIE");
  const WindowHandle page = Add(main, "JWTABPAGE1", 2000);
  Add(page, "Edit", 1001, "00042");
  Add(Add(main, "#32770", 2001), "Edit", 1007, "3 rue");
  Add(Add(page, "JWCOMBOBOX", 1006, "Civilit\xE9"), "Edit", 1016, "M.\tMonsieur");  // its parent is the combo
  Add(main, "Edit", 1099, "HORS PAGE");
  Add(Add(main, "JWCADRE", 2002), "Edit", 1098, "HORS CADRE");
  Add(Add(main, "jwtabpage", 2004), "Edit", 1096, "minuscules");
  Add(page, "STATIQUE", 1095, "libell\xE9");
  EXPECT_EQ(Harvest({L"1001", L"1007", L"1006", L"1016", L"1099", L"1098", L"1096", L"2000", L"1095"}),
            L"00042|3 rue|M.\tMonsieur||||||||||||");
}

TEST_F(HarvestTest, WinDevReadsEditWindowsByOrdinalAndStopsPastTheHighest) {
  Practice("WinDevObject");
  Add(main, "Edit", 7, "00042");                                 // 1
  Add(main, "RichEdit20A", 0, "Remarques");                      // not of the family
  Add(main, "EditWinDev", 0, "Lef\xE8vre");                      // 2: any class beginning with "Edit"
  Add(main, "EDITMAJ", 0, "MAJUSCULES");
  desktop.At(Add(Add(main, "WinDevPane"), "Edit", 0, "CACH\xC9")).visible = false;  // 3: hidden ones count
  Add(main, "Edit", 1002, "Zo\xEB");                             // 4, whatever its id
  Add(main, "Edit", 0, "jamais vu");
  EXPECT_EQ(Harvest({L"3", L"", L"", L"", L"", L"", L"", L"", L"2", L"1", L"", L"4"}),
            L"CACHÉ||||||||LEFÈVRE|00042||ZOE|||");
  EXPECT_EQ(desktop.counts.visited, 7) << "no window after the 4th Edit is asked anything";
}

TEST_F(HarvestTest, AProgramThatStopsAnsweringAbandonsTheWalkAndADestroyedControlGivesASpace) {
  Practice("CabinetPlain");
  desktop.At(Add(main, "Panel", 1)).destroyedWhileRead = true;  // rebuilt for the next patient as we read
  Add(main, "Edit", 2, "avant");
  desktop.At(Add(main, "Edit", 3, "jamais")).hung = true;
  Add(main, "Edit", 4, "apres");
  try {
    Harvest({L"1", L"2", L"3", L"4"});
    ADD_FAILURE() << "the walk must fail";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
  }
  EXPECT_EQ(patient.Value(Field::Adresse1) + patient.Value(Field::Adresse2) + patient.Value(Field::CP), L" avant");
  EXPECT_EQ(desktop.counts.visited, 3);  // each further window would wait out its own time-out
}

// The finder's identity of a control is what the harvest looks for, in both forms, on a tree
// past the 255 edit windows an 8-bit counter can number; an ordinal is counted below the
// practice window up to the target only, and a window that is no Edit has none.
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
        EXPECT_EQ(PortableText().ToAnsi(Harvest({identity.c_str()})), (read ? desktop.At(windows[at]).text : "") + std::string(14, '|'));
    }
  }
  const WindowHandle other = main;
  Practice("WinDevObject");
  const WindowHandle first = Add(Add(main, "Panel"), "Edit"), label = Add(main, "Static"), second = Add(main, "Edit");
  Add(main, "Edit");
  desktop.counts = {};
  EXPECT_EQ(EditOrdinalOf(second, main, desktop), 2);
  EXPECT_EQ(desktop.counts.visited, 4) << "the walk stops at its target";
  EXPECT_EQ(EditOrdinalOf(first, main, desktop), 1);
  EXPECT_EQ(EditOrdinalOf(label, main, desktop), 0) << "never the ordinal of an earlier control";
  EXPECT_EQ(EditOrdinalOf(first, other, desktop), 0) << "counted below the practice window only";
}

}  // namespace
}  // namespace corvane

// The harvest in its three reading modes, and the control identities the finder gives, which
// the harvest must read back.
#include "reader/harvest.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/fakes/fake_desktop.h"

namespace corvane {
namespace {

// One configured field: its settings entry and what the harvest must leave in it.
struct Row {
  Field field;
  const wchar_t* entry;
  std::wstring expected;
};

class HarvestTest : public ::testing::Test {
 protected:
  WindowHandle Practice(const char* className) {
    practiceClass = PortableText().FromAnsi(className);
    return main = desktop.AddTopLevel(className, "Dossier");
  }
  WindowHandle Add(WindowHandle parent, const char* className, std::int32_t id = 0, const char* text = "") {
    return desktop.AddChild(parent, className, id, text);
  }
  void HarvestAndExpect(std::initializer_list<Row> rows) {
    for (const Row& row : rows) settings.SetEntry(EntryOf(row.field), row.entry);
    HarvestPracticeWindow(main, settings, practiceClass, patient, desktop, PortableText());
    for (const Row& row : rows) EXPECT_EQ(patient.Value(row.field), row.expected) << "entry " << row.entry;
  }

  fakes::FakeDesktop desktop;
  LinkSettings settings;
  PatientRecord patient;
  WindowHandle main;
  std::wstring practiceClass;
};

// Combos are read through their first child; statics and buttons never, whatever their id.
TEST_F(HarvestTest, PlainModeMatchesEntriesAgainstControlIds) {
  Practice("JULIE2");
  Add(main, "Edit", 0, "SANS IDENTIFIANT");
  Add(Add(main, "Panel", 50, "panneau"), "Edit", 1002, "Lef\xE8vre");
  Add(main, "Edit", -5, "01 02 03 04 05");
  desktop.At(Add(main, "Edit", 15)).text = std::string(255, 'a') + "\0b";
  const WindowHandle combo = Add(main, "JWCOMBOBOX", 1006, "Liste");
  Add(combo, "EDIT", 1016, "Mme\tMadame");
  Add(combo, "EDIT", 1017, "second");
  Add(main, "JWCOMBO", 1007, "sans enfant");
  Add(main, "STATIQUE_LABEL", 11, "LIBELLE");
  Add(main, "BOUTON", 12, "OK");
  Add(main, "Statique", 13, "lu");  // the class tests are case-sensitive ...
  Add(main, "XBOUTON", 14, "lu");   // ... prefixes
  HarvestAndExpect({
      {Field::Adresse1, L"", L""},
      {Field::Adresse2, L"0", L""},       // not even the control whose id is 0
      {Field::Nom, L"1002", L"LEFÈVRE"},  // two entries on one control, each with its own rule
      {Field::Adresse3, L"1002", L"Lefèvre"},
      {Field::Telephone, L"-5", L"01 02 03 04 05"},
      {Field::Ville, L"15", std::wstring(254, L'a')},  // 255 bytes shown, 254 read
      {Field::Civilite, L"1006", L"Mme"},
      {Field::NumDossier, L"1016", L"Mme\tMadame"},  // the combo's child is also walked
      {Field::Prenom, L"1007", L" "},                // a combo without a child reads as a space
      {Field::DateNaissance, L"11", L""},
      {Field::EMail, L"12", L""},
      {Field::Mobile, L"13", L"lu"},
      {Field::NumSS, L"14", L"lu"},
  });
  EXPECT_EQ(desktop.counts.textReads, 8) << "only the configured windows are read";
  EXPECT_EQ(desktop.counts.classNameReads, 10);
}

TEST_F(HarvestTest, JulieReadsOnlyControlsWhoseDirectParentIsATabPageOrADialog) {
  Practice("JULIE");
  const WindowHandle page = Add(main, "JWTABPAGE1", 2000);
  Add(page, "Edit", 1001, "00042");
  Add(Add(main, "#32770", 2001), "Edit", 1007, "3 rue des Lilas");
  Add(Add(page, "JWCOMBOBOX", 1006, "Civilit\xE9"), "Edit", 1016, "M.\tMonsieur");
  Add(main, "Edit", 1099, "HORS PAGE");
  Add(Add(main, "JWCADRE", 2002), "Edit", 1098, "HORS CADRE");
  Add(Add(main, "jwtabpage", 2004), "Edit", 1096, "minuscules");
  Add(page, "STATIQUE", 1095, "libell\xE9");
  HarvestAndExpect({
      {Field::NumDossier, L"1001", L"00042"},
      {Field::Adresse1, L"1007", L"3 rue des Lilas"},
      {Field::Civilite, L"1006", L"M."},
      {Field::CP, L"1016", L""},   // its parent is the combo
      {Field::Nom, L"1099", L""},  // directly on the main window
      {Field::Adresse2, L"1098", L""},
      {Field::EMail, L"1096", L""},
      {Field::Mobile, L"2000", L""},  // the tab page itself sits on the main window
      {Field::Ville, L"1095", L""},
  });
}

TEST_F(HarvestTest, WinDevReadsEditWindowsByOrdinalAndStopsPastTheHighest) {
  Practice("WinDevObject");
  Add(main, "Edit", 7, "00042");               // 1
  Add(main, "RichEdit20A", 0, "Remarques");    // not of the family
  Add(main, "EditWinDev", 0, "Lef\xE8vre");    // 2: any class beginning with "Edit"
  Add(main, "EDITMAJ", 0, "MAJUSCULES");
  const WindowHandle pane = Add(main, "WinDevPane");
  desktop.At(Add(pane, "Edit", 0, "CACH\xC9")).visible = false;  // 3: hidden ones count
  Add(pane, "Edit", 1002, "Zo\xEB");                             // 4, whatever its id
  Add(main, "Edit", 0, "jamais vu");
  HarvestAndExpect({
      {Field::NumDossier, L"1", L"00042"},
      {Field::Nom, L"2", L"LEFÈVRE"},
      {Field::Adresse3, L"3", L"CACHÉ"},
      {Field::Prenom, L"4", L"ZOE"},
  });
  EXPECT_EQ(desktop.counts.visited, 7) << "no window after the 4th Edit is asked anything";
}

TEST_F(HarvestTest, AProgramThatStopsAnsweringAbandonsTheWalkAndADestroyedControlGivesASpace) {
  Practice("CabinetPlain");
  desktop.At(Add(main, "Panel", 1)).destroyedWhileRead = true;  // rebuilt for the next patient as we read
  Add(main, "Edit", 2, "avant");
  desktop.At(Add(main, "Edit", 3, "jamais")).hung = true;
  Add(main, "Edit", 4, "apres");
  for (int entry = 1; entry <= 4; ++entry) settings.SetEntry(entry, std::to_wstring(entry));
  try {
    HarvestPracticeWindow(main, settings, practiceClass, patient, desktop, PortableText());
    ADD_FAILURE() << "the walk must fail";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
  }
  EXPECT_EQ(patient.Value(Field::Adresse1), L" ");
  EXPECT_EQ(patient.Value(Field::Adresse2), L"avant");
  EXPECT_EQ(patient.Value(Field::CP), L"");
  EXPECT_EQ(desktop.counts.visited, 3);  // each further window would wait out its own time-out
}

// The finder's identity of a control is what the harvest looks for, in both forms, on a tree
// past the 255 edit windows an 8-bit counter can number.
TEST_F(HarvestTest, TheHarvestReadsTheControlTheFinderIdentified) {
  const char* classes[] = {"Edit", "Edit", "EditWinDev", "Edit ", " Edit", "EDIT", "Edi", "edit", "RichEdit20A", "Panel"};
  for (const char* mode : {"WinDevObject", "Cabinet"}) {
    SCOPED_TRACE(mode);
    Practice(mode);
    std::mt19937 random(7);
    std::vector<WindowHandle> windows{main};
    for (int i = 0; i < 700; ++i) {
      const char* className = classes[random() % std::size(classes)];
      windows.push_back(Add(windows[random() % windows.size()], className, i + 1, className));
      desktop.At(windows.back()).text += std::to_string(i);
    }
    const IdentityForm form = IdentityFormOf(practiceClass);
    for (const std::size_t at : {1, 2, 5, 100, 300, 400, 699, 700}) {
      const WindowHandle window = windows[at];
      const std::wstring identity = ControlIdentityOf(window, form, main, desktop);
      const bool edit = IsEditClass(desktop.At(window).className) || form == IdentityForm::ControlId;
      EXPECT_EQ(identity == L"0", !edit) << at;
      if (!edit) continue;
      settings.SetEntry(EntryOf(Field::Ville), identity);
      patient = PatientRecord();
      HarvestPracticeWindow(main, settings, practiceClass, patient, desktop, PortableText());
      EXPECT_EQ(PortableText().ToAnsi(patient.Value(Field::Ville)), desktop.At(window).text) << at;
    }
  }
  EXPECT_EQ(ControlIdentityOf(WindowHandle(), IdentityForm::ControlId, main, desktop), L"0");
  EXPECT_EQ(IdentityFormOf(L"WinDevObject "), IdentityForm::ControlId);
  for (const char* name : {"Edit", " Edit ", "EditX"}) EXPECT_TRUE(IsEditClass(name)) << name;
  for (const char* name : {"", "   ", "Edi", " Edi ", "edit", "XEdit"}) EXPECT_FALSE(IsEditClass(name)) << name;
}

TEST_F(HarvestTest, AnEditOrdinalIsCountedBelowThePracticeWindowUpToTheTarget) {
  Practice("WinDevObject");
  const WindowHandle other = desktop.AddTopLevel("WinDevObject", "Autre");
  const WindowHandle first = Add(Add(main, "Panel"), "Edit");
  const WindowHandle label = Add(main, "Static");
  const WindowHandle second = Add(main, "Edit");
  Add(main, "Edit");
  desktop.counts = {};
  EXPECT_EQ(EditOrdinalOf(second, main, desktop), 2);
  EXPECT_EQ(desktop.counts.visited, 4) << "the walk stops at the target";
  EXPECT_EQ(EditOrdinalOf(first, main, desktop), 1);
  EXPECT_EQ(EditOrdinalOf(label, main, desktop), 0) << "never the ordinal of an earlier control";
  EXPECT_EQ(EditOrdinalOf(Add(other, "Edit"), main, desktop), 0);
  EXPECT_EQ(ReadingModeOf(L"JULIE"), ReadingMode::Julie);
  for (const wchar_t* other : {L"julie", L"JULIE ", L"windevobject", L"WinDev"})
    EXPECT_EQ(ReadingModeOf(other), ReadingMode::Plain) << other;
}

}  // namespace
}  // namespace corvane

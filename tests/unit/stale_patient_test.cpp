// A patient who is no longer on the practice program's screen is never handed to the X-ray
// program: the lookup of the practice window, the harvest, the patient record and the
// hand-off together, as a click drives them.
#include <gtest/gtest.h>

#include <functional>

#include "handoff/handoff_records.h"
#include "link/read_patient_fields.h"
#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

const std::map<int, std::string> kPatientA = {{10, "1207"}, {9, "Lef\xE8vre"}, {12, "H\xE9l\xE8ne"}, {6, "14/03/1985"},
                                              {11, "2 85 03 75 123 456 78"}};
const HandOffValues kHandedOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const std::map<int, std::string> kPatientB = {{10, "1300"}, {9, "Martin"}, {12, "Luc"}, {6, "02/11/1990"},
                                              {11, "1 90 11 13 055 001 23"}};
const HandOffValues kHandedOffB{L"MARTIN", L"LUC", L"02/11/1990", L"1300", L"190111305500123"};
constexpr std::pair<int, std::wstring HandOffValues::*> kSlots[] = {{9, &HandOffValues::nom},
                                                                    {12, &HandOffValues::prenom},
                                                                    {6, &HandOffValues::dateNaissance},
                                                                    {10, &HandOffValues::numDossier},
                                                                    {11, &HandOffValues::numSS}};

// The link and a practice program showing patient A in one control per handed-off field.
struct Bench : fakes::FakeLink {
  Bench() : FakeLink("stale") { practice = OpenPractice("Cabinet", "Dossier patient", kPatientA); }
  void Show(const std::map<int, std::string>& patient) {
    for (const auto& [entry, control] : controls) desktop.At(control).text = patient.at(entry);
  }
  bool Click() {  // a plain click on the launcher: harvest, then hand off
    ReadPatientFields(state, paths, platform);
    return LaunchSidexis(state, paths, platform);
  }
  void ExpectHandedOff(const HandOffValues& values) const {
    const HandOffRecords records = BuildHandOffRecords(values, L"CABINET1", clock.now, text);
    EXPECT_EQ(Read(paths.siomin), records.n + records.a);
    EXPECT_EQ(Read(paths.siomin2), records.n + records.a);
  }
  WindowHandle practice;
};

// After patient A was handed off, every way a click can fail to find the practice window
// refuses the hand-off: the first name counts as missing, the files keep A, the X-ray program
// is not started again, and the screen still shows A. Once B shows, a click hands B off.
TEST(StalePatient, NoPracticeWindowFoundRefusesTheHandOffAndKeepsTheEarlierOne) {
  const struct {
    const char* what;
    std::function<void(Bench&)> lose, recover;
  } cases[] = {
      {"the practice program was closed", [](Bench& b) { b.desktop.Destroy(b.practice); },
       [](Bench& b) { b.OpenPractice("Cabinet", "Dossier patient", kPatientB); }},
      {"its window bears another title", [](Bench& b) { b.desktop.At(b.practice).title = "Agenda"; },
       [](Bench& b) { b.desktop.At(b.practice).title = "Dossier patient"; }},
      {"the settings name no title", [](Bench& b) { b.settingsLines[16] = ""; }},
      {"the settings name Visiodent, not running", [](Bench& b) { b.settingsLines[15] = "FENETRE_VISIODENT32"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench bench;
    ASSERT_TRUE(bench.Click());
    bench.ExpectHandedOff(kHandedOffA);
    const std::vector<std::string> lines = bench.settingsLines;
    c.lose(bench);
    bench.WriteSettings(bench.settingsLines);
    bench.Show(kPatientB);
    EXPECT_FALSE(bench.Click());
    ASSERT_EQ(bench.messages.shown.size(), 1u);
    EXPECT_EQ(bench.messages.shown[0].text, L"Il manque le prénom ou l'Application.");
    EXPECT_EQ(bench.programs.started.size(), 1u) << "not started again";
    bench.ExpectHandedOff(kHandedOffA);
    EXPECT_EQ(bench.state.patient.Value(Field::Nom), L"LEFÈVRE");

    if (c.recover) c.recover(bench);
    bench.WriteSettings(lines);
    bench.Show(kPatientB);
    EXPECT_TRUE(bench.Click());
    bench.ExpectHandedOff(kHandedOffB);
  }
}

// The practice window is found but one control is gone when it shows patient B: B is handed
// off with that field empty, never with A's value, which the screen still shows.
TEST(StalePatient, AControlMissingForTheNextPatientHandsOffThatFieldEmpty) {
  for (const auto& [missing, slot] : kSlots) {
    if (missing == 12) continue;  // without a first name nothing is handed off
    SCOPED_TRACE(missing);
    Bench bench;
    ASSERT_TRUE(bench.Click());
    bench.desktop.Destroy(bench.controls[missing]);
    bench.Show(kPatientB);
    EXPECT_TRUE(bench.Click());
    HandOffValues expected = kHandedOffB;
    expected.*slot = L"";
    bench.ExpectHandedOff(expected);
    EXPECT_EQ(bench.state.patient.Value(FieldOfEntry(missing)), kHandedOffA.*slot);
  }
}

// On the practice program whose window is titled "Fiche d'état civil" the first name sits on a
// tab the user may leave: the message then says which tab to open. Typing the first name on
// the screen instead lets the next patient go.
TEST(StalePatient, FirstNameOffScreenOnTheTabbedPracticeProgramSaysWhichTabToOpen) {
  Bench bench;
  bench.practice = bench.desktop.AddTopLevel("JULIE", "Fiche d'\xE9tat civil");
  const WindowHandle page = bench.desktop.AddChild(bench.practice, "JWTABPAGE1", 1);
  const WindowHandle firstNamePage = bench.desktop.AddChild(bench.practice, "JWTABPAGE2", 2);
  for (const auto& [entry, slot] : kSlots)
    bench.controls[entry] = bench.desktop.AddChild(entry == 12 ? firstNamePage : page, "Edit", 1000 + entry);
  bench.settingsLines[15] = "JULIE";
  bench.settingsLines[16] = "Fiche d'\xE9tat civil";
  bench.WriteSettings(bench.settingsLines);
  bench.Show(kPatientA);
  ASSERT_TRUE(bench.Click());

  bench.desktop.Destroy(firstNamePage);  // the user opens another tab
  bench.Show(kPatientB);
  EXPECT_FALSE(bench.Click());
  ASSERT_EQ(bench.messages.shown.size(), 1u);
  EXPECT_EQ(bench.messages.shown[0].text,
            L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.");
  bench.ExpectHandedOff(kHandedOffA);

  ReadPatientFields(bench.state, bench.paths, bench.platform);
  bench.state.patient.StoreTyped(Field::Prenom, L"Luc");
  EXPECT_TRUE(bench.Click());
  HandOffValues expected = kHandedOffB;
  expected.prenom = L"Luc";
  bench.ExpectHandedOff(expected);
}

// Visiodent's live title, read (and framed) from the first window of its class, replaces the
// stored one when it begins with exactly "VISIODE"; a stored title is used up to its first NUL.
TEST(StalePatient, ThePracticeWindowIsFoundByItsTitleVisiodentsLiveOne) {
  const struct {
    const char* className;
    std::string stored, title;
    bool found;
  } cases[] = {
      {"Cabinet", std::string("Dossier patient\0", 16), "Dossier patient", true},
      {"Cabinet", std::string(1, '\0'), "", true},
      {"Cabinet", "", "", false},
      {"FENETRE_VISIODENT32", "Dossier patient", "VISIODE", true},
      {"FENETRE_VISIODENT32", "VISIODENT", "VISIODENT - Lef\xE8vre", true},
      {"FENETRE_VISIODENT32", "Visiodent", "Visiodent", false},
      {"FENETRE_VISIODENT32", "VISIOD", "VISIOD", false},
      {"FENETRE_VISIODENT32", " VISIODENT", " VISIODENT", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    Bench bench;
    bench.desktop.Destroy(bench.practice);
    const WindowHandle window = bench.OpenPractice(c.className, c.title, kPatientA, "1");
    bench.desktop.At(window).text = c.title;  // a top-level window answers WM_GETTEXT with its title
    bench.settingsLines[16] = c.stored;
    bench.WriteSettings(bench.settingsLines);
    ReadPatientFields(bench.state, bench.paths, bench.platform);
    EXPECT_EQ(bench.state.practice.handle, c.found ? window : WindowHandle());
    EXPECT_EQ(bench.state.patient.ValuesToHandOff(), c.found ? kHandedOffA : HandOffValues{});
    EXPECT_EQ(bench.state.practice.showScreen, L"1");
    const bool visiodent = c.className == std::string("FENETRE_VISIODENT32");
    EXPECT_EQ(bench.gdi.drawings.size(), visiodent ? 1u : 0u) << "only the Visiodent title read draws a frame";
    if (visiodent && !c.found) EXPECT_EQ(bench.state.patient.temp, bench.text.FromAnsi(c.title));
  }

  // Ctrl + right click only reads and frames the title of the first Visiodent window; one that
  // stops answering gives the error with Temp and the screen left alone.
  Bench bench;
  const WindowHandle first = bench.desktop.AddTopLevel("FENETRE_VISIODENT32", "Connexion");
  bench.desktop.At(first).text = "VISIODENT - Lef\xE8vre";
  bench.desktop.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - Martin");
  TestFunction(bench.state, bench.platform);
  EXPECT_EQ(bench.state.patient.temp, L"VISIODENT - Lefèvre");
  EXPECT_EQ(bench.state.patient.Value(Field::Nom), L"");
  bench.desktop.At(first).hung = true;
  EXPECT_THROW(TestFunction(bench.state, bench.platform), LinkError);
  EXPECT_EQ(bench.state.patient.temp, L"VISIODENT - Lefèvre");
  ASSERT_EQ(bench.gdi.drawings.size(), 1u);
  EXPECT_EQ(bench.gdi.drawings[0].window, first);
}

}  // namespace
}  // namespace corvane

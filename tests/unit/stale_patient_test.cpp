// A patient who is no longer on the practice program's screen is never handed to the X-ray
// program: the lookup of the practice window, the harvest, the record and the hand-off together.
#include <gtest/gtest.h>

#include <functional>

#include "handoff/handoff_records.h"
#include "link/read_patient_fields.h"
#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

const std::map<int, std::string> kPatientA = {{10, "1207"}, {9, "Lef\xE8vre"}, {12, "H\xE9l\xE8ne"}, {6, "14/03/1985"},
                                              {11, "2 85 03 75 123 456 78"}};
const std::map<int, std::string> kPatientB = {{10, "1300"}, {9, "Martin"}, {12, "Luc"}, {6, "02/11/1990"},
                                              {11, "1 90 11 13 055 001 23"}};
const HandOffValues kHandedOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const std::map<int, std::wstring HandOffValues::*> kSlots = {{9, &HandOffValues::nom}, {12, &HandOffValues::prenom},
    {6, &HandOffValues::dateNaissance}, {10, &HandOffValues::numDossier}, {11, &HandOffValues::numSS}};
const wchar_t kTabbed[] = L"Fiche d'état civil";

// The link and a practice program showing patient A in one control per handed-off field.
struct Bench : fakes::FakeLink {
  explicit Bench(const std::wstring& title = L"Dossier patient") : FakeLink("stale") {
    practice = OpenPractice("Cabinet", text.ToAnsi(title), kPatientA);
  }
  void Show(const std::map<int, std::string>& patient) {
    for (const auto& [entry, control] : controls) desktop.At(control).text = patient.at(entry);
  }
  bool Click() {  // a plain click on the launcher: harvest, then hand off
    ReadPatientFields(state, paths, platform);
    return LaunchSidexis(state, paths, platform);
  }
  std::string HandOff(const HandOffValues& values) const {
    const HandOffRecords records = BuildHandOffRecords(values, L"CABINET1", clock.now, text);
    EXPECT_EQ(Read(paths.siomin2), Read(paths.siomin));
    return records.n + records.a;
  }
  WindowHandle practice;
};

// After patient A was handed off, every way a click can miss patient B refuses the hand-off
// or hands B off with the missing field empty, never with A's value, which the screen still
// shows; the files keep A and the X-ray program is not started again.
TEST(StalePatient, APatientNoLongerShownIsNeverHandedOff) {
  const wchar_t* const kShort = L"Il manque le prénom ou l'Application.";
  const struct {
    const char* what;
    std::function<void(Bench&)> lose;
    const wchar_t* said;  // null: B is handed off without the field whose control is gone
    int gone = 0;
    const wchar_t* title = L"Dossier patient";
  } cases[] = {
      {"the practice program was closed", [](Bench& b) { b.desktop.Destroy(b.practice); }, kShort},
      {"its window bears another title", [](Bench& b) { b.desktop.At(b.practice).title = "Agenda"; }, kShort},
      {"the settings name no title", [](Bench& b) { b.settingsLines[16] = ""; }, kShort},
      {"the settings name Visiodent, not running", [](Bench& b) { b.settingsLines[15] = "FENETRE_VISIODENT32"; }, kShort},
      {"the first name's tab is closed", [](Bench&) {}, kShort, 12},
      {"the first name's tab is closed on the tabbed program", [](Bench&) {},
       L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.", 12,
       kTabbed},
      {"the name control is gone", [](Bench&) {}, nullptr, 9},
      {"the birth date control is gone", [](Bench&) {}, nullptr, 6},
      {"the file number control is gone", [](Bench&) {}, nullptr, 10},
      {"the social-security number control is gone", [](Bench&) {}, nullptr, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench bench(c.title);
    ASSERT_TRUE(bench.Click());
    const std::string handOffA = bench.Read(bench.paths.siomin);
    ASSERT_EQ(handOffA, bench.HandOff(kHandedOffA));
    c.lose(bench);
    bench.WriteSettings(bench.settingsLines);
    if (c.gone) bench.desktop.Destroy(bench.controls[c.gone]);
    bench.Show(kPatientB);
    EXPECT_EQ(bench.Click(), c.said == nullptr);
    const int shown = c.gone ? c.gone : 12;  // still shows patient A's value
    EXPECT_EQ(bench.state.patient.Value(FieldOfEntry(shown)), kHandedOffA.*kSlots.at(shown));
    if (c.said) {
      ASSERT_EQ(bench.messages.shown.size(), 1u);
      EXPECT_EQ(bench.messages.shown[0].text, c.said);
      EXPECT_EQ(bench.programs.started.size(), 1u) << "not started again";
      EXPECT_EQ(bench.Read(bench.paths.siomin), handOffA);
    } else {
      HandOffValues b{L"MARTIN", L"LUC", L"02/11/1990", L"1300", L"190111305500123"};
      b.*kSlots.at(c.gone) = L"";
      EXPECT_EQ(bench.Read(bench.paths.siomin), bench.HandOff(b));
    }
  }
}

// Visiodent's live title, read (and framed) from the first window of its class, replaces the
// stored one when it begins with exactly "VISIODE"; a stored title is used up to its first NUL.
TEST(StalePatient, ThePracticeWindowIsFoundByItsTitleVisiodentsLiveOne) {
  const std::tuple<const char*, std::string, std::string, bool> cases[] = {
      {"Cabinet", std::string("Dossier\0", 8), "Dossier", true},
      {"Cabinet", std::string(1, '\0'), "", true},
      {"Cabinet", "", "", false},
      {"FENETRE_VISIODENT32", "Dossier", "VISIODE", true},
      {"FENETRE_VISIODENT32", "VISIODENT", "VISIODENT - Lef\xE8vre", true},
      {"FENETRE_VISIODENT32", "Visiodent", "Visiodent", false},
      {"FENETRE_VISIODENT32", " VISIODENT", " VISIODENT", false},
  };
  for (const auto& [className, stored, title, found] : cases) {
    SCOPED_TRACE(title);
    Bench bench;
    bench.desktop.Destroy(bench.practice);
    const WindowHandle window = bench.OpenPractice(className, title, kPatientA, "1");
    bench.desktop.At(window).text = title;  // a top-level window answers WM_GETTEXT with its title
    bench.settingsLines[16] = stored;
    bench.WriteSettings(bench.settingsLines);
    ReadPatientFields(bench.state, bench.paths, bench.platform);
    EXPECT_EQ(bench.state.practice.handle, found ? window : WindowHandle());
    EXPECT_EQ(bench.state.patient.ValuesToHandOff(), found ? kHandedOffA : HandOffValues{});
    const bool visiodent = className[0] == 'F';
    EXPECT_EQ(bench.gdi.drawings.size(), visiodent ? 1u : 0u) << "only the Visiodent title read draws a frame";
    if (visiodent && !found) EXPECT_EQ(bench.state.patient.temp, bench.text.FromAnsi(title));
  }
  // Ctrl + right click only reads and frames the title of the first Visiodent window; one that
  // stops answering gives the error with Temp and the screen left alone.
  Bench bench;
  const WindowHandle first = bench.desktop.AddTopLevel("FENETRE_VISIODENT32", "Connexion");
  bench.desktop.At(first).text = "VISIODENT - Lef\xE8vre";
  bench.desktop.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - Martin");
  TestFunction(bench.state, bench.platform);
  bench.desktop.At(first).hung = true;
  EXPECT_THROW(TestFunction(bench.state, bench.platform), LinkError);
  EXPECT_EQ(bench.state.patient.temp + bench.state.patient.Value(Field::Nom), L"VISIODENT - Lefèvre");
  ASSERT_EQ(bench.gdi.drawings.size(), 1u);
  EXPECT_EQ(bench.gdi.drawings[0].dc.window, first);
}

}  // namespace
}  // namespace corvane

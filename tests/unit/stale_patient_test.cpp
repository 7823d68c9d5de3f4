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
const HandOffValues kHandedOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const std::map<int, std::wstring HandOffValues::*> kSlots = {{9, &HandOffValues::nom}, {12, &HandOffValues::prenom},
    {6, &HandOffValues::dateNaissance}, {10, &HandOffValues::numDossier}, {11, &HandOffValues::numSS}};

bool Click(fakes::FakeLink& link) {  // a plain click on the launcher: harvest, then hand off
  ReadPatientFields(link.state, link.paths, link.platform);
  return LaunchSidexis(link.state, link.paths, link.platform);
}

// After patient A was handed off, every way a click can miss patient B refuses the hand-off
// or hands B off with the missing field empty, never with A's value, which the screen still
// shows; the files keep A and the X-ray program is not started again.
TEST(StalePatient, APatientNoLongerShownIsNeverHandedOff) {
  const wchar_t* const kShort = L"Il manque le prénom ou l'Application.|";
  const struct {
    std::function<void(fakes::FakeLink&)> lose;
    const wchar_t* said;  // null: B is handed off without the field whose control is gone
    int gone = 0;
    const char* title = "Dossier patient";
  } cases[] = {
      {[](fakes::FakeLink& l) { l.desktop.Destroy(l.desktop.FindTopLevel("Cabinet", {})); }, kShort},  // closed
      {[](fakes::FakeLink& l) { l.desktop.At(l.desktop.FindTopLevel("Cabinet", {})).title = "Agenda"; }, kShort},
      {[](fakes::FakeLink& l) { l.settingsLines[16] = ""; }, kShort},
      {[](fakes::FakeLink& l) { l.settingsLines[15] = "FENETRE_VISIODENT32"; }, kShort},  // not running
      {[](fakes::FakeLink&) {}, kShort, 12},                                                // the first name's tab closed
      {[](fakes::FakeLink&) {}, L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet "
                                L"'Sécurité Sociale-Mutuelle'.|", 12, "Fiche d'\xE9tat civil"},
      {[](fakes::FakeLink&) {}, nullptr, 9},
      {[](fakes::FakeLink&) {}, nullptr, 6},
      {[](fakes::FakeLink&) {}, nullptr, 10},
      {[](fakes::FakeLink&) {}, nullptr, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    fakes::FakeLink link("stale");
    link.OpenPractice("Cabinet", c.title, kPatientA);
    ASSERT_TRUE(Click(link));
    const std::string handOffA = link.Read(link.paths.siomin);
    c.lose(link);
    link.WriteSettings(link.settingsLines);
    if (c.gone) link.desktop.Destroy(link.controls[c.gone]);
    for (const auto& [entry, value] : std::map<int, std::string>{
             {10, "1300"}, {9, "Martin"}, {12, "Luc"}, {6, "02/11/1990"}, {11, "1 90 11 13 055 001 23"}})
      link.desktop.At(link.controls[entry]).text = value;
    EXPECT_EQ(Click(link), c.said == nullptr);
    const int shown = c.gone ? c.gone : 12;  // still shows patient A's value
    EXPECT_EQ(link.state.patient.Value(FieldOfEntry(shown)), kHandedOffA.*kSlots.at(shown));
    HandOffValues b{L"MARTIN", L"LUC", L"02/11/1990", L"1300", L"190111305500123"};
    if (c.gone) b.*kSlots.at(c.gone) = L"";
    const HandOffRecords records = BuildHandOffRecords(b, L"CABINET1", link.clock.now, link.text);
    EXPECT_EQ(link.Read(link.paths.siomin), c.said ? handOffA : records.n + records.a);
    EXPECT_EQ(link.Read(link.paths.siomin2), link.Read(link.paths.siomin));
    EXPECT_EQ(link.messages.Taken(), c.said ? c.said : L"");
    EXPECT_EQ(link.programs.started.size(), c.said ? 1u : 2u);
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
    fakes::FakeLink link("visiodent");
    const WindowHandle window = link.OpenPractice(className, title, kPatientA, "1");
    link.desktop.At(window).text = title;  // a top-level window answers WM_GETTEXT with its title
    link.settingsLines[16] = stored;
    link.WriteSettings(link.settingsLines);
    ReadPatientFields(link.state, link.paths, link.platform);
    EXPECT_EQ(link.state.practice.handle, found ? window : WindowHandle());
    EXPECT_EQ(link.state.patient.ValuesToHandOff(), found ? kHandedOffA : HandOffValues{});
    const bool visiodent = className[0] == 'F';
    EXPECT_EQ(link.gdi.drawings.size(), visiodent ? 1u : 0u) << "only the Visiodent title read draws a frame";
    if (visiodent && !found) EXPECT_EQ(link.state.patient.temp, link.text.FromAnsi(title));
  }
  // Ctrl + right click only reads and frames the title of the first Visiodent window; one that
  // stops answering gives the error with Temp and the screen left alone.
  fakes::FakeLink link("visiodent");
  const WindowHandle first = link.desktop.AddTopLevel("FENETRE_VISIODENT32", "Connexion");
  link.desktop.At(first).text = "VISIODENT - Lef\xE8vre";
  link.desktop.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - Martin");
  TestFunction(link.state, link.platform);
  link.desktop.At(first).hung = true;
  EXPECT_THROW(TestFunction(link.state, link.platform), LinkError);
  EXPECT_EQ(link.state.patient.temp + link.state.patient.Value(Field::Nom), L"VISIODENT - Lefèvre");
  ASSERT_EQ(link.gdi.drawings.size(), 1u);
  EXPECT_EQ(link.gdi.drawings[0].dc.window, first);
}

}  // namespace
}  // namespace corvane

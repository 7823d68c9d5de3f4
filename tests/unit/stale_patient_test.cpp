// A patient who is no longer on the practice program's screen is never handed to the X-ray
// program. The harvest, the patient record and the hand-off together, as a click drives
// them, over an in-memory desktop laid out like the stand-in practice programs, with the
// settings and hand-off files in a temporary folder.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "handoff/handoff.h"
#include "handoff/handoff_records.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "link/read_patient_fields.h"
#include "tests/fakes/fake_link.h"
#include "tests/standins/standin_layout.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A patient as the practice program shows it (Windows-1252 bytes), and as the link must
// hand it off once the field rules have been applied.
struct Patient {
  std::map<Field, std::string> shown;
  HandOffValues handedOff;
};

const Patient kPatientA{{{Field::NumDossier, "1207"},
                         {Field::Nom, "Lef\xE8vre"},
                         {Field::Prenom, "H\xE9l\xE8ne"},
                         {Field::DateNaissance, "14/03/1985"},
                         {Field::NumSS, "2 85 03 75 123 456 78"}},
                        {L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"}};
const Patient kPatientB{{{Field::NumDossier, "1300"},
                         {Field::Nom, "Martin"},
                         {Field::Prenom, "Luc"},
                         {Field::DateNaissance, "02/11/1990"},
                         {Field::NumSS, "1 90 11 13 055 001 23"}},
                        {L"MARTIN", L"LUC", L"02/11/1990", L"1300", L"190111305500123"}};

const wchar_t kShortMissingFirstName[] = L"Il manque le prénom ou l'Application.";
const wchar_t kLongMissingFirstName[] =
    L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.";

// Where HandOffValues carries each handed-off field.
constexpr std::pair<Field, std::wstring HandOffValues::*> kSlots[] = {
    {Field::Nom, &HandOffValues::nom},
    {Field::Prenom, &HandOffValues::prenom},
    {Field::DateNaissance, &HandOffValues::dateNaissance},
    {Field::NumDossier, &HandOffValues::numDossier},
    {Field::NumSS, &HandOffValues::numSS}};

std::wstring Of(const HandOffValues& values, Field field) {
  for (const auto& [f, slot] : kSlots) {
    if (f == field) return values.*slot;
  }
  return {};
}

// `values` with `field` set to `text`.
HandOffValues With(HandOffValues values, Field field, const std::wstring& text) {
  for (const auto& [f, slot] : kSlots) {
    if (f == field) values.*slot = text;
  }
  return values;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The link and a practice program side by side: a settings folder of its own, the practice
// window on a fake desktop with one control per handed-off field (in plain mode on the
// main window, in Julie mode on tab pages), and clicks that harvest then hand off.
class Bench : public fakes::FakeLink {
 public:
  enum class Layout { Plain, Julie };

  explicit Bench(Layout layout) : FakeLink("stale"), layout_(layout) {
    techLines = layout == Layout::Plain ? standin::plain::TechLines() : standin::julie::TechLines();
    WriteSettings();
    OpenPractice(kPatientA);
  }

  void WriteSettings() {
    const std::string bytes = standin::TechFileBytes(techLines);
    std::ofstream(fs::path(paths.settings.tech), std::ios::binary | std::ios::trunc) << bytes;
    std::ofstream(fs::path(paths.settings.tech2), std::ios::binary | std::ios::trunc) << bytes;
  }

  // The practice program starts (again) and shows `patient`.
  void OpenPractice(const Patient& patient) {
    if (layout_ == Layout::Plain) {
      practice = desktop.AddTopLevel(standin::plain::kClass, standin::plain::kTitle);
      for (const auto& [field, slot] : kSlots) AddControl(field, practice);
    } else {
      // The first name sits on a tab page of its own, as on the practice program whose
      // window bears that title.
      practice = desktop.AddTopLevel(standin::julie::kClass, standin::julie::kTitle);
      const WindowHandle page = desktop.AddChild(practice, standin::julie::kTabPageClass, standin::julie::kTabPageId);
      firstNamePage = desktop.AddChild(practice, "JWTABPAGE2", standin::julie::kTabPageId + 10);
      for (const auto& [field, slot] : kSlots) AddControl(field, field == Field::Prenom ? firstNamePage : page);
    }
    Show(patient);
  }

  // The practice program switches to `patient` in the controls it still has.
  void Show(const Patient& patient) {
    for (const auto& [field, window] : controls) {
      if (desktop.IsWindow(window)) desktop.At(window).text = patient.shown.at(field);
    }
  }

  void DropControl(Field field) { desktop.Destroy(controls.at(field)); }
  // A plain click on the launcher: harvest, then hand off. True when the X-ray program started.
  bool Click() {
    ReadPatientFields(state, paths, platform);
    return LaunchSidexis(state, paths, platform);
  }

  // Both files hold exactly the hand-off of `values`.
  void ExpectHandedOff(const HandOffValues& values) const {
    const HandOffRecords records = BuildHandOffRecords(values, L"CABINET1", clock.now, text);
    const std::string expected = records.n + records.a;
    EXPECT_EQ(ReadFile(paths.siomin), expected);
    EXPECT_EQ(ReadFile(paths.siomin2), expected);
  }

  // The screen's boxes still show the values of `patient` as they were harvested.
  void ExpectRecordShows(const HandOffValues& values) const {
    for (const auto& [field, slot] : kSlots) EXPECT_EQ(state.patient.Value(field), values.*slot);
  }

  std::array<std::string, 17> techLines;
  WindowHandle practice;
  WindowHandle firstNamePage;
  std::map<Field, WindowHandle> controls;

 private:
  int IdentityOf(Field field) const { return std::stoi(techLines[static_cast<std::size_t>(EntryOf(field) - 1)]); }
  void AddControl(Field field, WindowHandle parent) {
    controls[field] = desktop.AddChild(parent, "Edit", IdentityOf(field));
  }

  Layout layout_;
};

// After patient A was handed off, every way a click can fail to find the practice window
// refuses the hand-off: the first name counts as missing, the files keep A, the X-ray
// program is not started again, and the screen still shows A. Once the practice program
// shows patient B again, a click hands B off.
TEST(StalePatient, NoPracticeWindowFoundRefusesTheHandOffAndKeepsTheEarlierOne) {
  // How the window goes missing, and how it comes back (by default, the settings are restored).
  struct Case {
    const char* what;
    std::function<void(Bench&)> lose, recover;
  };
  const auto renameSettings = [](int line, const char* value) {
    return [=](Bench& b) {
      b.techLines[static_cast<std::size_t>(line - 1)] = value;
      b.WriteSettings();
    };
  };
  const Case cases[] = {
      {"the practice program was closed", [](Bench& b) { b.desktop.Destroy(b.practice); },
       [](Bench& b) { b.OpenPractice(kPatientB); }},
      {"its window bears another title", [](Bench& b) { b.desktop.At(b.practice).title = "Agenda"; },
       [](Bench& b) { b.desktop.At(b.practice).title = standin::plain::kTitle; }},
      {"the settings name no title any more", renameSettings(17, "")},
      {"the settings name Visiodent, which is not running", renameSettings(16, "FENETRE_VISIODENT32")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench bench(Bench::Layout::Plain);
    ASSERT_TRUE(bench.Click());
    bench.ExpectHandedOff(kPatientA.handedOff);

    c.lose(bench);
    bench.Show(kPatientB);
    EXPECT_FALSE(bench.Click());

    ASSERT_EQ(bench.messages.shown.size(), 1u);
    EXPECT_EQ(bench.messages.shown[0].text, kShortMissingFirstName);
    EXPECT_EQ(bench.messages.shown[0].title, L"Tarnwick");
    EXPECT_FALSE(bench.messages.shown[0].question);
    EXPECT_EQ(bench.programs.started.size(), 1u) << "not started again";
    bench.ExpectHandedOff(kPatientA.handedOff);
    bench.ExpectRecordShows(kPatientA.handedOff);

    if (c.recover) {
      c.recover(bench);
    } else {
      bench.techLines = standin::plain::TechLines();
      bench.WriteSettings();
    }
    bench.Show(kPatientB);
    EXPECT_TRUE(bench.Click());
    bench.ExpectHandedOff(kPatientB.handedOff);
    EXPECT_EQ(bench.programs.started.size(), 2u);
    EXPECT_EQ(bench.messages.shown.size(), 1u);
  }
}

// The practice window is found but one control is gone when it shows patient B: B is
// handed off with that field empty, never with A's value, which the screen still shows.
TEST(StalePatient, AControlMissingForTheNextPatientHandsOffThatFieldEmpty) {
  for (Field missing : {Field::NumSS, Field::Nom, Field::DateNaissance, Field::NumDossier}) {
    SCOPED_TRACE(EntryOf(missing));
    Bench bench(Bench::Layout::Plain);
    ASSERT_TRUE(bench.Click());

    bench.DropControl(missing);
    bench.Show(kPatientB);
    EXPECT_TRUE(bench.Click());

    bench.ExpectHandedOff(With(kPatientB.handedOff, missing, L""));
    EXPECT_EQ(bench.programs.started.size(), 2u);
    EXPECT_TRUE(bench.messages.shown.empty());
    bench.ExpectRecordShows(With(kPatientB.handedOff, missing, Of(kPatientA.handedOff, missing)));
  }
}

// On the practice program whose window is titled "Fiche d'état civil" the first name sits on
// a tab the user may leave: the message then says which tab to open. Typing the first name
// on the screen instead lets the next patient go.
TEST(StalePatient, FirstNameOffScreenOnTheTabbedPracticeProgramSaysWhichTabToOpen) {
  Bench bench(Bench::Layout::Julie);
  ASSERT_TRUE(bench.Click());
  bench.ExpectHandedOff(kPatientA.handedOff);

  // The user opens another tab: the page with the first name goes, the others show B.
  bench.desktop.Destroy(bench.firstNamePage);
  bench.Show(kPatientB);
  EXPECT_FALSE(bench.Click());
  ASSERT_EQ(bench.messages.shown.size(), 1u);
  EXPECT_EQ(bench.messages.shown[0].text, kLongMissingFirstName);
  EXPECT_EQ(bench.messages.shown[0].title, L"Tarnwick");
  EXPECT_EQ(bench.programs.started.size(), 1u);
  bench.ExpectHandedOff(kPatientA.handedOff);
  EXPECT_EQ(bench.state.patient.Value(Field::Prenom), L"HELENE");
  EXPECT_EQ(bench.state.patient.Value(Field::Nom), L"MARTIN");

  ReadPatientFields(bench.state, bench.paths, bench.platform);
  bench.state.patient.StoreTyped(Field::Prenom, L"Luc");
  EXPECT_TRUE(bench.Click());
  bench.ExpectHandedOff(With(kPatientB.handedOff, Field::Prenom, L"Luc"));
}

}  // namespace
}  // namespace corvane

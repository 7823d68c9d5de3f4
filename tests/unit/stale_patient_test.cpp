// A patient who is no longer on the practice program's screen is never handed to the X-ray
// program. The harvest, the patient record and the hand-off together, as a click drives
// them, over an in-memory desktop laid out like the stand-in practice programs, with the
// settings and hand-off files in a temporary folder.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
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
#include "reader/read_patient_fields.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"
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

constexpr Field kHandedOffFields[] = {Field::Nom, Field::Prenom, Field::DateNaissance, Field::NumDossier, Field::NumSS};

const wchar_t kShortMissingFirstName[] = L"Il manque le prénom ou l'Application.";
const wchar_t kLongMissingFirstName[] =
    L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.";

// The field of HandOffValues that carries `field`.
std::wstring& Slot(HandOffValues& values, Field field) {
  switch (field) {
    case Field::Nom:
      return values.nom;
    case Field::Prenom:
      return values.prenom;
    case Field::DateNaissance:
      return values.dateNaissance;
    case Field::NumDossier:
      return values.numDossier;
    default:
      return values.numSS;
  }
}

HandOffValues Without(HandOffValues values, Field field) {
  Slot(values, field).clear();
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
class Bench {
 public:
  enum class Layout { Plain, Julie };

  explicit Bench(Layout layout) : layout_(layout) {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("corvane-stale-" + std::to_string(counter++) + "-" +
                                           std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    paths.settings = {(folder_ / "Tech.txt").wstring(), (folder_ / "Tech2.txt").wstring()};
    paths.siomin = (folder_ / "siomin.sdx").wstring();
    paths.siomin2 = (folder_ / "siomin2.sdx").wstring();
    paths.sidexisProgram = L"C:\\SIDEXIS\\Sidexis.exe";
    environment.variables[L"COMPUTERNAME"] = L"CABINET1";
    techLines = layout == Layout::Plain ? standin::plain::TechLines() : standin::julie::TechLines();
    WriteSettings();
    OpenPractice(kPatientA);
  }
  ~Bench() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
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
      for (Field field : kHandedOffFields) AddControl(field, practice);
    } else {
      // The first name sits on a tab page of its own, as on the practice program whose
      // window bears that title.
      practice = desktop.AddTopLevel(standin::julie::kClass, standin::julie::kTitle);
      const WindowHandle page = desktop.AddChild(practice, standin::julie::kTabPageClass, standin::julie::kTabPageId);
      firstNamePage = desktop.AddChild(practice, "JWTABPAGE2", standin::julie::kTabPageId + 10);
      for (Field field : kHandedOffFields) AddControl(field, field == Field::Prenom ? firstNamePage : page);
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
  // The control comes back (a new window with the same id) showing `text`.
  void RestoreControl(Field field, const std::string& text) {
    controls[field] = desktop.AddChild(desktop.At(controls.at(field)).parent, "Edit", IdentityOf(field), text);
  }

  // A plain click on the launcher: harvest, then hand off. True when the X-ray program started.
  bool Click() {
    ReadPatientFields(state, paths, platform);
    return LaunchSidexis(state, paths, platform);
  }

  // What a hand-off of these values writes to each file.
  std::string Expected(const HandOffValues& values) const {
    const HandOffRecords records = BuildHandOffRecords(values, L"CABINET1", clock.now, text);
    return records.n + records.a;
  }

  // Both files hold exactly the hand-off of `values`.
  void ExpectHandedOff(const HandOffValues& values) const {
    const std::string expected = Expected(values);
    EXPECT_EQ(ReadFile(paths.siomin), expected);
    EXPECT_EQ(ReadFile(paths.siomin2), expected);
  }

  // The screen's boxes still show the values of `patient` as they were harvested.
  void ExpectRecordShows(const HandOffValues& values) const {
    EXPECT_EQ(state.patient.Value(Field::Nom), values.nom);
    EXPECT_EQ(state.patient.Value(Field::Prenom), values.prenom);
    EXPECT_EQ(state.patient.Value(Field::DateNaissance), values.dateNaissance);
    EXPECT_EQ(state.patient.Value(Field::NumDossier), values.numDossier);
    EXPECT_EQ(state.patient.Value(Field::NumSS), values.numSS);
  }

  std::array<std::string, 17> techLines;
  LinkPaths paths;
  PortableFileSystem files;
  PortableText text;
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeProgramStarter programs;
  fakes::FakeMessageBoxes messages;
  fakes::FakeDesktop desktop;
  fakes::FakeGdi gdi;
  Platform platform{files, text, clock, environment, programs, messages, desktop, gdi};
  SharedState state;
  WindowHandle practice;
  WindowHandle firstNamePage;
  std::map<Field, WindowHandle> controls;

 private:
  int IdentityOf(Field field) const { return std::stoi(techLines[static_cast<std::size_t>(EntryOf(field) - 1)]); }
  void AddControl(Field field, WindowHandle parent) {
    controls[field] = desktop.AddChild(parent, "Edit", IdentityOf(field));
  }

  Layout layout_;
  fs::path folder_;
};

// After patient A was handed off, every way a click can fail to find the practice window
// refuses the hand-off: the first name counts as missing, the files keep A, the X-ray
// program is not started again, and the screen still shows A. Once the practice program
// shows patient B again, a click hands B off.
TEST(StalePatient, NoPracticeWindowFoundRefusesTheHandOffAndKeepsTheEarlierOne) {
  struct Case {
    const char* what;
    std::function<void(Bench&)> lose;
    std::function<void(Bench&)> recover;
  };
  const Case cases[] = {
      {"the practice program was closed", [](Bench& b) { b.desktop.Destroy(b.practice); },
       [](Bench& b) { b.OpenPractice(kPatientB); }},
      {"its window bears another title", [](Bench& b) { b.desktop.At(b.practice).title = "Agenda"; },
       [](Bench& b) { b.desktop.At(b.practice).title = standin::plain::kTitle; }},
      {"the settings name no title any more",
       [](Bench& b) {
         b.techLines[16] = "";
         b.WriteSettings();
       },
       [](Bench& b) {
         b.techLines = standin::plain::TechLines();
         b.WriteSettings();
       }},
      {"the settings name Visiodent, which is not running",
       [](Bench& b) {
         b.techLines[15] = "FENETRE_VISIODENT32";
         b.WriteSettings();
       },
       [](Bench& b) {
         b.techLines = standin::plain::TechLines();
         b.WriteSettings();
       }},
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

    c.recover(bench);
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

    bench.ExpectHandedOff(Without(kPatientB.handedOff, missing));
    EXPECT_EQ(bench.programs.started.size(), 2u);
    EXPECT_TRUE(bench.messages.shown.empty());
    HandOffValues screen = kPatientB.handedOff;
    HandOffValues earlier = kPatientA.handedOff;
    Slot(screen, missing) = Slot(earlier, missing);
    bench.ExpectRecordShows(screen);
  }
}

// What the user types on the screen is handed off for as long as the practice program does
// not show that field, harvest after harvest; the first harvest that finds the control
// again replaces it, and from then on the field follows the practice program only.
TEST(StalePatient, ATypedValueCountsUntilAHarvestFindsItsControl) {
  Bench bench(Bench::Layout::Plain);
  ASSERT_TRUE(bench.Click());
  bench.DropControl(Field::NumSS);
  bench.Show(kPatientB);

  // Shift + click shows the harvested fields; the user types the number, then launches.
  ReadPatientFields(bench.state, bench.paths, bench.platform);
  bench.state.patient.StoreTyped(Field::NumSS, L"199999999999999");
  HandOffValues typed = kPatientB.handedOff;
  typed.numSS = L"199999999999999";
  EXPECT_TRUE(bench.Click());
  bench.ExpectHandedOff(typed);
  EXPECT_TRUE(bench.Click()) << "the control is still missing: the typed value still counts";
  bench.ExpectHandedOff(typed);

  bench.RestoreControl(Field::NumSS, kPatientB.shown.at(Field::NumSS));
  EXPECT_TRUE(bench.Click());
  bench.ExpectHandedOff(kPatientB.handedOff);
  EXPECT_EQ(bench.state.patient.Value(Field::NumSS), kPatientB.handedOff.numSS);

  // Gone again: neither the typed value nor the harvested one is current.
  bench.DropControl(Field::NumSS);
  EXPECT_TRUE(bench.Click());
  bench.ExpectHandedOff(Without(kPatientB.handedOff, Field::NumSS));
  EXPECT_EQ(bench.programs.started.size(), 5u);
  EXPECT_TRUE(bench.messages.shown.empty());
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
  HandOffValues typed = kPatientB.handedOff;
  typed.prenom = L"Luc";
  bench.ExpectHandedOff(typed);
}

}  // namespace
}  // namespace corvane

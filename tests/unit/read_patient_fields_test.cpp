// Locating the practice window from the link settings file, and what a run leaves behind
// when it finds nothing.
#include "reader/read_patient_fields.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class ReadPatientFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("corvane-reader-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    paths.settings = {(folder_ / "Tech.txt").wstring(), (folder_ / "Tech2.txt").wstring()};
    for (int n = 1; n <= kEntryCount; ++n) lines[static_cast<std::size_t>(n - 1)] = "";
    lines[9] = "1001";   // NumDossier
    lines[8] = "1002";   // Nom
    lines[11] = "1003";  // Prenom
    lines[14] = "1";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Writes both settings files from `lines`, with the class and the title given.
  void WriteSettings(const std::string& className, const std::string& title) {
    lines[15] = className;
    lines[16] = title;
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    for (const std::wstring& path : {paths.settings.tech, paths.settings.tech2}) {
      std::ofstream(fs::path(path), std::ios::binary) << bytes;
    }
  }
  // A practice window showing a patient in the three configured controls.
  WindowHandle PracticeWindow(const std::string& className, const std::string& title) {
    const WindowHandle window = desktop.AddTopLevel(className, title);
    desktop.At(window).text = title;  // a top-level window answers WM_GETTEXT with its title
    desktop.AddChild(window, "Edit", 1001, "00042");
    desktop.AddChild(window, "Edit", 1002, "Lef\xE8vre");
    desktop.AddChild(window, "Edit", 1003, "Zo\xEB");
    return window;
  }
  void Run() { ReadPatientFields(state, paths, platform); }
  const std::wstring& Value(Field field) const { return state.patient.Value(field); }

  std::array<std::string, kEntryCount> lines;
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

 private:
  fs::path folder_;
};

TEST_F(ReadPatientFieldsTest, StoredClassAndTitleFindTheWindowAndItIsHarvested) {
  desktop.AddTopLevel("Cabinet", "Dossier patient - autre");
  const WindowHandle practice = PracticeWindow("Cabinet", "Dossier patient");
  // The finder captures the title with a NUL at its end: the lookup stops there.
  WriteSettings("Cabinet", std::string("Dossier patient\0", 16));

  Run();

  EXPECT_EQ(state.practice.handle, practice);
  EXPECT_EQ(state.practice.className, L"Cabinet");
  EXPECT_EQ(state.practice.showScreen, L"1");
  EXPECT_EQ(state.settings.Entry(10), L"1001");
  EXPECT_EQ(Value(Field::NumDossier), L"00042");
  EXPECT_EQ(Value(Field::Nom), L"LEFÈVRE");
  EXPECT_EQ(Value(Field::Prenom), L"ZOE");
  EXPECT_TRUE(gdi.calls.empty()) << "only the Visiodent title read draws a frame";
}

TEST_F(ReadPatientFieldsTest, ATitleOfASingleNulLooksForAnUntitledWindow) {
  PracticeWindow("Cabinet", "Dossier patient");
  const WindowHandle untitled = PracticeWindow("Cabinet", "");
  WriteSettings("Cabinet", std::string(1, '\0'));

  Run();

  EXPECT_EQ(state.practice.handle, untitled);
  EXPECT_EQ(Value(Field::NumDossier), L"00042");
}

TEST_F(ReadPatientFieldsTest, AnEmptyTitleStopsBeforeTheLookupAndKeepsTheHandle) {
  PracticeWindow("Cabinet", "");
  const WindowHandle earlier(0x4242);
  state.practice.handle = earlier;
  WriteSettings("Cabinet", "");

  Run();

  EXPECT_EQ(state.practice.handle, earlier);
  EXPECT_EQ(Value(Field::NumDossier), L"");
  EXPECT_EQ(desktop.counts.enumerations, 0);
}

TEST_F(ReadPatientFieldsTest, ARunThatFindsNothingLeavesThePreviousPatientShownButNotCurrent) {
  const WindowHandle practice = PracticeWindow("Cabinet", "Dossier patient");
  WriteSettings("Cabinet", "Dossier patient");
  Run();
  ASSERT_EQ(state.patient.ValuesToHandOff().nom, L"LEFÈVRE");

  // The Nom control disappears: the field keeps its value on screen, but is stale.
  desktop.Destroy(desktop.At(practice).children[1]);
  Run();
  EXPECT_EQ(Value(Field::Nom), L"LEFÈVRE");
  EXPECT_EQ(state.patient.ValuesToHandOff().nom, L"");
  EXPECT_EQ(state.patient.ValuesToHandOff().numDossier, L"00042");

  // The whole window goes: the handle becomes null and nothing is current any more.
  desktop.Destroy(practice);
  Run();
  EXPECT_EQ(state.practice.handle, WindowHandle());
  EXPECT_EQ(Value(Field::NumDossier), L"00042");
  EXPECT_EQ(state.patient.ValuesToHandOff(), HandOffValues{});
}

TEST_F(ReadPatientFieldsTest, AMissingSettingsFileFailsLeavingTheTableButStalingTheRecord) {
  PracticeWindow("Cabinet", "Dossier patient");
  WriteSettings("Cabinet", "Dossier patient");
  Run();
  const LinkSettings before = state.settings;
  fs::remove(fs::path(paths.settings.tech));

  EXPECT_THROW(Run(), LinkError);

  EXPECT_EQ(state.settings, before);
  EXPECT_EQ(Value(Field::Nom), L"LEFÈVRE");
  EXPECT_EQ(state.patient.ValuesToHandOff(), HandOffValues{});
}

TEST_F(ReadPatientFieldsTest, AHungPracticeProgramFailsTheRun) {
  const WindowHandle practice = PracticeWindow("Cabinet", "Dossier patient");
  desktop.At(desktop.At(practice).children[0]).hung = true;
  WriteSettings("Cabinet", "Dossier patient");

  try {
    Run();
    FAIL() << "the run must fail";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
  }
  EXPECT_EQ(desktop.counts.textReads, 1);
}

class VisiodentTest : public ReadPatientFieldsTest {
 protected:
  void SetUp() override {
    ReadPatientFieldsTest::SetUp();
    // Entry 17 plays no part for Visiodent: even a matching stored title is ignored.
    WriteSettings("FENETRE_VISIODENT32", "VISIODENT - ancien titre");
  }
};

TEST_F(VisiodentTest, TheLiveTitleIsReadFramedAndUsedForTheLookup) {
  desktop.AddTopLevel("AUTRE", "VISIODENT - Lef\xE8vre Zo\xEB");
  const WindowHandle visiodent = PracticeWindow("FENETRE_VISIODENT32", "VISIODENT - Lef\xE8vre Zo\xEB");

  Run();

  EXPECT_EQ(state.practice.title, L"VISIODENT - Lefèvre Zoë");
  EXPECT_EQ(state.settings.Entry(17), L"VISIODENT - ancien titre");
  EXPECT_EQ(state.patient.temp, L"Zoë");  // the harvest's last read follows the title's
  EXPECT_EQ(state.practice.handle, visiodent);
  EXPECT_EQ(Value(Field::Prenom), L"ZOE");
  ASSERT_EQ(gdi.drawings.size(), 1u);
  EXPECT_EQ(gdi.drawings[0].window, visiodent);
}

TEST_F(VisiodentTest, OnlyTitlesBeginningWithTheExactPrefixAreUsed) {
  struct Case {
    const char* title;
    bool used;
  };
  for (const Case& c : {Case{"VISIODE", true}, Case{"VISIODENT", true}, Case{"Visiodent - Dupont", false},
                        Case{"visiodent", false}, Case{"VISIOD", false}, Case{" VISIODENT", false}, Case{"", false}}) {
    SCOPED_TRACE(c.title);
    fakes::FakeDesktop fresh;
    const WindowHandle window = fresh.AddTopLevel("FENETRE_VISIODENT32", c.title);
    fresh.At(window).text = c.title;
    fresh.AddChild(window, "Edit", 1002, "Dupont");
    Platform other{files, text, clock, environment, programs, messages, fresh, gdi};
    SharedState run;

    ReadPatientFields(run, paths, other);

    EXPECT_EQ(run.patient.Value(Field::Nom), c.used ? L"DUPONT" : L"");
    EXPECT_EQ(run.practice.title, c.used ? text.FromAnsi(c.title) : L"");
    EXPECT_EQ(run.practice.handle, c.used ? window : WindowHandle());
    // A rejected title stays in Temp; after a harvest Temp holds the last control read.
    EXPECT_EQ(run.patient.temp, c.used ? L"Dupont" : text.FromAnsi(c.title));
  }
}

TEST_F(VisiodentTest, OnlyTheFirstWindowOfTheClassIsLookedAt) {
  const WindowHandle first = PracticeWindow("FENETRE_VISIODENT32", "Connexion");
  PracticeWindow("FENETRE_VISIODENT32", "VISIODENT - Lef\xE8vre Zo\xEB");
  state.practice.handle = first;

  Run();

  EXPECT_EQ(state.practice.title, L"");
  EXPECT_EQ(state.practice.handle, first) << "no lookup, so the handle is kept";
  EXPECT_EQ(Value(Field::Nom), L"");
  ASSERT_EQ(gdi.drawings.size(), 1u);
  EXPECT_EQ(gdi.drawings[0].window, first);
}

TEST_F(VisiodentTest, NoVisiodentWindowGivesASpaceInTempAndNoHarvest) {
  PracticeWindow("Cabinet", "VISIODENT - Lef\xE8vre Zo\xEB");

  Run();

  EXPECT_EQ(state.patient.temp, L" ");
  EXPECT_EQ(Value(Field::Nom), L"");
  EXPECT_TRUE(gdi.calls.empty());
}

TEST_F(VisiodentTest, TestFunctionOnlyReadsAndFramesTheTitle) {
  const WindowHandle visiodent = PracticeWindow("FENETRE_VISIODENT32", "VISIODENT - Lef\xE8vre Zo\xEB");

  TestFunction(state, platform);

  EXPECT_EQ(state.patient.temp, L"VISIODENT - Lefèvre Zoë");
  EXPECT_EQ(desktop.counts.textReads, 1);
  EXPECT_EQ(Value(Field::Nom), L"");
  EXPECT_EQ(state.settings, LinkSettings{});
  ASSERT_EQ(gdi.drawings.size(), 1u);
  EXPECT_EQ(gdi.drawings[0].window, visiodent);
  EXPECT_EQ(CurrentVisiodentTitle(state, platform), L"VISIODENT - Lefèvre Zoë");
}

}  // namespace
}  // namespace corvane

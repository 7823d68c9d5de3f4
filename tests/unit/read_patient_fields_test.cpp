// Locating the practice window from the link settings file, and what a run leaves behind
// when it finds nothing.
#include "link/read_patient_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class ReadPatientFieldsTest : public ::testing::Test, public fakes::FakeLink {
 protected:
  ReadPatientFieldsTest() : FakeLink("reader") {}

  // Both settings files: NumDossier, Nom and Prenom configured, the screen shown, this window.
  void WriteSettings(const std::string& className, const std::string& title) {
    std::array<std::string, kEntryCount> lines{};
    lines[8] = "1002";
    lines[9] = "1001";
    lines[11] = "1003";
    lines[14] = "1";
    lines[15] = className;
    lines[16] = title;
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    for (const std::wstring& path : {paths.settings.tech, paths.settings.tech2})
      std::ofstream(fs::path(path), std::ios::binary) << bytes;
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
};

TEST_F(ReadPatientFieldsTest, TheStoredTitleUpToItsFirstNulFindsTheWindow) {
  desktop.AddTopLevel("Cabinet", "Dossier patient - autre");
  const WindowHandle titled = PracticeWindow("Cabinet", "Dossier patient");
  const WindowHandle untitled = PracticeWindow("Cabinet", "");
  const WindowHandle earlier(0x4242);
  // The finder stores a captured title with its NUL; a title of a single NUL is not empty, but
  // an empty one stops the run before any lookup.
  for (const auto& [stored, found] : {std::pair{std::string("Dossier patient\0", 16), titled},
                                      std::pair{std::string(1, '\0'), untitled}, std::pair{std::string(), earlier}}) {
    SCOPED_TRACE(stored.size());
    state = SharedState();
    state.practice.handle = earlier;
    WriteSettings("Cabinet", stored);
    Run();
    EXPECT_EQ(state.practice.handle, found);
    EXPECT_EQ(Value(Field::Nom), found == earlier ? L"" : L"LEFÈVRE");
  }
  EXPECT_EQ(state.practice.showScreen, L"1");
  EXPECT_TRUE(gdi.calls.empty()) << "only the Visiodent title read draws a frame";
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

  // The settings file goes: the run fails before any lookup, yet nothing is current any more.
  const LinkSettings before = state.settings;
  fs::remove(fs::path(paths.settings.tech));
  EXPECT_THROW(Run(), LinkError);
  EXPECT_EQ(state.settings, before);
  EXPECT_EQ(Value(Field::NumDossier), L"00042");
  EXPECT_EQ(state.patient.ValuesToHandOff(), HandOffValues{});
}

class VisiodentTest : public ReadPatientFieldsTest {
 protected:
  // Entry 17 plays no part for Visiodent: even a matching stored title is ignored.
  VisiodentTest() { WriteSettings("FENETRE_VISIODENT32", "VISIODENT - ancien titre"); }
};

TEST_F(VisiodentTest, TheLiveTitleIsUsedOnlyWhenItBeginsWithExactlyVISIODE) {
  auto check = [&](const char* title, bool used) {
    SCOPED_TRACE(title);
    const WindowHandle window = PracticeWindow("FENETRE_VISIODENT32", title);
    state = SharedState();
    Run();
    EXPECT_EQ(state.practice.title, used ? text.FromAnsi(title) : L"");
    EXPECT_EQ(state.practice.handle, used ? window : WindowHandle());
    EXPECT_EQ(Value(Field::Nom), used ? L"LEFÈVRE" : L"");
    // A rejected title stays in Temp; after a harvest Temp holds the last control read.
    EXPECT_EQ(state.patient.temp, used ? L"Zoë" : text.FromAnsi(title));
    ASSERT_FALSE(gdi.drawings.empty());
    EXPECT_EQ(gdi.drawings.back().window, window);
    desktop.Destroy(window);
  };
  for (const char* title : {"VISIODE", "VISIODENT - Lef\xE8vre Zo\xEB"}) check(title, true);
  for (const char* title : {"Visiodent", "visiode", "VISIOD", " VISIODENT"}) check(title, false);
}

TEST_F(VisiodentTest, OnlyTheFirstWindowOfTheClassIsLookedAt) {
  PracticeWindow("Cabinet", "VISIODENT - Lef\xE8vre Zo\xEB");
  Run();
  EXPECT_EQ(state.patient.temp, L" ") << "no window of the class";
  EXPECT_EQ(Value(Field::Nom), L"");
  EXPECT_TRUE(gdi.calls.empty());

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

// Ctrl + right click only reads and frames the title; a Visiodent that stops answering gives
// the error with Temp and the screen left alone (a frame drawn then would stay on it).
TEST_F(VisiodentTest, TestFunctionOnlyReadsAndFramesTheTitle) {
  const WindowHandle visiodent = PracticeWindow("FENETRE_VISIODENT32", "VISIODENT - Lef\xE8vre Zo\xEB");

  TestFunction(state, platform);

  EXPECT_EQ(state.patient.temp, L"VISIODENT - Lefèvre Zoë");
  EXPECT_EQ(Value(Field::Nom), L"");
  ASSERT_EQ(gdi.drawings.size(), 1u);
  EXPECT_EQ(gdi.drawings[0].window, visiodent);

  desktop.At(visiodent).hung = true;
  EXPECT_THROW(TestFunction(state, platform), LinkError);
  EXPECT_EQ(state.patient.temp, L"VISIODENT - Lefèvre Zoë");
  EXPECT_EQ(gdi.drawings.size(), 1u);
}

}  // namespace
}  // namespace corvane

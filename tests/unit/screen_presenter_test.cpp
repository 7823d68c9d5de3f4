#include "settings/screen/screen_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/link_settings.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_screen_view.h"
#include "tests/fakes/fake_system.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using fakes::FakeScreenView;
using fakes::LauncherSpy;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A settings folder of its own, a practice program on a fake desktop showing one patient,
// and a screen whose window is a recording fake.
class ScreenPresenterTest : public ::testing::Test {
 protected:
  ScreenPresenterTest() {
    folder_ = fs::temp_directory_path() / ("corvane_screen_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) +
                                           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    paths_.settings = {(folder_ / "Tech.txt").wstring(), (folder_ / "Tech2.txt").wstring()};
    paths_.siomin = (folder_ / "siomin.sdx").wstring();
    paths_.siomin2 = (folder_ / "siomin2.sdx").wstring();
    paths_.sidexisProgram = (folder_ / "Sidexis.exe").wstring();

    // The practice program: controls 501.. hold the five fields that are handed off.
    const WindowHandle practice = desktop_.AddTopLevel("CabinetFiche", "Fiche patient");
    desktop_.AddChild(practice, "Edit", 501, "4711");
    desktop_.AddChild(practice, "Edit", 502, "Durand");
    desktop_.AddChild(practice, "Edit", 503, "Anne");
    desktop_.AddChild(practice, "Edit", 504, "12/03/1961");
    hungControl_ = desktop_.AddChild(practice, "Edit", 505, "2610375123456 78");

    WriteSettings(ConfiguredSettings());
    LoadLinkSettings(state_.settings, paths_.settings, files_, text_);
  }
  ~ScreenPresenterTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static LinkSettings ConfiguredSettings() {
    LinkSettings settings;
    for (int n = 1; n <= kFieldCount; ++n) settings.SetEntry(n, L"0");
    settings.SetEntry(EntryOf(Field::NumDossier), L"501");
    settings.SetEntry(EntryOf(Field::Nom), L"502");
    settings.SetEntry(EntryOf(Field::Prenom), L"503");
    settings.SetEntry(EntryOf(Field::DateNaissance), L"504");
    settings.SetEntry(EntryOf(Field::NumSS), L"505");
    settings.SetEntry(kEntryShowScreenFlag, L"0");
    settings.SetEntry(kEntryPracticeClass, L"CabinetFiche");
    settings.SetEntry(kEntryPracticeTitle, L"Fiche patient");
    return settings;
  }

  void WriteSettings(const LinkSettings& settings) { SaveLinkSettings(settings, paths_.settings, files_, text_); }

  std::string Tech() const { return ReadFile(folder_ / "Tech.txt"); }
  std::string Tech2() const { return ReadFile(folder_ / "Tech2.txt"); }
  bool HandedOff() const { return fs::exists(folder_ / "siomin.sdx") || fs::exists(folder_ / "siomin2.sdx"); }

  // The bytes SaveLinkSettings would write for the table as it is now.
  std::string Serialised(const LinkSettings& settings) const {
    std::string bytes;
    for (int n = 1; n <= kEntryCount; ++n) bytes += text_.ToAnsi(settings.Entry(n)) + "\r\n";
    return bytes;
  }

  void Activate(const wchar_t* mode) {
    state_.screenMode = mode;
    view_.Show();
    presenter_.OnActivate();
  }

  fs::path folder_;
  LinkPaths paths_;
  PortableFileSystem files_;
  PortableText text_;
  fakes::FakeClock clock_;
  fakes::FakeEnvironment environment_;
  fakes::FakeProgramStarter programs_;
  fakes::FakeMessageBoxes messages_;
  fakes::FakeDesktop desktop_;
  fakes::FakeGdi gdi_;
  Platform platform_{files_, text_, clock_, environment_, programs_, messages_, desktop_, gdi_};
  SharedState state_;
  WindowHandle hungControl_;
  FakeScreenView view_;
  LauncherSpy launcher_;
  ScreenPresenter presenter_{state_, paths_, platform_, view_, launcher_};
};

// --- Activation -----------------------------------------------------------------------------

TEST_F(ScreenPresenterTest, ActivationPresentsTheModeTheLauncherChose) {
  Activate(kScreenModeCtrl);
  EXPECT_EQ(view_.calls.at(1), L"BringToTop");  // right after the show, before anything else
  EXPECT_TRUE(view_.configurationControls);
  EXPECT_EQ(view_.caption, L"VALIDER");
  EXPECT_TRUE(view_.dragCursorIsFinderIcon);

  Activate(kScreenModeNormal);
  EXPECT_EQ(view_.bringToTopCount, 2);
  EXPECT_FALSE(view_.configurationControls);
  EXPECT_EQ(view_.caption, L"LANCER");

  // Only "Ctrl" exactly configures; any other mode, empty included, is launch mode.
  for (const wchar_t* mode : {L"", L"ctrl", L"Ctrl ", L"CTRL"}) {
    Activate(kScreenModeCtrl);
    Activate(mode);
    EXPECT_FALSE(view_.configurationControls) << "mode \"" << mode << '"';
    EXPECT_EQ(view_.caption, L"LANCER") << "mode \"" << mode << '"';
  }
}

TEST_F(ScreenPresenterTest, ActivationTicksTheBoxFromEntry15AndLeavesItZeroOrOne) {
  state_.settings.SetEntry(kEntryShowScreenFlag, L"");
  Activate(kScreenModeCtrl);
  EXPECT_FALSE(view_.checkBox);
  EXPECT_EQ(state_.settings.Entry(kEntryShowScreenFlag), L"0");

  state_.settings.SetEntry(kEntryShowScreenFlag, L"1");
  Activate(kScreenModeCtrl);
  EXPECT_TRUE(view_.checkBox);
  EXPECT_TRUE(presenter_.CheckBoxTicked());
  EXPECT_EQ(state_.settings.Entry(kEntryShowScreenFlag), L"1");

  // Values the launcher would not take for "1" untick the box, and are stored as "0".
  for (const wchar_t* odd : {L" 1", L"01", L"2", L"-1", L"oui"}) {
    state_.settings.SetEntry(kEntryShowScreenFlag, L"1");
    Activate(kScreenModeCtrl);
    state_.settings.SetEntry(kEntryShowScreenFlag, odd);
    Activate(kScreenModeCtrl);
    EXPECT_FALSE(view_.checkBox) << "entry 15 \"" << odd << '"';
    EXPECT_EQ(state_.settings.Entry(kEntryShowScreenFlag), L"0") << "entry 15 \"" << odd << '"';
  }

  // The box is only touched when its state changes.
  const int sets = view_.checkBoxSets;
  Activate(kScreenModeCtrl);
  EXPECT_EQ(view_.checkBoxSets, sets);

  // A click changes entry 15 in memory only, and the next activation keeps the choice.
  const std::string before = Tech();
  presenter_.OnCheckBox(true);
  EXPECT_EQ(state_.settings.Entry(kEntryShowScreenFlag), L"1");
  EXPECT_EQ(Tech(), before);
  Activate(kScreenModeCtrl);
  EXPECT_TRUE(presenter_.CheckBoxTicked());
}

// --- VALIDER --------------------------------------------------------------------------------

TEST_F(ScreenPresenterTest, ValiderRewritesBothFilesThenGivesWayToTheLauncher) {
  // Files that differ from the table: an unchanged table must still be written out.
  WriteFile(folder_ / "Tech.txt", "stale\r\n");
  fs::remove(folder_ / "Tech2.txt");
  Activate(kScreenModeCtrl);
  presenter_.OnButton();

  EXPECT_EQ(Tech(), Serialised(state_.settings));
  EXPECT_EQ(Tech2(), Serialised(state_.settings));
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(launcher_.shown, 1);
  EXPECT_EQ(view_.calls.back(), L"Hide");
  EXPECT_FALSE(HandedOff());
  EXPECT_TRUE(programs_.started.empty());
  EXPECT_TRUE(messages_.shown.empty());

  // Every mode but exactly "Normal" saves.
  for (const wchar_t* mode : {L"", L"normal"}) {
    fs::remove(folder_ / "Tech.txt");
    Activate(mode);
    presenter_.OnButton();
    EXPECT_TRUE(fs::exists(folder_ / "Tech.txt")) << "mode \"" << mode << '"';
  }
  EXPECT_FALSE(HandedOff());
}

TEST_F(ScreenPresenterTest, FailedSavesAreReportedAndTheScreenStays) {
  // A folder where the settings file should be: it cannot be replaced.
  fs::remove(folder_ / "Tech.txt");
  fs::create_directory(folder_ / "Tech.txt");
  Activate(kScreenModeCtrl);
  presenter_.OnButton();

  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_FALSE(messages_.shown[0].question);
  EXPECT_NE(messages_.shown[0].text.find(L"Erreur N° "), std::wstring::npos);
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(launcher_.shown, 0);

  // The same for the reset's save.
  messages_.answers = {true};
  presenter_.OnReset();
  ASSERT_EQ(messages_.shown.size(), 3u);  // the question, then the failure
  EXPECT_FALSE(messages_.shown[2].question);
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(launcher_.shown, 0);
}

// --- RAZ ------------------------------------------------------------------------------------

TEST_F(ScreenPresenterTest, ResetAnsweredNoChangesNothing) {
  state_.patient.StoreTyped(Field::Nom, L"DURAND");
  Activate(kScreenModeCtrl);
  presenter_.RefreshFields();
  state_.settings.SetEntry(EntryOf(Field::Ville), L"777");  // an unsaved capture
  const LinkSettings settings = state_.settings;
  const std::string tech = Tech();
  messages_.answers = {false};

  presenter_.OnReset();

  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(messages_.shown[0].question);
  EXPECT_EQ(messages_.shown[0].text, L"Voulez-vous vraiment supprimer le paramétrage actuel ?");
  EXPECT_EQ(messages_.shown[0].title, L"Suppression du paramétrage");
  EXPECT_EQ(state_.settings, settings);
  EXPECT_EQ(state_.patient.Value(Field::Nom), L"DURAND");
  EXPECT_EQ(view_.Field(Field::Nom), L"DURAND");
  EXPECT_EQ(Tech(), tech);
  EXPECT_EQ(Tech2(), tech);
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(launcher_.shown, 0);
}

TEST_F(ScreenPresenterTest, ResetAnsweredYesSavesTheResetValuesAndEmptiesTheFields) {
  for (int n = 1; n <= kFieldCount; ++n) state_.patient.StoreTyped(FieldOfEntry(n), L"valeur " + std::to_wstring(n));
  state_.settings.SetEntry(kEntryShowScreenFlag, L"1");
  Activate(kScreenModeCtrl);
  presenter_.RefreshFields();
  view_.calls.clear();
  messages_.answers = {true};

  presenter_.OnReset();

  std::string expected;
  for (int n = 1; n <= kFieldCount; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(Tech().size(), 108u);
  EXPECT_EQ(Tech(), expected);
  EXPECT_EQ(Tech2(), expected);
  for (int n = 1; n <= kFieldCount; ++n) {
    EXPECT_EQ(state_.patient.Value(FieldOfEntry(n)), L"") << "field " << n;
    EXPECT_EQ(view_.fields[static_cast<std::size_t>(n - 1)], L"") << "field " << n;
  }
  // A cleared field no longer counts as typed: nothing is left to hand off.
  EXPECT_EQ(state_.patient.ValuesToHandOff(), HandOffValues{});
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(launcher_.shown, 1);
  // The box is left as it was: the next activation sets it from entry 15.
  EXPECT_EQ(view_.checkBoxSets, 1);
  EXPECT_TRUE(view_.checkBox);
  Activate(kScreenModeCtrl);
  EXPECT_FALSE(view_.checkBox);
}

// --- Close box ------------------------------------------------------------------------------

TEST_F(ScreenPresenterTest, CloseSavesNothingAndTheNextUseStartsFromDesignTime) {
  Activate(kScreenModeCtrl);
  const std::string tech = Tech();
  presenter_.OnCheckBox(true);
  presenter_.OnFieldEdited(Field::Nom, L"MARTIN");
  state_.patient.temp = L"texte lu";
  state_.patient.application = L"CabinetFiche";

  // The launcher's activation harvests as soon as it shows: by then the screen must be gone
  // and the record back at design time, or the harvest would be wiped.
  bool builtWhenLauncherShown = true;
  std::wstring tempWhenLauncherShown;
  launcher_.onShow = [&] {
    builtWhenLauncherShown = view_.built;
    tempWhenLauncherShown = state_.patient.temp;
  };
  presenter_.OnClose();

  EXPECT_FALSE(view_.built);
  EXPECT_EQ(launcher_.shown, 1);
  EXPECT_EQ(Tech(), tech);
  EXPECT_EQ(Tech2(), tech);
  EXPECT_EQ(state_.patient.Value(Field::Nom), L"");
  EXPECT_EQ(state_.patient.temp, L"Valeurs pour lecture");
  EXPECT_EQ(state_.patient.application, L"");
  EXPECT_FALSE(presenter_.CheckBoxTicked());
  EXPECT_FALSE(builtWhenLauncherShown);
  EXPECT_EQ(tempWhenLauncherShown, L"Valeurs pour lecture");

  // Built again: unticked at design time, and entry 15 (still "1" in memory until the
  // launcher reloads it) ticks it at activation.
  Activate(kScreenModeCtrl);
  EXPECT_TRUE(view_.checkBox);
  EXPECT_EQ(view_.checkBoxSets, 1);
}

// --- LANCER ---------------------------------------------------------------------------------

TEST_F(ScreenPresenterTest, LancerHarvestsShowsAndHandsOff) {
  Activate(kScreenModeNormal);
  presenter_.OnButton();

  EXPECT_EQ(view_.Field(Field::Nom), L"DURAND");
  EXPECT_EQ(view_.Field(Field::NumDossier), L"4711");
  EXPECT_EQ(view_.Field(Field::NumSS), L"261037512345678");
  ASSERT_EQ(programs_.started.size(), 1u);
  EXPECT_EQ(programs_.started[0], paths_.sidexisProgram);
  const std::string handOff = ReadFile(folder_ / "siomin.sdx");
  EXPECT_NE(handOff.find("DURAND"), std::string::npos);
  EXPECT_EQ(ReadFile(folder_ / "siomin2.sdx"), handOff);
  // The screen stays, the launcher stays hidden.
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(launcher_.shown, 0);
}

TEST_F(ScreenPresenterTest, LancerWithAFailedHarvestHandsOffNothing) {
  // The record still holds a patient from an earlier harvest: it must not leave.
  Activate(kScreenModeNormal);
  state_.patient.StoreTyped(Field::Prenom, L"ANNE");
  state_.patient.StoreTyped(Field::NumDossier, L"4711");

  fs::remove(folder_ / "Tech.txt");
  presenter_.OnButton();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_FALSE(messages_.shown[0].question);
  EXPECT_NE(messages_.shown[0].text.find(L"Erreur N° "), std::wstring::npos);

  WriteSettings(ConfiguredSettings());
  desktop_.At(hungControl_).hung = true;
  presenter_.OnButton();
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_NE(messages_.shown[1].text.find(std::to_wstring(error_number::kPracticeNotAnswering)), std::wstring::npos);

  EXPECT_FALSE(HandedOff());
  EXPECT_TRUE(programs_.started.empty());
  EXPECT_TRUE(view_.visible);
}

TEST_F(ScreenPresenterTest, ValueTypedOnTheScreenIsHandedOff) {
  // The practice program shows no social-security number this time.
  LinkSettings settings = ConfiguredSettings();
  settings.SetEntry(EntryOf(Field::NumSS), L"0");
  WriteSettings(settings);
  Activate(kScreenModeNormal);

  presenter_.OnFieldEdited(Field::NumSS, L"199999999999999");
  presenter_.OnButton();

  EXPECT_EQ(view_.Field(Field::NumSS), L"199999999999999");
  EXPECT_NE(ReadFile(folder_ / "siomin.sdx").find("199999999999999"), std::string::npos);
  EXPECT_EQ(programs_.started.size(), 1u);
}

}  // namespace
}  // namespace corvane

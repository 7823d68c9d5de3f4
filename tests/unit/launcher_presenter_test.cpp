#include "launcher/launcher_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

using fakes::FakeDesktop;

// ---- The click table alone.

struct Press {
  int button;
  int shift;
  const wchar_t* flag;
  ClickRow row;
};

TEST(ChooseClickRow, FollowsTheTableFirstMatchWins) {
  using namespace mouse;
  const Press presses[] = {
      {kRight, kCtrl, L"0", ClickRow::AskTest},
      {kRight, kCtrl, L"1", ClickRow::AskTest},  // the test question wins over configuration
      {kRight, 0, L"1", ClickRow::AskQuit},      // and the quit question over the screen flag
      {kLeft, kCtrl, L"1", ClickRow::Configure},
      {kMiddle, kCtrl, L"0", ClickRow::Configure},
      {kLeft, kShift, L"1", ClickRow::ShowFields},
      {kRight, kShift, L"0", ClickRow::ShowFields},  // right + Shift is Shift + left
      {kLeft, 0, L"1", ClickRow::ShowAndLaunch},
      {kMiddle, 0, L"1", ClickRow::ShowAndLaunch},  // middle alone is a left click
      {kLeft, 0, L"0", ClickRow::Launch},
      {kMiddle, 0, L"0", ClickRow::Launch},
      {kLeft, 0, L"", ClickRow::Launch},
  };
  for (const Press& p : presses) {
    EXPECT_EQ(ChooseClickRow(p.button, p.shift, p.flag), p.row)
        << "button " << p.button << " shift " << p.shift << " flag '" << std::wstring(p.flag).size() << "'";
  }
}

TEST(ChooseClickRow, ComparesModifiersWholeSoCombinationsLaunch) {
  using namespace mouse;
  // Ctrl + Shift, Alt, Alt with anything: none is "Ctrl" or "Shift" or "none", so all launch,
  // even with the screen flag set and with the right button.
  for (int button : {kLeft, kRight, kMiddle}) {
    for (int shift : {kShift | kCtrl, kAlt, kAlt | kShift, kAlt | kCtrl, kAlt | kCtrl | kShift}) {
      EXPECT_EQ(ChooseClickRow(button, shift, L"1"), ClickRow::Launch) << button << "/" << shift;
    }
  }
}

TEST(ChooseClickRow, ScreenFlagCountsOnlyWhenExactlyOne) {
  for (const wchar_t* flag : {L" 1", L"01", L"1 ", L"-1", L"true", L"2"}) {
    EXPECT_EQ(ChooseClickRow(mouse::kLeft, 0, flag), ClickRow::Launch) << std::wstring(flag).size();
  }
  EXPECT_EQ(ChooseClickRow(mouse::kLeft, 0, L"1"), ClickRow::ShowAndLaunch);
}

// ---- The presenter against an in-memory practice program and a settings folder of its own.

constexpr char kPracticeClass[] = "CorvaneTestPractice";
constexpr char kPracticeTitle[] = "Dossier patient";

class LauncherPresenterTest : public ::testing::Test {
 protected:
  LauncherPresenterTest() {
    std::random_device seed;
    folder_ = std::filesystem::temp_directory_path() / ("corvane-launcher-" + std::to_string(seed()));
    std::filesystem::create_directories(folder_);
    paths_.settings = {(folder_ / L"Tech.txt").wstring(), (folder_ / L"Tech2.txt").wstring()};
    paths_.siomin = (folder_ / L"siomin.sdx").wstring();
    paths_.siomin2 = (folder_ / L"siomin2.sdx").wstring();
    paths_.sidexisProgram = (folder_ / L"Sidexis.exe").wstring();

    const WindowHandle practice = desktop_.AddTopLevel(kPracticeClass, kPracticeTitle);
    const WindowHandle panel = desktop_.AddChild(practice, "CorvanePanel");
    numDossier_ = desktop_.AddChild(panel, "Edit", 1010, "4711");
    nom_ = desktop_.AddChild(panel, "Edit", 1009, "Dupont");
    prenom_ = desktop_.AddChild(panel, "Edit", 1012, "Marie");
    desktop_.AddChild(panel, "Edit", 1006, "12/03/1980");
    desktop_.AddChild(panel, "Edit", 1011, "2 80 03 75 123 456");
    WriteSettings(L"0");
    state_.settings.SetEntry(kEntryShowScreenFlag, L"0");
  }
  ~LauncherPresenterTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Tech.txt and Tech2.txt configured for the practice window above, entry 15 as given.
  void WriteSettings(const std::wstring& showScreenFlag, int lines = kEntryCount) {
    std::vector<std::string> entries(kEntryCount);
    entries[6 - 1] = "1006";
    entries[9 - 1] = "1009";
    entries[10 - 1] = "1010";
    entries[11 - 1] = "1011";
    entries[12 - 1] = "1012";
    entries[15 - 1] = text_.ToAnsi(showScreenFlag);
    entries[16 - 1] = kPracticeClass;
    entries[17 - 1] = kPracticeTitle;
    std::string bytes;
    for (int i = 0; i < lines; ++i) bytes += entries[static_cast<std::size_t>(i)] + "\r\n";
    for (const auto& path : {paths_.settings.tech, paths_.settings.tech2}) {
      std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
    }
  }

  bool HandOffWritten() const { return std::filesystem::exists(std::filesystem::path(paths_.siomin)); }
  std::string HandOffBytes() const {
    std::ifstream in(std::filesystem::path(paths_.siomin), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::vector<std::wstring> Journal() const { return journal_; }
  void Press(int button, int shift) { presenter_.OnMouseDown(button, shift); }

  std::filesystem::path folder_;
  LinkPaths paths_;
  PortableFileSystem files_;
  PortableText text_;
  fakes::FakeClock clock_;
  fakes::FakeEnvironment environment_;
  fakes::FakeProgramStarter starter_;
  fakes::FakeMessageBoxes messages_;
  FakeDesktop desktop_;
  fakes::FakeGdi gdi_;
  Platform platform_{files_, text_, clock_, environment_, starter_, messages_, desktop_, gdi_};
  SharedState state_;
  fakes::Journal journal_;
  fakes::FakeLauncherView view_{journal_};
  fakes::FakeScreenHost screen_{journal_, state_};
  LauncherPresenter presenter_{state_, paths_, platform_, view_, screen_};
  WindowHandle numDossier_, nom_, prenom_;
};

TEST_F(LauncherPresenterTest, LoadSetsNormalModeAndGoesOnTopThenActivationHarvests) {
  presenter_.OnLoad();
  EXPECT_EQ(state_.screenMode, L"Normal");
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"launcher.BringToTop"}));
  EXPECT_EQ(desktop_.counts.enumerations, 0) << "loading reads nothing yet";

  presenter_.OnActivate();
  EXPECT_EQ(state_.patient.Value(Field::Nom), L"DUPONT");
  EXPECT_EQ(state_.patient.Value(Field::NumDossier), L"4711");
  EXPECT_EQ(Journal().back(), L"screen.Refresh") << "the screen shows the harvest";
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(LauncherPresenterTest, PlainClickHandsOffThePatientShownAndStartsTheProgramOnce) {
  state_.screenMode = L"Ctrl";
  Press(mouse::kLeft, 0);
  EXPECT_EQ(state_.screenMode, L"Normal");
  EXPECT_EQ(starter_.started, (std::vector<std::wstring>{paths_.sidexisProgram}));
  EXPECT_NE(HandOffBytes().find("DUPONT"), std::string::npos);
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh"})) << "the launcher stays, no screen";
  EXPECT_TRUE(view_.visible);

  // Every click reads the practice program again: the next patient is the one handed off.
  desktop_.At(nom_).text = "Martin";
  desktop_.At(numDossier_).text = "4712";
  Press(mouse::kMiddle, 0);
  EXPECT_EQ(starter_.started.size(), 2u);
  EXPECT_NE(HandOffBytes().find("MARTIN"), std::string::npos);
  EXPECT_EQ(HandOffBytes().find("DUPONT"), std::string::npos);
}

TEST_F(LauncherPresenterTest, ScreenFlagIsTakenFromTheFileAtTheClick) {
  // In memory the flag is still "0"; the file says "1" and wins.
  WriteSettings(L"1");
  Press(mouse::kLeft, 0);
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh", L"launcher.Hide", L"screen.Show(Normal)"}));
  EXPECT_EQ(starter_.started.size(), 1u) << "the screen is shown and the hand-off made";
  EXPECT_TRUE(HandOffWritten());

  // And the other way round: memory says "1", the file "0".
  journal_.clear();
  view_.visible = true;
  WriteSettings(L"0");
  Press(mouse::kMiddle, 0);
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh"}));
  EXPECT_EQ(starter_.started.size(), 2u);
}

TEST_F(LauncherPresenterTest, AFlagThatIsNotExactlyOneLaunchesWithoutScreen) {
  for (const wchar_t* flag : {L" 1", L"01"}) {
    journal_.clear();
    WriteSettings(flag);
    Press(mouse::kLeft, 0);
    EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh"})) << std::wstring(flag).size();
  }
  EXPECT_EQ(starter_.started.size(), 2u);
}

TEST_F(LauncherPresenterTest, ShiftShowsTheHarvestedFieldsAndStartsNothing) {
  WriteSettings(L"1");  // the flag plays no part with Shift
  for (int button : {mouse::kLeft, mouse::kRight, mouse::kMiddle}) {
    journal_.clear();
    state_.screenMode = L"Ctrl";
    Press(button, mouse::kShift);
    EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh", L"launcher.Hide", L"screen.Show(Normal)"}))
        << "button " << button;
  }
  EXPECT_EQ(state_.patient.Value(Field::Prenom), L"MARIE");
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_FALSE(HandOffWritten());
}

TEST_F(LauncherPresenterTest, CtrlShowsConfigurationModeWithAnyButtonButTheRight) {
  for (int button : {mouse::kLeft, mouse::kMiddle}) {
    journal_.clear();
    Press(button, mouse::kCtrl);
    EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh", L"launcher.Hide", L"screen.Show(Ctrl)"}));
    EXPECT_EQ(state_.screenMode, L"Ctrl");
  }
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(LauncherPresenterTest, QuestionsAnsweredNoChangeNothing) {
  state_.screenMode = L"Ctrl";
  state_.settings.SetEntry(9, L"999");  // not what the file holds: a harvest would show
  messages_.answers = {false, false};
  Press(mouse::kRight, 0);
  Press(mouse::kRight, mouse::kCtrl);

  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[0].text, L"Voulez-vous fermer 'Corvane Link' ?");
  EXPECT_EQ(messages_.shown[0].title, L"Quitter ?");
  EXPECT_TRUE(messages_.shown[0].question);
  EXPECT_EQ(messages_.shown[1].text, L"Voulez-vous lancer cette fonction de test ?");
  EXPECT_EQ(messages_.shown[1].title, L"Tarnwick");
  EXPECT_TRUE(messages_.shown[1].question);

  EXPECT_EQ(desktop_.counts.enumerations, 0) << "no harvest, no lookup";
  EXPECT_EQ(desktop_.counts.textReads, 0);
  EXPECT_EQ(state_.settings.Entry(9), L"999") << "the settings were not reloaded";
  EXPECT_EQ(state_.screenMode, L"Ctrl");
  EXPECT_TRUE(Journal().empty());
  EXPECT_FALSE(view_.quit);
  EXPECT_TRUE(state_.patient.Value(Field::Nom).empty());
}

TEST_F(LauncherPresenterTest, QuitAnsweredYesEndsWithoutHarvest) {
  messages_.answers = {true};
  Press(mouse::kRight, 0);
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"launcher.Quit"}));
  EXPECT_EQ(desktop_.counts.enumerations, 0);
  EXPECT_TRUE(starter_.started.empty());
}

TEST_F(LauncherPresenterTest, TestAnsweredYesReadsTheVisiodentTitleOnly) {
  const WindowHandle visiodent = desktop_.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - DURAND Paul");
  desktop_.At(visiodent).text = "VISIODENT - DURAND Paul";  // what WM_GETTEXT answers
  messages_.answers = {true};
  Press(mouse::kRight, mouse::kCtrl);
  EXPECT_EQ(state_.patient.temp, L"VISIODENT - DURAND Paul");
  EXPECT_TRUE(state_.patient.Value(Field::Nom).empty()) << "no harvest";
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_FALSE(HandOffWritten());
  EXPECT_FALSE(view_.quit);
  EXPECT_TRUE(Journal().empty());
}

TEST_F(LauncherPresenterTest, HelpShowsTheClicksAndDispatchesNothing) {
  presenter_.OnHelp();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            L"Clic : ouvre l'écran de lancement,\rMaj + Clic : lance SIDEXIS,\rCtrl + Clic : ouvre l'écran de "
            L"paramétrage\rClic Droit : ferme l'application.");
  EXPECT_EQ(messages_.shown[0].text.find(L'\n'), std::wstring::npos) << "lines end in CR alone";
  EXPECT_EQ(messages_.shown[0].title, L"Corvane Link");
  EXPECT_FALSE(messages_.shown[0].question);
  EXPECT_EQ(desktop_.counts.enumerations, 0);
  EXPECT_TRUE(Journal().empty());
}

// ---- A harvest that fails abandons its command and leaves the program running.

TEST_F(LauncherPresenterTest, MissingSettingsFileIsReportedAndEveryCommandAbandoned) {
  std::filesystem::remove(std::filesystem::path(paths_.settings.tech));
  state_.screenMode = L"Ctrl";
  const std::pair<int, int> presses[] = {
      {mouse::kLeft, 0}, {mouse::kLeft, mouse::kShift}, {mouse::kLeft, mouse::kCtrl}, {mouse::kLeft, mouse::kAlt}};
  for (auto [button, shift] : presses) Press(button, shift);
  presenter_.OnActivate();

  ASSERT_EQ(messages_.shown.size(), 5u);
  for (const auto& box : messages_.shown) {
    EXPECT_FALSE(box.question);
    EXPECT_NE(box.text.find(L"Tech.txt"), std::wstring::npos) << "names the file";
    EXPECT_NE(box.text.find(L"Erreur N°"), std::wstring::npos) << "and the error number";
  }
  EXPECT_EQ(state_.screenMode, L"Ctrl") << "no mode change";
  EXPECT_TRUE(view_.visible);
  EXPECT_FALSE(view_.quit);
  EXPECT_FALSE(screen_.shown);
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_FALSE(HandOffWritten());

  // The file comes back: the next click works.
  WriteSettings(L"0");
  Press(mouse::kLeft, 0);
  EXPECT_EQ(starter_.started.size(), 1u);
}

TEST_F(LauncherPresenterTest, ShortSettingsFileIsReportedWithItsNumber) {
  WriteSettings(L"1", 16);
  Press(mouse::kLeft, 0);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find(std::to_wstring(error_number::kSettingsFileTooShort)), std::wstring::npos);
  EXPECT_FALSE(screen_.shown);
  EXPECT_TRUE(starter_.started.empty());
}

TEST_F(LauncherPresenterTest, PracticeProgramNotAnsweringAbandonsTheHandOff) {
  desktop_.At(prenom_).hung = true;
  Press(mouse::kLeft, 0);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find(std::to_wstring(error_number::kPracticeNotAnswering)), std::wstring::npos);
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_FALSE(HandOffWritten());
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"screen.Refresh"})) << "the screen shows what was read";
}

}  // namespace
}  // namespace corvane

#include "launcher/launcher_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

using Calls = std::vector<std::wstring>;

// The click table alone, for what the presenter rows below do not reach: the questions come
// first, modifiers are compared whole, and the screen flag counts only when exactly "1".
TEST(ChooseClickRow, QuestionsComeFirstAndOnlyExactModifiersOrFlagCount) {
  using namespace mouse;
  struct Press {
    int button, shift;
    const wchar_t* flag;
    ClickRow row;
  };
  std::vector<Press> presses = {{kRight, kCtrl, L"1", ClickRow::AskTest},  // not configuration
                                {kRight, 0, L"1", ClickRow::AskQuit},      // nor the screen
                                {kRight, kShift, L"0", ClickRow::ShowFields},
                                {kLeft, 0, L"", ClickRow::Launch}};
  for (const wchar_t* flag : {L"1 ", L"-1", L"true", L"2"}) presses.push_back({kLeft, 0, flag, ClickRow::Launch});
  for (int button : {kLeft, kRight, kMiddle}) {
    for (int shift : {kShift | kCtrl, kAlt, kAlt | kShift, kAlt | kCtrl, kAlt | kCtrl | kShift}) {
      presses.push_back({button, shift, L"1", ClickRow::Launch});
    }
  }
  for (const Press& p : presses) {
    EXPECT_EQ(ChooseClickRow(p.button, p.shift, p.flag), p.row)
        << "button " << p.button << " shift " << p.shift << " flag size " << std::wstring(p.flag).size();
  }
}

// ---- The presenter against an in-memory practice program and a settings folder of its own.

constexpr char kPracticeClass[] = "CorvaneTestPractice";
constexpr char kPracticeTitle[] = "Dossier patient";

class LauncherPresenterTest : public ::testing::Test {
 protected:
  LauncherPresenterTest() {
    const WindowHandle practice = link_.desktop.AddTopLevel(kPracticeClass, kPracticeTitle);
    const WindowHandle panel = link_.desktop.AddChild(practice, "CorvanePanel");
    // Entry n names control 1000 + n.
    for (auto [entry, text] :
         {std::pair{6, "12/03/1980"}, {9, "Dupont"}, {10, "4711"}, {11, "2 80 03 75"}, {12, "Marie"}})
      control_[entry] = link_.desktop.AddChild(panel, "Edit", 1000 + entry, text);
    WriteSettings(L"0");
    link_.state.settings.SetEntry(kEntryShowScreenFlag, L"0");
  }
  // Tech.txt and Tech2.txt configured for the practice window above, entry 15 as given.
  void WriteSettings(const std::wstring& showScreenFlag, int lines = kEntryCount) {
    std::vector<std::string> entries(kEntryCount);
    for (const auto& [entry, control] : control_) entries[entry - 1] = std::to_string(1000 + entry);
    entries[14] = link_.text.ToAnsi(showScreenFlag);
    entries[15] = kPracticeClass;
    entries[16] = kPracticeTitle;
    std::string bytes;
    for (int i = 0; i < lines; ++i) bytes += entries[static_cast<std::size_t>(i)] + "\r\n";
    for (const auto& path : {link_.paths.settings.tech, link_.paths.settings.tech2}) {
      std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
    }
  }

  bool HandOffWritten() const { return !HandOffBytes().empty(); }
  std::string HandOffBytes() const {
    std::ifstream in(std::filesystem::path(link_.paths.siomin), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Press(int button, int shift) { presenter_.OnMouseDown(button, shift); }
  // Nothing was harvested, shown, written or started, and the mode is still `mode`.
  void ExpectUntouched(ScreenMode mode = ScreenMode::Normal) const {
    EXPECT_EQ(link_.desktop.counts.enumerations, 0) << "no harvest, no lookup";
    EXPECT_EQ(link_.state.screenMode, mode);
    EXPECT_TRUE(journal_.empty());
    EXPECT_TRUE(link_.programs.started.empty());
    EXPECT_FALSE(HandOffWritten());
    EXPECT_FALSE(view_.quit);
  }

  fakes::FakeLink link_{"launcher"};
  fakes::Journal journal_;
  fakes::LauncherSpy view_{journal_};
  fakes::FakeScreenHost screen_{journal_, link_.state};
  LauncherPresenter presenter_{link_.state, link_.paths, link_.platform, view_, screen_};
  std::map<int, WindowHandle> control_;
};

TEST_F(LauncherPresenterTest, LoadSetsNormalModeAndGoesOnTopThenActivationHarvests) {
  presenter_.OnLoad();
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Normal);
  EXPECT_EQ(journal_, Calls{L"launcher.BringToTop"});
  EXPECT_EQ(link_.desktop.counts.enumerations, 0) << "loading reads nothing yet";

  presenter_.OnActivate();
  EXPECT_EQ(link_.state.patient.Value(Field::Nom), L"DUPONT");
  EXPECT_EQ(link_.state.patient.Value(Field::NumDossier), L"4711");
  EXPECT_EQ(journal_.back(), L"screen.Refresh") << "the screen shows the harvest";
  EXPECT_TRUE(link_.programs.started.empty());
  EXPECT_TRUE(link_.messages.shown.empty());
}

// Each click that harvests, with entry 15 as the file holds it at the click (memory always
// says the opposite, so a presenter that trusted memory would go the other way).
TEST_F(LauncherPresenterTest, EachClickRowHarvestsThenShowsOrLaunchesAsTheFileSays) {
  using namespace mouse;
  const Calls launched = {L"screen.Refresh"};
  const Calls shownNormal = {L"screen.Refresh", L"launcher.Hide", L"screen.Show(Normal)"};
  const Calls shownCtrl = {L"screen.Refresh", L"launcher.Hide", L"screen.Show(Ctrl)"};
  struct Row {
    int button, shift;
    const wchar_t* fileFlag;
    Calls calls;
    bool starts;
  };
  const Row rows[] = {
      {kLeft, 0, L"0", launched, true},
      {kMiddle, 0, L"0", launched, true},
      {kLeft, 0, L"1", shownNormal, true},
      {kMiddle, 0, L"1", shownNormal, true},
      {kLeft, 0, L" 1", launched, true},
      {kLeft, 0, L"01", launched, true},
      {kLeft, kShift, L"1", shownNormal, false},
      {kRight, kShift, L"1", shownNormal, false},
      {kMiddle, kShift, L"1", shownNormal, false},
      {kLeft, kCtrl, L"0", shownCtrl, false},
      {kMiddle, kCtrl, L"1", shownCtrl, false},
      {kLeft, kAlt, L"1", launched, true},
      {kLeft, kCtrl | kShift, L"1", launched, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "button " << row.button << " shift " << row.shift << " flag size "
                                    << std::wstring(row.fileFlag).size());
    journal_.clear();
    link_.programs.started.clear();
    std::filesystem::remove(std::filesystem::path(link_.paths.siomin));
    view_.visible = true;
    link_.state.screenMode = ScreenMode::Ctrl;
    WriteSettings(row.fileFlag);
    link_.state.settings.SetEntry(kEntryShowScreenFlag, std::wstring(row.fileFlag) == L"1" ? L"0" : L"1");
    Press(row.button, row.shift);
    EXPECT_EQ(journal_, row.calls);
    EXPECT_EQ(link_.state.screenMode, row.calls == shownCtrl ? ScreenMode::Ctrl : ScreenMode::Normal);
    EXPECT_EQ(link_.state.patient.Value(Field::Prenom), L"MARIE");
    EXPECT_EQ(link_.programs.started, row.starts ? Calls{link_.paths.sidexisProgram} : Calls{});
    EXPECT_EQ(HandOffWritten(), row.starts);
    if (row.starts) {
      EXPECT_NE(HandOffBytes().find("DUPONT"), std::string::npos);
    }
  }
  EXPECT_TRUE(link_.messages.shown.empty());

  // Every click reads the practice program again: the next patient is the one handed off.
  link_.desktop.At(control_[9]).text = "Martin";
  link_.desktop.At(control_[10]).text = "4712";
  Press(mouse::kMiddle, 0);
  EXPECT_NE(HandOffBytes().find("MARTIN"), std::string::npos);
  EXPECT_EQ(HandOffBytes().find("DUPONT"), std::string::npos);
}

TEST_F(LauncherPresenterTest, QuestionsAnsweredNoChangeNothing) {
  link_.state.screenMode = ScreenMode::Ctrl;
  link_.state.settings.SetEntry(9, L"999");  // not what the file holds: a harvest would show
  link_.messages.answers = {false, false};
  Press(mouse::kRight, 0);
  Press(mouse::kRight, mouse::kCtrl);

  ASSERT_EQ(link_.messages.shown.size(), 2u);
  EXPECT_EQ(link_.messages.shown[0].text, L"Voulez-vous fermer 'Corvane Link' ?");
  EXPECT_EQ(link_.messages.shown[0].title, L"Quitter ?");
  EXPECT_EQ(link_.messages.shown[1].text, L"Voulez-vous lancer cette fonction de test ?");
  EXPECT_EQ(link_.messages.shown[1].title, L"Tarnwick");
  EXPECT_TRUE(link_.messages.shown[0].question && link_.messages.shown[1].question);
  ExpectUntouched(ScreenMode::Ctrl);
  EXPECT_EQ(link_.desktop.counts.textReads, 0);
  EXPECT_EQ(link_.state.settings.Entry(9), L"999") << "the settings were not reloaded";
  EXPECT_TRUE(link_.state.patient.Value(Field::Nom).empty());
}

TEST_F(LauncherPresenterTest, QuestionsAnsweredYesQuitOrReadTheVisiodentTitleOnly) {
  const WindowHandle visiodent = link_.desktop.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - DURAND Paul");
  link_.desktop.At(visiodent).text = "VISIODENT - DURAND Paul";  // what WM_GETTEXT answers
  link_.messages.answers = {true};
  Press(mouse::kRight, mouse::kCtrl);
  EXPECT_EQ(link_.state.patient.temp, L"VISIODENT - DURAND Paul");
  EXPECT_TRUE(link_.state.patient.Value(Field::Nom).empty()) << "no harvest";
  ExpectUntouched();

  link_.messages.answers = {true};
  Press(mouse::kRight, 0);
  EXPECT_EQ(journal_, Calls{L"launcher.Quit"});
  EXPECT_TRUE(link_.programs.started.empty());
}

TEST_F(LauncherPresenterTest, HelpShowsTheClicksWithCarriageReturnsAloneAndDispatchesNothing) {
  presenter_.OnHelp();
  ASSERT_EQ(link_.messages.shown.size(), 1u);
  EXPECT_EQ(link_.messages.shown[0].text,
            L"Clic : ouvre l'écran de lancement,\rMaj + Clic : lance SIDEXIS,\rCtrl + Clic : ouvre l'écran de "
            L"paramétrage\rClic Droit : ferme l'application.");
  EXPECT_EQ(link_.messages.shown[0].title, L"Corvane Link");
  EXPECT_FALSE(link_.messages.shown[0].question);
  ExpectUntouched();
}

// A harvest that fails abandons whichever command asked for it but the configuration, reports
// the failure with its number and leaves the program running; Ctrl + click then opens the
// screen all the same, so that a practice can configure from nothing. Once the fault is gone
// the next click works.
TEST_F(LauncherPresenterTest, FailedHarvestIsReportedAndAbandonsEveryCommandButConfiguration) {
  struct Failure {
    const char* what;
    std::function<void()> cause, cure;
    std::wstring named;  // the file or the error number the report must name
  };
  const Failure failures[] = {
      {"settings file missing", [&] { std::filesystem::remove(std::filesystem::path(link_.paths.settings.tech)); },
       [&] { WriteSettings(L"0"); }, L"Tech.txt"},
      {"second copy missing", [&] { std::filesystem::remove(std::filesystem::path(link_.paths.settings.tech2)); },
       [&] { WriteSettings(L"0"); }, L"Tech2.txt"},
      {"settings file short", [&] { WriteSettings(L"1", 16); }, [&] { WriteSettings(L"0"); },
       std::to_wstring(error_number::kSettingsFileTooShort)},
      {"practice program not answering", [&] { link_.desktop.At(control_[12]).hung = true; },
       [&] { link_.desktop.At(control_[12]).hung = false; }, std::to_wstring(error_number::kPracticeNotAnswering)},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.what);
    link_.messages.shown.clear();
    link_.programs.started.clear();
    link_.state.screenMode = ScreenMode::Ctrl;
    view_.visible = true;
    screen_.shown = false;
    failure.cause();
    for (int shift : {0, mouse::kShift, mouse::kAlt}) Press(mouse::kLeft, shift);
    presenter_.OnActivate();

    for (const auto& box : link_.messages.shown) {
      EXPECT_FALSE(box.question);
      EXPECT_NE(box.text.find(L"Erreur N°"), std::wstring::npos);
      EXPECT_NE(box.text.find(failure.named), std::wstring::npos);
    }
    EXPECT_EQ(link_.state.screenMode, ScreenMode::Ctrl) << "no mode change";
    EXPECT_TRUE(view_.visible);
    EXPECT_FALSE(view_.quit);
    EXPECT_FALSE(screen_.shown);
    EXPECT_TRUE(link_.programs.started.empty());
    EXPECT_FALSE(HandOffWritten());

    link_.state.screenMode = ScreenMode::Normal;
    Press(mouse::kLeft, mouse::kCtrl);
    ASSERT_EQ(link_.messages.shown.size(), 5u);
    EXPECT_NE(link_.messages.shown.back().text.find(failure.named), std::wstring::npos);
    EXPECT_EQ(link_.state.screenMode, ScreenMode::Ctrl);
    EXPECT_TRUE(screen_.shown);
    EXPECT_FALSE(view_.visible);
    EXPECT_TRUE(link_.programs.started.empty());

    failure.cure();
    Press(mouse::kLeft, 0);
    EXPECT_EQ(link_.programs.started.size(), 1u);
    std::filesystem::remove(std::filesystem::path(link_.paths.siomin));
  }
}

}  // namespace
}  // namespace corvane

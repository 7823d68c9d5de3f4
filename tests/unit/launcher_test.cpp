// The launcher: a press on the tooth goes through the click table, harvests, then shows the
// screen or hands off; the questions come first; a failed harvest abandons the command.
#include "launcher/launcher_presenter.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

using namespace mouse;
using Calls = std::vector<std::wstring>;

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    link_.OpenPractice("Cabinet", "Dossier patient", {{6, "12/03/1980"}, {9, "Dupont"}, {10, "4711"}, {12, "Marie"}});
  }
  bool HandedOff() const { return link_.Read(link_.paths.siomin).find("DUPONT") != std::string::npos; }
  void Reset(ScreenMode mode) {
    journal_.clear();
    link_.programs.started.clear();
    link_.messages.shown.clear();
    std::filesystem::remove(link_.paths.siomin);
    link_.state.screenMode = mode;
    view_.visible = true;
    screen_.shown = false;
  }

  fakes::FakeLink link_{"launcher"};
  fakes::Journal journal_;
  fakes::LauncherSpy view_{journal_};
  fakes::FakeScreenHost screen_{journal_, link_.state};
  LauncherPresenter presenter_{link_.state, link_.paths, link_.platform, view_, screen_};
};

// Each press, with entry 15 as the file holds it at the click (memory always says the
// opposite, so a presenter that trusted memory would go the other way).
TEST_F(LauncherTest, EachClickRowHarvestsThenShowsOrLaunchesAsTheFileSays) {
  const Calls launched = {L"screen.Refresh"};
  const Calls normal = {L"screen.Refresh", L"launcher.Hide", L"screen.Show(Normal)"};
  const Calls ctrl = {L"screen.Refresh", L"launcher.Hide", L"screen.Show(Ctrl)"};
  const struct {
    int button, shift;
    const char* flag;
    ClickRow row;
    Calls calls;
  } rows[] = {
      {kLeft, 0, "0", ClickRow::Launch, launched},
      {kMiddle, 0, "1", ClickRow::ShowAndLaunch, normal},
      {kLeft, 0, " 1", ClickRow::Launch, launched},
      {kLeft, 0, "01", ClickRow::Launch, launched},
      {kRight, kShift, "1", ClickRow::ShowFields, normal},
      {kLeft, kCtrl, "0", ClickRow::Configure, ctrl},
      {kMiddle, kCtrl, "1", ClickRow::Configure, ctrl},
      {kLeft, kAlt, "1", ClickRow::Launch, launched},
      {kLeft, kCtrl | kShift, "1", ClickRow::Launch, launched},
      {kMiddle, kAlt | kCtrl, "1", ClickRow::Launch, launched},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "button " << r.button << " shift " << r.shift << " flag '" << r.flag << "'");
    EXPECT_EQ(ChooseClickRow(r.button, r.shift, link_.text.FromAnsi(r.flag)), r.row);
    Reset(ScreenMode::Ctrl);
    link_.settingsLines[14] = r.flag;
    link_.WriteSettings(link_.settingsLines);
    link_.state.settings.SetEntry(kEntryShowScreenFlag, r.flag == std::string("1") ? L"0" : L"1");
    presenter_.OnMouseDown(r.button, r.shift);
    EXPECT_EQ(journal_, r.calls);
    EXPECT_EQ(link_.state.screenMode, r.calls == ctrl ? ScreenMode::Ctrl : ScreenMode::Normal);
    EXPECT_EQ(link_.state.patient.Value(Field::Prenom), L"MARIE");
    const bool starts = r.row == ClickRow::Launch || r.row == ClickRow::ShowAndLaunch;
    EXPECT_EQ(link_.programs.started, starts ? Calls{link_.paths.sidexisProgram} : Calls{});
    EXPECT_EQ(HandedOff(), starts);
  }
  EXPECT_TRUE(link_.messages.shown.empty());
  EXPECT_EQ(ChooseClickRow(kRight, kCtrl, L"1"), ClickRow::AskTest);
  EXPECT_EQ(ChooseClickRow(kRight, 0, L"1"), ClickRow::AskQuit);
  EXPECT_EQ(ChooseClickRow(kRight, kAlt, L"0"), ClickRow::Launch);
}

TEST_F(LauncherTest, QuestionsComeBeforeAnyHarvestAndNoChangesNothing) {
  const WindowHandle visiodent = link_.desktop.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - DURAND Paul");
  link_.desktop.At(visiodent).text = "VISIODENT - DURAND Paul";  // what WM_GETTEXT answers
  presenter_.OnLoad();
  EXPECT_EQ(journal_, Calls{L"launcher.BringToTop"});
  Reset(ScreenMode::Ctrl);
  link_.messages.answers = {false, false, true};
  presenter_.OnMouseDown(kRight, 0);
  presenter_.OnMouseDown(kRight, kCtrl);
  presenter_.OnMouseDown(kRight, kCtrl);
  const std::pair<const wchar_t*, const wchar_t*> asked[] = {
      {L"Voulez-vous fermer 'Corvane Link' ?", L"Quitter ?"},
      {L"Voulez-vous lancer cette fonction de test ?", L"Tarnwick"},
      {L"Voulez-vous lancer cette fonction de test ?", L"Tarnwick"}};
  ASSERT_EQ(link_.messages.shown.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::pair(link_.messages.shown[i].text, link_.messages.shown[i].title), std::pair(std::wstring(asked[i].first), std::wstring(asked[i].second)));
    EXPECT_TRUE(link_.messages.shown[i].question);
  }
  // Yes to the test only reads (and frames) the Visiodent title: no harvest, nothing else.
  EXPECT_EQ(link_.state.patient.temp, L"VISIODENT - DURAND Paul");
  EXPECT_EQ(link_.gdi.drawings.size(), 1u);
  EXPECT_EQ(link_.state.settings.Entry(kEntryPracticeTitle), L"") << "the settings were not loaded";
  EXPECT_TRUE(journal_.empty());
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Ctrl);
  EXPECT_TRUE(link_.programs.started.empty());

  presenter_.OnCloseRequest();
  EXPECT_EQ(journal_, Calls{L"launcher.Quit"});
  presenter_.OnHelp();
  EXPECT_EQ(link_.messages.shown.back().text, kHelpText);
  EXPECT_EQ(link_.messages.shown.back().title, L"Corvane Link");
  presenter_.OnActivate();
  EXPECT_EQ(link_.state.patient.Value(Field::Nom), L"DUPONT");
  EXPECT_EQ(journal_.back(), L"screen.Refresh");
}

// A harvest that fails abandons whichever command asked for it but the configuration, reports
// the failure with its number, and the screen shows what it stored; Ctrl + click then opens the
// screen all the same. Once the fault is gone the next click works.
TEST_F(LauncherTest, FailedHarvestIsReportedAndAbandonsEveryCommandButConfiguration) {
  const struct {
    const char* what;
    std::function<void()> cause;
    std::wstring named;  // the file or the error number the report must name
  } failures[] = {
      {"settings file missing", [&] { std::filesystem::remove(link_.paths.settings.tech); }, L"Tech.txt"},
      {"second copy missing", [&] { std::filesystem::remove(link_.paths.settings.tech2); }, L"Tech2.txt"},
      {"practice program not answering", [&] { link_.desktop.At(link_.controls[12]).hung = true; }, L"N° 20004"},
  };
  for (const auto& failure : failures) {
    SCOPED_TRACE(failure.what);
    Reset(ScreenMode::Ctrl);
    failure.cause();
    for (int shift : {0, kShift, kAlt}) presenter_.OnMouseDown(kLeft, shift);
    ASSERT_EQ(link_.messages.shown.size(), 3u);
    for (const auto& box : link_.messages.shown) {
      EXPECT_FALSE(box.question);
      EXPECT_TRUE(box.text.starts_with(L"Fichier introuvable") || box.text.starts_with(L"Le logiciel"));
      EXPECT_NE(box.text.find(failure.named), std::wstring::npos);
      EXPECT_NE(box.text.find(L"\n\nErreur N° "), std::wstring::npos);
    }
    EXPECT_EQ(journal_, Calls(3, L"screen.Refresh"));
    EXPECT_EQ(link_.state.screenMode, ScreenMode::Ctrl) << "no mode change";
    EXPECT_TRUE(view_.visible);
    EXPECT_TRUE(link_.programs.started.empty());

    link_.state.screenMode = ScreenMode::Normal;
    presenter_.OnMouseDown(kLeft, kCtrl);
    EXPECT_EQ(link_.messages.shown.size(), 4u);
    EXPECT_EQ(journal_.back(), L"screen.Show(Ctrl)");
    EXPECT_FALSE(view_.visible);

    link_.WriteSettings(link_.settingsLines);
    link_.desktop.At(link_.controls[12]).hung = false;
    presenter_.OnMouseDown(kLeft, 0);
    EXPECT_EQ(link_.programs.started.size(), 1u);
  }
}

}  // namespace
}  // namespace corvane

// The launcher: a press on the tooth goes through the click table, harvests, then shows the
// screen or hands off; the questions come first; a failed harvest abandons the command.
#include "launcher/launcher_presenter.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

using namespace mouse;
using Calls = std::vector<std::wstring>;

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() { link_.OpenPractice("Cabinet", "Dossier", {{9, "Dupont"}, {10, "4711"}, {12, "Marie"}}); }
  // The press, with entry 15 as the file holds it (memory says the opposite, so that a
  // presenter that trusted memory would go the other way): the calls, then what was started.
  Calls Press(int button, int shift, const char* flag = "0") {
    journal_.clear();
    link_.programs.started.clear();
    link_.settingsLines[14] = flag;
    link_.WriteSettings(link_.settingsLines);
    link_.state.settings.SetEntry(kEntryShowScreenFlag, flag == std::string("1") ? L"0" : L"1");
    link_.state.screenMode = ScreenMode::Ctrl;
    presenter_.OnMouseDown(button, shift);
    journal_.insert(journal_.end(), link_.programs.started.begin(), link_.programs.started.end());
    return journal_;
  }

  fakes::FakeLink link_{"launcher"};
  fakes::Journal journal_;
  fakes::LauncherSpy view_{journal_};
  fakes::FakeScreenHost screen_{journal_, link_.state};
  LauncherPresenter presenter_{link_.state, link_.paths, link_.platform, view_, screen_};
};

TEST_F(LauncherTest, EachClickRowHarvestsThenShowsOrLaunchesAsTheFileSays) {
  const std::wstring sidexis = link_.paths.sidexisProgram, refresh = L"screen.Refresh", hide = L"launcher.Hide";
  const Calls launched = {refresh, sidexis}, normal = {refresh, hide, L"screen.Show(Normal)"};
  const Calls ctrl = {refresh, hide, L"screen.Show(Ctrl)"}, normalLaunched = {refresh, hide, L"screen.Show(Normal)", sidexis};
  EXPECT_EQ(Press(kLeft, 0), launched);
  EXPECT_EQ(Press(kMiddle, 0, "1"), normalLaunched);
  EXPECT_EQ(Press(kLeft, 0, " 1"), launched);
  EXPECT_EQ(Press(kLeft, 0, "01"), launched);
  EXPECT_EQ(Press(kRight, kShift, "1"), normal);
  EXPECT_EQ(Press(kLeft, kCtrl), ctrl);
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Ctrl);
  EXPECT_EQ(Press(kMiddle, kCtrl, "1"), ctrl);
  for (int shift : {kAlt, kCtrl | kShift, kAlt | kCtrl}) EXPECT_EQ(Press(kLeft, shift, "1"), launched) << shift;
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Normal);
  EXPECT_NE(link_.Read(link_.paths.siomin).find("MARIE_4711"), std::string::npos);
  EXPECT_TRUE(link_.messages.shown.empty());
  EXPECT_EQ(ChooseClickRow(kRight, kCtrl, L"1"), ClickRow::AskTest);
  EXPECT_EQ(ChooseClickRow(kRight, kAlt, L"0"), ClickRow::Launch);
}

TEST_F(LauncherTest, QuestionsComeBeforeAnyHarvestAndNoChangesNothing) {
  const WindowHandle visiodent = link_.desktop.AddTopLevel("FENETRE_VISIODENT32", "VISIODENT - DURAND Paul");
  link_.desktop.At(visiodent).text = "VISIODENT - DURAND Paul";  // what WM_GETTEXT answers
  presenter_.OnLoad();
  link_.messages.answers = {false, false, true};
  EXPECT_EQ(Press(kRight, 0), Calls{});
  EXPECT_EQ(Press(kRight, kCtrl), Calls{});
  EXPECT_EQ(Press(kRight, kCtrl), Calls{});  // Yes to the test only reads (and frames) the Visiodent title
  EXPECT_EQ(link_.state.patient.temp, L"VISIODENT - DURAND Paul");
  EXPECT_EQ(link_.gdi.drawings.size(), 1u);
  EXPECT_EQ(link_.state.settings.Entry(kEntryPracticeTitle), L"") << "the settings were not loaded";
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Ctrl);
  presenter_.OnCloseRequest();
  presenter_.OnHelp();
  const auto& shown = link_.messages.shown;
  EXPECT_EQ(std::tuple(shown[0].title, shown[1].title, shown[4].title), std::tuple(L"Quitter ?", L"Tarnwick", L"Corvane Link"));
  EXPECT_TRUE(shown[3].question && !shown[4].question);
  EXPECT_EQ(link_.messages.Taken(), std::wstring(L"Voulez-vous fermer 'Corvane Link' ?|") +
                                        L"Voulez-vous lancer cette fonction de test ?|" +
                                        L"Voulez-vous lancer cette fonction de test ?|" +
                                        L"Voulez-vous fermer 'Corvane Link' ?|" + kHelpText + L"|");
  EXPECT_EQ(journal_, (Calls{L"launcher.Quit"}));
  EXPECT_EQ(view_.broughtToTop, 1);
  presenter_.OnActivate();
  EXPECT_EQ(link_.state.patient.Value(Field::Nom), L"DUPONT");
  EXPECT_EQ(journal_.back(), L"screen.Refresh");
}

// A harvest that fails abandons whichever command asked for it but the configuration, reports
// the failure with its number, and the screen shows what it stored; Ctrl + click then opens the
// screen all the same. Once the fault is gone the next click works.
TEST_F(LauncherTest, FailedHarvestIsReportedAndAbandonsEveryCommandButConfiguration) {
  const std::pair<std::wstring, std::wstring> failures[] = {
      {link_.paths.settings.tech, L"Fichier introuvable « " + link_.paths.settings.tech + L" »\n\nErreur N° 53"},
      {link_.paths.settings.tech2, L"Fichier introuvable « " + link_.paths.settings.tech2 + L" »\n\nErreur N° 53"},
      {L"", L"Le logiciel de gestion du cabinet ne répond pas : la lecture du patient est abandonnée. Réessayez dans "
            L"un instant.\n\nErreur N° 20004"}};
  for (const auto& [removed, said] : failures) {
    const auto fail = [&](int shift) {
      journal_.clear(), view_.visible = true;
      link_.WriteSettings(link_.settingsLines);
      link_.desktop.At(link_.controls[12]).hung = removed.empty();
      if (!removed.empty()) std::filesystem::remove(removed);
      presenter_.OnMouseDown(kLeft, shift);
      EXPECT_EQ(link_.messages.Taken(), said + L"|");
      return journal_;
    };
    for (int shift : {0, kShift, kAlt}) EXPECT_EQ(fail(shift), (Calls{L"screen.Refresh"})) << shift;
    EXPECT_TRUE(view_.visible);
    EXPECT_EQ(fail(kCtrl), (Calls{L"screen.Refresh", L"launcher.Hide", L"screen.Show(Ctrl)"}));
    EXPECT_TRUE(link_.programs.started.empty());
  }
  link_.desktop.At(link_.controls[12]).hung = false;
  EXPECT_EQ(Press(kLeft, 0).back(), link_.paths.sidexisProgram);
}

}  // namespace
}  // namespace corvane

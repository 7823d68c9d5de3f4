// The launcher and the screen apart from their windows: the click table, the questions, a
// failed harvest, the screen's modes, VALIDER, the reset, the close box and typed values.
#include <gtest/gtest.h>

#include "launcher/launcher_presenter.h"
#include "link/read_patient_fields.h"
#include "settings/screen/screen_presenter.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

using namespace mouse;
using Calls = std::vector<std::wstring>;

// Both presenters over one link whose practice program shows a patient; the launcher window
// and the screen host note their calls in one journal, and the screen gives way to the launcher.
class PresenterTest : public ::testing::Test {
 protected:
  PresenterTest() {
    link_.OpenPractice("Cabinet", "Fiche",
                       {{10, "4711"}, {9, "Durand"}, {12, "Anne"}, {6, "12/03/1961"}, {14, "Nice"}});
    LoadLinkSettings(link_.state.settings, link_.paths.settings, link_.files, link_.text);
  }
  // A press with entry 15 as the file holds it (memory says the opposite, so that a presenter
  // that trusted memory would go the other way): the calls, then what was started.
  Calls Press(int button, int shift, const char* flag = "0") {
    journal_.clear(), link_.programs.started.clear();
    link_.WriteSettings((link_.settingsLines[14] = flag, link_.settingsLines));
    link_.state.settings.SetEntry(kEntryShowScreenFlag, flag == std::string("1") ? L"0" : L"1");
    link_.state.screenMode = ScreenMode::Configuration, launcher_.OnMouseDown(button, shift);
    journal_.insert(journal_.end(), link_.programs.started.begin(), link_.programs.started.end());
    return journal_;
  }
  void Activate(ScreenMode mode) {
    link_.state.screenMode = mode, ++view_.bringsToTopExpected;
    screen_.ShowScreen(), screen_.OnActivate();  // as the launcher asks it, then as Windows activates it
  }
  std::string Tech() const { return link_.Read(link_.paths.settings.tech); }

  fakes::FakeLink link_{"presenters"};
  fakes::Journal journal_;
  fakes::LauncherSpy launcherView_{journal_};
  fakes::FakeScreenHost host_{journal_, link_.state};
  LauncherPresenter launcher_{link_.state, link_.paths, link_.platform, launcherView_, host_};
  fakes::FakeScreenView view_;
  ScreenPresenter screen_{link_.state, link_.paths, link_.platform, view_, launcherView_};
};
using LauncherTest = PresenterTest;
using ScreenTest = PresenterTest;

TEST_F(LauncherTest, EachClickRowHarvestsThenShowsOrLaunchesAsTheFileSays) {
  const std::wstring sidexis = link_.paths.sidexisProgram, refresh = L"screen.Refresh", hide = L"launcher.Hide";
  const Calls launched = {refresh, sidexis}, normal = {refresh, hide, L"screen.Show(Normal)"};
  const Calls ctrl = {refresh, hide, L"screen.Show(Configuration)"},
              normalLaunched = {refresh, hide, normal[2], sidexis};
  EXPECT_EQ(Press(kLeft, 0, " 1"), launched);
  EXPECT_EQ(Press(kMiddle, 0, "1"), normalLaunched);
  EXPECT_EQ(Press(kRight, kShift, "1"), normal);
  EXPECT_EQ(Press(kLeft, kCtrl), ctrl);
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Configuration);
  for (int shift : {kAlt, kCtrl | kShift, kAlt | kCtrl}) EXPECT_EQ(Press(kLeft, shift, "1"), launched) << shift;
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Normal);
  EXPECT_NE(link_.Read(link_.paths.siomin).find("ANNE_4711"), std::string::npos);
  EXPECT_EQ(ChooseClickRow(kRight, kAlt, L"0"), ClickRow::Launch);
  link_.programs.fail = true;  // Sidexis.exe is missing: the start failure is said, after the screen shows
  EXPECT_EQ(Press(kLeft, 0, "1"), normal);
  EXPECT_EQ(link_.messages.Taken(),
            L"Impossible de démarrer Sidexis (" + sidexis + L") : Le fichier spécifié est introuvable (erreur N° 2).|");

  // The questions come before any harvest: No changes nothing, Yes quits or reads (and frames) Visiodent's title.
  link_.desktop.At(link_.desktop.AddTopLevel("FENETRE_VISIODENT32", "")).text = "VISIODENT - Durand";
  link_.messages.answers = {false, false, true, true};
  EXPECT_EQ(Press(kRight, 0), Calls{});
  EXPECT_TRUE(Press(kRight, kCtrl).empty() && link_.gdi.drawings.empty());
  EXPECT_TRUE(Press(kRight, kCtrl).empty() && link_.gdi.drawings.size() == 1u);
  EXPECT_EQ(link_.state.practice.lastTextRead, L"VISIODENT - Durand");
  launcher_.OnCloseRequest(), launcher_.OnHelp();
  const std::wstring test = L"Voulez-vous lancer cette fonction de test ?|",
                     quit = L"Voulez-vous fermer 'Corvane Link' ?|";
  EXPECT_EQ(link_.messages.Taken(), quit + test + test + quit + kHelpText + L"|");
  EXPECT_EQ(journal_, (Calls{L"launcher.Quit"}));
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Configuration);
  launcher_.OnLoad(), launcher_.OnActivate();
  EXPECT_EQ(link_.state.screenMode, ScreenMode::Normal);
  EXPECT_EQ(journal_, (Calls{L"launcher.Quit", L"launcher.BringToTop", L"screen.Refresh"}));
}

// Across the wrap of the message time: a press a box's loop hands over, one made during the command (before
// the wrap, or at the tick it ended) and a double click's second do nothing; one after the end runs.
TEST_F(LauncherTest, APressDuringACommandOrTheSecondOfADoubleClickDoesNothing) {
  const auto press = [&](std::uint64_t made, PressKind kind = PressKind::Single) {
    launcher_.OnMouseDown(kRight, 0, {kind, static_cast<std::uint32_t>(made)});  // asks to quit
  };
  const std::uint64_t start = link_.clock.ticks = 0xFFFF'FFF0;
  link_.messages.answers = {false, false};
  link_.messages.whileUp = [&] { press(link_.clock.ticks += 3000); };
  press(start);
  const std::uint64_t end = link_.clock.ticks;
  for (std::uint64_t made : {start + 8, end}) press(made);
  EXPECT_EQ(link_.messages.shown.size(), 1u);
  press(end + 1), press(link_.clock.ticks += 100, PressKind::SecondOfDouble);  // the first ahead of the tick count
  EXPECT_EQ(link_.messages.shown.size(), 2u);
  link_.clock.ticks += 5000;
  launcher_.OnActivate(), press(link_.clock.ticks - 10);  // the harvest when the launcher comes back is a command too
  EXPECT_EQ(link_.messages.shown.size(), 2u);
}

// A harvest that fails abandons whichever command asked for it but the configuration, reports
// the failure with its number, and the screen shows what it stored; Ctrl + click then opens the
// screen all the same. Once the fault is gone the next click works.
TEST_F(LauncherTest, FailedHarvestIsReportedAndAbandonsEveryCommandButConfiguration) {
  const SettingsPaths& paths = link_.paths.settings;
  const std::pair<std::wstring, std::wstring> failures[] = {
      {paths.tech, L"Fichier introuvable « " + paths.tech + L" »\n\nErreur N° 53"},
      {paths.tech2, L"Fichier introuvable « " + paths.tech2 + L" ». C'est la copie de secours de « " + paths.tech +
                        L" » : pour la recréer, ouvrez le paramétrage (Ctrl + clic sur la dent) puis cliquez sur « "
                        L"VALIDER ».\n\nErreur N° 53"},
      {L"",
       L"Le logiciel de gestion du cabinet ne répond pas : la lecture du patient est abandonnée. Réessayez dans un "
       L"instant.\n\nErreur N° 20004"}};
  for (const auto& failure : failures) {
    const std::wstring removed = failure.first;  // copies: a lambda cannot take a structured binding
    std::wstring said = failure.second;
    const auto fail = [&](int shift) {
      journal_.clear(), launcherView_.visible = true, link_.WriteSettings(link_.settingsLines);
      link_.desktop.At(link_.controls[12]).hung = removed.empty();
      if (!removed.empty()) std::filesystem::remove(removed);
      launcher_.OnMouseDown(kLeft, shift);
      EXPECT_EQ(link_.messages.Taken(), said + L"|");
      return journal_;
    };
    for (int shift : {0, kShift, kAlt}) EXPECT_EQ(fail(shift), (Calls{L"screen.Refresh"})) << shift;
    EXPECT_TRUE(launcherView_.visible);
    if (removed == paths.tech) said += L"|" + RecoveryNotice({{}, SettingsSource::Tech2}, paths);
    EXPECT_EQ(fail(kCtrl), (Calls{L"screen.Refresh", L"launcher.Hide", L"screen.Show(Configuration)"}));
    EXPECT_TRUE(link_.programs.started.empty());
    launcher_.OnActivate();  // no click made: only the settings files are worth a box
    EXPECT_EQ(link_.messages.Taken().empty(), removed.empty());
  }
  link_.desktop.At(link_.controls[12]).hung = false;
  EXPECT_EQ(Press(kLeft, 0).back(), link_.paths.sidexisProgram);
}

// Ctrl + click after a failed load starts from the first configuration that can be had (Tech.txt
// whole, the copy whole, this run's last load, Tech.txt as far as it goes, the reset values),
// says which unless it is Tech.txt, and VALIDER writes it to both files.
TEST_F(LauncherTest, AConfigurationAfterAFailedLoadStartsFromWhatCanBeReadAndValiderRepairs) {
  const LinkSettings loaded = link_.state.settings;
  std::string good, reset = "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  for (const std::string& line : link_.settingsLines) good += line + "\r\n";
  for (int n = 0; n < 14; ++n) reset.insert(0, "100\r\n");
  const std::string cut = good.substr(0, good.rfind("Fiche"));
  const struct { std::string tech, tech2; bool lastLoaded; std::string written; const wchar_t* said; } cases[] = {
      {good, "<missing>", true, good, L""},
      {cut, good, true, good, L"de la copie"},
      {"", good, true, good, L"de la copie"},
      {cut, "<missing>", true, good, L"lu en dernier"},
      {cut, "x", false, cut + "Sans titre - Bloc-notes \r\n", L"des 16 premières lignes"},
      {"<missing>", "<missing>", false, reset, L"des valeurs par défaut"},
      {"", "<missing>", false, reset, L"des valeurs par défaut"},
      {"1", "<missing>", false, "1\r\n" + reset.substr(5), L"de la première ligne"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    for (const auto& [path, bytes] :
         {std::pair{link_.paths.settings.tech, c.tech}, {link_.paths.settings.tech2, c.tech2}})
      bytes == "<missing>" ? (void)std::filesystem::remove(path) : link_.Write(path, bytes);
    link_.state.lastLoaded = c.lastLoaded ? std::optional(loaded) : std::nullopt, launcher_.OnMouseDown(kLeft, kCtrl);
    const std::wstring said = link_.messages.Taken();
    EXPECT_NE(said.find(c.said), std::wstring::npos) << said;
    screen_.OnButton();
    EXPECT_EQ(Tech() + link_.Read(link_.paths.settings.tech2), c.written + c.written);
  }
}

// The check box says what a plain click will do: ticked by entry 15 exactly "1". VALIDER and
// the reset save both files and give way to the launcher; a failed save is reported and the
// screen stays; the close box saves nothing, and the launcher it shows finds the screen gone.
TEST_F(ScreenTest, OnlyValiderAndTheResetSaveAndAFailedSaveKeepsTheScreen) {
  for (const auto& [entry, ticked] : {std::pair{L" 1", false}, {L"1", true}}) {
    link_.state.settings.SetEntry(kEntryShowScreenFlag, entry);
    Activate(ticked ? ScreenMode::Configuration : ScreenMode::Normal);
    EXPECT_EQ(std::tuple(view_.checkBox, screen_.CheckBoxTicked(), view_.configurationControls, view_.caption,
                         view_.dragCursorIsFinderIcon, view_.bringsToTopExpected),
              std::tuple(ticked, ticked, ticked, ticked ? L"VALIDER" : L"LANCER", true, 0));
  }
  screen_.OnCheckBox(false), screen_.OnButton();  // in memory only, saved by VALIDER
  EXPECT_EQ(std::tuple(view_.visible, launcherView_.shown, link_.Read(link_.paths.settings.tech2)),
            std::tuple(false, 1, Tech()));
  EXPECT_TRUE(Tech().ends_with("4\r\n0\r\nCabinet\r\nFiche\r\n"));
  std::filesystem::remove(link_.paths.settings.tech);
  std::filesystem::create_directory(link_.paths.settings.tech);  // it cannot be replaced
  Activate(ScreenMode::Configuration), view_.fields.back() = L"Nice";
  link_.state.patient.StoreHarvested(Field::Ville, L"Nice");
  link_.messages.answers = {false, true, true};
  screen_.OnButton(), screen_.OnReset(), screen_.OnReset();
  const std::wstring failed = L"Impossible de lire le fichier « " + link_.paths.settings.tech +
                              L" ». Aucun des deux fichiers n'a été modifié.\n\nErreur N° 75|";
  EXPECT_EQ(link_.messages.Taken(), failed + kResetQuestion + L"|" + kResetQuestion + L"|" + failed);
  EXPECT_EQ(std::tuple(view_.visible, launcherView_.shown,
                       view_.Field(Field::Ville) + link_.state.patient.Value(Field::Ville)),
            std::tuple(true, 1, L""));
  std::filesystem::remove(link_.paths.settings.tech);
  link_.state.finder.capturedPracticeClass = L"WinDevObject", link_.state.finder.drops[0] = FinderDrop{};
  screen_.OnReset();
  EXPECT_TRUE(Tech().ends_with("100\r\n0\r\nNotepad\r\nSans titre - Bloc-notes \r\n"));
  EXPECT_TRUE(link_.state.finder.capturedPracticeClass.empty() && !link_.state.finder.drops[0])
      << "nothing captured stays";
  std::wstring whenLauncherShown;
  launcherView_.onShow = [&] {
    whenLauncherShown = (view_.built ? L"built " : L"") + link_.state.practice.lastTextRead;
  };
  link_.state.practice.lastTextRead = L"lu", screen_.OnCheckBox(true), screen_.OnClose();
  EXPECT_FALSE(screen_.CheckBoxTicked()) << "a screen built again starts unticked";
  EXPECT_EQ(whenLauncherShown, L"Valeurs pour lecture");
  EXPECT_EQ(launcherView_.shown, 3);
}

// The buttons share the launcher's gate: a click on the tooth or LANCER that the reset question's loop
// hands over, LANCER pressed while it was up, and a double click's second press on LANCER do nothing.
TEST_F(ScreenTest, APressDuringACommandOrTheSecondOfADoubleClickDoesNothing) {
  ReadPatientFields(link_.state, link_.paths, link_.platform);  // as the launcher does before showing it
  Activate(ScreenMode::Normal);
  link_.messages.answers = {false};
  link_.messages.whileUp = [&] {
    launcher_.OnMouseDown(kLeft, 0, {PressKind::Single, 0});
    screen_.OnButton({PressKind::Single, 0});
    link_.clock.ticks = 3000;
  };
  screen_.OnReset({PressKind::Single, 0});
  for (std::uint32_t made : {2000u, 3001u}) screen_.OnButton({PressKind::Single, made});
  screen_.OnButton({PressKind::SecondOfDouble, 3100});
  EXPECT_EQ(link_.messages.Taken(), std::wstring(kResetQuestion) + L"|");
  EXPECT_EQ(link_.programs.started.size(), 1u);
}

// The practice program shows no social-security number and no first name: the user types
// them for patient A. LANCER hands them off with A, twice; once the practice program shows B,
// or none, or the screen was left, they count no more (the boxes keep them).
TEST_F(ScreenTest, AValueTypedOnTheScreenIsHandedOffOnlyWithItsPatient) {
  link_.WriteSettings((link_.settingsLines[11] = "", link_.settingsLines));
  const auto lancer = [&] {
    const std::string n = (screen_.OnButton(), link_.Read(link_.paths.siomin));
    return std::to_string(link_.programs.started.size()) + " " + n.substr(4, n.find("Du Dozu") - 4);
  };
  ReadPatientFields(link_.state, link_.paths, link_.platform), Activate(ScreenMode::Normal);
  screen_.OnFieldEdited(Field::NumSS, L"199999999999999"), screen_.OnFieldEdited(Field::Prenom, L"ROSE");
  const std::string handedOff("DURAND\0ROSE_4711\00012/03/1961\0" "199999999999999\0\0", 45);
  EXPECT_EQ(lancer(), "1 " + handedOff);
  EXPECT_EQ(lancer(), "2 " + handedOff);
  link_.desktop.At(link_.controls[9]).text = "Martin";
  EXPECT_EQ(lancer(), "2 " + handedOff);  // the practice program moved on: the screen shows B first
  EXPECT_EQ(link_.messages.Taken(), kOtherPatientShown + std::wstring(L"|"));
  EXPECT_EQ((std::vector<std::wstring>{view_.Field(Field::NumSS), view_.Field(Field::Nom)}),
            (std::vector<std::wstring>{L"199999999999999", L"MARTIN"}));
  EXPECT_EQ(lancer(), "2 " + handedOff);
  EXPECT_EQ(link_.messages.Taken(), L"Il manque le prénom ou l'Application.|");
  screen_.OnFieldEdited(Field::Prenom, L"LUC"), screen_.OnFieldEdited(Field::NumSS, L"288888888888888");  // for B
  Activate(ScreenMode::Configuration), screen_.OnButton();  // VALIDER ends this showing of the screen
  ReadPatientFields(link_.state, link_.paths, link_.platform);
  EXPECT_EQ(link_.state.patient.ValuesToHandOff(), (HandOffValues{L"MARTIN", L"", L"12/03/1961", L"4711", L""}));
  Activate(ScreenMode::Normal), screen_.OnFieldEdited(Field::Prenom, L"PAUL");
  link_.desktop.Destroy(link_.desktop.FindTopLevel("Cabinet", std::nullopt));
  EXPECT_EQ(lancer()[0], '2');
  EXPECT_EQ(link_.messages.Taken(), L"Il manque le prénom ou l'Application.|");
}

// LANCER after a harvest that fails: reported, the fields it stored shown, every field down to
// the last box (Ville), and nothing handed off.
TEST_F(ScreenTest, LancerRefreshesEveryFieldAndAFailedHarvestHandsOffNothing) {
  ReadPatientFields(link_.state, link_.paths, link_.platform);  // as the launcher does before showing it
  link_.desktop.At(link_.controls[12]).hung = true, link_.desktop.At(link_.controls[14]).text = "Lyon";
  Activate(ScreenMode::Normal), screen_.OnButton();
  EXPECT_NE(link_.messages.Taken().find(L"\n\nErreur N° 20004|"), std::wstring::npos);
  EXPECT_EQ((std::vector<std::wstring>{view_.Field(Field::Nom), view_.Field(Field::Ville)}),
            (std::vector<std::wstring>{L"DURAND", L"Nice"}));  // after the hang
  EXPECT_EQ(link_.Read(link_.paths.siomin), "<missing>");
  link_.desktop.At(link_.controls[12]).hung = false, screen_.OnButton();
  std::wstring shown;
  for (const auto& field : view_.fields) shown += field + L"|";
  EXPECT_EQ(shown, L"|||||12/03/1961|||DURAND|4711||ANNE||Lyon|");
  EXPECT_EQ(link_.programs.started.size(), 1u);
}

}  // namespace
}  // namespace corvane

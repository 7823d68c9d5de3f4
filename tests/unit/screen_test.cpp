// The screen LienSidexis apart from its window: its modes and check box, VALIDER, the reset,
// the close box, LANCER, and what a value typed on it may hand off.
#include "settings/screen/screen_presenter.h"

#include <gtest/gtest.h>

#include "link/read_patient_fields.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_screen_view.h"

namespace corvane {
namespace {

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() {
    link_.OpenPractice("Cabinet", "Fiche", {{10, "4711"}, {9, "Durand"}, {12, "Anne"}, {6, "12/03/1961"}, {14, "Nice"}});
    LoadLinkSettings(link_.state.settings, link_.paths.settings, link_.files, link_.text);
  }
  std::string Tech() const { return link_.Read(link_.paths.settings.tech); }
  void Activate(ScreenMode mode) {
    link_.state.screenMode = mode;
    view_.Show();
    presenter_.OnActivate();
  }

  fakes::FakeLink link_{"screen"};
  fakes::FakeScreenView view_;
  fakes::LauncherSpy launcher_;
  ScreenPresenter presenter_{link_.state, link_.paths, link_.platform, view_, launcher_};
};

TEST_F(ScreenTest, ActivationPresentsTheModeAndTheCheckBoxIsTickedByEntry15ExactlyOne) {
  const std::string before = Tech();
  for (const auto& [entry, ticked] : {std::pair{L"", false}, {L"1", true}, {L" 1", false}, {L"01", false}, {L"1", true}}) {
    link_.state.settings.SetEntry(kEntryShowScreenFlag, entry);
    Activate(ticked ? ScreenMode::Ctrl : ScreenMode::Normal);
    EXPECT_EQ(std::tuple(view_.checkBox, presenter_.CheckBoxTicked(), view_.configurationControls, view_.caption,
                         link_.state.settings.Entry(kEntryShowScreenFlag)),
              std::tuple(ticked, ticked, ticked, ticked ? L"VALIDER" : L"LANCER", ticked ? L"1" : L"0"));
  }
  EXPECT_TRUE(view_.dragCursorIsFinderIcon);
  EXPECT_EQ(view_.checkBoxSets, 3) << "the box is only touched when its state changes";
  presenter_.OnCheckBox(false);  // in memory only
  EXPECT_EQ(link_.state.settings.Entry(kEntryShowScreenFlag) + link_.text.FromAnsi(Tech()), L"0" + link_.text.FromAnsi(before));
}

// VALIDER and the reset save both files and give way to the launcher; a failed save is
// reported and the screen stays; No to the reset and the close box save nothing.
TEST_F(ScreenTest, OnlyValiderAndTheResetSaveAndAFailedSaveKeepsTheScreen) {
  Activate(ScreenMode::Ctrl);
  link_.state.settings.SetEntry(1, L"77");
  presenter_.OnButton();
  EXPECT_TRUE(Tech().starts_with("77\r\n") && link_.Read(link_.paths.settings.tech2) == Tech());
  EXPECT_EQ(std::tuple(view_.visible, launcher_.shown, link_.messages.Taken()), std::tuple(false, 1, L""));
  Activate(ScreenMode::Ctrl);
  link_.state.patient.StoreTyped(Field::Ville, L"Paris");
  presenter_.RefreshFields();
  std::filesystem::remove(link_.paths.settings.tech);
  std::filesystem::create_directory(link_.paths.settings.tech);  // it cannot be replaced
  presenter_.OnButton();
  link_.messages.answers = {false, true};
  presenter_.OnReset();
  EXPECT_EQ(view_.Field(Field::Ville), L"Paris");
  presenter_.OnReset();
  const std::wstring failed = L"Impossible de remplacer le fichier « " + link_.paths.settings.tech + L" »\n\nErreur N° 75|";
  const std::wstring asked = L"Voulez-vous vraiment supprimer le paramétrage actuel ?|";
  EXPECT_EQ(link_.messages.Taken(), failed + asked + asked + failed);
  EXPECT_EQ(std::tuple(view_.visible, launcher_.shown), std::tuple(true, 1));
  LinkSettings reset;
  ApplyResetValues(reset);
  EXPECT_EQ(link_.state.settings, reset);
  EXPECT_TRUE(view_.fields == decltype(view_.fields){} && link_.state.patient.Value(Field::Ville).empty());
  std::filesystem::remove(link_.paths.settings.tech);
  presenter_.OnReset();
  EXPECT_EQ(link_.messages.shown.back().title, L"Suppression du paramétrage");
  LoadLinkSettings(link_.state.settings, link_.paths.settings, link_.files, link_.text);
  EXPECT_EQ(link_.state.settings, reset);
  EXPECT_EQ(std::tuple(view_.visible, launcher_.shown), std::tuple(false, 2));

  // The close box: the launcher's activation harvests as soon as it shows, so by then the
  // screen must be gone and the record back at design time; nothing is saved.
  Activate(ScreenMode::Ctrl);
  presenter_.OnCheckBox(true);
  link_.state.patient.temp = L"texte lu";
  std::wstring whenLauncherShown;
  launcher_.onShow = [&] { whenLauncherShown = (view_.built ? L"built " : L"") + link_.state.patient.temp; };
  presenter_.OnClose();
  EXPECT_EQ(whenLauncherShown, L"Valeurs pour lecture");
  EXPECT_TRUE(Tech().ends_with("0\r\nNotepad\r\nSans titre - Bloc-notes \r\n") && !presenter_.CheckBoxTicked());
  Activate(ScreenMode::Ctrl);  // built again: unticked at design time, ticked by entry 15 "1"
  EXPECT_EQ(view_.checkBoxSets, 1);
}

// The practice program shows no social-security number and no first name: the user types
// them for patient A. LANCER hands them off with A, twice; once the practice program shows B,
// or none, or the screen was left, they count no more (the boxes keep them).
TEST_F(ScreenTest, AValueTypedOnTheScreenIsHandedOffOnlyWithItsPatient) {
  link_.settingsLines[11] = "";
  link_.WriteSettings(link_.settingsLines);
  const auto lancer = [&] {
    presenter_.OnButton();
    const std::string n = link_.Read(link_.paths.siomin);
    return std::to_string(link_.programs.started.size()) + " " + n.substr(4, n.find("Du Dozu") - 4);
  };
  ReadPatientFields(link_.state, link_.paths, link_.platform);
  Activate(ScreenMode::Normal);
  presenter_.OnFieldEdited(Field::NumSS, L"199999999999999");
  presenter_.OnFieldEdited(Field::Prenom, L"ROSE");
  const std::string handedOff("DURAND\0ROSE_4711\00012/03/1961\0" "199999999999999\0\0", 45);
  EXPECT_EQ(lancer(), "1 " + handedOff);
  EXPECT_EQ(lancer(), "2 " + handedOff);
  link_.desktop.At(link_.controls[9]).text = "Martin";
  EXPECT_EQ(lancer(), "2 " + handedOff);
  EXPECT_EQ(link_.messages.Taken(), L"Il manque le prénom ou l'Application.|");
  EXPECT_EQ(view_.Field(Field::NumSS) + view_.Field(Field::Nom), L"199999999999999MARTIN");
  presenter_.OnFieldEdited(Field::Prenom, L"LUC");  // for patient B this time
  presenter_.OnFieldEdited(Field::NumSS, L"288888888888888");
  Activate(ScreenMode::Ctrl);
  presenter_.OnButton();  // VALIDER ends this showing of the screen
  ReadPatientFields(link_.state, link_.paths, link_.platform);
  EXPECT_EQ(link_.state.patient.ValuesToHandOff(), (HandOffValues{L"MARTIN", L"", L"12/03/1961", L"4711", L""}));
  Activate(ScreenMode::Normal);
  presenter_.OnFieldEdited(Field::Prenom, L"PAUL");
  link_.desktop.Destroy(link_.desktop.FindTopLevel("Cabinet", std::nullopt));
  EXPECT_EQ(lancer()[0], '2');
  EXPECT_EQ(link_.messages.Taken(), L"Il manque le prénom ou l'Application.|");
}

// LANCER after a harvest that fails: reported, the fields it stored shown, every field down to
// the last box (Ville), and nothing handed off.
TEST_F(ScreenTest, LancerRefreshesEveryFieldAndAFailedHarvestHandsOffNothing) {
  link_.desktop.At(link_.controls[12]).hung = true;
  Activate(ScreenMode::Normal);
  presenter_.OnButton();
  EXPECT_NE(link_.messages.Taken().find(L"\n\nErreur N° 20004|"), std::wstring::npos);
  EXPECT_EQ(view_.Field(Field::Nom) + view_.Field(Field::Ville), L"DURAND");  // Ville comes after the hang
  EXPECT_EQ(link_.Read(link_.paths.siomin), "<missing>");
  link_.desktop.At(link_.controls[12]).hung = false;
  presenter_.OnButton();
  std::wstring shown;
  for (const auto& field : view_.fields) shown += field + L"|";
  EXPECT_EQ(shown, L"|||||12/03/1961|||DURAND|4711||ANNE||Nice|");
  EXPECT_EQ(link_.programs.started.size(), 1u);
}

}  // namespace
}  // namespace corvane

// The screen LienSidexis apart from its window: its two modes, its check box, VALIDER, the
// reset, the close box, and what a value typed on it may hand off.
#include "settings/screen/screen_presenter.h"

#include <gtest/gtest.h>

#include "link/read_patient_fields.h"
#include "settings/screen/screen_layout.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_screen_view.h"

namespace corvane {
namespace {

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() {
    link_.OpenPractice("CabinetFiche", "Fiche patient",
                       {{10, "4711"}, {9, "Durand"}, {12, "Anne"}, {6, "12/03/1961"}, {11, "2610375123456 78"}});
    LoadLinkSettings(link_.state.settings, link_.paths.settings, link_.files, link_.text);
  }
  std::string Tech() const { return link_.Read(link_.paths.settings.tech); }
  void Activate(ScreenMode mode) {
    link_.state.screenMode = mode;
    view_.Show();
    presenter_.OnActivate();
  }
  // What the launcher does before it shows the screen, with the field `unread` not configured.
  void OpenScreen(ScreenMode mode, Field unread) {
    std::vector<std::string> lines = link_.settingsLines;
    lines[static_cast<std::size_t>(EntryOf(unread) - 1)] = "";
    link_.WriteSettings(lines);
    ReadPatientFields(link_.state, link_.paths, link_.platform);
    Activate(mode);
    presenter_.RefreshFields();
  }
  // The practice program moves on to another patient.
  void ShowNextPatient() {
    for (auto& [entry, control] : link_.controls) link_.desktop.At(control).text.insert(0, "9");
  }
  std::string HandedOffN() const {  // the N record handed off
    const std::string handOff = link_.Read(link_.paths.siomin);
    EXPECT_EQ(link_.Read(link_.paths.siomin2), handOff);
    return handOff.substr(0, handOff.find("\r\n"));
  }

  fakes::FakeLink link_{"screen"};
  fakes::FakeScreenView view_;
  fakes::LauncherSpy launcher_;
  ScreenPresenter presenter_{link_.state, link_.paths, link_.platform, view_, launcher_};
};

TEST_F(ScreenTest, ActivationPresentsTheModeAndTheCheckBoxIsTickedByEntry15ExactlyOne) {
  const std::pair<const wchar_t*, bool> cases[] = {{L"", false},  {L"1", true},   {L" 1", false},
                                                   {L"01", false}, {L"2", false}, {L"1", true}};
  for (const auto& [entry, ticked] : cases) {
    link_.state.settings.SetEntry(kEntryShowScreenFlag, entry);
    Activate(ticked ? ScreenMode::Ctrl : ScreenMode::Normal);
    EXPECT_TRUE(view_.checkBox == ticked && presenter_.CheckBoxTicked() == ticked) << entry;
    EXPECT_EQ(link_.state.settings.Entry(kEntryShowScreenFlag), ticked ? L"1" : L"0") << entry;
    EXPECT_EQ(view_.configurationControls, ticked);
    EXPECT_EQ(view_.caption, ticked ? L"VALIDER" : L"LANCER");
  }
  EXPECT_TRUE(view_.dragCursorIsFinderIcon);
  EXPECT_EQ(view_.checkBoxSets, 3) << "the box is only touched when its state changes";

  // A click changes entry 15 in memory only, and the next activation keeps the choice.
  const std::string before = Tech();
  presenter_.OnCheckBox(false);
  EXPECT_EQ(link_.state.settings.Entry(kEntryShowScreenFlag), L"0");
  EXPECT_EQ(Tech(), before);
  Activate(ScreenMode::Ctrl);
  EXPECT_FALSE(presenter_.CheckBoxTicked());
}

TEST_F(ScreenTest, ValiderRewritesBothFilesAndAFailedSaveIsReportedAndTheScreenStays) {
  link_.Write(link_.paths.settings.tech, "stale\r\n");  // an unchanged table must still be written out
  std::filesystem::remove(link_.paths.settings.tech2);
  Activate(ScreenMode::Ctrl);
  presenter_.OnButton();
  LinkSettings saved;
  LoadLinkSettings(saved, link_.paths.settings, link_.files, link_.text);
  EXPECT_EQ(saved, link_.state.settings);
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(launcher_.shown, 1);
  EXPECT_TRUE(link_.messages.shown.empty());
  EXPECT_EQ(link_.Read(link_.paths.siomin), "<missing>");

  std::filesystem::remove(link_.paths.settings.tech);
  std::filesystem::create_directory(link_.paths.settings.tech);  // it cannot be replaced
  Activate(ScreenMode::Ctrl);
  presenter_.OnButton();
  link_.messages.answers = {true};
  presenter_.OnReset();
  ASSERT_EQ(link_.messages.shown.size(), 3u);  // VALIDER's failure, the reset's question, its failure
  for (std::size_t i : {0u, 2u})
    EXPECT_NE(link_.messages.shown[i].text.find(L"Tech.txt »\n\nErreur N° 75"), std::wstring::npos);
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(launcher_.shown, 1);
}

TEST_F(ScreenTest, ResetAnsweredNoChangesNothingYesSavesTheResetValuesAndEmptiesTheFields) {
  Activate(ScreenMode::Ctrl);
  for (int n = 1; n <= kFieldCount; ++n) view_.fields[static_cast<std::size_t>(n - 1)] = L"valeur";
  link_.state.patient.StoreTyped(Field::Ville, L"Paris");
  const LinkSettings settings = link_.state.settings;
  const std::string tech = Tech();
  link_.messages.answers = {false};
  presenter_.OnReset();
  ASSERT_EQ(link_.messages.shown.size(), 1u);
  EXPECT_EQ(link_.messages.shown[0].text, L"Voulez-vous vraiment supprimer le paramétrage actuel ?");
  EXPECT_EQ(link_.messages.shown[0].title, L"Suppression du paramétrage");
  EXPECT_EQ(link_.state.settings, settings);
  EXPECT_EQ(view_.Field(Field::Ville), L"valeur");
  EXPECT_EQ(Tech(), tech);

  presenter_.OnReset();
  LinkSettings reset;
  ApplyResetValues(reset);
  EXPECT_EQ(link_.state.settings, reset);
  LoadLinkSettings(link_.state.settings, link_.paths.settings, link_.files, link_.text);
  EXPECT_EQ(link_.state.settings, reset);
  EXPECT_EQ(view_.fields, decltype(view_.fields){});
  EXPECT_EQ(link_.state.patient.Value(Field::Ville), L"");
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(launcher_.shown, 1);
}

TEST_F(ScreenTest, CloseSavesNothingAndTheNextUseStartsFromDesignTime) {
  Activate(ScreenMode::Ctrl);
  const std::string tech = Tech();
  presenter_.OnCheckBox(true);
  link_.state.patient.temp = L"texte lu";
  // The launcher's activation harvests as soon as it shows: by then the screen must be gone
  // and the record back at design time, or the harvest would be wiped.
  std::wstring whenLauncherShown;
  launcher_.onShow = [&] { whenLauncherShown = (view_.built ? L"built " : L"") + link_.state.patient.temp; };
  presenter_.OnClose();
  EXPECT_EQ(whenLauncherShown, L"Valeurs pour lecture");
  EXPECT_EQ(Tech(), tech);
  EXPECT_FALSE(presenter_.CheckBoxTicked());
  Activate(ScreenMode::Ctrl);  // built again: unticked at design time, ticked by entry 15 "1"
  EXPECT_EQ(view_.checkBoxSets, 1);
}

// The practice program never shows the social-security number, or the first name: the user
// types it on the screen for patient A. LANCER hands it off with A, twice in a row; once the
// practice program has moved on to B it is B's no more. The box keeps showing what was typed.
TEST_F(ScreenTest, AValueTypedOnTheScreenIsHandedOffOnlyWithItsPatient) {
  for (const Field typed : {Field::NumSS, Field::Prenom}) {
    SCOPED_TRACE(EntryOf(typed));
    link_.programs.started.clear();
    link_.messages.shown.clear();
    OpenScreen(ScreenMode::Normal, typed);
    const std::wstring value = typed == Field::NumSS ? L"199999999999999" : L"ROSE";
    presenter_.OnFieldEdited(typed, value);
    presenter_.OnButton();
    presenter_.OnButton();
    EXPECT_EQ(link_.programs.started.size(), 2u);
    EXPECT_NE(HandedOffN().find(link_.text.ToAnsi(value)), std::string::npos);

    ShowNextPatient();
    presenter_.OnButton();
    EXPECT_EQ(view_.Field(typed), value);
    if (typed == Field::NumSS) {
      EXPECT_EQ(link_.programs.started.size(), 3u);
      EXPECT_NE(HandedOffN().find("9DURAND"), std::string::npos);
      EXPECT_EQ(HandedOffN().find(link_.text.ToAnsi(value)), std::string::npos);
    } else {
      EXPECT_EQ(link_.programs.started.size(), 2u);
      ASSERT_EQ(link_.messages.shown.size(), 1u);
      EXPECT_EQ(link_.messages.shown[0].text, L"Il manque le prénom ou l'Application.");
    }
    presenter_.OnClose();
  }
}

// Nothing typed counts once its showing of the screen is over (typed in configuration mode,
// then VALIDER, then a plain click), nor when the practice program has closed.
TEST_F(ScreenTest, NothingTypedCountsAfterTheScreenOrWithoutAPatient) {
  OpenScreen(ScreenMode::Ctrl, Field::NumSS);
  presenter_.OnFieldEdited(Field::NumSS, L"199999999999999");
  presenter_.OnButton();
  ReadPatientFields(link_.state, link_.paths, link_.platform);
  EXPECT_TRUE(LaunchSidexis(link_.state, link_.paths, link_.platform));
  EXPECT_EQ(HandedOffN().find("199999999999999"), std::string::npos);

  std::filesystem::remove(link_.paths.siomin);
  OpenScreen(ScreenMode::Normal, Field::Prenom);
  presenter_.OnFieldEdited(Field::Prenom, L"ROSE");
  link_.desktop.Destroy(link_.desktop.FindTopLevel("CabinetFiche", std::nullopt));
  presenter_.OnButton();
  ASSERT_EQ(link_.messages.shown.size(), 1u);
  EXPECT_EQ(link_.messages.shown[0].text, L"Il manque le prénom ou l'Application.");
  EXPECT_EQ(link_.Read(link_.paths.siomin), "<missing>");
  EXPECT_EQ(link_.programs.started.size(), 1u);
}

// LANCER after a harvest that fails: reported, the fields it stored shown, every field down to
// the last box (Ville), and nothing handed off.
TEST_F(ScreenTest, LancerRefreshesEveryFieldAndAFailedHarvestHandsOffNothing) {
  link_.desktop.At(link_.controls[11]).hung = true;
  const WindowHandle practice = link_.desktop.FindTopLevel("CabinetFiche", std::nullopt);
  for (int entry : {1, 14}) link_.desktop.AddChild(practice, "Edit", 2000 + entry, "f" + std::to_string(entry));
  link_.settingsLines[0] = "2001", link_.settingsLines[13] = "2014";
  link_.WriteSettings(link_.settingsLines);
  Activate(ScreenMode::Normal);
  presenter_.OnButton();
  ASSERT_EQ(link_.messages.shown.size(), 1u);
  EXPECT_NE(link_.messages.shown[0].text.find(L"Erreur N° 20004"), std::wstring::npos);
  EXPECT_EQ(view_.Field(Field::NumDossier), L"4711");
  EXPECT_EQ(view_.Field(Field::Ville), L"");  // read after the control that hangs
  EXPECT_EQ(link_.Read(link_.paths.siomin), "<missing>");
  EXPECT_TRUE(link_.programs.started.empty());

  link_.desktop.At(link_.controls[11]).hung = false;
  presenter_.OnButton();
  for (const ControlRow& row : kScreenLayout) {
    if (row.kind != ControlKind::FieldBox) continue;
    const Field field = FieldOfEntry(row.id - screen_id::kFieldBoxBase);
    EXPECT_EQ(view_.Field(field), link_.state.patient.Value(field)) << row.name;
  }
  EXPECT_EQ(view_.Field(Field::Ville), L"f14");
  EXPECT_EQ(link_.programs.started.size(), 1u);
}

}  // namespace
}  // namespace corvane

#include "settings/screen/screen_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "handoff/handoff.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "link/read_patient_fields.h"
#include "settings/link_settings.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_screen_view.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the practice program shows of the five fields handed off, and in which control.
const struct {
  Field field;
  int id;
  const char* text;
} kPracticeFields[] = {{Field::NumDossier, 501, "4711"},
                       {Field::Nom, 502, "Durand"},
                       {Field::Prenom, 503, "Anne"},
                       {Field::DateNaissance, 504, "12/03/1961"},
                       {Field::NumSS, 505, "2610375123456 78"}};

// A settings folder of its own, a practice program on a fake desktop showing one patient,
// and a screen whose window is a recording fake.
class ScreenPresenterTest : public ::testing::Test {
 protected:
  ScreenPresenterTest() {
    practice_ = link_.desktop.AddTopLevel("CabinetFiche", "Fiche patient");
    for (const auto& shown : kPracticeFields)
      numSSControl_ = link_.desktop.AddChild(practice_, "Edit", shown.id, shown.text);
    WriteSettings();
    LoadLinkSettings(link_.state.settings, link_.paths.settings, link_.files, link_.text);
  }
  // Settings that read the practice program's fields, all of them or all but `unread`.
  void WriteSettings(std::optional<Field> unread = std::nullopt) {
    LinkSettings settings;
    for (int n = 1; n <= kFieldCount; ++n) settings.SetEntry(n, L"0");
    for (const auto& shown : kPracticeFields) settings.SetEntry(EntryOf(shown.field), std::to_wstring(shown.id));
    if (unread) settings.SetEntry(EntryOf(*unread), L"0");
    settings.SetEntry(kEntryShowScreenFlag, L"0");
    settings.SetEntry(kEntryPracticeClass, L"CabinetFiche");
    settings.SetEntry(kEntryPracticeTitle, L"Fiche patient");
    SaveLinkSettings(settings, link_.paths.settings, link_.files, link_.text);
  }
  std::string Tech() const { return ReadFile(link_.folder / "Tech.txt"); }
  std::string Tech2() const { return ReadFile(link_.folder / "Tech2.txt"); }
  bool HandedOff() const { return fs::exists(link_.folder / "siomin.sdx") || fs::exists(link_.folder / "siomin2.sdx"); }

  void Activate(ScreenMode mode) {
    link_.state.screenMode = mode;
    view_.Show();
    presenter_.OnActivate();
  }

  // What the launcher does before it shows the screen, and what a plain click on it does.
  void OpenScreen(ScreenMode mode) {
    ReadPatientFields(link_.state, link_.paths, link_.platform);
    Activate(mode);
    presenter_.RefreshFields();
  }
  bool LauncherClick() {
    ReadPatientFields(link_.state, link_.paths, link_.platform);
    return LaunchSidexis(link_.state, link_.paths, link_.platform);
  }
  // The practice program moves on to another patient.
  void ShowNextPatient() {
    link_.desktop.EnumerateDescendants(practice_, [&](WindowHandle control) {
      link_.desktop.At(control).text = "9" + link_.desktop.At(control).text;
      return true;
    });
  }
  // The N record handed off, or "" when there is none.
  std::string HandedOffN() const {
    const std::string handOff = ReadFile(link_.folder / "siomin.sdx");
    EXPECT_EQ(ReadFile(link_.folder / "siomin2.sdx"), handOff);
    return handOff.substr(0, handOff.find("\r\n"));
  }

  fakes::FakeLink link_{"screen"};
  WindowHandle practice_;
  WindowHandle numSSControl_;
  fakes::FakeScreenView view_;
  fakes::LauncherSpy launcher_;
  ScreenPresenter presenter_{link_.state, link_.paths, link_.platform, view_, launcher_};
};

TEST_F(ScreenPresenterTest, ActivationPresentsTheModeTheLauncherChose) {
  Activate(ScreenMode::Ctrl);
  EXPECT_EQ(view_.calls.at(1), L"BringToTop");  // right after the show, before anything else
  EXPECT_TRUE(view_.configurationControls);
  EXPECT_EQ(view_.caption, L"VALIDER");
  EXPECT_TRUE(view_.dragCursorIsFinderIcon);
  Activate(ScreenMode::Normal);
  EXPECT_FALSE(view_.configurationControls);
  EXPECT_EQ(view_.caption, L"LANCER");
}

TEST_F(ScreenPresenterTest, TheCheckBoxIsTickedByEntry15ExactlyOne) {
  // Entry 15 as found -> the box, and entry 15 as left: "0" or "1" only.
  const struct {
    const wchar_t* entry;
    bool ticked;
  } cases[] = {{L"", false},  {L"1", true},   {L" 1", false}, {L"01", false},
               {L"2", false}, {L"-1", false}, {L"oui", false}};
  for (const auto& c : cases) {
    link_.state.settings.SetEntry(kEntryShowScreenFlag, L"1");
    Activate(ScreenMode::Ctrl);
    link_.state.settings.SetEntry(kEntryShowScreenFlag, c.entry);
    Activate(ScreenMode::Ctrl);
    EXPECT_TRUE(view_.checkBox == c.ticked && presenter_.CheckBoxTicked() == c.ticked)
        << "entry 15 \"" << c.entry << '"';
    EXPECT_EQ(link_.state.settings.Entry(kEntryShowScreenFlag), c.ticked ? L"1" : L"0")
        << "entry 15 \"" << c.entry << '"';
  }
  // The box is only touched when its state changes.
  const int sets = view_.checkBoxSets;
  Activate(ScreenMode::Ctrl);
  EXPECT_EQ(view_.checkBoxSets, sets);

  // A click changes entry 15 in memory only, and the next activation keeps the choice.
  const std::string before = Tech();
  presenter_.OnCheckBox(true);
  EXPECT_EQ(link_.state.settings.Entry(kEntryShowScreenFlag), L"1");
  EXPECT_EQ(Tech(), before);
  Activate(ScreenMode::Ctrl);
  EXPECT_TRUE(presenter_.CheckBoxTicked());
}

TEST_F(ScreenPresenterTest, ValiderRewritesBothFilesThenGivesWayToTheLauncher) {
  // Files that differ from the table: an unchanged table must still be written out.
  std::ofstream(link_.folder / "Tech.txt", std::ios::binary) << "stale\r\n";
  fs::remove(link_.folder / "Tech2.txt");
  Activate(ScreenMode::Ctrl);
  presenter_.OnButton();

  LinkSettings saved;
  LoadLinkSettings(saved, link_.paths.settings, link_.files, link_.text);
  EXPECT_EQ(saved, link_.state.settings);
  EXPECT_EQ(Tech2(), Tech());
  EXPECT_EQ(view_.calls.back(), L"Hide");
  EXPECT_EQ(launcher_.shown, 1);
  EXPECT_TRUE(link_.messages.shown.empty());
  EXPECT_FALSE(HandedOff());
  EXPECT_TRUE(link_.programs.started.empty());
}

TEST_F(ScreenPresenterTest, FailedSavesAreReportedAndTheScreenStays) {
  // A folder where the settings file should be: it cannot be replaced.
  fs::remove(link_.folder / "Tech.txt");
  fs::create_directory(link_.folder / "Tech.txt");
  Activate(ScreenMode::Ctrl);
  presenter_.OnButton();
  link_.messages.answers = {true};
  presenter_.OnReset();

  ASSERT_EQ(link_.messages.shown.size(), 3u);  // VALIDER's failure, the reset's question, its failure
  for (std::size_t i : {0u, 2u}) {
    EXPECT_FALSE(link_.messages.shown[i].question);
    EXPECT_NE(link_.messages.shown[i].text.find(L"Erreur N° "), std::wstring::npos);
  }
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(launcher_.shown, 0);
}

TEST_F(ScreenPresenterTest, ResetAnsweredNoChangesNothingYesSavesTheResetValuesAndEmptiesTheFields) {
  for (int n = 1; n <= kFieldCount; ++n)
    link_.state.patient.StoreTyped(FieldOfEntry(n), L"valeur " + std::to_wstring(n));
  link_.state.settings.SetEntry(kEntryShowScreenFlag, L"1");
  Activate(ScreenMode::Ctrl);
  presenter_.RefreshFields();
  link_.state.settings.SetEntry(EntryOf(Field::Ville), L"777");  // an unsaved capture
  const LinkSettings settings = link_.state.settings;
  const std::string tech = Tech();

  link_.messages.answers = {false};
  presenter_.OnReset();
  ASSERT_EQ(link_.messages.shown.size(), 1u);
  EXPECT_TRUE(link_.messages.shown[0].question);
  EXPECT_EQ(link_.messages.shown[0].text, L"Voulez-vous vraiment supprimer le paramétrage actuel ?");
  EXPECT_EQ(link_.messages.shown[0].title, L"Suppression du paramétrage");
  EXPECT_EQ(link_.state.settings, settings);
  EXPECT_EQ(link_.state.patient.Value(Field::Nom), L"valeur 9");
  EXPECT_EQ(view_.Field(Field::Nom), L"valeur 9");
  EXPECT_EQ(Tech(), tech);
  EXPECT_EQ(Tech2(), tech);
  EXPECT_TRUE(view_.visible);

  link_.messages.answers = {true};
  presenter_.OnReset();
  std::string expected;
  for (int n = 1; n <= kFieldCount; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(Tech(), expected);
  EXPECT_EQ(Tech2(), expected);
  for (int n = 1; n <= kFieldCount; ++n) {
    EXPECT_EQ(link_.state.patient.Value(FieldOfEntry(n)), L"") << "field " << n;
    EXPECT_EQ(view_.fields[static_cast<std::size_t>(n - 1)], L"") << "field " << n;
  }
  // A cleared field no longer counts as typed: nothing is left to hand off.
  EXPECT_EQ(link_.state.patient.ValuesToHandOff(), HandOffValues{});
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(launcher_.shown, 1);
  // The box is left as it was: the next activation sets it from entry 15.
  EXPECT_TRUE(view_.checkBox);
  Activate(ScreenMode::Ctrl);
  EXPECT_FALSE(view_.checkBox);
}

TEST_F(ScreenPresenterTest, CloseSavesNothingAndTheNextUseStartsFromDesignTime) {
  Activate(ScreenMode::Ctrl);
  const std::string tech = Tech();
  presenter_.OnCheckBox(true);
  presenter_.OnFieldEdited(Field::Nom, L"MARTIN");
  link_.state.patient.temp = L"texte lu";
  link_.state.patient.application = L"CabinetFiche";

  // The launcher's activation harvests as soon as it shows: by then the screen must be gone
  // and the record back at design time, or the harvest would be wiped.
  bool builtWhenLauncherShown = true;
  std::wstring tempWhenLauncherShown;
  launcher_.onShow = [&] {
    builtWhenLauncherShown = view_.built;
    tempWhenLauncherShown = link_.state.patient.temp;
  };
  presenter_.OnClose();

  EXPECT_EQ(launcher_.shown, 1);
  EXPECT_FALSE(builtWhenLauncherShown);
  EXPECT_EQ(tempWhenLauncherShown, L"Valeurs pour lecture");
  EXPECT_EQ(Tech(), tech);
  EXPECT_EQ(Tech2(), tech);
  EXPECT_EQ(link_.state.patient.Value(Field::Nom), L"");
  EXPECT_EQ(link_.state.patient.application, L"");
  EXPECT_FALSE(presenter_.CheckBoxTicked());

  // Built again: unticked at design time, and entry 15 (still "1" in memory until the
  // launcher reloads it) ticks it at activation.
  Activate(ScreenMode::Ctrl);
  EXPECT_TRUE(view_.checkBox);
  EXPECT_EQ(view_.checkBoxSets, 1);
}

// The practice program never shows the social-security number, or the first name: the user
// types it on the screen for patient A. LANCER hands it off with A, twice in a row; once the
// practice program has moved on to B it is B's no more: B goes with an empty number, or not
// at all for want of a first name. The box keeps showing what was typed.
TEST_F(ScreenPresenterTest, AValueTypedOnTheScreenIsHandedOffOnlyWithItsPatient) {
  for (const Field typed : {Field::NumSS, Field::Prenom}) {
    SCOPED_TRACE(EntryOf(typed));
    fs::remove(link_.folder / "siomin.sdx");
    link_.programs.started.clear();
    link_.messages.shown.clear();
    WriteSettings(typed);
    OpenScreen(ScreenMode::Normal);
    const std::wstring value = typed == Field::NumSS ? L"199999999999999" : L"ROSE";
    presenter_.OnFieldEdited(typed, value);
    presenter_.OnButton();
    presenter_.OnButton();
    EXPECT_EQ(link_.programs.started.size(), 2u);
    EXPECT_NE(HandedOffN().find(link_.text.ToAnsi(value)), std::string::npos);
    EXPECT_NE(HandedOffN().find("DURAND"), std::string::npos);

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
      EXPECT_NE(HandedOffN().find("ROSE_"), std::string::npos) << "A's hand-off stays";
    }
    presenter_.OnClose();
  }
}

// Nothing typed counts once its showing of the screen is over (here a value typed in
// configuration mode, then "VALIDER", then a plain click), nor when the practice program has
// closed: no first name, the message, nothing written, nothing started.
TEST_F(ScreenPresenterTest, NothingTypedCountsAfterTheScreenOrWithoutAPatient) {
  WriteSettings(Field::NumSS);
  OpenScreen(ScreenMode::Ctrl);
  presenter_.OnFieldEdited(Field::NumSS, L"199999999999999");
  presenter_.OnButton();
  EXPECT_FALSE(view_.visible);
  EXPECT_TRUE(LauncherClick());
  EXPECT_EQ(HandedOffN().find("199999999999999"), std::string::npos);

  fs::remove(link_.folder / "siomin.sdx");
  fs::remove(link_.folder / "siomin2.sdx");
  WriteSettings(Field::Prenom);
  OpenScreen(ScreenMode::Normal);
  presenter_.OnFieldEdited(Field::Prenom, L"ROSE");
  link_.desktop.Destroy(practice_);
  presenter_.OnButton();
  ASSERT_EQ(link_.messages.shown.size(), 1u);
  EXPECT_EQ(link_.messages.shown[0].text, L"Il manque le prénom ou l'Application.");
  EXPECT_FALSE(HandedOff());
  EXPECT_EQ(link_.programs.started.size(), 1u);
  EXPECT_TRUE(view_.visible);
}

TEST_F(ScreenPresenterTest, LancerWithAFailedHarvestHandsOffNothing) {
  // The record still holds a patient from an earlier harvest: it must not leave.
  OpenScreen(ScreenMode::Normal);

  fs::remove(link_.folder / "Tech.txt");  // the settings cannot be read
  presenter_.OnButton();
  WriteSettings();
  link_.desktop.At(numSSControl_).hung = true;  // the practice program does not answer
  presenter_.OnButton();

  ASSERT_EQ(link_.messages.shown.size(), 2u);
  EXPECT_FALSE(link_.messages.shown[0].question);
  EXPECT_NE(link_.messages.shown[0].text.find(L"Erreur N° "), std::wstring::npos);
  EXPECT_NE(link_.messages.shown[1].text.find(std::to_wstring(error_number::kPracticeNotAnswering)),
            std::wstring::npos);
  EXPECT_FALSE(HandedOff());
  EXPECT_TRUE(link_.programs.started.empty());
  EXPECT_TRUE(view_.visible);
}

}  // namespace
}  // namespace corvane

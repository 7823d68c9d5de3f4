// The code page, the field rules, the patient record, and the link settings files.
#include <gtest/gtest.h>

#include <functional>

#include "handoff/handoff_records.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "reader/harvest.h"
#include "reader/normalise.h"
#include "reader/patient_record.h"
#include "settings/link_settings.h"
#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

// Windows-1252 as Windows has it: every byte comes back, 0x80-0x9F are Windows' letters (its
// five undefined bytes kept as C1 controls), and the small letters have Windows' capitals.
TEST(PortableText, IsWindows1252WithWindowsCapitals) {
  const PortableText text;
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(text.ToAnsi(text.FromAnsi(all)), all);
  EXPECT_EQ(text.FromAnsi(all.substr(0x80, 32)), L"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ");
  EXPECT_EQ(text.ToAnsi(L"€ŒœŠ\x81ŁĘ\x100"), "\x80\x8C\x9C\x8A\x81???");
  std::wstring upper;
  for (wchar_t c : std::wstring(L"azàþÿšœžƒ÷ß`{")) upper += text.ToUpper(c);
  EXPECT_EQ(upper, L"AZÀÞŸŠŒŽƑ÷ß`{");
  // On a system set to UTF-8 Windows fails every conversion given a flag or a default character.
  for (unsigned codePage : {65001u, 65000u, 54936u, 52936u, 50220u, 50229u, 57002u, 57011u, 42u})
    EXPECT_EQ(AnsiConversionFor(codePage).defaultChar, nullptr) << codePage;
  for (unsigned codePage :
       {1252u, 41u, 43u, 50219u, 50230u, 52935u, 52937u, 54935u, 54937u, 57001u, 57012u, 64999u, 65002u})
    EXPECT_EQ(AnsiConversionFor(codePage).flags + AnsiConversionFor(codePage).defaultChar[0], kNoBestFitChars + '?');
}

TEST(FieldRules, EachFieldFollowsItsRuleAndOnlyDecimalIntegersNameAControl) {
  const std::tuple<Field, std::wstring, std::wstring> cases[] = {
      {Field::Civilite, L" Mme\tMadame\tautre", L" Mme"},              // what precedes the first TAB
      {Field::Nom, L"  d'Artagnan-Ça é ", L"  D'ARTAGNAN-ÇA É "},      // upper-cased, accents kept
      {Field::NumSS, L"2 68 05\t75\u00A0123", L"26805\t75\u00A0123"},  // loses its U+0020 spaces only
      {Field::Prenom, L"Hélène Éloïse Où àâä ç èêë îï ôö ûü ÿ", L"HELENE ELOISE OU AAA C EEE II OO UU Y"},
      {Field::Prenom, L"áñøÀÇ", L"ÁÑØÀÇ"},  // outside the folding: upper-cased, capitals stay
      {Field::Ville, L" Zoë\t1 rue ", L" Zoë\t1 rue "},
  };
  for (const auto& [field, raw, stored] : cases) EXPECT_EQ(NormaliseField(field, raw, PortableText()), stored);
  EXPECT_EQ(EntryIdentity(L" +7 ") + EntryIdentity(L"-12"), -5);
  EXPECT_EQ(EntryIdentity(L"2147483647"), 2147483647);
  for (const wchar_t* entry : {L"", L" ", L"2147483648", L"12a", L"1 2", L"1-", L"--5", L"-", L"100\t", L"/", L":"})
    EXPECT_EQ(EntryIdentity(entry), 0) << entry;
}

TEST(FieldRules, FirstNameIsCutToTheRoomTheFileNumberLeavesThenTrimmed) {
  const std::wstring number31(31, L'9');
  const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {
      {L" Lucie ", L"1207", L"Lucie_1207"},
      // Room 27 for "_1207": the cut keeps 27 characters, then the spaces it ends on go.
      {L"Marie-Christine Anne-Sophi  Elisabeth", L"1207", L"Marie-Christine Anne-Sophi_1207"},
      {std::wstring(30, L' ') + L"Lucie", L"1", L"_1"},         // leading spaces take room before the trim
      {L"\tLu\r\ncie\u00A0\x1F", L"1\n", L"Lu  cie\u00A0_1 "},  // control characters are spaces
      {L"Lucie", number31, L"_" + number31},                    // a 31-character file number leaves no room
  };
  for (const auto& [prenom, numDossier, expected] : cases) EXPECT_EQ(NameField(prenom, numDossier), expected);
  EXPECT_NO_THROW(CheckFileNumber(number31));
}

// A harvest that found the practice window showing this patient (no social-security control).
void Harvest(PatientRecord& record, const wchar_t* numDossier, const wchar_t* nom = L"DURAND",
             const wchar_t* prenom = L"ANNE", const wchar_t* dateNaissance = L"12/03/1961") {
  record.BeginHarvest();
  for (const auto& [field, value] : {std::pair{Field::NumDossier, numDossier},
                                     {Field::Nom, nom},
                                     {Field::Prenom, prenom},
                                     {Field::DateNaissance, dateNaissance}})
    record.StoreHarvested(field, value);
  record.CompleteHarvest();
}

// A social-security number typed for patient 4711, then one event: does it still count?
TEST(PatientRecord, ATypedValueCountsOnlyForItsPatientWhileTheScreenShows) {
  const std::pair<std::function<void(PatientRecord&)>, const wchar_t*> cases[] = {
      {[](PatientRecord& r) { Harvest(r, L"4711"), Harvest(r, L"4711"); }, L"999999999999999"},
      {[](PatientRecord& r) { Harvest(r, L"4800"); }, L""},
      {[](PatientRecord& r) { Harvest(r, L"4711", L"MARTIN"); }, L""},
      {[](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", L"LUC"); }, L""},
      {[](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", L"ANNE", L"01/01/1970"); }, L""},
      {[](PatientRecord& r) { r.BeginHarvest(); }, L""},  // no practice window found
      {[](PatientRecord& r) { r.BeginHarvest(), Harvest(r, L"4711"); }, L""},
      {[](PatientRecord& r) { r.EndScreenShowing(), Harvest(r, L"4711"); }, L""},  // the screen hidden
      {[](PatientRecord& r) { r.Clear(Field::NumSS); }, L""},
      {[](PatientRecord& r) {  // the first name no longer read: another patient
         r.BeginHarvest(), r.StoreHarvested(Field::NumDossier, L"4711"), r.StoreHarvested(Field::Nom, L"DURAND");
         r.StoreHarvested(Field::DateNaissance, L"12/03/1961"), r.CompleteHarvest();
       },
       L""},
      {[](PatientRecord& r) { r.BeginHarvest(), r.StoreHarvested(Field::NumSS, L"1"), r.CompleteHarvest(); }, L"1"},
  };
  for (const auto& [then, handedOff] : cases) {
    PatientRecord record;
    Harvest(record, L"4711");
    record.StoreTyped(Field::NumSS, L"999999999999999");
    then(record);
    EXPECT_EQ(record.ValuesToHandOff().numSS, handedOff) << &then - &cases[0].first;
  }
  // Typed while no patient is on screen: it is for nobody, whoever shows next. The box shows it.
  PatientRecord record;
  record.BeginHarvest();
  record.StoreTyped(Field::Prenom, L"ANNE");
  Harvest(record, L"4711", L"DURAND", L"");
  EXPECT_EQ(record.ValuesToHandOff(), (HandOffValues{L"DURAND", L"", L"12/03/1961", L"4711", L""}));
  // The screen echoing the harvested value is not typing: the next harvest's reading decides.
  record.StoreHarvested(Field::NumSS, L"123456789012345");
  record.StoreTyped(Field::NumSS, L"123456789012345");
  Harvest(record, L"4711", L"DURAND", L"");
  EXPECT_EQ(record.ValuesToHandOff().numSS + record.Value(Field::NumSS), L"123456789012345");
  record.temp = L"lu", record.application = L"WinDevObject";
  record.ResetToDesignTime();
  EXPECT_EQ(record.Value(Field::Nom) + record.temp + record.application, L"Valeurs pour lecture");
}

class SettingsTest : public ::testing::Test {
 protected:
  std::wstring Load(const std::string& tech, const std::string& tech2 = "copy") {  // the table, or the failure
    for (const auto& [path, bytes] : {std::pair{paths_.tech, tech}, {paths_.tech2, tech2}})
      bytes == "<missing>" ? (void)std::filesystem::remove(path) : link_.Write(path, bytes);
    const std::wstring failure =
        fakes::FailureOf([&] { LoadLinkSettings(settings_, paths_, link_.files, link_.text); });
    std::wstring entries;
    for (int n = 1; n <= kEntryCount; ++n) entries += settings_.Entry(n) + L"|";
    return failure.empty() ? entries : failure;
  }
  std::wstring Save() {
    return fakes::FailureOf([&] { SaveLinkSettings(settings_, paths_, link_.files, link_.text); });
  }

  fakes::FakeLink link_{"settings"};
  const SettingsPaths& paths_ = link_.paths.settings;
  LinkSettings settings_;
};

TEST_F(SettingsTest, AnyLineEndAndOnlyTheFirst17LinesAreRead) {
  const std::string lines = "1\r\n2\n3\r4\r\n\r\n6\n\n8\r\r10\n\r12\r\n13\r\n14\r\n15\r\n16\r\n";
  const std::wstring entries = L"1|2|3|4||6||8||10||12|13|14|15|16|";
  EXPECT_EQ(Load(lines + std::string("Ti\0tle\r\n18\r\n", 12)), entries + std::wstring(L"Ti\0tle|", 7));
  EXPECT_EQ(Load(lines + "17"), entries + L"17|");
  EXPECT_EQ(Load(lines + "\n"), entries + L"|");
}

TEST_F(SettingsTest, ShortOrMissingFilesFailAndLeaveTheTable) {
  const std::wstring loaded = Load(std::string(17, '\n'));
  const std::wstring tech = L"Le fichier de paramétrage « " + paths_.tech;
  const std::pair<std::string, std::wstring> cases[] = {
      {std::string(16, '\n'), tech + L" » ne contient que 16 lignes au lieu de 17\n\nErreur N° 20003"},
      {std::string(15, '\n') + "16", tech + L" » ne contient que 16 lignes au lieu de 17\n\nErreur N° 20003"},
      {"1", tech + L" » ne contient qu'une ligne au lieu de 17\n\nErreur N° 20003"},
      {"", tech + L" » ne contient aucune ligne au lieu de 17\n\nErreur N° 20003"},
      {"<missing>", L"Fichier introuvable « " + paths_.tech + L" »\n\nErreur N° 53"},
  };
  for (const auto& [bytes, said] : cases) {
    EXPECT_EQ(Load(bytes), said);
    EXPECT_EQ(Load(std::string(17, '\n'), "<missing>"),
              L"Fichier introuvable « " + paths_.tech2 + L" »\n\nErreur N° 53");
    EXPECT_EQ(settings_, LinkSettings());
  }
  EXPECT_EQ(loaded, std::wstring(17, L'|'));
}

TEST_F(SettingsTest, SaveWritesWhatALoadGivesBackAndAFailedSaveLeavesThePreviousFiles) {
  ApplyResetValues(settings_);
  EXPECT_EQ(Save(), L"");
  std::string reset;
  for (int n = 1; n <= 14; ++n) reset += "100\r\n";
  reset += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(link_.Read(paths_.tech), reset);

  // The temporary file beside Tech.txt cannot be made, an entry holds a line break: the files
  // stay as they were.
  const std::filesystem::path temporary(paths_.tech + L".tmp");
  settings_.SetEntry(2, L" Gaëlle ");
  settings_.SetEntry(17, std::wstring(L"Dossier patient\0", 16));
  std::filesystem::create_directories(temporary / "in-the-way");
  EXPECT_EQ(Save(), L"Impossible de créer le fichier « " + temporary.wstring() + L" »\n\nErreur N° 75");
  std::filesystem::remove_all(temporary);
  for (const auto& [n, value, name] :
       {std::tuple{1, L"\r1001", L"1 du paramétrage (Adresse1)"}, {16, L"Cabinet\n", L"16 du paramétrage (classe"}}) {
    LinkSettings broken = settings_;
    settings_.SetEntry(n, value);
    EXPECT_TRUE(Save().starts_with(std::wstring(L"L'entrée ") + name)) << n;
    EXPECT_TRUE(Save().ends_with(L"Rien n'a été enregistré.\n\nErreur N° 20005")) << n;
    settings_ = broken;
  }
  EXPECT_EQ(link_.Read(paths_.tech), reset);
  EXPECT_EQ(link_.Read(paths_.tech2), reset);
  const LinkSettings saved = settings_;
  EXPECT_EQ(Save(), L"");
  EXPECT_NE(link_.Read(paths_.tech).find("100\r\n Ga\xEBlle \r\n"), std::string::npos) << "written in Windows-1252";
  settings_ = LinkSettings();
  Load(link_.Read(paths_.tech), link_.Read(paths_.tech2));
  EXPECT_EQ(settings_, saved);
}

}  // namespace
}  // namespace corvane

#include "handoff/handoff.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "handoff/handoff_records.h"
#include "platform/link_error.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// "3F 00 4E" -> the bytes 0x3F 0x00 0x4E.
std::string Bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string out;
  std::string pair;
  while (in >> pair) out.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  return out;
}

// The worked example: EXEMPLE Lucie, file 1207, on CABINET1, 15 January 2027 at 09:30:15.
const std::string kExampleN = Bytes(
    "3F 00 4E 00 45 58 45 4D 50 4C 45 00 4C 75 63 69 65 5F 31 32 30 37 00 31 34 2F 30 33 2F 31 39 38 35 00 "
    "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A");
const std::string kExampleA = Bytes(
    "54 00 41 00 45 58 45 4D 50 4C 45 00 4C 75 63 69 65 5F 31 32 30 37 00 31 34 2F 30 33 2F 31 39 38 35 00 "
    "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 00 43 41 42 49 4E 45 54 31 00 "
    "31 35 2E 30 31 2E 32 30 32 37 00 30 39 3A 33 30 3A 31 35 00 00 00 00 0D 0A");

HandOffValues Example() {
  return {L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L"123456789012345"};
}

const wchar_t kShortMissingFirstName[] = L"Il manque le prénom ou l'Application.";
const wchar_t kLongMissingFirstName[] =
    L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.";

// Records what the hand-off file held at the moment the program was started.
class SnapshotStarter : public ProgramStarter {
 public:
  explicit SnapshotStarter(std::wstring watched) : watched_(std::move(watched)) {}
  void Start(const std::wstring& path) override {
    std::ifstream in(fs::path(watched_), std::ios::binary);
    contentsAtStart.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    started.push_back(path);
  }
  std::vector<std::wstring> started;
  std::vector<std::string> contentsAtStart;

 private:
  std::wstring watched_;
};

class HandOffTest : public ::testing::Test {
 protected:
  HandOffTest() {
    // Each test may run in a process of its own, side by side with others.
    folder_ = fs::temp_directory_path() / ("corvane-handoff-" + std::to_string(std::random_device{}()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    environment_.variables[L"COMPUTERNAME"] = L"CABINET1";
    paths_.siomin = (folder_ / "siomin.sdx").wstring();
    paths_.siomin2 = (folder_ / "siomin2.sdx").wstring();
    paths_.sidexisProgram = L"C:\\SIDEXIS\\Sidexis.exe";
  }
  ~HandOffTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  HandOffResult Run(const HandOffValues& values, const std::wstring& title = L"") {
    return LignesCreees(values, title, {paths_.siomin, paths_.siomin2}, platform_);
  }
  std::string Content(const std::wstring& path) const {
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // A previous hand-off that a refused one must leave whole.
  void WriteEarlierHandOff() {
    std::ofstream(fs::path(paths_.siomin), std::ios::binary) << "earlier one";
    std::ofstream(fs::path(paths_.siomin2), std::ios::binary) << "earlier two";
  }
  void ExpectEarlierHandOffUntouched() const {
    EXPECT_EQ(Content(paths_.siomin), "earlier one");
    EXPECT_EQ(Content(paths_.siomin2), "earlier two");
  }
  void ExpectBothFiles(const std::string& bytes) const {
    EXPECT_EQ(Content(paths_.siomin), bytes);
    EXPECT_EQ(Content(paths_.siomin2), bytes);
  }
  // The one message shown, which must be the failure report of the hand-off.
  std::wstring FailureReport() const {
    EXPECT_EQ(messages_.shown.size(), 1u);
    if (messages_.shown.empty()) return {};
    EXPECT_EQ(messages_.shown[0].title, L"Tarnwick");
    EXPECT_FALSE(messages_.shown[0].question);
    return messages_.shown[0].text;
  }

  fs::path folder_;
  LinkPaths paths_;
  PortableFileSystem files_;
  PortableText text_;
  fakes::FakeClock clock_;
  fakes::FakeEnvironment environment_;
  fakes::FakeProgramStarter programs_;
  fakes::FakeMessageBoxes messages_;
  fakes::FakeDesktop windows_;  // the hand-off asks nothing of the windows
  fakes::FakeGdi gdi_;
  Platform platform_{files_, text_, clock_, environment_, programs_, messages_, windows_, gdi_};
};

TEST_F(HandOffTest, WritesTheWorkedExampleByteForByteToBothFiles) {
  ASSERT_EQ(Run(Example()), HandOffResult::Written);
  ASSERT_EQ(kExampleN.size(), 63u);
  ASSERT_EQ(kExampleA.size(), 84u);
  ExpectBothFiles(kExampleN + kExampleA);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(HandOffTest, EveryCompletedCallRewritesBothFilesWhole) {
  ASSERT_EQ(Run(Example()), HandOffResult::Written);
  // A shorter patient afterwards: nothing of the longer one may remain at the end.
  clock_.now = {2027, 12, 3, 17, 4, 5};
  ASSERT_EQ(Run({L"LI", L"Bo", L"", L"7", L""}), HandOffResult::Written);
  const std::string n = Bytes("1B 00 4E 00 4C 49 00 42 6F 5F 37 00 00 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A");
  ASSERT_EQ(n.size(), 0x1Bu) << "hand-computed N record";
  const std::string a = Bytes("30 00 41 00 4C 49 00 42 6F 5F 37 00 00 00") + "CABINET1" + '\0' + "03.12.2027" + '\0' +
                        "17:04:05" + '\0' + std::string(3, '\0') + "\r\n";
  ASSERT_EQ(a.size(), 0x30u) << "hand-computed A record";
  ExpectBothFiles(n + a);
}

TEST_F(HandOffTest, ComputerNameIsEmptyWhenTheVariableIsNotSet) {
  environment_.variables.clear();
  ASSERT_EQ(Run(Example()), HandOffResult::Written);
  const std::string content = Content(paths_.siomin);
  const std::string a = content.substr(kExampleN.size());
  EXPECT_EQ(static_cast<unsigned char>(a[0]), 84u - 8u);
  EXPECT_EQ(a.substr(49, 12), std::string("\0\0", 2) + "15.01.2027");
}

TEST(HandOffNameField, CutsToTheRoomTheFileNumberLeavesThenTrimsSpaces) {
  EXPECT_EQ(NameField(L"Lucie", L"1207"), L"Lucie_1207");
  EXPECT_EQ(NameField(L" Lucie ", L"1207"), L"Lucie_1207");
  // Room 27 for "_1207": the cut keeps 27 characters, then the spaces it ends on go.
  const std::wstring first = L"Marie-Christine Anne-Sophie Elisabeth";
  EXPECT_EQ(NameField(first, L"1207"), L"Marie-Christine Anne-Sophie_1207");
  EXPECT_EQ(NameField(L"Marie-Christine Anne-Sophi  Elisabeth", L"1207"), L"Marie-Christine Anne-Sophi_1207");
  EXPECT_EQ(NameField(L"Jean-Pierre Alexandre Maximilien", L"42").size(), 32u);
  // Leading spaces count in the cut: they take room before being trimmed.
  EXPECT_EQ(NameField(std::wstring(30, L' ') + L"Lucie", L"1"), L"_1");
  // Only U+0020 is trimmed; a tab or a no-break space stays.
  EXPECT_EQ(NameField(L"\tLucie\u00A0", L"1"), L"\tLucie\u00A0_1");
}

TEST(HandOffNameField, FileNumberLengthDecidesTheRoom) {
  EXPECT_EQ(NameField(L"Lucie", L""), L"Lucie_");
  EXPECT_EQ(NameField(std::wstring(40, L'x'), L""), std::wstring(31, L'x') + L"_");
  const std::wstring number31(31, L'9');
  EXPECT_NO_THROW(CheckFileNumber(number31));
  EXPECT_EQ(NameField(L"Lucie", number31), L"_" + number31);
  try {
    CheckFileNumber(number31 + L"9");
    ADD_FAILURE() << "a 32-character file number was accepted";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kFileNumberTooLong);
  }
}

TEST_F(HandOffTest, FileNumberOf31CharactersDropsTheFirstName) {
  HandOffValues values = Example();
  values.numDossier = std::wstring(31, L'7');
  ASSERT_EQ(Run(values), HandOffResult::Written);
  const std::string content = Content(paths_.siomin);
  EXPECT_EQ(content.substr(12, 33), "_" + std::string(31, '7') + '\0');
}

TEST_F(HandOffTest, FileNumberOf32CharactersFailsBeforeTheFirstNameAndLeavesTheFilesUntouched) {
  WriteEarlierHandOff();
  HandOffValues values = Example();
  values.numDossier = std::wstring(32, L'7');
  values.prenom = L"   ";  // the overflow is reported first, not the missing first name
  EXPECT_EQ(Run(values), HandOffResult::Failed);
  ExpectEarlierHandOffUntouched();
  const std::wstring report = FailureReport();
  EXPECT_NE(report.find(L"numéro de dossier"), std::wstring::npos) << report;
  EXPECT_TRUE(report.ends_with(L". Erreur N° 20001 dans LignesCreees.")) << report;
  EXPECT_EQ(report.find(L".."), std::wstring::npos) << report;
}

TEST_F(HandOffTest, SocialSecurityNumberNeedsFifteenCharacters) {
  HandOffValues values = Example();
  values.numSS = L"12345678901234";
  ASSERT_EQ(Run(values), HandOffResult::Written);
  std::string content = Content(paths_.siomin);
  // The N record loses 15 bytes; field 4 is a lone 0x00 in both records.
  ASSERT_EQ(content.size(), kExampleN.size() - 15 + kExampleA.size() - 15);
  EXPECT_EQ(content[0], 63 - 15);
  EXPECT_EQ(content.substr(34, 2), std::string("\0\0", 2));
  EXPECT_EQ(content.substr(48 + 34, 10), std::string("\0", 1) + "CABINET1" + '\0');

  values.numSS = L"1 23 45 678 901";  // 15 with spaces: whole, untrimmed
  ASSERT_EQ(Run(values), HandOffResult::Written);
  content = Content(paths_.siomin2);
  EXPECT_EQ(content.substr(34, 16), std::string("1 23 45 678 901") + '\0');
  values.numSS = std::wstring(40, L'5');  // no upper limit
  ASSERT_EQ(Run(values), HandOffResult::Written);
  EXPECT_EQ(Content(paths_.siomin)[0], 63 + 25);
}

TEST_F(HandOffTest, TextGoesThroughTheCodePageOneBytePerCharacter) {
  // "È" is 0xC8 in Windows-1252; "Ł" has no place in it and becomes '?', one byte all the same.
  ASSERT_EQ(Run({L"LEFÈVRE", L"Łucja", L"", L"", L""}), HandOffResult::Written);
  const std::string content = Content(paths_.siomin);
  EXPECT_EQ(content.substr(4, 14), Bytes("4C 45 46 C8 56 52 45 00 3F 75 63 6A 61 5F"));
  EXPECT_EQ(static_cast<unsigned char>(content[0]), 21u + 7u + 6u);
}

TEST_F(HandOffTest, LengthByteOf128AndMoreIsOneRawByte) {
  // 21 fixed bytes + name field "Lucie_1207" (10) + date (10) + NumSS (15) = 56: a name of 72
  // gives 128, which would turn into '?' if it went through the code page.
  HandOffValues values = Example();
  values.nom = std::wstring(72, L'N');
  ASSERT_EQ(Run(values), HandOffResult::Written);
  const std::string content = Content(paths_.siomin);
  ASSERT_EQ(content.size(), 128u + 128u + 21u);
  EXPECT_EQ(static_cast<unsigned char>(content[0]), 128u);
  EXPECT_EQ(content[1], '\0');
  EXPECT_EQ(static_cast<unsigned char>(content[128]), 149u);
  EXPECT_EQ(content.substr(126, 4), std::string("\r\n", 2) + std::string(1, '\x95') + '\0');
}

TEST(HandOffRecordLength, AnNRecordOfExactly255BytesIsBuiltOneMoreIsRefused) {
  const PortableText text;
  HandOffValues values = Example();
  values.nom = std::wstring(255 - 56, L'N');
  const std::string record = BuildNRecord(values, text);
  ASSERT_EQ(record.size(), 255u);
  EXPECT_EQ(static_cast<unsigned char>(record[0]), 255u);
  EXPECT_TRUE(record.ends_with("\r\n"));

  values.nom.push_back(L'N');
  try {
    BuildNRecord(values, text);
    ADD_FAILURE() << "a 256-byte N record was built";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kRecordTooLong);
    EXPECT_NE(error.Description().find(L"256 octets"), std::wstring::npos);
    EXPECT_NE(error.Description().find(L"le nom (200 caractères)"), std::wstring::npos) << error.Description();
  }
}

TEST_F(HandOffTest, AnOverlongRecordIsRefusedBeforeAnyFileIsOpened) {
  WriteEarlierHandOff();
  HandOffValues values = Example();
  // An N record of 255 bytes is accepted by itself, but its A record is 13 bytes longer
  // plus the computer name: the whole hand-off is refused and the files stay as they were.
  values.nom = std::wstring(255 - 56, L'N');
  EXPECT_EQ(Run(values), HandOffResult::Failed);
  ExpectEarlierHandOffUntouched();
  std::wstring report = FailureReport();
  EXPECT_NE(report.find(L"ligne A"), std::wstring::npos) << report;
  EXPECT_TRUE(report.ends_with(L". Erreur N° 20002 dans LignesCreees.")) << report;

  messages_.shown.clear();
  values.nom.push_back(L'N');
  EXPECT_EQ(Run(values), HandOffResult::Failed);
  ExpectEarlierHandOffUntouched();
  report = FailureReport();
  EXPECT_NE(report.find(L"ligne N"), std::wstring::npos) << report;

  // A short patient on a computer with a very long name: only the A record is too long.
  messages_.shown.clear();
  environment_.variables[L"COMPUTERNAME"] = std::wstring(200, L'C');
  EXPECT_EQ(Run(Example()), HandOffResult::Failed);
  ExpectEarlierHandOffUntouched();
  report = FailureReport();
  EXPECT_NE(report.find(L"le nom de l'ordinateur (200 caractères)"), std::wstring::npos) << report;
  EXPECT_TRUE(report.ends_with(L". Erreur N° 20002 dans LignesCreees.")) << report;
}

TEST_F(HandOffTest, MissingFirstNameWritesNothingAndStartsNothing) {
  WriteEarlierHandOff();
  SharedState state;
  state.patient.BeginHarvest();
  state.patient.StoreHarvested(Field::Nom, L"EXEMPLE");
  state.patient.StoreHarvested(Field::Prenom, L"    ");
  EXPECT_FALSE(LaunchSidexis(state, paths_, platform_));
  ExpectEarlierHandOffUntouched();
  EXPECT_TRUE(programs_.started.empty());
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, kShortMissingFirstName);
  EXPECT_EQ(messages_.shown[0].title, L"Tarnwick");
}

TEST_F(HandOffTest, MissingFirstNameWordingFollowsThePracticeWindowTitle) {
  HandOffValues values = Example();
  values.prenom.clear();
  EXPECT_EQ(Run(values, L"Fiche d'état civil"), HandOffResult::FirstNameMissing);
  EXPECT_EQ(Run(values, L"fiche d'état civil"), HandOffResult::FirstNameMissing);
  EXPECT_EQ(Run(values, L"Fiche d'état civil "), HandOffResult::FirstNameMissing);
  EXPECT_EQ(Run(values, L"Fiche d'etat civil"), HandOffResult::FirstNameMissing);
  ASSERT_EQ(messages_.shown.size(), 4u);
  EXPECT_EQ(messages_.shown[0].text, kLongMissingFirstName);
  for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(messages_.shown[i].text, kShortMissingFirstName) << i;
  EXPECT_EQ(Content(paths_.siomin), "<missing>");
}

TEST_F(HandOffTest, LaunchHandsOffTheCurrentValuesThenStartsTheProgramOnce) {
  SnapshotStarter starter(paths_.siomin);
  Platform platform{files_, text_, clock_, environment_, starter, messages_, windows_, gdi_};
  SharedState state;
  state.practice.title = L"Fiche d'état civil";
  state.patient.BeginHarvest();
  state.patient.StoreHarvested(Field::NumSS, L"999999999999999");  // from an earlier patient
  state.patient.BeginHarvest();
  state.patient.StoreHarvested(Field::Nom, L"EXEMPLE");
  state.patient.StoreHarvested(Field::Prenom, L"Lucie");
  state.patient.StoreHarvested(Field::DateNaissance, L"14/03/1985");
  state.patient.StoreTyped(Field::NumDossier, L"1207");
  state.patient.StoreHarvested(Field::Ville, L"LYON");

  EXPECT_TRUE(LaunchSidexis(state, paths_, platform));
  ASSERT_EQ(starter.started, std::vector<std::wstring>{L"C:\\SIDEXIS\\Sidexis.exe"});
  // The stale social-security number is not handed off; the files were whole at the start.
  const std::string n = BuildNRecord({L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L""}, text_);
  ASSERT_EQ(starter.contentsAtStart.size(), 1u);
  EXPECT_EQ(starter.contentsAtStart[0].substr(0, n.size()), n);
  EXPECT_EQ(starter.contentsAtStart[0], Content(paths_.siomin2));
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(state.patient.Value(Field::NumSS), L"999999999999999");  // the record is left as it was
}

TEST_F(HandOffTest, AProgramThatCannotStartIsReportedAfterTheFilesAreWritten) {
  programs_.fail = true;
  SharedState state;
  state.patient.StoreTyped(Field::Nom, L"EXEMPLE");
  state.patient.StoreTyped(Field::Prenom, L"Lucie");
  state.patient.StoreTyped(Field::DateNaissance, L"14/03/1985");
  state.patient.StoreTyped(Field::NumDossier, L"1207");
  state.patient.StoreTyped(Field::NumSS, L"123456789012345");
  EXPECT_FALSE(LaunchSidexis(state, paths_, platform_));
  ExpectBothFiles(kExampleN + kExampleA);
  EXPECT_EQ(FailureReport(),
            L"Impossible de démarrer Sidexis (C:\\SIDEXIS\\Sidexis.exe) : Le fichier spécifié est introuvable "
            L"(erreur N° 2).");
}

TEST_F(HandOffTest, AFileThatCannotBeOpenedIsReportedAndNothingStarts) {
  paths_.siomin2 = (folder_ / "missing" / "siomin2.sdx").wstring();
  SharedState state;
  state.patient.StoreTyped(Field::Prenom, L"Lucie");
  EXPECT_FALSE(LaunchSidexis(state, paths_, platform_));
  EXPECT_TRUE(programs_.started.empty());
  const std::wstring report = FailureReport();
  EXPECT_NE(report.find(L"siomin2.sdx"), std::wstring::npos) << report;
  EXPECT_TRUE(report.ends_with(L". Erreur N° 75 dans LignesCreees.")) << report;
  EXPECT_EQ(report.find(L".."), std::wstring::npos) << report;
}

}  // namespace
}  // namespace corvane

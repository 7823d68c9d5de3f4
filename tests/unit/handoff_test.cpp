// The hand-off: the bytes of both records, the rules of their fields, the refusals that leave
// the previous hand-off whole, and the start of the X-ray program.
#include "handoff/handoff.h"
#include "link/read_patient_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "handoff/handoff_records.h"
#include "platform/link_error.h"
#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// "3F 00 4E" -> the bytes 0x3F 0x00 0x4E.
std::string Bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string out, pair;
  while (in >> pair) out.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  return out;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

class HandOffTest : public ::testing::Test {
 protected:
  HandOffResult Run(const HandOffValues& values, const std::wstring& title = L"") {
    return LignesCreees(values, title, {link_.paths.siomin, link_.paths.siomin2}, link_.platform);
  }
  // What both files hold; they must be the same after every completed call.
  std::string BothFiles() const {
    const std::string first = ReadFile(link_.paths.siomin);
    EXPECT_EQ(ReadFile(link_.paths.siomin2), first) << "the two hand-off files differ";
    return first;
  }
  // A previous hand-off, which a refused one must leave whole.
  void WriteEarlierHandOff() {
    std::ofstream(fs::path(link_.paths.siomin), std::ios::binary) << "earlier one";
    std::ofstream(fs::path(link_.paths.siomin2), std::ios::binary) << "earlier two";
  }
  void ExpectEarlierHandOffUntouched() const {
    EXPECT_EQ(ReadFile(link_.paths.siomin), "earlier one");
    EXPECT_EQ(ReadFile(link_.paths.siomin2), "earlier two");
  }
  // A record whose values the last harvest read.
  static SharedState Harvested(const HandOffValues& values) {
    SharedState state;
    state.patient.BeginHarvest();
    state.patient.StoreHarvested(Field::Nom, values.nom);
    state.patient.StoreHarvested(Field::Prenom, values.prenom);
    state.patient.StoreHarvested(Field::DateNaissance, values.dateNaissance);
    state.patient.StoreHarvested(Field::NumDossier, values.numDossier);
    state.patient.StoreHarvested(Field::NumSS, values.numSS);
    state.patient.CompleteHarvest();
    return state;
  }
  // The one message shown, a report rather than a question.
  std::wstring OnlyReport() const {
    EXPECT_EQ(link_.messages.shown.size(), 1u);
    if (link_.messages.shown.empty()) return {};
    EXPECT_EQ(link_.messages.shown[0].title, L"Tarnwick");
    EXPECT_FALSE(link_.messages.shown[0].question);
    return link_.messages.shown[0].text;
  }

  fakes::FakeLink link_{"handoff"};  // the hand-off asks nothing of the windows
};

TEST_F(HandOffTest, WritesWholeRecordsToBothFilesEveryTime) {
  ASSERT_EQ(kExampleN.size(), 63u);
  ASSERT_EQ(kExampleA.size(), 84u);
  const LocalTime exampleTime = link_.clock.now;
  ASSERT_EQ(Run(Example()), HandOffResult::Written);
  EXPECT_EQ(BothFiles(), kExampleN + kExampleA);
  EXPECT_TRUE(link_.messages.shown.empty());

  // A shorter patient afterwards: nothing of the longer one may remain at the end.
  link_.clock.now = {2027, 12, 3, 17, 4, 5};
  ASSERT_EQ(Run({L"LI", L"Bo", L"", L"7", L""}), HandOffResult::Written);
  EXPECT_EQ(BothFiles(), Bytes("1B 00 4E 00 4C 49 00 42 6F 5F 37 00 00 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A") +
                             Bytes("30 00 41 00 4C 49 00 42 6F 5F 37 00 00 00") + "CABINET1" + '\0' + "03.12.2027" +
                             '\0' + "17:04:05" + std::string(4, '\0') + "\r\n");

  // "computername" not set: its field is empty and the A record 8 bytes shorter.
  link_.environment.variables.clear();
  link_.clock.now = exampleTime;
  std::string a = kExampleA;
  a.erase(50, 8);
  a[0] = 84 - 8;
  ASSERT_EQ(Run(Example()), HandOffResult::Written);
  EXPECT_EQ(BothFiles(), kExampleN + a);
}

TEST(HandOffNameField, FirstNameIsCutToTheRoomTheFileNumberLeavesThenTrimmed) {
  const std::wstring number31(31, L'9');
  const struct {
    std::wstring prenom, numDossier, expected;
  } cases[] = {
      {L"Lucie", L"1207", L"Lucie_1207"},
      {L" Lucie ", L"1207", L"Lucie_1207"},
      // Room 27 for "_1207": the cut keeps 27 characters, then the spaces it ends on go.
      {L"Marie-Christine Anne-Sophie Elisabeth", L"1207", L"Marie-Christine Anne-Sophie_1207"},
      {L"Marie-Christine Anne-Sophi  Elisabeth", L"1207", L"Marie-Christine Anne-Sophi_1207"},
      // Leading spaces take room in the cut before they are trimmed.
      {std::wstring(30, L' ') + L"Lucie", L"1", L"_1"},
      {L"\tLucie\u00A0", L"1", L"Lucie\u00A0_1"},  // a control character is a space; U+00A0 stays
      {L"Lu\r\ncie", L"1\n", L"Lu  cie_1 "},
      {std::wstring(40, L'x'), L"", std::wstring(31, L'x') + L"_"},
      {L"Lucie", number31, L"_" + number31},  // a 31-character file number leaves no room
  };
  for (const auto& c : cases) EXPECT_EQ(NameField(c.prenom, c.numDossier), c.expected) << "first name " << c.prenom;
  EXPECT_NO_THROW(CheckFileNumber(number31));
  EXPECT_THROW(CheckFileNumber(number31 + L"9"), LinkError);
}

TEST_F(HandOffTest, SocialSecurityNumberIsWrittenWholeFrom15Characters) {
  for (const std::wstring numSS :
       {L"123456789012345", L"1 23 45 678 901", L" 2345678901234 ", L"555555555555555555555"}) {
    EXPECT_EQ(WrittenNumSS(numSS), numSS);
  }
  EXPECT_EQ(WrittenNumSS(L"12345678901234"), L"");
  // 14 characters: the field is a lone NUL in both records, each 15 bytes shorter.
  HandOffValues values = Example();
  values.numSS = L"12345678901234";
  ASSERT_EQ(Run(values), HandOffResult::Written);
  const std::string content = BothFiles();
  ASSERT_EQ(content.size(), 63u - 15 + 84 - 15);
  EXPECT_EQ(content[0], 63 - 15);
  EXPECT_EQ(content.substr(34, 2), std::string("\0\0", 2));
  EXPECT_EQ(content.substr(48 + 34, 10), std::string("\0", 1) + "CABINET1" + '\0');
}

// A multi-line control answers with CR LF; each record must stay one line all the same.
TEST_F(HandOffTest, ControlCharactersInAFieldBecomeSpacesSoEachRecordStaysOneLine) {
  link_.environment.variables[L"COMPUTERNAME"] = L"CABINET\n1";
  ASSERT_EQ(Run({L"DUPONT\r\nMARTIN", L"Lucie", L"14/03\r1985", L"1207", L"12345678901234\t"}), HandOffResult::Written);
  const std::string content = BothFiles();
  EXPECT_EQ(content.substr(0, 22), Bytes("46 00 4E 00") + "DUPONT  MARTIN" + '\0' + "Luc");
  EXPECT_EQ(content.substr(30, 10), "14/03 1985");
  EXPECT_EQ(content.substr(68, 2), "\r\n");
  EXPECT_EQ(std::count(content.begin(), content.end(), '\r'), 2);
  EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 2);
  EXPECT_NE(content.find("CABINET 1"), std::string::npos);
  // A first name of control characters only is a missing one.
  EXPECT_EQ(Run({L"DUPONT", L"\r\n\t", L"", L"1207", L""}), HandOffResult::FirstNameMissing);
}

TEST_F(HandOffTest, LengthByteOf128AndMoreIsOneRawByte) {
  // 21 fixed bytes + "Lucie_1207" + date + NumSS = 56: a name of 72 gives 128, which would
  // turn into '?' if it went through the code page.
  HandOffValues values = Example();
  values.nom = std::wstring(72, L'N');
  ASSERT_EQ(Run(values), HandOffResult::Written);
  const std::string content = BothFiles();
  ASSERT_EQ(content.size(), 128u + 149u);
  EXPECT_EQ(content.substr(0, 2), std::string("\x80\0", 2));
  EXPECT_EQ(content.substr(126, 4), std::string("\r\n\x95\0", 4));
}

TEST(HandOffRecordLength, AnNRecordOfExactly255BytesIsBuiltOneMoreIsRefused) {
  const PortableText text;
  HandOffValues values = Example();
  values.nom = std::wstring(255 - 56, L'N');
  const std::string record = BuildNRecord(values, text);
  EXPECT_EQ(record.size(), 255u);
  EXPECT_EQ(record.substr(0, 1) + record.substr(253), "\xFF\r\n");
  values.nom.push_back(L'N');
  EXPECT_THROW(BuildNRecord(values, text), LinkError);
}

// Everything that can be refused is refused before a file is opened.
TEST_F(HandOffTest, RefusalsAreReportedAndLeaveThePreviousHandOffWhole) {
  const auto with = [](std::size_t nomLength, std::wstring prenom = L"Lucie", std::wstring numDossier = L"1207") {
    return HandOffValues{std::wstring(nomLength, L'N'), prenom, L"14/03/1985", numDossier, L"123456789012345"};
  };
  const struct {
    HandOffValues values;
    std::wstring computerName;
    std::vector<std::wstring> said;
    long number;
  } cases[] = {
      // An N record of exactly 255 bytes, so an A record longer than that.
      {with(255 - 56), L"CABINET1", {L"ligne A"}, error_number::kRecordTooLong},
      {with(256 - 56),
       L"CABINET1",
       {L"ligne N", L"256 octets", L"le nom (200 caractères)"},
       error_number::kRecordTooLong},
      {with(7), std::wstring(200, L'C'), {L"le nom de l'ordinateur (200 caractères)"}, error_number::kRecordTooLong},
      // Reported before the missing first name.
      {with(7, L"   ", std::wstring(32, L'7')), L"CABINET1", {L"numéro de dossier"}, error_number::kFileNumberTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said[0]);
    WriteEarlierHandOff();
    link_.messages.shown.clear();
    link_.environment.variables[L"COMPUTERNAME"] = c.computerName;
    EXPECT_EQ(Run(c.values), HandOffResult::Failed);
    ExpectEarlierHandOffUntouched();
    const std::wstring report = OnlyReport();
    for (const std::wstring& part : c.said) EXPECT_NE(report.find(part), std::wstring::npos) << report;
    EXPECT_TRUE(report.ends_with(L". Erreur N° " + std::to_wstring(c.number) + L" dans LignesCreees.")) << report;
    EXPECT_EQ(report.find(L".."), std::wstring::npos) << report;
  }
}

TEST_F(HandOffTest, MissingFirstNameWritesNothingStartsNothingAndItsWordingFollowsTheTitle) {
  WriteEarlierHandOff();
  SharedState state = Harvested({L"EXEMPLE", L"    ", L"", L"", L""});
  EXPECT_FALSE(LaunchSidexis(state, link_.paths, link_.platform));
  ExpectEarlierHandOffUntouched();
  EXPECT_TRUE(link_.programs.started.empty());
  EXPECT_EQ(OnlyReport(), kShortMissingFirstName);

  // Only that program's exact title, up to the NUL the finder stores, names the tab the first
  // name may be hidden on.
  HandOffValues values = Example();
  values.prenom.clear();
  const std::wstring tabbed = L"Fiche d'état civil";
  const std::pair<std::wstring, const wchar_t*> cases[] = {{tabbed, kLongMissingFirstName},
                                                           {tabbed + L'\0', kLongMissingFirstName},
                                                           {L"fiche d'état civil", kShortMissingFirstName},
                                                           {tabbed + L' ', kShortMissingFirstName},
                                                           {L"Fiche d'etat civil", kShortMissingFirstName}};
  for (const auto& [title, wording] : cases) {
    link_.messages.shown.clear();
    EXPECT_EQ(Run(values, title), HandOffResult::FirstNameMissing);
    EXPECT_EQ(OnlyReport(), wording) << title;
  }
  ExpectEarlierHandOffUntouched();
}

// Records what the hand-off file held at the moment the program was started.
class SnapshotStarter : public ProgramStarter {
 public:
  explicit SnapshotStarter(std::wstring watched) : watched_(std::move(watched)) {}
  void Start(const std::wstring& path) override {
    started.push_back(path);
    contentsAtStart.push_back(ReadFile(watched_));
  }
  std::vector<std::wstring> started;
  std::vector<std::string> contentsAtStart;

 private:
  std::wstring watched_;
};

TEST_F(HandOffTest, LaunchHandsOffTheCurrentValuesThenStartsTheProgramOnce) {
  SnapshotStarter starter(link_.paths.siomin);
  Platform platform{link_.files, link_.text,     link_.clock,   link_.environment,
                    starter,     link_.messages, link_.desktop, link_.gdi};
  SharedState state;
  state.patient.BeginHarvest();
  state.patient.StoreHarvested(Field::NumSS, L"999999999999999");  // from an earlier patient
  state.patient.BeginHarvest();
  state.patient.StoreHarvested(Field::Nom, L"EXEMPLE");
  state.patient.StoreHarvested(Field::Prenom, L"Lucie");
  state.patient.StoreHarvested(Field::DateNaissance, L"14/03/1985");
  state.patient.CompleteHarvest();
  state.patient.StoreTyped(Field::NumDossier, L"1207");

  EXPECT_TRUE(LaunchSidexis(state, link_.paths, platform));
  EXPECT_EQ(starter.started, std::vector<std::wstring>{L"C:\\SIDEXIS\\Sidexis.exe"});
  // The stale social-security number is not handed off; the files were whole at the start.
  const std::string n = BuildNRecord({L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L""}, link_.text);
  ASSERT_EQ(starter.contentsAtStart.size(), 1u);
  EXPECT_EQ(starter.contentsAtStart[0].substr(0, n.size()), n);
  EXPECT_EQ(starter.contentsAtStart[0], BothFiles());
  EXPECT_TRUE(link_.messages.shown.empty());
  EXPECT_EQ(state.patient.Value(Field::NumSS), L"999999999999999");  // the record is left as it was
}

TEST_F(HandOffTest, AProgramThatCannotStartIsReportedAfterTheFilesAreWritten) {
  link_.programs.fail = true;
  SharedState state = Harvested(Example());
  EXPECT_FALSE(LaunchSidexis(state, link_.paths, link_.platform));
  EXPECT_EQ(BothFiles(), kExampleN + kExampleA);
  EXPECT_EQ(OnlyReport(),
            L"Impossible de démarrer Sidexis (C:\\SIDEXIS\\Sidexis.exe) : Le fichier spécifié est introuvable "
            L"(erreur N° 2).");
}

}  // namespace
}  // namespace corvane

// The hand-off: the bytes of both records, the refusals that leave the previous hand-off whole,
// the files that fail, and the start of the X-ray program.
#include "handoff/handoff.h"

#include <gtest/gtest.h>

#include <sstream>

#include "handoff/handoff_records.h"
#include "link/read_patient_fields.h"
#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

// "3F 00 4E" -> the bytes 0x3F 0x00 0x4E.
std::string Bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string out, pair;
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
const HandOffValues kExample{L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L"123456789012345"};
const wchar_t kShortMissingFirstName[] = L"Il manque le prénom ou l'Application.";

// A file system whose output files fail as told, or throw what no file system should.
struct FailingFiles : PortableFileSystem {
  enum class Fault { None, Write, Close, Unexpected } fault = Fault::None;
  struct File : OutputFile {
    std::unique_ptr<OutputFile> real;
    Fault fault;
    void WriteWhole(const std::string& bytes) override {
      if (fault == Fault::Write) throw LinkError(L"Disque plein.", 112);
      real->WriteWhole(bytes);
    }
    void Close() override {
      if (fault == Fault::Unexpected) throw std::runtime_error("bad");
      if (fault == Fault::Close) throw LinkError(L"Impossible de fermer le fichier « siomin2 »", 75);
      real->Close();
    }
  };
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override {
    auto file = std::make_unique<File>();
    file->real = PortableFileSystem::OpenForOutput(path);
    file->fault = path.ends_with(L"siomin2.sdx") ? fault : Fault::None;
    return file;
  }
};

class HandOffTest : public ::testing::Test {
 protected:
  HandOffResult Run(const HandOffValues& values, const std::wstring& title = L"") {
    return LignesCreees(values, title, {link_.paths.siomin, link_.paths.siomin2}, platform_);
  }
  std::string BothFiles() const {  // they must be the same after every completed call
    const std::string first = link_.Read(link_.paths.siomin);
    EXPECT_EQ(link_.Read(link_.paths.siomin2), first) << "the two hand-off files differ";
    return first;
  }
  void WriteEarlierHandOff() {
    link_.Write(link_.paths.siomin, "earlier");
    link_.Write(link_.paths.siomin2, "earlier");
  }
  // The one message shown, a report rather than a question.
  std::wstring OnlyReport() {
    EXPECT_EQ(link_.messages.shown.size(), 1u);
    if (link_.messages.shown.empty()) return {};
    EXPECT_EQ(link_.messages.shown[0].title, L"Tarnwick");
    EXPECT_FALSE(link_.messages.shown[0].question);
    const std::wstring text = link_.messages.shown[0].text;
    link_.messages.shown.clear();
    return text;
  }

  fakes::FakeLink link_{"handoff"};
  FailingFiles files_;
  Platform platform_{files_, link_.text, link_.clock, link_.environment, link_.programs, link_.messages,
                     link_.desktop, link_.gdi};
};

TEST_F(HandOffTest, WritesWholeRecordsToBothFilesEveryTime) {
  ASSERT_EQ(Run(kExample), HandOffResult::Written);
  EXPECT_EQ(BothFiles(), kExampleN + kExampleA);

  // A shorter patient afterwards, at another moment, "computername" unset: nothing of the
  // longer one remains, the computer's field is empty.
  link_.clock.now = {987, 12, 3, 17, 4, 5};
  link_.environment.variables.clear();
  ASSERT_EQ(Run({L"LI", L"Bo", L"", L"7", L""}), HandOffResult::Written);
  EXPECT_EQ(BothFiles(), Bytes("1B 00 4E 00 4C 49 00 42 6F 5F 37 00 00 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A") +
                             Bytes("28 00 41 00 4C 49 00 42 6F 5F 37 00 00 00 00") + "03.12.0987" + '\0' +
                             "17:04:05" + std::string(4, '\0') + "\r\n");

  // A multi-line control answers with CR LF: each record stays one line all the same.
  link_.environment.variables[L"COMPUTERNAME"] = L"CABINET\n1";
  ASSERT_EQ(Run({L"DUPONT\r\nMARTIN", L"Lucie", L"14/03\r1985", L"1207", L"12345678901234\t"}), HandOffResult::Written);
  const std::string lines = BothFiles();
  EXPECT_EQ(lines.substr(0, 40), Bytes("46 00 4E 00") + "DUPONT  MARTIN" + '\0' + "Lucie_1207" + '\0' + "14/03 1985");
  EXPECT_EQ(lines.find("\r\n"), 68u);
  EXPECT_NE(lines.find("CABINET 1"), std::string::npos);
  EXPECT_TRUE(link_.messages.shown.empty());
}

TEST_F(HandOffTest, LengthByteIsRawUpTo255BytesAndOneMoreIsRefusedNamingTheLongestField) {
  // 21 fixed bytes + "Lucie_1207" + date + NumSS = 56: a name of 72 gives 128, which would
  // turn into '?' if it went through the code page.
  HandOffValues values = kExample;
  values.nom = std::wstring(72, L'N');
  ASSERT_EQ(Run(values), HandOffResult::Written);
  EXPECT_EQ(BothFiles().substr(0, 2), std::string("\x80\0", 2));
  values.nom = std::wstring(255 - 56, L'N');
  EXPECT_EQ(BuildNRecord(values, link_.text).substr(0, 1) + BuildNRecord(values, link_.text).substr(253), "\xFF\r\n");

  const auto with = [](std::size_t nomLength, std::wstring prenom = L"Lucie", std::wstring numDossier = L"1207") {
    return HandOffValues{std::wstring(nomLength, L'N'), prenom, L"14/03/1985", numDossier, L"123456789012345"};
  };
  const struct {
    HandOffValues values;
    std::wstring computerName;
    std::vector<std::wstring> said;
    long number;
  } cases[] = {
      {with(255 - 56), L"CABINET1", {L"(ligne A) ferait 276 octets", L"le nom (199 caractères)"}, 20002},
      {with(256 - 56), L"CABINET1", {L"(ligne N) ferait 256 octets", L"le nom (200 caractères)"}, 20002},
      {with(7), std::wstring(200, L'C'), {L"le nom de l'ordinateur (200 caractères)"}, 20002},
      {with(7, L"   ", std::wstring(32, L'7')), L"CABINET1", {L"numéro de dossier"}, 20001},  // before the first name
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said[0]);
    WriteEarlierHandOff();
    link_.environment.variables[L"COMPUTERNAME"] = c.computerName;
    EXPECT_EQ(Run(c.values), HandOffResult::Failed);
    EXPECT_EQ(BothFiles(), "earlier");
    const std::wstring report = OnlyReport();
    for (const std::wstring& part : c.said) EXPECT_NE(report.find(part), std::wstring::npos) << report;
    EXPECT_TRUE(report.ends_with(L". Erreur N° " + std::to_wstring(c.number) + L" dans LignesCreees.")) << report;
  }
}

// A file that cannot be written or closed is a failed hand-off; so is a fault no one expected,
// which is shown, not swallowed.
TEST_F(HandOffTest, AFileThatFailsIsReportedAsAFailure) {
  const std::pair<FailingFiles::Fault, std::wstring> cases[] = {
      {FailingFiles::Fault::Write, L"Disque plein. Erreur N° 112 dans LignesCreees."},
      {FailingFiles::Fault::Close, L"Impossible de fermer le fichier « siomin2 ». Erreur N° 75 dans LignesCreees."},
      {FailingFiles::Fault::Unexpected, L"Erreur interne inattendue. Erreur N° 0 dans LignesCreees."}};
  for (const auto& [fault, report] : cases) {
    files_.fault = fault;
    EXPECT_EQ(Run(kExample), HandOffResult::Failed);
    EXPECT_EQ(OnlyReport(), report);
  }
  files_.fault = FailingFiles::Fault::None;
  link_.Write(link_.paths.siomin, "earlier");
  std::filesystem::remove(link_.paths.siomin2);
  std::filesystem::create_directory(link_.paths.siomin2);  // the second file cannot be opened
  EXPECT_EQ(Run(kExample), HandOffResult::Failed);
  EXPECT_EQ(link_.Read(link_.paths.siomin), "earlier") << "both files are opened before either changes";
  EXPECT_NE(OnlyReport().find(L"Erreur N° 75 dans"), std::wstring::npos);
}

TEST_F(HandOffTest, MissingFirstNameWritesNothingAndItsWordingFollowsTheTitle) {
  WriteEarlierHandOff();
  const std::wstring tabbed = L"Fiche d'état civil";
  const wchar_t* const kLong =
      L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.";
  const std::pair<std::wstring, const wchar_t*> cases[] = {{tabbed, kLong},
                                                           {tabbed + L'\0', kLong},  // as the finder stores it
                                                           {L"fiche d'état civil", kShortMissingFirstName},
                                                           {tabbed + L' ', kShortMissingFirstName}};
  for (const auto& [title, wording] : cases) {
    EXPECT_EQ(Run({L"EXEMPLE", L" \r\n\t", L"", L"1207", L""}, title), HandOffResult::FirstNameMissing);
    EXPECT_EQ(OnlyReport(), wording) << title;
  }
  EXPECT_EQ(BothFiles(), "earlier");
}

TEST_F(HandOffTest, LaunchHandsOffTheCurrentValuesThenStartsTheProgram) {
  SharedState state;
  state.patient.BeginHarvest();
  state.patient.StoreHarvested(Field::NumSS, L"999999999999999");  // from an earlier patient
  state.patient.BeginHarvest();
  for (const auto& [field, value] :
       {std::pair{Field::Nom, kExample.nom}, {Field::Prenom, kExample.prenom}, {Field::DateNaissance, kExample.dateNaissance}})
    state.patient.StoreHarvested(field, value);
  state.patient.CompleteHarvest();
  state.patient.StoreTyped(Field::NumDossier, L"1207");

  link_.programs.fail = true;
  EXPECT_FALSE(LaunchSidexis(state, link_.paths, link_.platform));
  EXPECT_EQ(OnlyReport(), L"Impossible de démarrer Sidexis (C:\\SIDEXIS\\Sidexis.exe) : Le fichier spécifié est "
                          L"introuvable (erreur N° 2).");
  link_.programs.fail = false;
  EXPECT_TRUE(LaunchSidexis(state, link_.paths, link_.platform));
  EXPECT_EQ(link_.programs.started, std::vector<std::wstring>{L"C:\\SIDEXIS\\Sidexis.exe"});
  const std::string n = BuildNRecord({L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L""}, link_.text);
  EXPECT_EQ(BothFiles().substr(0, n.size()), n);
  EXPECT_TRUE(link_.messages.shown.empty());
  EXPECT_EQ(StartFailureText(L"S.exe", LinkError(L"Impossible de lancer « S.exe » : Accès refusé. ", 5)),
            L"Impossible de démarrer Sidexis (S.exe) : Accès refusé (erreur N° 5).");
}

}  // namespace
}  // namespace corvane

// The hand-off: the bytes of both records, the refusals and failures, the start of the X-ray
// program, and a patient no longer shown never handed off.
#include "handoff/handoff.h"

#include <gtest/gtest.h>

#include <functional>
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
const HandOffValues kExample{L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L"123456789012345"};
const std::string kExampleN = Bytes(
    "3F 00 4E 00 45 58 45 4D 50 4C 45 00 4C 75 63 69 65 5F 31 32 30 37 00 31 34 2F 30 33 2F 31 39 38 35 00 "
    "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A");
const std::string kExampleA = Bytes(
    "54 00 41 00 45 58 45 4D 50 4C 45 00 4C 75 63 69 65 5F 31 32 30 37 00 31 34 2F 30 33 2F 31 39 38 35 00 "
    "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 00 43 41 42 49 4E 45 54 31 00 "
    "31 35 2E 30 31 2E 32 30 32 37 00 30 39 3A 33 30 3A 31 35 00 00 00 00 0D 0A");

// Files whose first one fails as told, or throws what no file system should.
struct FailingFiles : PortableFileSystem {
  enum class Fault { None, Write, Close, Unexpected } fault = Fault::None;
  struct File : OutputFile {
    std::unique_ptr<OutputFile> real;
    Fault fault;
    void WriteWhole(const std::string& bytes) override {
      fault == Fault::Write ? throw LinkError(L"Disque plein.", 112) : real->WriteWhole(bytes);
    }
    void Close() override {
      if (fault == Fault::Unexpected) throw std::runtime_error("bad");
      fault == Fault::Close ? throw LinkError(L"Impossible de fermer le fichier « siomin »", 75) : real->Close();
    }
  };
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override {
    auto file = std::make_unique<File>();
    file->real = PortableFileSystem::OpenForOutput(path);
    file->fault = path.ends_with(L"siomin.sdx") ? fault : Fault::None;
    return file;
  }
};

class HandOffTest : public ::testing::Test {
 protected:
  // What both files hold (the same when written), or the result and the messages shown.
  std::wstring W(const std::string& bytes) const { return link_.text.FromAnsi(bytes); }
  std::wstring Run(const HandOffValues& values, const std::wstring& title = L"") {
    const HandOffResult result = LignesCreees(values, title, {link_.paths.siomin, link_.paths.siomin2}, platform_);
    const std::string first = link_.Read(link_.paths.siomin);
    EXPECT_TRUE(result != HandOffResult::Written || link_.Read(link_.paths.siomin2) == first) << "the files differ";
    std::wstring said = result == HandOffResult::Written  ? L""
                        : result == HandOffResult::Failed ? L"failed: "
                                                          : L"missing: ";
    for (const auto& box : link_.messages.shown) said += box.text + L"/" + box.title + L"|";
    link_.messages.shown.clear();
    return said.empty() ? W(first) : said;
  }

  fakes::FakeLink link_{"handoff"};
  FailingFiles files_;
  Platform platform_{files_,         link_.text,     link_.clock,   link_.environment,
                     link_.programs, link_.messages, link_.desktop, link_.gdi};
};

TEST_F(HandOffTest, WritesWholeRecordsToBothFilesEveryTime) {
  EXPECT_EQ(Run(kExample), W(kExampleN + kExampleA));
  // A shorter patient afterwards, at another moment, "computername" unset: nothing of the
  // longer one remains, the computer's field is empty.
  link_.clock.now = {987, 12, 3, 17, 4, 5};
  link_.environment.variables.clear();
  EXPECT_EQ(Run({L"LI", L"Bo", L"", L"7", L""}),
            W(Bytes("1B 00 4E 00 4C 49 00 42 6F 5F 37 00 00 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A") +
              Bytes("28 00 41 00 4C 49 00 42 6F 5F 37 00 00 00 00") + "03.12.0987" + '\0' + "17:04:05" +
              std::string(4, '\0') + "\r\n"));
  // A length byte of 128 and more is one raw byte, which the code page would make '?'.
  HandOffValues values = kExample;
  values.nom = std::wstring(72, L'N');
  EXPECT_EQ(Run(values).substr(0, 2), W(std::string("\x80\0", 2)));
  values.nom = std::wstring(255 - 56, L'N');
  EXPECT_EQ(BuildNRecord(values, link_.text).substr(0, 1) + BuildNRecord(values, link_.text).substr(253), "\xFF\r\n");
}

// What can be refused is refused before a file is opened; a file that cannot be opened,
// written or closed is a failure too; so is a fault no one expected, shown, not swallowed.
TEST_F(HandOffTest, RefusalsAndFailuresAreReportedAndARefusalLeavesThePreviousHandOffWhole) {
  const auto with = [](std::size_t nomLength, std::wstring prenom = L"Lucie", std::wstring numDossier = L"1207") {
    return HandOffValues{std::wstring(nomLength, L'N'), prenom, L"14/03/1985", numDossier, L"123456789012345"};
  };
  const std::wstring ends = L" caractères). Erreur N° 20002 dans LignesCreees./Tarnwick|";
  const std::wstring tooLong = L"failed: La fiche patient pour Sidexis (ligne ";
  link_.Write(link_.paths.siomin, "earlier");
  link_.Write(link_.paths.siomin2, "earlier");
  EXPECT_EQ(Run(with(199)),
            tooLong + L"A) ferait 276 octets, 255 au plus ; le champ le plus long est le nom (199" + ends);
  EXPECT_EQ(Run(with(200)),
            tooLong + L"N) ferait 256 octets, 255 au plus ; le champ le plus long est le nom (200" + ends);
  EXPECT_EQ(Run(with(7, L" ", std::wstring(32, L'7'))),  // reported before the missing first name
            L"failed: Le numéro de dossier « " + std::wstring(32, L'7') +
                L" » a 32 caractères : Sidexis en accepte 31 au plus. Erreur N° 20001 dans LignesCreees./Tarnwick|");
  const std::wstring longMissing =
      L"missing: Il manque le prénom ou l'Application, ou bien vous devez cliquer sur "
      L"l'onglet 'Sécurité Sociale-Mutuelle'./Tarnwick|";
  const std::wstring shortMissing = L"missing: Il manque le prénom ou l'Application./Tarnwick|";
  const std::wstring tabbed = L"Fiche d'état civil";
  EXPECT_EQ(Run(with(7, L" \r\n\t"), tabbed), longMissing);
  EXPECT_EQ(Run(with(7, L""), tabbed + L'\0'), longMissing);  // as the finder stores it
  EXPECT_EQ(Run(with(7, L""), L"fiche d'état civil"), shortMissing);
  EXPECT_EQ(link_.Read(link_.paths.siomin), "earlier");

  const std::pair<FailingFiles::Fault, std::wstring> faults[] = {
      {FailingFiles::Fault::Write, L"Disque plein. Erreur N° 112"},
      {FailingFiles::Fault::Close, L"Impossible de fermer le fichier « siomin ». Erreur N° 75"},
      {FailingFiles::Fault::Unexpected, L"Erreur interne inattendue. Erreur N° 0"}};
  for (const auto& [fault, said] : faults) {
    files_.fault = fault;
    EXPECT_EQ(Run(kExample), L"failed: " + said + L" dans LignesCreees./Tarnwick|");
  }
  files_.fault = FailingFiles::Fault::None;
  link_.Write(link_.paths.siomin, "earlier");
  std::filesystem::remove(link_.paths.siomin2);
  std::filesystem::create_directory(link_.paths.siomin2);  // the second file cannot be opened
  EXPECT_TRUE(LignesCreees(kExample, L"", {link_.paths.siomin, link_.paths.siomin2}, platform_) ==
              HandOffResult::Failed);
  EXPECT_EQ(link_.Read(link_.paths.siomin), "earlier") << "both files are opened before either changes";
  EXPECT_NE(link_.messages.shown.at(0).text.find(L"Erreur N° 75 dans"), std::wstring::npos);
}

TEST(LinkError, AStartThatFailsSaysWhatTheSystemSaidAfterThePath) {
  EXPECT_EQ(StartFailureText(L"S.exe", LinkError(L"Impossible de lancer « S.exe » : Accès refusé. ", 5)),
            L"Impossible de démarrer Sidexis (S.exe) : Accès refusé (erreur N° 5).");
}

const std::map<int, std::string> kPatientA = {
    {10, "1207"}, {9, "Lef\xE8vre"}, {12, "H\xE9l\xE8ne"}, {6, "14/03/1985"}, {11, "2 85 03 75 123 456 78"}};
const HandOffValues kHandedOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const std::map<int, std::wstring HandOffValues::*> kSlots = {{9, &HandOffValues::nom},
                                                             {12, &HandOffValues::prenom},
                                                             {6, &HandOffValues::dateNaissance},
                                                             {10, &HandOffValues::numDossier},
                                                             {11, &HandOffValues::numSS}};

bool Click(fakes::FakeLink& link) {  // a plain click on the launcher: harvest, then hand off
  ReadPatientFields(link.state, link.paths, link.platform);
  return LaunchSidexis(link.state, link.paths, link.platform);
}

// After patient A was handed off, every way a click can miss patient B refuses the hand-off
// or hands B off with the missing field empty, never with A's value, which the screen still
// shows; the files keep A and the X-ray program is not started again.
TEST(StalePatient, APatientNoLongerShownIsNeverHandedOff) {
  const wchar_t* const kShort = L"Il manque le prénom ou l'Application.|";
  const struct {
    std::function<void(fakes::FakeLink&)> lose;
    const wchar_t* said;  // null: B is handed off without the field whose control is gone
    int gone = 0;
    const char* title = "Dossier patient";
  } cases[] = {
      {[](fakes::FakeLink& l) { l.desktop.Destroy(l.desktop.FindTopLevel("Cabinet", {})); }, kShort},  // closed
      {[](fakes::FakeLink& l) { l.desktop.At(l.desktop.FindTopLevel("Cabinet", {})).title = "Agenda"; }, kShort},
      {[](fakes::FakeLink& l) { l.settingsLines[16] = ""; }, kShort},
      {[](fakes::FakeLink& l) { l.settingsLines[15] = "FENETRE_VISIODENT32"; }, kShort},  // not running
      {[](fakes::FakeLink&) {},
       L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet "
       L"'Sécurité Sociale-Mutuelle'.|",
       12, "Fiche d'\xE9tat civil"},
      {[](fakes::FakeLink&) {}, nullptr, 9},
      {[](fakes::FakeLink&) {}, nullptr, 10},
      {[](fakes::FakeLink&) {}, nullptr, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    fakes::FakeLink link("stale");
    link.OpenPractice("Cabinet", c.title, kPatientA);
    ASSERT_TRUE(Click(link));
    const std::string handOffA = link.Read(link.paths.siomin);
    c.lose(link);
    link.WriteSettings(link.settingsLines);
    if (c.gone) link.desktop.Destroy(link.controls[c.gone]);
    for (const auto& [entry, value] : std::map<int, std::string>{
             {10, "1300"}, {9, "Martin"}, {12, "Luc"}, {6, "02/11/1990"}, {11, "1 90 11 13 055 001 23"}})
      link.desktop.At(link.controls[entry]).text = value;
    EXPECT_EQ(Click(link), c.said == nullptr);
    const int shown = c.gone ? c.gone : 12;  // still shows patient A's value
    EXPECT_EQ(link.state.patient.Value(FieldOfEntry(shown)), kHandedOffA.*kSlots.at(shown));
    HandOffValues b{L"MARTIN", L"LUC", L"02/11/1990", L"1300", L"190111305500123"};
    if (c.gone) b.*kSlots.at(c.gone) = L"";
    const HandOffRecords records = BuildHandOffRecords(b, L"CABINET1", link.clock.now, link.text);
    EXPECT_EQ(link.Read(link.paths.siomin), c.said ? handOffA : records.n + records.a);
    EXPECT_EQ(link.Read(link.paths.siomin2), link.Read(link.paths.siomin));
    EXPECT_EQ(link.messages.Taken(), c.said ? c.said : L"");
    EXPECT_EQ(link.programs.started.size(), c.said ? 1u : 2u);
  }
}

// Visiodent's live title, read (and framed) from the first window of its class, replaces the
// stored one when it begins with exactly "VISIODE"; a stored title is used up to its first NUL.
TEST(StalePatient, ThePracticeWindowIsFoundByItsTitleVisiodentsLiveOne) {
  const std::tuple<const char*, std::string, std::string, bool> cases[] = {
      {"Cabinet", std::string("Dossier\0", 8), "Dossier", true},
      {"Cabinet", std::string(1, '\0'), "", true},
      {"Cabinet", "", "", false},
      {"FENETRE_VISIODENT32", "Dossier", "VISIODE", true},
      {"FENETRE_VISIODENT32", "VISIODENT", "VISIODENT - Lef\xE8vre", true},
      {"FENETRE_VISIODENT32", "Visiodent", "Visiodent", false},
      {"FENETRE_VISIODENT32", " VISIODENT", " VISIODENT", false},
  };
  for (const auto& [className, stored, title, found] : cases) {
    SCOPED_TRACE(title);
    fakes::FakeLink link("visiodent");
    const WindowHandle window = link.OpenPractice(className, title, kPatientA, "1");
    link.desktop.At(window).text = title;  // a top-level window answers WM_GETTEXT with its title
    link.settingsLines[16] = stored;
    link.WriteSettings(link.settingsLines);
    ReadPatientFields(link.state, link.paths, link.platform);
    EXPECT_EQ(link.state.practice.handle, found ? window : WindowHandle());
    EXPECT_EQ(link.state.patient.ValuesToHandOff(), found ? kHandedOffA : HandOffValues{});
    const bool visiodent = className[0] == 'F';
    EXPECT_EQ(link.gdi.drawings.size(), visiodent ? 1u : 0u) << "only the Visiodent title read draws a frame";
    EXPECT_TRUE(!visiodent || found || link.state.patient.temp == link.text.FromAnsi(title)) << "Temp keeps it";
  }
}

}  // namespace
}  // namespace corvane

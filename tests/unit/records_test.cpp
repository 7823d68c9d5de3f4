// What the link reads, keeps and writes: the code page, the field rules, the patient record,
// the settings files, and the hand-off (the bytes of both records, the refusals and failures,
// the start of the X-ray program, a patient no longer shown never handed off).
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "handoff/handoff.h"
#include "handoff/handoff_records.h"
#include "link/read_patient_fields.h"
#include "reader/harvest.h"
#include "reader/normalise.h"
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

// A harvest that found the practice window showing this patient (no social-security control; a null
// value: no control read).
void Harvest(PatientRecord& record, const wchar_t* numDossier, const wchar_t* nom = L"DURAND",
             const wchar_t* prenom = L"ANNE", const wchar_t* dateNaissance = L"12/03/1961") {
  record.BeginHarvest();
  for (const auto& [field, value] : {std::pair{Field::NumDossier, numDossier},
                                     {Field::Nom, nom},
                                     {Field::Prenom, prenom},
                                     {Field::DateNaissance, dateNaissance}})
    if (value) record.StoreHarvested(field, value);
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
      {[](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", nullptr); }, L""},  // the first name no longer read
      {[](PatientRecord& r) { r.BeginHarvest(), r.StoreHarvested(Field::NumSS, L"1"), r.CompleteHarvest(); }, L"1"},
  };
  for (const auto& [then, handedOff] : cases) {
    PatientRecord record;
    Harvest(record, L"4711"), record.StoreTyped(Field::NumSS, L"999999999999999");
    then(record);
    EXPECT_EQ(record.ValuesToHandOff().numSS, handedOff) << &then - &cases[0].first;
  }
  // Typed while no patient is on screen: it is for nobody, whoever shows next. The box shows it.
  PatientRecord record;
  record.BeginHarvest(), record.StoreTyped(Field::Prenom, L"ANNE"), Harvest(record, L"4711", L"DURAND", L"");
  EXPECT_EQ(record.ValuesToHandOff(), (HandOffValues{L"DURAND", L"", L"12/03/1961", L"4711", L""}));
  // The screen echoing the harvested value is not typing: the next harvest's reading decides.
  record.StoreHarvested(Field::NumSS, L"123456789012345"), record.StoreTyped(Field::NumSS, L"123456789012345");
  Harvest(record, L"4711", L"DURAND", L"");
  EXPECT_EQ(record.ValuesToHandOff().numSS + record.Value(Field::NumSS), L"123456789012345");
  record.ClearAll();
  EXPECT_EQ(std::pair(record.Value(Field::NumSS), record.ValuesToHandOff()),
            std::pair(std::wstring(), HandOffValues{}));
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

// A file as editors save it: any line end (CR CR LF, of a file converted twice, is one), only the first 17 lines, UTF-8
// or UTF-16 after a byte-order mark, UTF-8 without one when it holds a character of several bytes, else the code page;
// a NUL only at the end of entry 17. A short or missing file, or a missing copy, fails and leaves the table.
TEST_F(SettingsTest, AFileIsReadAsEditorsSaveItAndAShortOrMissingOneFails) {
  const std::string lines = "1\r\n2\n3\r4\r\r\n\r\n6\n\n8\r\r10\n\r12\r\n13\r\n14\r\n15\r\n16\r\n";
  const std::wstring entries = L"1|2|3|4||6||8||10||12|13|14|15|16|";
  const std::string utf8 = "Fiche d'\xC3\xA9tat N\xC2\xB0 \xC5\x81\xE2\x82\xAC\xE0\xA4\x85\xEE\x80\x80\xF0\x9F\x98\x80";
  std::string utf16 = "\xFF\xFE";
  for (const char c : lines + "Zo\xEB") utf16 += {c, '\0'};
  // Two pairs, the first letter past the surrogates, a high surrogate alone, an odd last byte.
  utf16 += std::string("\x3D\xD8\x00\xDE\xE9\x00\x00\xD8\x00\xDC\x00\xE0\x00\xD8x\0A", 17);
  const std::wstring tech = L"Le fichier de paramétrage « " + paths_.tech + L" » ";
  const std::wstring notText = tech + L"contient un caractère nul à la ligne ";
  const std::pair<std::string, std::wstring> cases[] = {
      {lines + std::string("Titre\0\r\n1\08\r\n", 13), entries + std::wstring(L"Titre\0|", 7)},
      {lines + "17", entries + L"17|"},
      {lines + "\n", entries + L"|"},
      {lines + "Gra\xEBlle", entries + L"Graëlle|"},  // not UTF-8: the code page
      {lines + utf8 + '\0', entries + L"Fiche d'état N° Ł€अ\xE000\U0001F600" + L'\0' + L"|"},
      {lines + "\xE0\x80\xAF\xC3\xA9", entries + L"à€¯Ã©|"},     // an overlong form
      {lines + "\xED\xA0\x80\xC3\xA9", entries + L"í\xA0€Ã©|"},  // a surrogate
      {lines + "\x80\xC3\xA9", entries + L"€Ã©|"},               // a byte that starts nothing
      {lines + "\xE0\xA0\x80\xF4\x8F\xBF\xBF",
       entries + L"\u0800\U0010FFFF|"},  // the least of 3 bytes, the last of all
      {"\xEF\xBB\xBF" + lines + "Zo\xC3\xAB", entries + L"Zoë|"},
      {"\xEF\xBB\xBF" + lines + "Zo\xEB", entries + L"Zoë|"},  // a mark before the code page
      {utf16, entries + L"Zoë\U0001F600é\U00010000\xE000\xFFFDx|"},
      {std::string("\xFE\xFF\0Z\0\xEB\0\n\0\0", 10), notText + L"2"},  // big-endian "Zë", then a NUL
      {std::string("1\r\n2\0\r\n", 8) + lines, notText + L"2"},
      {std::string(17, '\n'), std::wstring(17, L'|')},
      {std::string(16, '\n'), tech + L"ne contient que 16 lignes au lieu de 17\n\nErreur N° 20003"},
      {std::string(15, '\n') + "16", tech + L"ne contient que 16 lignes au lieu de 17\n\nErreur N° 20003"},
      {"1", tech + L"ne contient qu'une ligne au lieu de 17\n\nErreur N° 20003"},
      {"", tech + L"ne contient aucune ligne au lieu de 17\n\nErreur N° 20003"},
      {"<missing>", L"Fichier introuvable « " + paths_.tech + L" »\n\nErreur N° 53"},
  };
  for (const auto& [bytes, read] : cases) {
    const LinkSettings before = settings_;
    const std::wstring loaded = Load(bytes);
    EXPECT_EQ(loaded.substr(0, read.size()), read) << &bytes - &cases[0].first;
    EXPECT_TRUE(loaded.ends_with(L"|") || settings_ == before) << "a failed load leaves the table";
  }
  EXPECT_EQ(
      Load(std::string(17, '\n'), "<missing>"),
      L"Fichier introuvable « " + paths_.tech2 + L" ». C'est la copie de secours de « " + paths_.tech +
          L" » : pour la "
          L"recréer, ouvrez le paramétrage (Ctrl + clic sur la dent) puis cliquez sur « VALIDER ».\n\nErreur N° 53");
  EXPECT_TRUE(Load(std::string("\0", 1) + lines).ends_with(L"Erreur N° 20009"));
}

TEST_F(SettingsTest, SaveWritesWhatALoadGivesBackAndAFailedSaveLeavesThePreviousFiles) {
  EXPECT_EQ((ApplyResetValues(settings_), Save()), L"");
  std::string reset = "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  for (int n = 1; n <= 14; ++n) reset.insert(0, "100\r\n");
  EXPECT_EQ(link_.Read(paths_.tech), reset);

  // The temporary file beside Tech.txt cannot be made, an entry holds a line break: the files stay as they were.
  const std::filesystem::path temporary(paths_.tech + L".tmp");
  settings_.SetEntry(2, L" Gaëlle "), settings_.SetEntry(17, std::wstring(L"Dossier patient\0", 16));
  std::filesystem::create_directories(temporary / "in-the-way");
  EXPECT_EQ(Save(), L"Impossible de créer le fichier « " + temporary.wstring() +
                        L" ». Aucun des deux fichiers n'a été modifié.\n\nErreur N° 75");
  std::filesystem::remove_all(temporary);
  std::filesystem::create_directories(temporary.parent_path() / "in-place" / "full");  // cannot be replaced
  EXPECT_THROW(link_.files.ReplaceWhole((temporary.parent_path() / "in-place").wstring(), "x"), LinkError);
  EXPECT_FALSE(std::filesystem::exists(temporary.parent_path() / "in-place.tmp"));
  for (const auto& [n, value, name] :
       {std::tuple{1, L"\r1001", L"1 du paramétrage (Adresse1)"}, {16, L"Cabinet\n", L"16 du paramétrage (classe"}}) {
    const LinkSettings whole = settings_;
    settings_.SetEntry(n, value);
    const std::wstring said = Save();
    EXPECT_TRUE(said.starts_with(std::wstring(L"L'entrée ") + name) &&
                said.ends_with(L"Rien n'a été enregistré.\n\nErreur N° 20005"))
        << n;
    settings_ = whole;
  }
  EXPECT_EQ(link_.Read(paths_.tech) + link_.Read(paths_.tech2), reset + reset);
  const LinkSettings saved = settings_;
  EXPECT_EQ(Save(), L"");
  EXPECT_NE(link_.Read(paths_.tech).find("100\r\n Ga\xEBlle \r\n"), std::string::npos) << "written in Windows-1252";
  settings_ = LinkSettings(), Load(link_.Read(paths_.tech), link_.Read(paths_.tech2));
  EXPECT_EQ(settings_, saved);
}


// "3F 00 4E" -> the bytes 0x3F 0x00 0x4E.
std::string Bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string out, pair;
  while (in >> pair) out.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  return out;
}

// An example written out byte by byte: EXEMPLE Lucie, file 1207, on CABINET1, 15 January 2027 at 09:30:15.
const HandOffValues kExample{L"EXEMPLE", L"Lucie", L"14/03/1985", L"1207", L"123456789012345"};
const std::string kExampleN = Bytes(
    "3F 00 4E 00 45 58 45 4D 50 4C 45 00 4C 75 63 69 65 5F 31 32 30 37 00 31 34 2F 30 33 2F 31 39 38 35 00 "
    "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A");
const std::string kExampleA = Bytes(
    "54 00 41 00 45 58 45 4D 50 4C 45 00 4C 75 63 69 65 5F 31 32 30 37 00 31 34 2F 30 33 2F 31 39 38 35 00 "
    "31 32 33 34 35 36 37 38 39 30 31 32 33 34 35 00 43 41 42 49 4E 45 54 31 00 "
    "31 35 2E 30 31 2E 32 30 32 37 00 30 39 3A 33 30 3A 31 35 00 00 00 00 0D 0A");

// The portable files, whose `failAt`-th call (reads, opens, writes, closes, replacements, removals all count) fails,
// and every call after it too when `failAfter`; or throws what no file system should.
struct FailingFiles : PortableFileSystem {
  mutable int calls = 0;
  int failAt = 0;
  bool failAfter = false, unexpected = false;
  void Step() const {
    if (unexpected) throw std::runtime_error("bad");
    if (++calls == failAt || (failAfter && failAt && calls > failAt)) throw LinkError(L"Disque plein.", 112);
  }
  struct File : OutputFile {
    File(std::unique_ptr<OutputFile> real, const FailingFiles* files) : real(std::move(real)), files(files) {}
    std::unique_ptr<OutputFile> real;
    const FailingFiles* files;
    void WriteWhole(const std::string& bytes) override { files->Step(), real->WriteWhole(bytes); }
    void Close() override { files->Step(), real->Close(); }
  };
  std::optional<std::string> ReadIfPresent(const std::wstring& path) const override {
    return Step(), PortableFileSystem::ReadIfPresent(path);
  }
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override {
    return Step(), std::make_unique<File>(PortableFileSystem::OpenForOutput(path), this);
  }
  void ReplaceWhole(const std::wstring& p, const std::string& bytes) override {
    Step(), PortableFileSystem::ReplaceWhole(p, bytes);
  }
  void Remove(const std::wstring& path) override { Step(), PortableFileSystem::Remove(path); }
};

class HandOffTest : public ::testing::Test {
 protected:
  // What both files hold (the same when written), or what the user is shown: a refusal's message
  // ("missing: ") or a failure ("failed: ").
  std::wstring W(const std::string& bytes) const { return link_.text.FromAnsi(bytes); }
  std::wstring Run(const HandOffValues& values, const std::wstring& title = L"") {
    std::wstring said;
    try {
      WriteHandOffFiles(values, title, {link_.paths.siomin, link_.paths.siomin2}, platform_);
    } catch (const LinkError& e) {
      said = (e.Number() == error_number::kHandOffRefused ? L"missing: " : L"failed: ") + FailureText(e);
    }
    const std::string first = link_.Read(link_.paths.siomin);
    EXPECT_TRUE(!said.empty() || link_.Read(link_.paths.siomin2) == first) << "the files differ";
    return said.empty() ? W(first) : said;
  }

  fakes::FakeLink link_{"handoff"};
  FailingFiles files_;
  Platform platform_{files_,         link_.text,    link_.clock, link_.environment, link_.programs,
                     link_.messages, link_.desktop, link_.gdi,   link_.desktop};
};

// The fields of a record as written, its length byte checked (a raw byte, the whole line), then
// left out with the letter and CR LF.
std::vector<std::string> Fields(const std::string& record) {
  EXPECT_EQ(static_cast<unsigned char>(record[0]), record.size());
  std::istringstream in(record.substr(4, record.size() - 6));
  std::vector<std::string> fields;
  for (std::string field; std::getline(in, field, '\0');) fields.push_back(field);
  return fields;
}

// The example byte by byte; then, at another moment, each handed-off value (the computer name when no member is named)
// put into it in turn: the bytes of its field in both records, every other field the example's, nothing of a longer
// earlier one left. A control character is a space, or a line break would split the record; the first name is cut to
// the room the file number leaves, then trimmed; a social-security number under 15 characters is empty, counted before
// its controls become spaces and never trimmed.
TEST_F(HandOffTest, WritesEachFieldByItsRuleOnOneLineWholeToBothFiles) {
  EXPECT_EQ(Run(kExample), W(kExampleN + kExampleA));
  link_.clock.now = {987, 12, 3, 17, 4, 5};
  const struct {
    std::wstring HandOffValues::*value;
    std::wstring given;
    std::size_t at;
    std::string written;
  } cases[] = {
      {&HandOffValues::nom, std::wstring(178, L'N'), 0, std::string(178, 'N')},  // the A record's 255 bytes
      {&HandOffValues::nom, L"DU\r\nPONT\t\x01\x1F\x7F", 0, "DU  PONT   \x7F"},
      {&HandOffValues::prenom, L"\tLu\r\ncie\u00A0\x1F", 1, "Lu  cie\xA0_1207"},
      {&HandOffValues::prenom, L" Lucie ", 1, "Lucie_1207"},
      {&HandOffValues::prenom, L"Marie-Christine Anne-Sophi  Elisabeth", 1, "Marie-Christine Anne-Sophi_1207"},
      {&HandOffValues::prenom, std::wstring(30, L' ') + L"Lucie", 1, "_1207"},  // spaces take room before the trim
      {&HandOffValues::numDossier, L"1\n", 1, "Lucie_1 "},
      {&HandOffValues::numDossier, std::wstring(31, L'9'), 1, "_" + std::string(31, '9')},  // leaves no room
      {&HandOffValues::dateNaissance, std::wstring(L"14/03\v1985\r\n\0", 13), 2, "14/03 1985   "},
      {&HandOffValues::numSS, L"12345678901234", 3, ""},
      {&HandOffValues::numSS, L"1234567890123\r\n", 3, "1234567890123  "},
      {&HandOffValues::numSS, L" 23456789012345 ", 3, " 23456789012345 "},
      {nullptr, L"CABINET\r\n\x01\x7F", 4, "CABINET   \x7F"},
      {nullptr, L"", 4, ""},  // "computername" unset
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    HandOffValues values = kExample;
    std::wstring& computer = link_.environment.variables[L"COMPUTERNAME"] = L"CABINET1";
    (c.value ? values.*c.value : computer) = c.given;
    const std::string both = (Run(values), link_.Read(link_.paths.siomin));
    std::vector<std::string> n = Fields(kExampleN), a = Fields(kExampleA);
    (c.value ? n[c.at] : a[c.at]) = a[c.at] = c.written;
    a[5] = "03.12.0987", a[6] = "17:04:05";
    EXPECT_EQ(Fields(both.substr(0, static_cast<unsigned char>(both[0]))), n);
    EXPECT_EQ(Fields(both.substr(static_cast<unsigned char>(both[0]))), a);
  }
}

// What can be refused is refused before a file is opened; a file that cannot be opened,
// written or closed is a failure too; so is a fault no one expected, shown, not swallowed.
TEST_F(HandOffTest, RefusalsAndFailuresAreReportedAndARefusalLeavesThePreviousHandOffWhole) {
  const auto with = [](std::size_t nomLength, std::wstring prenom = L"Lucie", std::wstring numDossier = L"1207") {
    return HandOffValues{std::wstring(nomLength, L'N'), prenom, L"14/03/1985", numDossier, L"123456789012345"};
  };
  const std::wstring ends = L" caractères). Erreur N° 20002 dans LignesCreees.";
  const std::wstring tooLong = L"failed: La fiche patient pour Sidexis (ligne ";
  for (const std::wstring& path : {link_.paths.siomin, link_.paths.siomin2}) link_.Write(path, "earlier");
  EXPECT_EQ(Run(with(199)),
            tooLong + L"A) ferait 276 octets, 255 au plus ; le champ le plus long est le nom (199" + ends);
  EXPECT_EQ(Run(with(200)),
            tooLong + L"N) ferait 256 octets, 255 au plus ; le champ le plus long est le nom (200" + ends);
  EXPECT_NE(Run({std::wstring(120, L'N'), L"Lu", std::wstring(120, L'1'), L"1", L""}).find(L"est le nom (120"),
            std::wstring::npos);  // of two longest, the first
  EXPECT_EQ(Run(with(7, L" ", std::wstring(32, L'7'))),  // reported before the missing first name
            L"failed: Le numéro de dossier « " + std::wstring(32, L'7') +
                L" » a 32 caractères : Sidexis en accepte 31 au plus. Erreur N° 20001 dans LignesCreees.");
  const std::wstring huge = Run(with(7, L"Lucie", std::wstring(100000, L'7')));  // quoted cut, its length whole
  EXPECT_NE(huge.find(L"« " + std::wstring(40, L'7') + L"… » a 100000 caractères"), std::wstring::npos) << huge;
  const std::wstring longMissing = L"missing: Il manque le prénom ou l'Application, ou bien vous devez cliquer sur "
                                  L"l'onglet 'Sécurité Sociale-Mutuelle'.";
  const std::wstring shortMissing = L"missing: Il manque le prénom ou l'Application.";
  const std::wstring tabbed = L"Fiche d'état civil";
  EXPECT_EQ(Run(with(7, L" \r\n\t"), tabbed), longMissing);
  EXPECT_EQ(Run(with(7, L""), tabbed + L'\0'), longMissing);  // as the finder stores it
  EXPECT_EQ(Run(with(7, L""), L"fiche d'état civil"), shortMissing);
  EXPECT_EQ(link_.Read(link_.paths.siomin), "earlier");

  files_.unexpected = true;
  EXPECT_EQ(Run(kExample), L"failed: Erreur interne inattendue. Erreur N° 0 dans LignesCreees.");
  files_.unexpected = false;
  EXPECT_EQ(Run(with(7, L"Lucie", L" ")) + Run(with(0)),
            L"missing: " + std::wstring(kMissingFileNumber) + L"missing: " + kMissingName);
  EXPECT_EQ(link_.Read(link_.paths.siomin), "earlier");
  std::filesystem::remove(link_.paths.siomin2),
      std::filesystem::create_directory(link_.paths.siomin2);  // cannot be opened
  EXPECT_NE(Run(kExample).find(L"Erreur N° 75 dans"), std::wstring::npos);
  EXPECT_EQ(link_.Read(link_.paths.siomin), "earlier") << "both files are opened before either changes";
}

// Each pair (the settings, replaced; the hand-off, written in place) is written both or
// neither: every step failing in turn leaves both files as they were (the first file there,
// the second missing); when putting back fails too, the message names the file that changed.
TEST(FilePairs, AnyStepThatFailsLeavesBothFilesAsTheyWereOrSaysWhichChanged) {
  // What the system says of a file has its inserts filled with the path or left out cleanly.
  EXPECT_EQ(FillSystemInserts(L"%2 Insert %3!s! (%1) in %10 %1!s! at 100%.", L"A:"), L"Insert (A:) in A: at 100%.");
  for (const int pair : {0, 1, 2, 3}) {  // settings or hand-off, each failure alone or with all after it
    const bool settings = pair < 2, failAfter = pair % 2;
    for (int step = 1;; ++step) {
      SCOPED_TRACE(testing::Message() << pair << " " << step);
      fakes::FakeLink link("pair");
      const std::wstring first = settings ? link.paths.settings.tech : link.paths.siomin;
      const std::wstring second = settings ? link.paths.settings.tech2 : link.paths.siomin2;
      link.Write(first, "avant");
      FailingFiles files;
      files.failAt = step, files.failAfter = failAfter;
      Platform platform{files,         link.text,    link.clock, link.environment, link.programs,
                        link.messages, link.desktop, link.gdi,   link.desktop};
      const std::wstring said =
          settings ? fakes::FailureOf([&] { SaveLinkSettings({}, link.paths.settings, files, link.text); })
          : fakes::FailureOf([&] { WriteHandOffFiles(kExample, L"", {first, second}, platform); });
      if (said.empty()) break;
      const bool firstKept = link.Read(first) == "avant", secondKept = link.Read(second) == "<missing>";
      const bool neither = said.find(L"plein. Aucun des deux fichiers n'a été modifié.") != std::wstring::npos;
      EXPECT_TRUE(neither ? firstKept && secondKept : failAfter) << said;
      EXPECT_TRUE(firstKept || said.find(L"« " + first + L" »") != std::wstring::npos) << said;
      EXPECT_TRUE(secondKept || said.find(L"« " + second + L" »") != std::wstring::npos) << said;
    }
  }
}


const std::map<int, std::string> kPatientA = {
    {10, "1207"}, {9, "Lef\xE8vre"}, {12, "H\xE9l\xE8ne"}, {6, "14/03/1985"}, {11, "2 85 03 75 123 456 78"}};
const HandOffValues kHandedOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const std::map<int, std::wstring HandOffValues::*> kSlots = {
    {9, &HandOffValues::nom}, {12, &HandOffValues::prenom}, {6, &HandOffValues::dateNaissance},
    {10, &HandOffValues::numDossier}, {11, &HandOffValues::numSS}};

bool Click(fakes::FakeLink& link) {  // a plain click on the launcher: harvest, then hand off
  return HarvestAndReport(link.state, link.paths, link.platform) &&
         RunShowingFailure(link.messages, [&] { LaunchSidexis(link.state, link.paths, link.platform); });
}

void ShowPatientB(fakes::FakeLink& link) {
  for (const auto& [entry, value] : std::map<int, std::string>{
           {10, "1300"}, {9, "Martin"}, {12, "Luc"}, {6, "02/11/1990"}, {11, "1 90 11 13 055 001 23"}})
    link.desktop.At(link.controls[entry]).text = value;
}

// After patient A was handed off, every way a click can miss patient B (a practice program not answering, or changing
// patient at every read, among them) refuses the hand-off or hands B off whole, with an empty field only for a
// social-security number whose control is gone, never with A's value, which the screen still shows; the files keep A
// and the X-ray program is not started again.
TEST(StalePatient, APatientNoLongerShownIsNeverHandedOff) {
  const wchar_t* const kShort = L"Il manque le prénom ou l'Application.|";
  const std::wstring noNumber = kMissingFileNumber + std::wstring(L"|"), noName = kMissingName + std::wstring(L"|");
  const std::wstring changing = FailureText(PatientChangedDuringReading()) + L"|",
                     notAnswering = FailureText(PracticeNotAnswering()) + L"|";
  const auto practice = [](fakes::FakeLink& l) { return l.desktop.FindTopLevel("Cabinet", {}); };
  const struct {
    std::function<void(fakes::FakeLink&)> lose;
    const wchar_t* said;  // null: B is handed off, without the field whose control is gone
    int gone = 0;
    const char* title = "Dossier patient";
  } cases[] = {
      {[&](fakes::FakeLink& l) { l.desktop.Destroy(practice(l)); }, kShort},             // closed
      {[&](fakes::FakeLink& l) { l.desktop.At(practice(l)).visible = false; }, kShort},  // hidden
      {[](fakes::FakeLink& l) { l.desktop.At(l.desktop.AddTopLevel("CABINET", "dossier PATIENT")).visible = false; },
       nullptr},                 // a hidden twin in front of it
      {[](fakes::FakeLink& l) {  // B shows after A's number is read, without one: read again, it has none
         l.desktop.afterTextRead = [&l, reads = 0]() mutable {
           if (++reads == 4) ShowPatientB(l), l.desktop.Destroy(l.controls[11]);
         };
       },
       nullptr, 11},
      {[&](fakes::FakeLink& l) { l.desktop.At(practice(l)).title = "Agenda"; }, kShort},
      {[](fakes::FakeLink& l) { l.settingsLines[16] = ""; }, kShort},
      {[](fakes::FakeLink& l) { l.settingsLines[15] = "FENETRE_VISIODENT32"; }, kShort},  // not running
      {[](fakes::FakeLink& l) {  // running, its title not answering
         l.desktop.At(l.desktop.AddTopLevel(l.settingsLines[15] = "FENETRE_VISIODENT32", "")).hung = true;
       },
       notAnswering.c_str()},
      {[](fakes::FakeLink& l) {  // a patient changing at every read: given up after the second reading
         l.desktop.afterTextRead = [&l, reads = 0]() mutable {
           EXPECT_LT(++reads, 20);
           l.desktop.At(l.controls[6]).text = std::to_string(reads) + "/11/1990";
         };
       },
       changing.c_str()},
      {[](fakes::FakeLink&) {},
       L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet 'Sécurité Sociale-Mutuelle'.|",
       12, "Fiche d'\xE9tat civil"},
      {[](fakes::FakeLink&) {}, noName.c_str(), 9},
      {[](fakes::FakeLink&) {}, noNumber.c_str(), 10},
      {[](fakes::FakeLink&) {}, nullptr, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    fakes::FakeLink link("stale");
    link.OpenPractice("Cabinet", c.title, kPatientA);
    ASSERT_TRUE(Click(link));
    const std::string handOffA = link.Read(link.paths.siomin);
    c.lose(link), link.WriteSettings(link.settingsLines);
    if (!link.desktop.afterTextRead) c.gone ? link.desktop.Destroy(link.controls[c.gone]) : void(), ShowPatientB(link);
    EXPECT_EQ(Click(link), c.said == nullptr);
    const int shown = c.gone ? c.gone : 12;  // still shows patient A's value
    EXPECT_TRUE(!(c.said || c.gone) || link.state.patient.Value(FieldOfEntry(shown)) == kHandedOffA.*kSlots.at(shown));
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
    link.WriteSettings((link.settingsLines[16] = stored, link.settingsLines));
    ReadPatientFields(link.state, link.paths, link.platform);
    EXPECT_EQ(link.state.practice.handle, found ? window : WindowHandle());
    EXPECT_EQ(link.state.patient.ValuesToHandOff(), found ? kHandedOffA : HandOffValues{});
    const bool visiodent = className[0] == 'F';
    EXPECT_EQ(link.gdi.drawings.size(), visiodent ? 1u : 0u) << "only the Visiodent title read draws a frame";
    EXPECT_TRUE(!visiodent || found || link.state.practice.lastTextRead == link.text.FromAnsi(title))
        << "the last text read keeps it";
  }
}

}  // namespace
}  // namespace corvane

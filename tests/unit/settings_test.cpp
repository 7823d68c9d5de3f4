// The link settings files: what a save writes is what a load gives back, and a bad file never
// half-replaces the table nor a failed save the files.
#include "settings/link_settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  static std::string Lines(int count, const char* end = "\r\n") {
    std::string bytes;
    for (int n = 1; n <= count; ++n) bytes += "line" + std::to_string(n) + end;
    return bytes;
  }
  LinkSettings Loaded() {
    LinkSettings settings;
    LoadLinkSettings(settings, paths_, link_.files, link_.text);
    return settings;
  }
  std::string Tech() const { return link_.Read(paths_.tech); }

  fakes::FakeLink link_{"settings"};
  const SettingsPaths& paths_ = link_.paths.settings;
};

TEST_F(SettingsTest, SaveThenLoadGivesBackEveryEntryAndTheResetValues) {
  LinkSettings saved;
  for (int n = 1; n <= kEntryCount; ++n) saved.SetEntry(n, std::wstring(n % 3, L' ') + std::to_wstring(n) + L" Gaëlle");
  saved.SetEntry(2, L"");
  saved.SetEntry(17, std::wstring(L"Dossier patient - Lefèvre") + L'\0');
  SaveLinkSettings(saved, paths_, link_.files, link_.text);
  EXPECT_EQ(link_.Read(paths_.tech2), Tech());
  EXPECT_TRUE(Tech().starts_with(" 1 Ga\xEBlle\r\n\r\n")) << "entries are written in Windows-1252";
  EXPECT_TRUE(Tech().ends_with(std::string("Lef\xE8vre\0\r\n", 10))) << "the title's NUL is written";
  EXPECT_EQ(Loaded(), saved);

  ApplyResetValues(saved);
  SaveLinkSettings(saved, paths_, link_.files, link_.text);
  std::string expected;
  for (int n = 1; n <= 14; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(Tech(), expected);
  EXPECT_EQ(link_.Read(paths_.tech2), expected);
}

TEST_F(SettingsTest, ReadsAnyLineEndAndOnlyTheFirst17Lines) {
  link_.Write(paths_.tech2, "whatever the copy holds");
  for (const char* end : {"\r\n", "\n", "\r"}) {
    link_.Write(paths_.tech, Lines(18, end));
    EXPECT_EQ(Loaded().Entry(1) + Loaded().Entry(17), L"line1line17") << end[0];
  }
  // Mixed ends, empty lines kept as empty entries, a NUL inside a line, a last line without an end.
  link_.Write(paths_.tech, "a\r\n\r\nc\n\nd\r\re\n\r" + Lines(8) + std::string("Ti\0tle", 6));
  const LinkSettings loaded = Loaded();
  const std::wstring expected[] = {L"a", L"", L"c", L"", L"d", L"", L"e", L"", L"line1"};
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(loaded.Entry(n), expected[n - 1]) << "entry " << n;
  EXPECT_EQ(loaded.Entry(17), std::wstring(L"Ti\0tle", 6));
  link_.Write(paths_.tech, Lines(16) + "\r\n");  // 16 ended lines and one more CR LF do make 17
  EXPECT_EQ(Loaded().Entry(17), L"");
}

TEST_F(SettingsTest, ShortOrMissingFilesFailAndLeaveTheTable) {
  const std::string missing = "<missing>";
  const struct {
    std::string tech, tech2;
    std::wstring said;
  } cases[] = {
      {Lines(16), Lines(17), L" » ne contient que 16 lignes au lieu de 17"},
      {Lines(15) + "line16", Lines(17), L" » ne contient que 16 lignes au lieu de 17"},
      {"line1\r\n", Lines(17), L" » ne contient qu'une ligne au lieu de 17"},
      {"", Lines(17), L" » ne contient aucune ligne au lieu de 17"},
      {Lines(17), missing, L"Fichier introuvable « "},
      {missing, Lines(17), L"Fichier introuvable « "},
  };
  LinkSettings marked;
  for (int n = 1; n <= kEntryCount; ++n) marked.SetEntry(n, L"before " + std::to_wstring(n));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tech + " / " + c.tech2);
    for (const auto& [path, bytes] : {std::pair{paths_.tech, c.tech}, {paths_.tech2, c.tech2}}) {
      std::filesystem::remove(path);
      if (bytes != missing) link_.Write(path, bytes);
    }
    LinkSettings settings = marked;
    try {
      LoadLinkSettings(settings, paths_, link_.files, link_.text);
      ADD_FAILURE() << "the load should have failed";
    } catch (const LinkError& error) {
      EXPECT_EQ(error.Number(), c.tech2 == missing || c.tech == missing ? 53 : error_number::kSettingsFileTooShort);
      EXPECT_NE(error.Description().find(c.said), std::wstring::npos);
      EXPECT_NE(error.Description().find(c.tech2 == missing ? paths_.tech2 : paths_.tech), std::wstring::npos);
    }
    EXPECT_EQ(settings, marked);
  }
}

TEST_F(SettingsTest, AFailedSaveThrowsAndLeavesThePreviousFiles) {
  LinkSettings settings;
  ApplyResetValues(settings);
  SaveLinkSettings(settings, paths_, link_.files, link_.text);
  const std::string before = Tech();
  const auto expectUnchanged = [&] {
    EXPECT_EQ(Tech(), before);
    EXPECT_EQ(link_.Read(paths_.tech2), before);
  };

  // The temporary file beside Tech.txt cannot be made: neither file changes.
  std::filesystem::create_directories(std::filesystem::path(paths_.tech + L".tmp") / "in-the-way");
  settings.SetEntry(1, L"2002");
  try {
    SaveLinkSettings(settings, paths_, link_.files, link_.text);
    ADD_FAILURE() << "the save should have failed";
  } catch (const LinkError& error) {
    EXPECT_EQ(CommandFailureText(error), L"Impossible de créer le fichier « " + paths_.tech + L".tmp »\n\nErreur N° 75");
  }
  expectUnchanged();
  std::filesystem::remove_all(std::filesystem::path(paths_.tech + L".tmp"));

  // A line break inside an entry would shift the entries after it: refused, naming the entry.
  for (const auto& [n, value] : {std::pair{17, L"Dossier\r\nLefèvre"}, {16, L"Cabinet\n"}, {1, L"\r1001"}}) {
    LinkSettings broken = settings;
    broken.SetEntry(n, value);
    try {
      SaveLinkSettings(broken, paths_, link_.files, link_.text);
      ADD_FAILURE() << "entry " << n << " must be refused";
    } catch (const LinkError& error) {
      EXPECT_EQ(error.Number(), error_number::kSettingsEntryHasLineBreak);
      const std::wstring named = n == 1 ? L"1 du paramétrage (Adresse1)" : n == 16 ? L"16 du paramétrage (classe" : L"17 du paramétrage (titre";
      EXPECT_TRUE(error.Description().starts_with(L"L'entrée " + named)) << n;
    }
    expectUnchanged();
  }

  // A write that stops half way (here at the process's file size limit) leaves no temporary file.
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit small{50, limit.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(SaveLinkSettings(settings, paths_, link_.files, link_.text), LinkError);
  setrlimit(RLIMIT_FSIZE, &limit);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(paths_.tech + L".tmp")));
  expectUnchanged();
}

}  // namespace
}  // namespace corvane

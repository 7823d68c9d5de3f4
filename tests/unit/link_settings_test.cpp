// The link settings files: what a save writes is what a load gives back, and a bad file never
// half-replaces the table.
#include "settings/link_settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class LinkSettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("corvane-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    paths_ = {(folder_ / "Tech.txt").wstring(), (folder_ / "Tech2.txt").wstring()};
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Writes the file, or removes it when there are no bytes.
  static void Write(const std::wstring& path, const std::optional<std::string>& bytes) {
    if (bytes) {
      std::ofstream(fs::path(path), std::ios::binary) << *bytes;
    } else {
      fs::remove(fs::path(path));
    }
  }
  static std::string Read(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::string Lines(int count, const char* end = "\r\n") {
    std::string bytes;
    for (int n = 1; n <= count; ++n) bytes += "line" + std::to_string(n) + end;
    return bytes;
  }
  LinkSettings Loaded() {
    LinkSettings settings;
    LoadLinkSettings(settings, paths_, files_, text_);
    return settings;
  }
  static LinkSettings ResetTable() {
    LinkSettings settings;
    ApplyResetValues(settings);
    return settings;
  }

  fs::path folder_;
  SettingsPaths paths_;
  PortableFileSystem files_;
  PortableText text_;
};

TEST_F(LinkSettingsFilesTest, SaveThenLoadGivesBackEveryEntry) {
  LinkSettings saved;
  const std::wstring values[] = {L"1001",       L"",       L"-5", L"a,b,c",       L"\"quoted\"", L"  leading",
                                 L"trailing  ", L" both ", L"",   L"12",          L"13",         L"Gaëlle",
                                 L"",           L"0",      L"1",  L"WinDevObject"};
  for (int n = 1; n <= 16; ++n) saved.SetEntry(n, values[n - 1]);
  saved.SetEntry(17, std::wstring(L"Dossier patient - Lefèvre") + L'\0');

  SaveLinkSettings(saved, paths_, files_, text_);
  const std::string bytes = Read(paths_.tech);
  EXPECT_EQ(bytes, Read(paths_.tech2));
  EXPECT_TRUE(bytes.ends_with(std::string("\0\r\n", 3))) << "the title's NUL is written";
  EXPECT_NE(bytes.find("Ga\xEBlle\r\n"), std::string::npos) << "entries are written in Windows-1252";
  const LinkSettings loaded = Loaded();
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(loaded.Entry(17).back(), L'\0');

  // The reset values: 108 bytes, the 17th line keeping its trailing blank.
  SaveLinkSettings(ResetTable(), paths_, files_, text_);
  std::string expected;
  for (int n = 1; n <= 14; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(expected.size(), 108u);
  EXPECT_EQ(Read(paths_.tech), expected);
  EXPECT_EQ(Read(paths_.tech2), expected);
  EXPECT_EQ(Loaded().Entry(17), L"Sans titre - Bloc-notes ");
}

TEST_F(LinkSettingsFilesTest, ReadsAnyLineEndAndOnlyTheFirst17Lines) {
  Write(paths_.tech2, "whatever the copy holds");
  for (const char* end : {"\r\n", "\n", "\r"}) {
    Write(paths_.tech, Lines(18, end));
    const LinkSettings loaded = Loaded();
    EXPECT_EQ(loaded.Entry(1), L"line1");
    EXPECT_EQ(loaded.Entry(17), L"line17");
  }
  // Mixed ends, empty lines kept as empty entries, a NUL inside a line, a last line without an end.
  Write(paths_.tech, "a\r\n\r\nc\n\nd\r\re\r\n" + Lines(9) + std::string("Ti\0tle", 6));
  const LinkSettings loaded = Loaded();
  const std::wstring expected[] = {L"a", L"", L"c", L"", L"d", L"", L"e"};
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(loaded.Entry(n), expected[n - 1]) << "entry " << n;
  EXPECT_EQ(loaded.Entry(16), L"line9");
  EXPECT_EQ(loaded.Entry(17), std::wstring(L"Ti\0tle", 6));
}

TEST_F(LinkSettingsFilesTest, ShortOrMissingFilesFailAndLeaveTheTable) {
  const std::optional<std::string> missing;
  const struct {
    std::optional<std::string> tech, tech2;
    long number;                    // 0: any
    std::wstring description = {};  // empty: any that names the file
  } cases[] = {
      {Lines(16), Lines(17), error_number::kSettingsFileTooShort,
       L"Le fichier de paramétrage « " + paths_.tech + L" » ne contient que 16 lignes au lieu de 17"},
      {Lines(15) + "line16", Lines(17), error_number::kSettingsFileTooShort},
      {"", Lines(17), error_number::kSettingsFileTooShort},
      {Lines(17), missing, 0},
      {missing, Lines(17), 0},
  };
  LinkSettings marked;
  for (int n = 1; n <= kEntryCount; ++n) marked.SetEntry(n, L"before " + std::to_wstring(n));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tech.value_or("<missing>") + " / " + c.tech2.value_or("<missing>"));
    Write(paths_.tech, c.tech);
    Write(paths_.tech2, c.tech2);
    LinkSettings settings = marked;
    try {
      LoadLinkSettings(settings, paths_, files_, text_);
      ADD_FAILURE() << "the load should have failed";
    } catch (const LinkError& error) {
      EXPECT_TRUE(c.number == 0 || error.Number() == c.number) << error.Number();
      EXPECT_NE(error.Description().find(L"Tech"), std::wstring::npos) << "the message names the file";
      if (!c.description.empty()) {
        EXPECT_EQ(error.Description(), c.description);
      }
    }
    EXPECT_EQ(settings, marked);
  }
  // 16 ended lines and one more CR LF do make 17: the last one is empty.
  Write(paths_.tech, Lines(16) + "\r\n");
  EXPECT_EQ(Loaded().Entry(17), L"");
}

TEST_F(LinkSettingsFilesTest, AFailedSaveThrowsAndLeavesThePreviousFiles) {
  LinkSettings settings = ResetTable();
  SaveLinkSettings(settings, paths_, files_, text_);
  const std::string before = Read(paths_.tech);

  // The temporary file beside Tech.txt cannot be made: neither file changes. (A Tech2.txt that
  // cannot be replaced is tested under Wine, with the file held open.)
  fs::create_directories(fs::path(paths_.tech + L".tmp") / "in-the-way");
  settings.SetEntry(1, L"2002");
  EXPECT_THROW(SaveLinkSettings(settings, paths_, files_, text_), LinkError);
  EXPECT_EQ(Read(paths_.tech), before);
  EXPECT_EQ(Read(paths_.tech2), before);
  fs::remove_all(fs::path(paths_.tech + L".tmp"));

  // A line break inside an entry would shift the entries after it at the next load: refused,
  // naming the entry, before either file is touched.
  for (const auto& [n, value] : {std::pair{17, L"Dossier\r\nLefèvre"}, {16, L"Cabinet\n"}, {1, L"\r1001"}}) {
    LinkSettings broken = settings;
    broken.SetEntry(n, value);
    try {
      SaveLinkSettings(broken, paths_, files_, text_);
      ADD_FAILURE() << "entry " << n << " must be refused";
    } catch (const LinkError& error) {
      EXPECT_EQ(error.Number(), error_number::kSettingsEntryHasLineBreak);
      EXPECT_TRUE(error.Description().starts_with(L"L'entrée " + std::to_wstring(n) + L" du paramétrage (")) << n;
    }
    EXPECT_EQ(Read(paths_.tech), before);
    EXPECT_EQ(Read(paths_.tech2), before);
  }

  // A write that stops half way (here at the process's file size limit) leaves no temporary file.
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit small{50, limit.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(SaveLinkSettings(settings, paths_, files_, text_), LinkError);
  setrlimit(RLIMIT_FSIZE, &limit);
  EXPECT_FALSE(fs::exists(fs::path(paths_.tech + L".tmp")));
  EXPECT_EQ(Read(paths_.tech), before);
}

}  // namespace
}  // namespace corvane

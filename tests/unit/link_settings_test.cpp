// The link settings files: what a save writes is what a load gives back, and a bad file never
// half-replaces the table.
#include "settings/link_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

  static void Write(const std::wstring& path, const std::string& bytes) {
    std::ofstream(fs::path(path), std::ios::binary) << bytes;
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
  static LinkSettings Marked() {
    LinkSettings settings;
    for (int n = 1; n <= kEntryCount; ++n) settings.SetEntry(n, L"before " + std::to_wstring(n));
    return settings;
  }
  void ExpectLoadFailsKeepingTable(long number) {
    LinkSettings settings = Marked();
    try {
      LoadLinkSettings(settings, paths_, files_, text_);
      ADD_FAILURE() << "the load should have failed";
    } catch (const LinkError& error) {
      if (number != 0) {
        EXPECT_EQ(error.Number(), number);
      }
      EXPECT_NE(error.Description().find(L"Tech"), std::wstring::npos) << "the message names the file";
    }
    EXPECT_EQ(settings, Marked());
  }

  fs::path folder_;
  SettingsPaths paths_;
  PortableFileSystem files_;
  PortableText text_;
};

TEST_F(LinkSettingsFilesTest, SaveThenLoadGivesBackEveryEntry) {
  LinkSettings saved;
  const std::wstring title = std::wstring(L"Dossier patient - Lefèvre") + L'\0';
  const std::wstring values[kEntryCount] = {
      L"1001", L"",       L"-5", L"a,b,c", L"\"quoted\"", L"  leading", L"trailing  ", L" both ",
      L"",     L"12",     L"13", L"Gaëlle", L"",          L"0",         L"1",          L"WinDevObject", title};
  for (int n = 1; n <= kEntryCount; ++n) saved.SetEntry(n, values[n - 1]);

  SaveLinkSettings(saved, paths_, files_, text_);
  const std::string bytes = Read(paths_.tech);
  EXPECT_EQ(bytes, Read(paths_.tech2));
  EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\0\r\n", 3)) << "the title's NUL is written";
  EXPECT_NE(bytes.find("Ga\xEBlle\r\n"), std::string::npos) << "entries are written in Windows-1252";

  const LinkSettings loaded = Loaded();
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(loaded.Entry(17).back(), L'\0');
}

TEST_F(LinkSettingsFilesTest, ResetValuesMakeThe108ByteFile) {
  LinkSettings settings;
  ApplyResetValues(settings);
  SaveLinkSettings(settings, paths_, files_, text_);
  std::string expected;
  for (int n = 1; n <= 14; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(Read(paths_.tech), expected);
  EXPECT_EQ(Read(paths_.tech).size(), 108u);
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
  // Mixed ends, empty lines kept as empty entries, and a last line without an end.
  Write(paths_.tech, "a\r\n\r\nc\n\nd\r\re\r\n" + Lines(9) + "last");
  const LinkSettings loaded = Loaded();
  EXPECT_EQ(loaded.Entry(1), L"a");
  EXPECT_EQ(loaded.Entry(2), L"");
  EXPECT_EQ(loaded.Entry(3), L"c");
  EXPECT_EQ(loaded.Entry(4), L"");
  EXPECT_EQ(loaded.Entry(5), L"d");
  EXPECT_EQ(loaded.Entry(6), L"");
  EXPECT_EQ(loaded.Entry(7), L"e");
  EXPECT_EQ(loaded.Entry(16), L"line9");
  EXPECT_EQ(loaded.Entry(17), L"last");
  // A NUL inside a line is data, not an end.
  Write(paths_.tech, Lines(16) + std::string("Ti\0tle", 6));
  EXPECT_EQ(Loaded().Entry(17), std::wstring(L"Ti\0tle", 6));
}

TEST_F(LinkSettingsFilesTest, ShortOrMissingFilesFailAndLeaveTheTable) {
  Write(paths_.tech2, Lines(17));
  Write(paths_.tech, Lines(16));
  ExpectLoadFailsKeepingTable(error_number::kSettingsFileTooShort);
  // 16 ended lines and one more CR LF do make 17: the last one is empty.
  Write(paths_.tech, Lines(16) + "\r\n");
  EXPECT_EQ(Loaded().Entry(17), L"");
  Write(paths_.tech, Lines(15) + "line16");
  ExpectLoadFailsKeepingTable(error_number::kSettingsFileTooShort);
  Write(paths_.tech, "");
  ExpectLoadFailsKeepingTable(error_number::kSettingsFileTooShort);

  Write(paths_.tech, Lines(17));
  fs::remove(fs::path(paths_.tech2));
  ExpectLoadFailsKeepingTable(0);
  fs::remove(fs::path(paths_.tech));
  Write(paths_.tech2, Lines(17));
  ExpectLoadFailsKeepingTable(0);
}

TEST_F(LinkSettingsFilesTest, TheShortFileMessageSaysHowManyLines) {
  Write(paths_.tech2, Lines(17));
  Write(paths_.tech, Lines(16));
  LinkSettings settings;
  try {
    LoadLinkSettings(settings, paths_, files_, text_);
    FAIL();
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Description(), L"Le fichier de paramétrage « " + paths_.tech + L" » ne contient que 16 lignes au lieu de 17");
  }
}

TEST_F(LinkSettingsFilesTest, AFailedSaveThrowsAndLeavesThePreviousFiles) {
  LinkSettings settings;
  ApplyResetValues(settings);
  SaveLinkSettings(settings, paths_, files_, text_);
  const std::string before = Read(paths_.tech);

  // The temporary file beside Tech.txt cannot be made: both files keep their previous
  // content, and Tech2.txt is not touched either.
  fs::create_directories(fs::path(paths_.tech + L".tmp") / "in-the-way");
  settings.SetEntry(1, L"2002");
  EXPECT_THROW(SaveLinkSettings(settings, paths_, files_, text_), LinkError);
  EXPECT_EQ(Read(paths_.tech), before);
  EXPECT_EQ(Read(paths_.tech2), before);
  fs::remove_all(fs::path(paths_.tech + L".tmp"));

  // Only Tech2.txt fails: Tech.txt, the one read back, is already whole and new.
  fs::create_directories(fs::path(paths_.tech2 + L".tmp") / "in-the-way");
  EXPECT_THROW(SaveLinkSettings(settings, paths_, files_, text_), LinkError);
  EXPECT_EQ(Loaded().Entry(1), L"2002");
  EXPECT_EQ(Read(paths_.tech2), before);

  const SettingsPaths missing{(folder_ / "absent" / "Tech.txt").wstring(), (folder_ / "absent" / "Tech2.txt").wstring()};
  EXPECT_THROW(SaveLinkSettings(settings, missing, files_, text_), LinkError);
  EXPECT_FALSE(fs::exists(folder_ / "absent"));
}

}  // namespace
}  // namespace corvane

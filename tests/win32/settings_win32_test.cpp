// The link settings files on a real C:\Sidexis, through the Win32 file and text adapters:
// Windows-1252 bytes on disk, and failures that leave the program running and the files whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/link_error.h"
#include "platform/win32/win32_platform.h"
#include "settings/link_settings.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using testing::FileExists;
using testing::FreshFolder;
using testing::ReadBytes;
using testing::RemoveFolder;

const std::wstring kFolder = L"C:\\Sidexis";
const std::wstring kKept = L"C:\\Sidexis.kept-by-settings-test";

class SettingsFilesWin32Test : public ::testing::Test {
 protected:
  // Whatever C:\Sidexis held before (another test's setup) is put back afterwards.
  void SetUp() override {
    RemoveFolder(kKept);
    hadFolder_ = FileExists(kFolder) && MoveFileW(kFolder.c_str(), kKept.c_str());
    FreshFolder(kFolder);
  }
  void TearDown() override {
    RemoveFolder(kFolder);
    if (hadFolder_) MoveFileW(kKept.c_str(), kFolder.c_str());
  }

  static LinkSettings ResetTable() {
    LinkSettings settings;
    ApplyResetValues(settings);
    return settings;
  }

  bool hadFolder_ = false;
  const SettingsPaths paths_{kFolder + L"\\Tech.txt", kFolder + L"\\Tech2.txt"};
  Win32FileSystem files_;
  Win32Text text_;
};

TEST_F(SettingsFilesWin32Test, AccentedEntriesAreWrittenInWindows1252AndReadBack) {
  LinkSettings saved = ResetTable();
  saved.SetEntry(1, L"Gaëlle");
  saved.SetEntry(2, L"Œuvre à 5 €");
  saved.SetEntry(3, L"");
  saved.SetEntry(4, L"Łódź");  // not in the code page: '?' rather than a look-alike letter
  saved.SetEntry(16, L"FENETRE_VISIODENT32");
  saved.SetEntry(17, std::wstring(L"Fiche d'état civil") + L'\0');
  SaveLinkSettings(saved, paths_, files_, text_);

  std::string expected = "Ga\xEBlle\r\n\x8Cuvre \xE0 5 \x80\r\n\r\n?\xF3\x64?\r\n";
  for (int n = 5; n <= 14; ++n) expected += "100\r\n";
  expected += "0\r\nFENETRE_VISIODENT32\r\nFiche d'\xE9tat civil" + std::string(1, '\0') + "\r\n";
  EXPECT_EQ(ReadBytes(paths_.tech), expected);
  EXPECT_EQ(ReadBytes(paths_.tech2), expected);
  EXPECT_FALSE(FileExists(paths_.tech + L".tmp"));

  LinkSettings loaded;
  LoadLinkSettings(loaded, paths_, files_, text_);
  saved.SetEntry(4, L"?ód?");
  EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsFilesWin32Test, AMissingFolderFailsAndTheProgramGoesOn) {
  LinkSettings settings = ResetTable();
  RemoveFolder(kFolder);
  try {
    SaveLinkSettings(settings, paths_, files_, text_);
    FAIL() << "the save should have failed";
  } catch (const LinkError& error) {
    EXPECT_NE(error.Description().find(L"Tech.txt"), std::wstring::npos) << "the message names the file";
    EXPECT_NE(error.Number(), 0);
  }
  EXPECT_FALSE(FileExists(kFolder)) << "the link never makes the folder";
  const LinkSettings before = settings;
  EXPECT_THROW(LoadLinkSettings(settings, paths_, files_, text_), LinkError);
  EXPECT_EQ(settings, before);

  // Still running, and the next save into the folder the installation provides works.
  FreshFolder(kFolder);
  SaveLinkSettings(settings, paths_, files_, text_);
  EXPECT_EQ(ReadBytes(paths_.tech).size(), 108u);
}

TEST_F(SettingsFilesWin32Test, ATech2HeldOpenByAnotherProgramIsLeftWhole) {
  LinkSettings settings = ResetTable();
  SaveLinkSettings(settings, paths_, files_, text_);
  const std::string before = ReadBytes(paths_.tech);

  // An editor holding Tech2.txt open without sharing: Tech.txt is replaced, Tech2.txt stays.
  HANDLE held =
      CreateFileW(paths_.tech2.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  settings.SetEntry(10, L"1001");
  EXPECT_THROW(SaveLinkSettings(settings, paths_, files_, text_), LinkError);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(paths_.tech2), before);
  EXPECT_NE(ReadBytes(paths_.tech), before);
  EXPECT_FALSE(FileExists(paths_.tech2 + L".tmp"));
}

}  // namespace
}  // namespace corvane

// The link on a Windows system set to UTF-8: this program's manifest asks for code page 65001,
// which Wine then gives it. The settings and the hand-off go out in UTF-8, whole.
#include <gtest/gtest.h>

#include "handoff/handoff_records.h"
#include "settings/link_settings.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

TEST(Utf8SystemTest, SettingsRoundTripAndAccentedNamesAreHandedOffInUtf8) {
  ASSERT_EQ(GetACP(), 65001u) << "the manifest's code page was not applied";
  const SettingsPaths paths{L"C:\\corvane-utf8\\Tech.txt", L"C:\\corvane-utf8\\Tech2.txt"};
  testing::FreshFolder(L"C:\\corvane-utf8");
  Win32FileSystem files;
  const Win32Text text;
  LinkSettings saved, loaded;
  ApplyResetValues(saved);
  saved.SetEntry(1, L"Gaëlle");
  saved.SetEntry(2, L"Łódź 5 €");
  SaveLinkSettings(saved, paths, files, text);
  EXPECT_TRUE(
      testing::ReadBytes(paths.tech).starts_with("Ga\xC3\xABlle\r\n\xC5\x81\xC3\xB3\x64\xC5\xBA 5 \xE2\x82\xAC\r\n"));
  LoadLinkSettings(loaded, paths, files, text);
  EXPECT_EQ(loaded, saved);
  const HandOffRecords records = BuildHandOffRecords({L"LEFÈVRE", L"Zoé", L"14/03/1985", L"1207", L""}, L"CABINET1",
                                                     {2027, 1, 15, 9, 30, 15}, text);
  EXPECT_EQ(records.n.substr(4, 18), std::string("LEF\xC3\x88VRE\0Zo\xC3\xA9_1207", 18));
}

}  // namespace
}  // namespace corvane

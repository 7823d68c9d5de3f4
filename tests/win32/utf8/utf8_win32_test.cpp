// The link on a Windows system set to UTF-8: this program's manifest asks for code page 65001,
// which Wine then gives it. The settings and the hand-off go out in UTF-8, whole.
#include <gtest/gtest.h>
#include <windows.h>

#include "handoff/handoff_records.h"
#include "settings/link_settings.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace std::string_literals;

TEST(Utf8SystemTest, SettingsRoundTripAndAccentedNamesAreHandedOffInUtf8) {
  ASSERT_EQ(GetACP(), 65001u) << "the manifest's code page was not applied";
  const std::wstring folder = L"C:\\corvane-utf8";
  testing::FreshFolder(folder);
  const SettingsPaths paths{folder + L"\\Tech.txt", folder + L"\\Tech2.txt"};
  struct {
    Win32FileSystem files;
    Win32Text text;
  } wine;
  LinkSettings saved, loaded;
  ApplyResetValues(saved);
  saved.SetEntry(1, L"Gaëlle");
  saved.SetEntry(2, L"Łódź 5 €");
  saved.SetEntry(17, std::wstring(L"Fiche d'état civil") + L'\0');
  SaveLinkSettings(saved, paths, wine.files, wine.text);
  EXPECT_TRUE(testing::ReadBytes(paths.tech)
                  .starts_with("Ga\xC3\xABlle\r\n\xC5\x81\xC3\xB3"
                               "d\xC5\xBA 5 \xE2\x82\xAC\r\n"));
  LoadLinkSettings(loaded, paths, wine.files, wine.text);
  EXPECT_EQ(loaded, saved);

  const HandOffRecords records = BuildHandOffRecords({L"LEFÈVRE", L"Zoé", L"14/03/1985", L"1207", L""}, L"CABINET1",
                                                     {2027, 1, 15, 9, 30, 15}, wine.text);
  const std::string n =
      "\x00N\x00LEF\xC3\x88VRE\x00Zo\xC3\xA9_1207\x00"
      "14/03/1985\x00\x00\x00"
      "Du Dozu\x00\x00\x00\r\n"s;
  EXPECT_EQ(records.n, std::string(1, static_cast<char>(n.size() + 1)) + n);
}

}  // namespace
}  // namespace corvane

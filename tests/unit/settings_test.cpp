// The link settings files: what a save writes is what a load gives back, and a bad file never
// half-replaces the table nor a failed save the files.
#include "settings/link_settings.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_link.h"

namespace corvane {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  // The table the files give, or the failure's text.
  std::wstring Load(const std::string& tech, const std::string& tech2 = "copy") {
    for (const auto& [path, bytes] : {std::pair{paths_.tech, tech}, {paths_.tech2, tech2}})
      bytes == "<missing>" ? (void)std::filesystem::remove(path) : link_.Write(path, bytes);
    try {
      LoadLinkSettings(settings_, paths_, link_.files, link_.text);
    } catch (const LinkError& error) {
      return CommandFailureText(error);
    }
    std::wstring entries;
    for (int n = 1; n <= kEntryCount; ++n) entries += settings_.Entry(n) + L"|";
    return entries;
  }
  std::wstring Save() {
    try {
      SaveLinkSettings(settings_, paths_, link_.files, link_.text);
    } catch (const LinkError& error) {
      return CommandFailureText(error);
    }
    EXPECT_EQ(link_.Read(paths_.tech2), link_.Read(paths_.tech));
    return L"saved";
  }

  fakes::FakeLink link_{"settings"};
  const SettingsPaths& paths_ = link_.paths.settings;
  LinkSettings settings_;
};

TEST_F(SettingsTest, AnyLineEndAndOnlyTheFirst17LinesAreRead) {
  const std::string lines = "1\r\n2\n3\r4\r\n\r\n6\n\n8\r\r10\n\r12\r\n13\r\n14\r\n15\r\n16\r\n";
  const std::wstring entries = L"1|2|3|4||6||8||10||12|13|14|15|16|";
  EXPECT_EQ(Load(lines + std::string("Ti\0tle\r\n18\r\n", 12)), entries + std::wstring(L"Ti\0tle|", 7));
  EXPECT_EQ(Load(lines + "17"), entries + L"17|");
  EXPECT_EQ(Load(lines + "\n"), entries + L"|");
}

TEST_F(SettingsTest, ShortOrMissingFilesFailAndLeaveTheTable) {
  const std::wstring loaded = Load(std::string(17, '\n'));
  const std::wstring tech = L"Le fichier de paramétrage « " + paths_.tech;
  const std::pair<std::string, std::wstring> cases[] = {
      {std::string(16, '\n'), tech + L" » ne contient que 16 lignes au lieu de 17\n\nErreur N° 20003"},
      {std::string(15, '\n') + "16", tech + L" » ne contient que 16 lignes au lieu de 17\n\nErreur N° 20003"},
      {"1", tech + L" » ne contient qu'une ligne au lieu de 17\n\nErreur N° 20003"},
      {"", tech + L" » ne contient aucune ligne au lieu de 17\n\nErreur N° 20003"},
      {"<missing>", L"Fichier introuvable « " + paths_.tech + L" »\n\nErreur N° 53"},
  };
  for (const auto& [bytes, said] : cases) {
    EXPECT_EQ(Load(bytes), said);
    EXPECT_EQ(Load(std::string(17, '\n'), "<missing>"), L"Fichier introuvable « " + paths_.tech2 + L" »\n\nErreur N° 53");
    EXPECT_EQ(settings_, LinkSettings());
  }
  EXPECT_EQ(loaded, std::wstring(17, L'|'));
}

TEST_F(SettingsTest, SaveWritesWhatALoadGivesBackAndAFailedSaveLeavesThePreviousFiles) {
  ApplyResetValues(settings_);
  EXPECT_EQ(Save(), L"saved");
  std::string reset;
  for (int n = 1; n <= 14; ++n) reset += "100\r\n";
  reset += "0\r\nNotepad\r\nSans titre - Bloc-notes \r\n";
  EXPECT_EQ(link_.Read(paths_.tech), reset);

  // The temporary file beside Tech.txt cannot be made, an entry holds a line break: the files
  // stay as they were.
  const std::filesystem::path temporary(paths_.tech + L".tmp");
  settings_.SetEntry(2, L" Gaëlle ");
  settings_.SetEntry(17, std::wstring(L"Dossier patient\0", 16));
  std::filesystem::create_directories(temporary / "in-the-way");
  EXPECT_EQ(Save(), L"Impossible de créer le fichier « " + temporary.wstring() + L" »\n\nErreur N° 75");
  std::filesystem::remove_all(temporary);
  for (const auto& [n, value, name] : {std::tuple{1, L"\r1001", L"1 du paramétrage (Adresse1)"},
                                       {16, L"Cabinet\n", L"16 du paramétrage (classe"}}) {
    LinkSettings broken = settings_;
    settings_.SetEntry(n, value);
    EXPECT_TRUE(Save().starts_with(std::wstring(L"L'entrée ") + name)) << n;
    EXPECT_TRUE(Save().ends_with(L"Rien n'a été enregistré.\n\nErreur N° 20005")) << n;
    settings_ = broken;
  }
  EXPECT_EQ(link_.Read(paths_.tech), reset);
  EXPECT_EQ(link_.Read(paths_.tech2), reset);
  const LinkSettings saved = settings_;
  EXPECT_EQ(Save(), L"saved");
  EXPECT_NE(link_.Read(paths_.tech).find("100\r\n Ga\xEBlle \r\n"), std::string::npos) << "written in Windows-1252";
  settings_ = LinkSettings();
  Load(link_.Read(paths_.tech), link_.Read(paths_.tech2));
  EXPECT_EQ(settings_, saved);
}

}  // namespace
}  // namespace corvane

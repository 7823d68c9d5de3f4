#include "settings/link_settings.h"

#include <cassert>
#include <vector>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"

namespace corvane {
namespace {

// The lines of a settings file. CR LF is what the link writes, but a file edited by hand on
// another system may end its lines with a lone LF or a lone CR; all three end a line. A last
// line without an end still counts. A NUL is an ordinary byte here: entry 17 keeps the NUL
// the finder captured at the end of the practice window's title.
std::vector<std::string> SplitLines(const std::string& bytes, std::size_t wanted) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size() && lines.size() < wanted) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? end + 2 : end + 1;
  }
  return lines;
}

std::wstring TooShortMessage(const std::wstring& path, std::size_t lines) {
  std::wstring what;
  if (lines == 0) {
    what = L"ne contient aucune ligne";
  } else if (lines == 1) {
    what = L"ne contient qu'une ligne";
  } else {
    what = L"ne contient que " + std::to_wstring(lines) + L" lignes";
  }
  return L"Le fichier de paramétrage « " + path + L" » " + what + L" au lieu de " + std::to_wstring(kEntryCount);
}

// What each entry holds, as the configuration screen names it, to say which one is refused.
constexpr const wchar_t* kEntryNames[kEntryCount] = {
    L"Adresse1", L"Adresse2", L"Adresse3", L"Civilite", L"CP", L"DateNaissance", L"EMail", L"Mobile", L"Nom",
    L"NumDossier", L"NumSS", L"Prenom", L"Telephone", L"Ville", L"Présenter l'écran de contrôle",
    L"classe de la fenêtre du logiciel de gestion", L"titre de la fenêtre du logiciel de gestion"};

}  // namespace

const std::wstring& LinkSettings::Entry(int n) const {
  assert(n >= 1 && n <= kEntryCount);
  return entries_[static_cast<std::size_t>(n - 1)];
}

void LinkSettings::SetEntry(int n, std::wstring value) {
  assert(n >= 1 && n <= kEntryCount);
  entries_[static_cast<std::size_t>(n - 1)] = std::move(value);
}

void LoadLinkSettings(LinkSettings& settings, const SettingsPaths& paths, const FileSystem& files,
                      const TextPlatform& text) {
  const std::string bytes = files.ReadAll(paths.tech);
  // The second copy is never used, but a load without it fails: a missing copy means the
  // installation is incomplete, and the next save would recreate only what it can.
  files.ReadAll(paths.tech2);

  const std::vector<std::string> lines = SplitLines(bytes, kEntryCount);
  if (lines.size() < static_cast<std::size_t>(kEntryCount)) {
    throw LinkError(TooShortMessage(paths.tech, lines.size()), error_number::kSettingsFileTooShort);
  }
  // Built apart and put in place only once every line is read: a failed load leaves the
  // table exactly as it was.
  LinkSettings loaded;
  for (int n = 1; n <= kEntryCount; ++n) loaded.SetEntry(n, text.FromAnsi(lines[static_cast<std::size_t>(n - 1)]));
  settings = std::move(loaded);
}

void SaveLinkSettings(const LinkSettings& settings, const SettingsPaths& paths, FileSystem& files,
                      const TextPlatform& text) {
  // Each entry is one line of the files: a line break inside one would shift every entry after
  // it at the next load. Refused before either file is touched.
  for (int n = 1; n <= kEntryCount; ++n) {
    if (settings.Entry(n).find_first_of(L"\r\n") != std::wstring::npos) {
      throw LinkError(L"L'entrée " + std::to_wstring(n) + L" du paramétrage (" + kEntryNames[n - 1] +
                          L") contient un retour à la ligne : chaque entrée occupe une ligne du fichier de "
                          L"paramétrage et celle-ci décalerait les suivantes. Rien n'a été enregistré.",
                      error_number::kSettingsEntryHasLineBreak);
    }
  }
  std::string bytes;
  for (int n = 1; n <= kEntryCount; ++n) {
    bytes += text.ToAnsi(settings.Entry(n));
    bytes += "\r\n";
  }
  // Each file is replaced whole: a failure leaves the previous file intact rather than a
  // half-written one that the next load would refuse. Tech.txt first, as it is the one read.
  files.ReplaceWhole(paths.tech, bytes);
  files.ReplaceWhole(paths.tech2, bytes);
}

void ApplyResetValues(LinkSettings& settings) {
  for (int n = 1; n <= 14; ++n) settings.SetEntry(n, L"100");
  settings.SetEntry(kEntryShowScreenFlag, L"0");
  settings.SetEntry(kEntryPracticeClass, L"Notepad");
  settings.SetEntry(kEntryPracticeTitle, L"Sans titre - Bloc-notes ");
}

}  // namespace corvane

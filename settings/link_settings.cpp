#include "settings/link_settings.h"

#include <cassert>
#include <optional>
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
  // Each file is replaced whole, never left half-written for the next load to refuse, and
  // the two stay one configuration: a failure on the copy puts Tech.txt back as it was.
  WriteBothOrNeither(files, paths.tech, paths.tech2, bytes, PairWrite::Replace);
}

RecoveredSettings RecoverLinkSettings(const SettingsPaths& paths, const FileSystem& files, const TextPlatform& text,
                                      const std::optional<LinkSettings>& lastLoaded) {
  const auto linesOf = [&](const std::wstring& path) -> std::optional<std::vector<std::string>> {
    try {
      return SplitLines(files.ReadAll(path), kEntryCount);
    } catch (const LinkError&) {
      return std::nullopt;
    }
  };
  RecoveredSettings recovered;
  ApplyResetValues(recovered.settings);
  const auto take = [&](const std::vector<std::string>& lines, SettingsSource source) {
    for (std::size_t n = 1; n <= lines.size(); ++n) recovered.settings.SetEntry(int(n), text.FromAnsi(lines[n - 1]));
    recovered.source = source;
    return recovered;
  };
  const auto tech = linesOf(paths.tech);
  if (tech && tech->size() == kEntryCount) return take(*tech, SettingsSource::Tech);
  if (const auto tech2 = linesOf(paths.tech2); tech2 && tech2->size() == kEntryCount) {
    return take(*tech2, SettingsSource::Tech2);
  }
  if (lastLoaded) return {*lastLoaded, SettingsSource::LastLoaded};
  if (tech && !tech->empty()) {
    recovered.techLines = tech->size();
    return take(*tech, SettingsSource::TechAsFarAsItGoes);
  }
  return recovered;
}

std::wstring RecoveryNotice(const RecoveredSettings& recovered, const SettingsPaths& paths) {
  std::wstring from;
  switch (recovered.source) {
    case SettingsSource::Tech:
      return {};
    case SettingsSource::Tech2:
      from = L"de la copie « " + paths.tech2 + L" ».";
      break;
    case SettingsSource::LastLoaded:
      from = L"du paramétrage que Corvane Link a lu en dernier.";
      break;
    case SettingsSource::TechAsFarAsItGoes:
      from = (recovered.techLines == 1 ? std::wstring(L"de la première ligne")
                                        : L"des " + std::to_wstring(recovered.techLines) + L" premières lignes") +
             L" de « " + paths.tech + L" » ; les suivantes ont les valeurs par défaut.";
      break;
    case SettingsSource::ResetValues:
      from = L"des valeurs par défaut, aucun fichier de paramétrage n'étant lisible.";
      break;
  }
  return L"L'écran de paramétrage part " + from + L" « VALIDER » l'enregistrera dans « " + paths.tech + L" » et « " +
         paths.tech2 + L" ».";
}

void ApplyResetValues(LinkSettings& settings) {
  for (int n = 1; n <= 14; ++n) settings.SetEntry(n, L"100");
  settings.SetEntry(kEntryShowScreenFlag, L"0");
  settings.SetEntry(kEntryPracticeClass, L"Notepad");
  settings.SetEntry(kEntryPracticeTitle, L"Sans titre - Bloc-notes ");
}

}  // namespace corvane

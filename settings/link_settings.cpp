#include "settings/link_settings.h"

#include <algorithm>
#include <cassert>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"

namespace corvane {
namespace {

// One code point into `out`, as UTF-16 where wchar_t is 16 bits (Windows).
void Append(std::wstring& out, char32_t c) {
  if (sizeof(wchar_t) == 2 && c > 0xFFFF) {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

// The bytes as UTF-8, or nothing when they are not well-formed UTF-8 (overlong forms,
// surrogates and code points past U+10FFFF included).
std::optional<std::wstring> FromUtf8(const std::string& bytes) {
  std::wstring out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5                 ? 4
                                                                      : 0;
    if (length == 0 || i + length > bytes.size()) return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return std::nullopt;
    Append(out, c);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

// UTF-16 after its byte-order mark; an unpaired surrogate becomes U+FFFD, an odd last byte is dropped.
std::wstring FromUtf16(const std::string& bytes, bool bigEndian) {
  std::wstring out;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8) | b : (b << 8) | a;
  };
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    Append(out, c);
  }
  return out;
}

// The lines of a settings file. CR LF is what the link writes, but a file edited by hand on
// another system may end its lines with a lone LF or a lone CR; all three end a line, and so
// does CR CR LF, which a file converted twice holds. A last line without an end still counts.
std::vector<std::wstring> SplitLines(const std::wstring& text, std::size_t wanted) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size() && lines.size() < wanted) {
    const std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    const std::size_t afterCrs = text.find_first_not_of(L'\r', end);
    start = afterCrs != std::wstring::npos && text[afterCrs] == L'\n' ? afterCrs + 1 : end + 1;
  }
  return lines;
}

// The first 17 lines of a settings file as editors save it. A NUL has no place in a text file
// but at the end of entry 17, where the finder keeps the one that ends the captured title:
// anywhere else the file is not text (a document saved in another format), and is refused.
std::vector<std::wstring> EntryLines(const std::string& bytes, const std::wstring& path, const TextPlatform& text) {
  std::vector<std::wstring> lines = SplitLines(DecodeSettingsText(bytes, text), kEntryCount);
  for (std::size_t n = 1; n <= lines.size(); ++n) {
    const std::size_t nul = lines[n - 1].find(L'\0');
    if (nul != std::wstring::npos && !(n == kEntryCount && nul + 1 == lines[n - 1].size())) {
      throw LinkError(L"Le fichier de paramétrage « " + path + L" » contient un caractère nul à la ligne " +
                          std::to_wstring(n) + L" : ce n'est pas un fichier texte. Ouvrez le paramétrage (Ctrl + "
                          L"clic sur la dent) puis cliquez sur « VALIDER » pour le réécrire.",
                      error_number::kSettingsFileNotText);
    }
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

std::wstring DecodeSettingsText(const std::string& bytes, const TextPlatform& text) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3)).value_or(text.FromAnsi(bytes.substr(3)));
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return FromUtf16(bytes, bytes[0] == '\xFE');
  // Well-formed UTF-8 with a byte past ASCII holds a character of several bytes.
  const std::optional<std::wstring> utf8 = FromUtf8(bytes);
  const bool pastAscii = std::ranges::any_of(bytes, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return utf8 && pastAscii ? *utf8 : text.FromAnsi(bytes);
}

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
  const std::vector<std::wstring> lines = EntryLines(files.ReadAll(paths.tech), paths.tech, text);
  // The second copy is never used, but a load without it fails: a missing copy means the
  // installation is incomplete. It is only a copy, and the message says how to make it again.
  try {
    files.ReadAll(paths.tech2);
  } catch (const LinkError& error) {
    throw LinkError(error.Description() + L". C'est la copie de secours de « " + paths.tech +
                        L" » : pour la recréer, ouvrez le paramétrage (Ctrl + clic sur la dent) puis cliquez sur "
                        L"« VALIDER ».",
                    error.Number());
  }
  if (lines.size() < static_cast<std::size_t>(kEntryCount)) {
    throw LinkError(TooShortMessage(paths.tech, lines.size()), error_number::kSettingsFileTooShort);
  }
  // Built apart and put in place only once every line is read: a failed load leaves the
  // table exactly as it was.
  LinkSettings loaded;
  for (int n = 1; n <= kEntryCount; ++n) loaded.SetEntry(n, lines[static_cast<std::size_t>(n - 1)]);
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
  const auto linesOf = [&](const std::wstring& path) -> std::optional<std::vector<std::wstring>> {
    try {
      return EntryLines(files.ReadAll(path), path, text);
    } catch (const LinkError&) {
      return std::nullopt;
    }
  };
  RecoveredSettings recovered;
  ApplyResetValues(recovered.settings);
  const auto take = [&](const std::vector<std::wstring>& lines, SettingsSource source) {
    for (std::size_t n = 1; n <= lines.size(); ++n) recovered.settings.SetEntry(int(n), lines[n - 1]);
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

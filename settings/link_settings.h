#pragma once
// The link settings: 17 numbered text entries, stored in Tech.txt with a copy in Tech2.txt.
#include <array>
#include <optional>
#include <string>

#include "settings/fields.h"

namespace corvane {

class FileSystem;
class TextPlatform;

class LinkSettings {
 public:
  // Entry n, 1 to 17.
  const std::wstring& Entry(int n) const;
  void SetEntry(int n, std::wstring value);
  friend bool operator==(const LinkSettings&, const LinkSettings&) = default;

 private:
  std::array<std::wstring, kEntryCount> entries_;
};

struct SettingsPaths {
  std::wstring tech;   // the file that is read back
  std::wstring tech2;  // the second copy: written with the first, must exist for a load
};

// The text of a settings file as an editor may have saved it: UTF-8 or UTF-16 after their
// byte-order mark; without one, UTF-8 when the bytes are well-formed UTF-8 with at least one
// character of several bytes (what Notepad saves by default); otherwise the system code page,
// which is what the link itself writes.
std::wstring DecodeSettingsText(const std::string& bytes, const TextPlatform& text);

// Replaces all 17 entries by the first 17 lines of Tech.txt. All or nothing: on failure
// (a file missing, fewer than 17 lines, a NUL anywhere but at the end of entry 17) throws
// LinkError and leaves the table as it was.
void LoadLinkSettings(LinkSettings& settings, const SettingsPaths& paths, const FileSystem& files,
                      const TextPlatform& text);

// Writes the 17 entries, CR LF after each, to both files, both or neither: each file is
// replaced whole, and a failure leaves both as they were (WriteBothOrNeither). Throws
// LinkError, writing nothing, when an entry holds a CR or an LF.
void SaveLinkSettings(const LinkSettings& settings, const SettingsPaths& paths, FileSystem& files,
                      const TextPlatform& text);

// Where a configuration opened after a failed load takes its entries from, the first that
// can be had: nothing may save over a configuration the link could not read.
enum class SettingsSource {
  Tech,               // Tech.txt, its 17 lines whole (only the copy was missing)
  Tech2,              // the copy, its 17 lines whole
  LastLoaded,         // what the last successful load of this run gave
  TechAsFarAsItGoes,  // Tech.txt's lines, the reset values past its end
  ResetValues,        // nothing readable
};

struct RecoveredSettings {
  LinkSettings settings;
  SettingsSource source = SettingsSource::ResetValues;
  std::size_t techLines = 0;  // the lines Tech.txt held, for TechAsFarAsItGoes
};

// The configuration to start from after a failed load, never failing itself.
RecoveredSettings RecoverLinkSettings(const SettingsPaths& paths, const FileSystem& files, const TextPlatform& text,
                                      const std::optional<LinkSettings>& lastLoaded);

// What to tell the user of where the entries came from; empty for Tech.txt itself.
std::wstring RecoveryNotice(const RecoveredSettings& recovered, const SettingsPaths& paths);

// The values the screen's reset stores: "100" fourteen times, "0", "Notepad",
// "Sans titre - Bloc-notes ".
void ApplyResetValues(LinkSettings& settings);

}  // namespace corvane

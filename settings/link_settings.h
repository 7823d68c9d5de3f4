#pragma once
// The link settings: 17 numbered text entries, stored in Tech.txt with a copy in Tech2.txt.
#include <array>
#include <string>

namespace corvane {

class FileSystem;
class TextPlatform;

inline constexpr int kEntryCount = 17;
inline constexpr int kEntryShowScreenFlag = 15;
inline constexpr int kEntryPracticeClass = 16;
inline constexpr int kEntryPracticeTitle = 17;

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

// Replaces all 17 entries by the first 17 lines of Tech.txt. All or nothing: on failure
// (a file missing, fewer than 17 lines) throws LinkError and leaves the table as it was.
void LoadLinkSettings(LinkSettings& settings, const SettingsPaths& paths, const FileSystem& files,
                      const TextPlatform& text);

// Writes the 17 entries, CR LF after each, to both files; each file is replaced whole, so a
// failure leaves the previous one intact. Throws LinkError, writing nothing, when an entry
// holds a CR or an LF.
void SaveLinkSettings(const LinkSettings& settings, const SettingsPaths& paths, FileSystem& files,
                      const TextPlatform& text);

// The values the screen's reset stores: "100" fourteen times, "0", "Notepad",
// "Sans titre - Bloc-notes ".
void ApplyResetValues(LinkSettings& settings);

}  // namespace corvane

// The settings files: a load fails whole or gives a table that saves and loads back the same; a
// save is refused exactly when an entry holds a line break, and then leaves both files alone.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/link_error.h"
#include "settings/link_settings.h"
#include "tests/fuzz/fuzz_input.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("settings-" + std::to_string(getpid()));
  static const SettingsPaths paths{(folder / "Tech.txt").wstring(), (folder / "Tech2.txt").wstring()};
  std::filesystem::create_directories(folder);
  PortableFileSystem files;
  const PortableText text;
  std::ofstream(folder / "Tech.txt", std::ios::binary).write(reinterpret_cast<const char*>(data), size);
  std::ofstream(folder / "Tech2.txt", std::ios::binary) << "copy";

  LinkSettings marked, loaded;
  marked.SetEntry(3, L"marked"), loaded = marked;
  try {
    LoadLinkSettings(loaded, paths, files, text);
  } catch (const LinkError&) {
    FUZZ_CHECK(loaded == marked);
  }
  // The same bytes as 17 entries, line breaks and all.
  const std::vector<std::string> parts = fuzz::Parts(data, size, kEntryCount);
  LinkSettings table;
  bool hasLineBreak = false;
  for (int n = 1; n <= kEntryCount; ++n) {
    table.SetEntry(n, text.FromAnsi(parts[n - 1]));
    hasLineBreak = hasLineBreak || parts[n - 1].find_first_of("\r\n") != std::string::npos;
  }
  // What was loaded is lines: never refused. It comes back the same unless it held characters
  // the code page cannot write, or its code-page bytes read as UTF-8.
  SaveLinkSettings(loaded, paths, files, text);
  const std::string saved = files.ReadAll(paths.tech);
  const bool kept = text.FromAnsi(saved) == DecodeSettingsText(saved, text);
  LinkSettings back;
  LoadLinkSettings(back, paths, files, text);
  for (int n = 1; n <= kEntryCount; ++n)
    FUZZ_CHECK(!kept || back.Entry(n) == text.FromAnsi(text.ToAnsi(loaded.Entry(n))));
  try {
    SaveLinkSettings(table, paths, files, text);
    FUZZ_CHECK(!hasLineBreak);
    const std::string written = files.ReadAll(paths.tech);
    const std::size_t nul = written.find('\0');
    if (text.FromAnsi(written) == DecodeSettingsText(written, text) &&
        (nul == std::string::npos || nul + 3 == written.size())) {
      LoadLinkSettings(back, paths, files, text);
      FUZZ_CHECK(back == table);
    }
  } catch (const LinkError& error) {
    FUZZ_CHECK(hasLineBreak && error.Number() == error_number::kSettingsEntryHasLineBreak);
    FUZZ_CHECK(files.ReadAll(paths.tech) == saved);
  }
  return 0;
}

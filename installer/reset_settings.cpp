// Writes Tech.txt and Tech2.txt holding the reset values into the folder named on the command
// line, through the program's own reset and save, so that the installer provides exactly the
// bytes a reset on the configuration screen leaves.
//   reset_settings FOLDER
#include <cstdio>
#include <filesystem>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "settings/link_settings.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: reset_settings FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  corvane::LinkSettings settings;
  corvane::ApplyResetValues(settings);
  corvane::PortableFileSystem files;
  try {
    corvane::SaveLinkSettings(settings, {(folder / "Tech.txt").wstring(), (folder / "Tech2.txt").wstring()}, files,
                              corvane::PortableText());
  } catch (const corvane::LinkError& error) {
    std::fprintf(stderr, "reset_settings: error %ld\n", error.Number());
    return 1;
  }
  return 0;
}

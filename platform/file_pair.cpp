#include <array>
#include <vector>

#include "platform/files.h"
#include "platform/link_error.h"
#include "texts/system_texts.h"

namespace corvane {
namespace {

// The bytes a file held, or nothing when it did not exist: what putting it back means.
using Before = std::optional<std::string>;

// The failure, then what became of the files, in one sentence more.
LinkError WithOutcome(const LinkError& error, const std::wstring& outcome) {
  return LinkError(WithoutFinalStop(error.Description()) + L". " + outcome + L".", error.Number());
}

void PutBack(FileSystem& files, const std::wstring& path, const Before& before) {
  if (before) {
    files.ReplaceWhole(path, *before);
  } else {
    files.Remove(path);
  }
}

}  // namespace

void WriteBothOrNeither(FileSystem& files, const std::wstring& first, const std::wstring& second,
                        const std::string& bytes, PairWrite how) {
  const std::array<const std::wstring*, 2> paths = {&first, &second};
  std::array<Before, 2> before;
  for (std::size_t i = 0; i < 2; ++i) {
    try {
      before[i] = files.ReadIfPresent(*paths[i]);
    } catch (const LinkError& error) {
      // What cannot be read cannot be put back: nothing is written.
      throw WithOutcome(error, kNeitherFileChanged);
    }
  }
  // The files that may no longer hold what they held.
  std::array<bool, 2> touched = {false, false};
  try {
    if (how == PairWrite::Replace) {
      // A replacement that fails leaves its file as it was.
      for (std::size_t i = 0; i < 2; ++i) files.ReplaceWhole(*paths[i], bytes), touched[i] = true;
    } else {
      std::array<std::unique_ptr<OutputFile>, 2> out;
      // Both are opened before either changes: a file held by another program stops the
      // write before anything is lost. Opening creates a missing file.
      for (std::size_t i = 0; i < 2; ++i) out[i] = files.OpenForOutput(*paths[i]), touched[i] = !before[i];
      for (std::size_t i = 0; i < 2; ++i) touched[i] = true, out[i]->WriteWhole(bytes);
      for (const auto& file : out) file->Close();
    }
  } catch (const LinkError& error) {
    std::vector<std::wstring> changed;
    for (std::size_t i = 0; i < 2; ++i) {
      try {
        if (touched[i]) PutBack(files, *paths[i], before[i]);
      } catch (const LinkError&) {
        changed.push_back(L"« " + *paths[i] + L" »");
      }
    }
    if (changed.empty()) throw WithOutcome(error, kNeitherFileChanged);
    throw WithOutcome(error, kPairWarning +
                                 (changed.size() == 1 ? changed[0] + kOneFileNotPutBack
                                                      : changed[0] + kAnd + changed[1] + kTwoFilesNotPutBack) +
                                 kAsBefore);
  }
}

}  // namespace corvane

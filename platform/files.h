#pragma once
// Files, as the core needs them. Paths are given whole by app/ (or by a test).
#include <memory>
#include <optional>
#include <string>

namespace corvane {

// A file open for output; closed by its destructor. WriteWhole and Close throw LinkError.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // The file holds exactly these bytes afterwards, whatever it held before.
  virtual void WriteWhole(const std::string& bytes) = 0;
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole content of a file; throws LinkError (naming the file) when it cannot be read.
  virtual std::string ReadAll(const std::wstring& path) const = 0;
  // The whole content, or nothing when the file does not exist; throws LinkError when it exists
  // but cannot be read.
  virtual std::optional<std::string> ReadIfPresent(const std::wstring& path) const = 0;
  // Opens the file for output, creating it when it is missing but leaving what it holds
  // untouched until WriteWhole, so that a pair of files can both be opened before either
  // changes. Throws LinkError when it cannot (a file held without sharing, no folder).
  virtual std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) = 0;
  // Writes the bytes to a temporary file beside `path`, then puts it in place of `path`, so
  // that a failure leaves the previous file whole. Throws LinkError.
  virtual void ReplaceWhole(const std::wstring& path, const std::string& bytes) = 0;
  // Deletes the file; a file that does not exist is no failure. Throws LinkError.
  virtual void Remove(const std::wstring& path) = 0;
};

// std::filesystem and fstream; used by native builds and tests.
class PortableFileSystem : public FileSystem {
 public:
  std::string ReadAll(const std::wstring& path) const override;
  std::optional<std::string> ReadIfPresent(const std::wstring& path) const override;
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override;
  void ReplaceWhole(const std::wstring& path, const std::string& bytes) override;
  void Remove(const std::wstring& path) override;
};

// How each file of a pair takes its new bytes.
enum class PairWrite {
  Replace,  // ReplaceWhole: a new file put in place of the old one
  InPlace,  // OpenForOutput on both, then written: the files stay the same files, which
            // another program may hold open while sharing them
};

// Writes the same bytes to both files, both or neither: any failure (reading what they hold,
// opening, writing, closing, renaming) puts back what each file held, or removes a file that
// did not exist. Throws LinkError whose description ends with what became of the files:
// neither changed, or which may have changed when putting it back failed too.
void WriteBothOrNeither(FileSystem& files, const std::wstring& first, const std::wstring& second,
                        const std::string& bytes, PairWrite how);

}  // namespace corvane

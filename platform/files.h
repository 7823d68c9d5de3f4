#pragma once
// Files, as the core needs them. Paths are given whole by app/ (or by a test).
#include <memory>
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
  // Opens the file for output, creating it when it is missing but leaving what it holds
  // untouched until WriteWhole, so that a pair of files can both be opened before either
  // changes. Throws LinkError when it cannot (a file held without sharing, no folder).
  virtual std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) = 0;
  // Writes the bytes to a temporary file beside `path`, then puts it in place of `path`, so
  // that a failure leaves the previous file whole. Throws LinkError.
  virtual void ReplaceWhole(const std::wstring& path, const std::string& bytes) = 0;
};

// std::filesystem and fstream; used by native builds and tests.
class PortableFileSystem : public FileSystem {
 public:
  std::string ReadAll(const std::wstring& path) const override;
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override;
  void ReplaceWhole(const std::wstring& path, const std::string& bytes) override;
};

}  // namespace corvane

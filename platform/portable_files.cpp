#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/link_error.h"
#include "texts/system_texts.h"

namespace corvane {
namespace {

std::wstring FailureOn(const std::wstring& what, const std::wstring& path) {
  return what + L" « " + path + L" »";
}

class PortableOutputFile : public OutputFile {
 public:
  explicit PortableOutputFile(const std::wstring& path) : path_(path) {
    const std::filesystem::path file(path);
    if (!std::filesystem::exists(file)) std::ofstream(file, std::ios::binary | std::ios::app);
    out_.open(file, std::ios::binary | std::ios::in | std::ios::out);
    if (!out_) throw LinkError(FailureOn(file_failure::kCreate, path), error_number::kFileAccess);
  }
  void WriteWhole(const std::string& bytes) override {
    out_.seekp(0);
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.flush();
    std::error_code error;
    if (out_) std::filesystem::resize_file(std::filesystem::path(path_), bytes.size(), error);
    if (!out_ || error) throw LinkError(FailureOn(file_failure::kWrite, path_), error_number::kFileAccess);
  }
  void Close() override {
    out_.close();
    if (!out_) throw LinkError(FailureOn(file_failure::kClose, path_), error_number::kFileAccess);
  }

 private:
  std::wstring path_;
  std::fstream out_;
};

}  // namespace

std::string PortableFileSystem::ReadAll(const std::wstring& path) const {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) throw LinkError(FailureOn(file_failure::kNotFound, path), error_number::kFileNotFound);
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::path(path), error)) {
    throw LinkError(FailureOn(file_failure::kRead, path), error_number::kFileAccess);
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> PortableFileSystem::ReadIfPresent(const std::wstring& path) const {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::path(path), error) && !error) return std::nullopt;
  return ReadAll(path);
}

void PortableFileSystem::Remove(const std::wstring& path) {
  std::error_code error;
  std::filesystem::remove(std::filesystem::path(path), error);
  if (error) throw LinkError(FailureOn(file_failure::kRemove, path), error_number::kFileAccess);
}

std::unique_ptr<OutputFile> PortableFileSystem::OpenForOutput(const std::wstring& path) {
  return std::make_unique<PortableOutputFile>(path);
}

void PortableFileSystem::ReplaceWhole(const std::wstring& path, const std::string& bytes) {
  const std::filesystem::path target(path);
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  try {
    PortableOutputFile out(temporary.wstring());
    out.WriteWhole(bytes);
    out.Close();
  } catch (const LinkError&) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw LinkError(FailureOn(file_failure::kReplace, path), error_number::kFileAccess);
  }
}

}  // namespace corvane

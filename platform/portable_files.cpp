#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/link_error.h"

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
    if (!out_) throw LinkError(FailureOn(L"Impossible de créer le fichier", path), 75);
  }
  void WriteWhole(const std::string& bytes) override {
    out_.seekp(0);
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.flush();
    std::error_code error;
    if (out_) std::filesystem::resize_file(std::filesystem::path(path_), bytes.size(), error);
    if (!out_ || error) throw LinkError(FailureOn(L"Impossible d'écrire dans le fichier", path_), 75);
  }
  void Close() override {
    out_.close();
    if (!out_) throw LinkError(FailureOn(L"Impossible de fermer le fichier", path_), 75);
  }

 private:
  std::wstring path_;
  std::fstream out_;
};

}  // namespace

std::string PortableFileSystem::ReadAll(const std::wstring& path) const {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) throw LinkError(FailureOn(L"Fichier introuvable", path), 53);
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::path(path), error)) {
    throw LinkError(FailureOn(L"Impossible de lire le fichier", path), 75);
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
  if (error) throw LinkError(FailureOn(L"Impossible de supprimer le fichier", path), 75);
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
    throw LinkError(FailureOn(L"Impossible de remplacer le fichier", path), 75);
  }
}

}  // namespace corvane

#include <cstdlib>
#include <ctime>
#include <cwctype>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/system.h"
#include "platform/text.h"

#ifdef _WIN32
#define CORVANE_ENVIRON _environ
#else
extern char** environ;
#define CORVANE_ENVIRON environ
#endif

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
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<OutputFile> PortableFileSystem::OpenForOutput(const std::wstring& path) {
  return std::make_unique<PortableOutputFile>(path);
}

void PortableFileSystem::ReplaceWhole(const std::wstring& path, const std::string& bytes) {
  const std::filesystem::path target(path);
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  {
    PortableOutputFile out(temporary.wstring());
    out.WriteWhole(bytes);
    out.Close();
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw LinkError(FailureOn(L"Impossible de remplacer le fichier", path), 75);
  }
}

LocalTime PortableClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::wstring PortableEnvironment::Variable(const std::wstring& name) const {
  const PortableText text;
  for (char** entry = CORVANE_ENVIRON; entry != nullptr && *entry != nullptr; ++entry) {
    const std::wstring pair = text.FromAnsi(*entry);
    const std::size_t equals = pair.find(L'=');
    if (equals == std::wstring::npos || equals != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < equals && same; ++i) {
      same = std::towupper(pair[i]) == std::towupper(name[i]);
    }
    if (same) return pair.substr(equals + 1);
  }
  return {};
}

}  // namespace corvane

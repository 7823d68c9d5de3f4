#include "platform/win32/win32_files.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"
#include "texts/system_texts.h"

namespace corvane {

namespace {

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(const std::wstring& path) : path_(path) {
    // OPEN_ALWAYS, not CREATE_ALWAYS: the content stays until WriteWhole.
    file_.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) throw SystemFailure(file_failure::kCreate, path_, GetLastError());
  }
  void WriteWhole(const std::string& bytes) override {
    DWORD written = 0;
    if (SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      throw SystemFailure(file_failure::kWrite, path_, GetLastError());
    }
    // A write that succeeds short sets no error: GetLastError would name an older failure.
    if (written != bytes.size()) throw ShortWrite(path_, written, bytes.size());
    if (!SetEndOfFile(file_.get())) throw SystemFailure(file_failure::kWrite, path_, GetLastError());
  }
  void Close() override {
    if (!CloseHandle(file_.release())) throw SystemFailure(file_failure::kClose, path_, GetLastError());
  }

 private:
  std::wstring path_;
  UniqueFile file_;
};

}  // namespace

std::string Win32FileSystem::ReadAll(const std::wstring& path) const {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw SystemFailure(file_failure::kOpen, path, GetLastError());
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (true) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
      throw SystemFailure(file_failure::kRead, path, GetLastError());
    }
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  return bytes;
}

std::optional<std::string> Win32FileSystem::ReadIfPresent(const std::wstring& path) const {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
  }
  return ReadAll(path);
}

void Win32FileSystem::Remove(const std::wstring& path) {
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    throw SystemFailure(file_failure::kRemove, path, GetLastError());
  }
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenForOutput(const std::wstring& path) {
  return std::make_unique<Win32OutputFile>(path);
}

void Win32FileSystem::ReplaceWhole(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = path + L".tmp";
  try {
    Win32OutputFile out(temporary);
    out.WriteWhole(bytes);
    out.Close();
  } catch (const LinkError&) {
    DeleteFileW(temporary.c_str());
    throw;
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    throw SystemFailure(file_failure::kReplace, path, error);
  }
}

}  // namespace corvane

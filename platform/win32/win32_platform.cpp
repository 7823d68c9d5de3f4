#include "platform/win32/win32_platform.h"

#include "platform/win32/unique_handle.h"

namespace corvane {

std::wstring SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : L"erreur système " + std::to_wstring(error);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

LinkError SystemFailure(const std::wstring& what, const std::wstring& path, DWORD error) {
  return LinkError(what + L" « " + path + L" » : " + SystemErrorText(error), static_cast<long>(error));
}

std::string Win32Text::ToAnsi(const std::wstring& text) const {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  // No best fit: a character the code page lacks becomes '?', never a look-alike letter.
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, "?", nullptr);
  return bytes;
}

std::wstring Win32Text::FromAnsi(const std::string& bytes) const {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
  return text;
}

wchar_t Win32Text::ToUpper(wchar_t c) const {
  wchar_t upper = c;
  LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, &c, 1, &upper, 1);
  return upper;
}

namespace {

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(const std::wstring& path) : path_(path) {
    // OPEN_ALWAYS, not CREATE_ALWAYS: the content stays until WriteWhole.
    file_.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) throw SystemFailure(L"Impossible de créer le fichier", path_, GetLastError());
  }
  void WriteWhole(const std::string& bytes) override {
    DWORD written = 0;
    if (SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !SetEndOfFile(file_.get())) {
      throw SystemFailure(L"Impossible d'écrire dans le fichier", path_, GetLastError());
    }
  }
  void Close() override {
    if (!CloseHandle(file_.release())) throw SystemFailure(L"Impossible de fermer le fichier", path_, GetLastError());
  }

 private:
  std::wstring path_;
  UniqueFile file_;
};

}  // namespace

std::string Win32FileSystem::ReadAll(const std::wstring& path) const {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw SystemFailure(L"Impossible d'ouvrir le fichier", path, GetLastError());
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (true) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
      throw SystemFailure(L"Impossible de lire le fichier", path, GetLastError());
    }
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  return bytes;
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenForOutput(const std::wstring& path) {
  return std::make_unique<Win32OutputFile>(path);
}

void Win32FileSystem::ReplaceWhole(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = path + L".tmp";
  {
    Win32OutputFile out(temporary);
    out.WriteWhole(bytes);
    out.Close();
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    throw SystemFailure(L"Impossible de remplacer le fichier", path, error);
  }
}

LocalTime Win32Clock::Now() const {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::wstring Win32Environment::Variable(const std::wstring& name) const {
  // Windows compares variable names without regard to case.
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(length);
  return value;
}

void Win32ProgramStarter::Start(const std::wstring& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    throw SystemFailure(L"Impossible de démarrer le programme", path, GetLastError());
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

void Win32MessageBoxes::Inform(const std::wstring& text, const std::wstring& title) {
  MessageBoxW(Owner(), text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND | MB_TOPMOST);
}

bool Win32MessageBoxes::AskYesNo(const std::wstring& text, const std::wstring& title) {
  return MessageBoxW(Owner(), text.c_str(), title.c_str(), MB_YESNO | MB_SETFOREGROUND | MB_TOPMOST) == IDYES;
}

}  // namespace corvane

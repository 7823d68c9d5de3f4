// Stands in for the X-ray program at C:\SIDEXIS\Sidexis.exe. Each start appends one line to
// C:\SIDEXIS\standin-starts.txt: the bytes siomin.sdx held at that moment, in upper-case hex
// without separators (an empty line when the file is missing), then it exits. A test counts
// the lines to count the starts and compares a line with the bytes it expects, which proves
// the hand-off file was complete before the program was started.
// Started with "hold", it instead keeps C:\SIDEXIS\siomin2.sdx open without sharing, as the
// X-ray program or a scanner may, creates siomin2.sdx.held once it does, and waits to be killed.
#include <windows.h>

#include <string>

namespace {

std::string ReadWhole(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0x0F]);
  }
  return hex;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (std::string(commandLine).find("hold") != std::string::npos) {
    HANDLE held = CreateFileW(L"C:\\SIDEXIS\\siomin2.sdx", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(CreateFileW(L"C:\\SIDEXIS\\siomin2.sdx.held", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    Sleep(INFINITE);
  }
  const std::string line = Hex(ReadWhole(L"C:\\SIDEXIS\\siomin.sdx")) + "\r\n";
  HANDLE log = CreateFileW(L"C:\\SIDEXIS\\standin-starts.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return ok && written == line.size() ? 0 : 1;
}

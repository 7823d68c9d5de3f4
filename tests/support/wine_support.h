#pragma once
// Shared by the programs run under Wine (tests, benchmarks): processes, waits, files, message boxes, pixels.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <utility>

#include "platform/win32/win32_platform.h"
#include "tests/standins/standin_layout.h"

namespace corvane::testing {

// The build folder: CORVANE_BUILD_DIR (CTest sets it, a Windows path), else this program's.
inline std::wstring BuildDir() {
  if (const wchar_t* dir = _wgetenv(L"CORVANE_BUILD_DIR")) return dir;
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path().wstring();
}
inline std::wstring StandinPath(const std::wstring& name) { return BuildDir() + L"\\standins\\" + name + L".exe"; }

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}
inline void FreshFolder(const std::wstring& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored), CreateDirectoryW(folder.c_str(), nullptr);
}

inline bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  for (const auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return ready();
}

// Another program, killed if need be when this goes. Without a program, the command line says it all.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const std::wstring& program, const std::wstring& arguments) { Start(program, arguments); }
  ~ChildProcess() { Kill(); }
  bool Start(const std::wstring& program, const std::wstring& arguments = L"") {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = program.empty() ? arguments : L"\"" + program + L"\" " + arguments;
    return CreateProcessW(program.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_);
  }
  bool StartPractice(standin::Mode mode, const std::wstring& patientFile) {
    const std::wstring name = PortableText().FromAnsi(standin::LayoutOf(mode).name);
    return Start(StandinPath(L"practice_standin"), name + L" \"" + patientFile + L"\"");
  }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool IsRunning() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  void Kill() {
    if (IsRunning() && TerminateProcess(info_.hProcess, 1)) WaitForSingleObject(info_.hProcess, 5000);
    for (HANDLE handle : {info_.hThread, info_.hProcess}) CloseHandle(handle);  // a null one is refused, harmlessly
    info_ = {};
  }

 private:
  PROCESS_INFORMATION info_{};
};

inline HWND WaitForTopLevel(const std::wstring& className, DWORD pid = 0, const std::wstring* title = nullptr,
                            std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  HWND found = nullptr;
  DWORD owner = 0;
  const auto ready = [&] {
    for (found = nullptr; (found = FindWindowExW(nullptr, found, className.c_str(), title ? title->c_str() : nullptr));)
      if (GetWindowThreadProcessId(found, &owner) && (pid == 0 || owner == pid)) return true;
    return false;
  };
  return WaitUntil(ready, limit), found;
}
// A window of that class of process `pid` once shown (a message box once its texts are set), else null.
inline HWND WaitForShown(const std::wstring& className, DWORD pid,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  HWND shown = nullptr;
  WaitUntil([&] { return IsWindowVisible(shown = WaitForTopLevel(className, pid, nullptr, {})) != FALSE; }, limit);
  return IsWindowVisible(shown) ? shown : nullptr;
}
// A window's text, asked of the window (an edit of another process keeps its own).
inline std::wstring TextOf(HWND window) {
  wchar_t text[2048] = {};
  SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
  return text;
}
inline std::wstring ItemText(HWND window, int id) { return TextOf(GetDlgItem(window, id)); }
inline std::wstring MessageBoxText(HWND box) { return ItemText(box, 0xFFFF); }
inline bool AnswerMessageBox(HWND box, int button) {
  return box && PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0) &&
         WaitUntil([&] { return !IsWindow(box); });
}

// The screen's pixels in `area` (screen coordinates), as COLORREF values, row by row.
using Pixels = std::vector<std::uint32_t>;
inline Pixels CaptureScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  BITMAPINFO info{{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  HGDIOBJ previous = SelectObject(memory, CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY), GdiFlush();
  Pixels pixels(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + width * height);
  for (std::uint32_t& p : pixels) p = RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
  DeleteObject(SelectObject(memory, previous)), DeleteDC(memory), ReleaseDC(nullptr, screen);
  return pixels;
}

inline Pixels Steady(const RECT& area) {
  Pixels last = CaptureScreen(area);
  WaitUntil([&] { return std::exchange(last, CaptureScreen(area)) == last; });
  return last;
}

}  // namespace corvane::testing

#pragma once
// What the tests that run under Wine share: a real Platform, where the build put the
// programs, starting and ending another process (the stand-in practice program in a mode),
// waiting for a window, files on the prefix's C: drive, and answering a message box the way a
// person would.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_query.h"
#include "tests/fakes/fake_system.h"
#include "tests/standins/standin_layout.h"

namespace corvane::testing {

// The Platform of the Wine tests: the Win32 files, code page, environment, windows and
// drawing; the clock, program starts and message boxes are fakes that a test sets and reads,
// or real ones that it passes to Using().
struct WinePlatform {
  Win32FileSystem files;
  Win32Text text;
  Win32WindowQuery windows;
  Win32Gdi gdi;
  Win32Environment environment;
  fakes::FakeClock clock;
  fakes::FakeProgramStarter programs;
  fakes::FakeMessageBoxes messages;
  Platform platform{files, text, clock, environment, programs, messages, windows, gdi};

  Platform Using(ProgramStarter& startPrograms, MessageBoxes& showMessages) {
    return {files, text, clock, environment, startPrograms, showMessages, windows, gdi};
  }
};

// The build folder as a Windows path: CORVANE_BUILD_DIR (the test runner sets it), else the
// folder of this program, since the test and bench programs are built at its root.
inline std::wstring BuildDir() {
  if (const wchar_t* dir = _wgetenv(L"CORVANE_BUILD_DIR")) return dir;
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring program(path, length);
  const std::size_t slash = program.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : program.substr(0, slash);
}

inline std::wstring StandinPath(const std::wstring& name) {
  return BuildDir() + L"\\standins\\" + name + L".exe";
}

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Bytes in upper-case hex without separators, as the stand-in X-ray program logs them.
inline std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) hex += {kDigits[c >> 4], kDigits[c & 0x0F]};
  return hex;
}

inline bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a folder and everything in it (one level of files is all the tests make).
inline void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

// A fresh, empty folder.
inline void FreshFolder(const std::wstring& folder) {
  RemoveFolder(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
}

// Polls `ready` every 20 ms until it is true or the time is up.
inline bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return ready();
}

// Another program, ended (killed if need be) when this object goes.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const std::wstring& program, const std::wstring& arguments = L"") { Start(program, arguments); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { Kill(); }

  bool Start(const std::wstring& program, const std::wstring& arguments = L"") {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    return CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_) != 0;
  }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool IsRunning() const { return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  // Waits for the program's first input idle, so its windows exist.
  void WaitIdle(DWORD milliseconds = 10000) const { WaitForInputIdle(info_.hProcess, milliseconds); }
  bool WaitExit(DWORD milliseconds, DWORD* exitCode = nullptr) const {
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode != nullptr) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
  }
  // The stand-in practice program in this reading mode, showing the patient of `patientFile`.
  bool StartPractice(standin::Mode mode, const std::wstring& patientFile) {
    return Start(StandinPath(L"practice_standin"),
                 standin::Wide(standin::LayoutOf(mode).name) + L" \"" + patientFile + L"\"");
  }
  void Kill() {
    if (info_.hProcess == nullptr) return;
    if (IsRunning()) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
  }

 private:
  PROCESS_INFORMATION info_{};
};

// The first top-level window of that class (and title, when given) owned by process `pid`
// (any process when 0), waiting for it to appear.
inline HWND WaitForTopLevel(const std::wstring& className, DWORD pid = 0, const std::wstring* title = nullptr,
                            std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  struct Search {
    const std::wstring* className;
    const std::wstring* title;
    DWORD pid;
    HWND found;
  } search{&className, title, pid, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
              auto* s = reinterpret_cast<Search*>(parameter);
              wchar_t buffer[256] = {};
              GetClassNameW(window, buffer, 256);
              if (*s->className != buffer) return TRUE;
              if (s->title != nullptr) {
                wchar_t caption[512] = {};
                GetWindowTextW(window, caption, 512);
                if (*s->title != caption) return TRUE;
              }
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (s->pid != 0 && owner != s->pid) return TRUE;
              s->found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      limit);
  return search.found;
}

// The text of a message box ("#32770" dialog) shown by process `pid`, or empty when none
// appears in time.
inline HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  // A box exists before its texts are set; it is shown only once they are.
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = WaitForTopLevel(L"#32770", pid, nullptr, std::chrono::milliseconds(0));
        return box != nullptr && IsWindowVisible(box);
      },
      limit);
  return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

inline std::wstring MessageBoxText(HWND box) {
  // The text of a message box is its static control with id 0xFFFF.
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 2048);
  return text;
}

inline std::wstring WindowCaption(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

using Pixels = std::vector<std::uint32_t>;

// The screen's pixels in `area`, as 0x00RRGGBB, row by row.
inline Pixels CaptureScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top-down
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  Pixels pixels(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + width * height);
  for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
  SelectObject(memory, previous);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Presses a button of a message box (IDOK, IDYES, IDNO) as a click would.
inline void AnswerMessageBox(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace corvane::testing

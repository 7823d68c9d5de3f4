#pragma once
// What every stand-in practice program shares: the patient file (read on start and again
// whenever it changes), the main window with its 200 ms poll, the ".shown" acknowledgement,
// the Hang and DropNumSS behaviours, and a few window classes of our own that paint their
// text. Plain Win32 with the ANSI window functions, so control texts are Windows-1252 bytes
// exactly as the patient file gives them.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "standin_layout.h"

namespace corvane::standin {

using Values = std::map<std::string, std::string>;

// Lines "Key=Value", CR LF or LF; a line without "=" is ignored; a later key wins.
inline Values ParsePatientFile(const std::string& bytes) {
  Values values;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  return values;
}

inline std::string ValueOf(const Values& values, const std::string& key) {
  const auto found = values.find(key);
  return found == values.end() ? std::string() : found->second;
}

inline bool Has(const Values& values, const std::string& key) {
  return values.find(key) != values.end();
}

// The whole file, or nothing when it cannot be opened. Shared with writers, so a test can
// rewrite the file while we read it.
inline bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return true;
}

inline bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

inline HFONT GuiFont() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// A child window with the given control id; a negative id goes through the menu-handle
// parameter like any other, as GetDlgCtrlID reads it back as a signed 32-bit value.
inline HWND MakeChild(HWND parent, const char* className, int id, const std::string& text, int x, int y, int width,
                      int height, DWORD style = WS_VISIBLE, DWORD exStyle = 0) {
  HWND window = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
  return window;
}

// A system EDIT showing one field.
inline HWND MakeEdit(HWND parent, int id, int x, int y, int width, DWORD style = WS_VISIBLE) {
  return MakeChild(parent, "Edit", id, "", x, y, width, 22, style | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

// A caption beside a field, of the system "Static" class and without id (0 is no identity).
inline HWND MakeCaption(HWND parent, const std::string& text, int x, int y, int width = 110) {
  return MakeChild(parent, "Static", 0, text, x, y + 3, width, 18);
}

// Window procedure of our own text-carrying classes (labels, buttons, combos, edits of
// another make): the text lives in the window (DefWindowProc answers WM_GETTEXT) and is
// painted; a button look for classes whose name begins "BOUTON".
inline LRESULT CALLBACK PaintedTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area;
      GetClientRect(window, &area);
      char className[64] = {};
      GetClassNameA(window, className, sizeof className);
      const bool button = std::string(className).rfind("BOUTON", 0) == 0;
      if (button) {
        DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH);
      } else {
        FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
        DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT);
      }
      char text[256] = {};
      GetWindowTextA(window, text, sizeof text);
      HGDIOBJ oldFont = SelectObject(dc, GuiFont());
      SetBkMode(dc, TRANSPARENT);
      InflateRect(&area, -4, 0);
      DrawTextA(dc, text, -1, &area, (button ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, oldFont);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Window procedure of our containers (panels, tab pages, frames): a flat ground with an
// etched edge; they hold no field of their own.
inline LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &area, EDGE_ETCHED, BF_RECT);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

inline void RegisterClassOfOurs(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}

inline void RegisterTextClass(const char* name) {
  RegisterClassOfOurs(name, PaintedTextProc);
}
inline void RegisterContainerClass(const char* name) {
  RegisterClassOfOurs(name, ContainerProc);
}

// The fields a stand-in shows: which window shows which patient-file key. The NumSS window
// may be destroyed and made again (DropNumSS), so it is described rather than only held.
class FieldDisplay {
 public:
  void Bind(const std::string& key, HWND window) { bound_.push_back({key, window}); }

  // The NumSS control, with what it takes to make it again at the same place in its
  // parent's window order (which the WinDev Edit ordinals depend on).
  void BindDroppable(const std::string& key, std::function<HWND()> make) {
    droppableKey_ = key;
    makeDroppable_ = std::move(make);
    droppable_ = makeDroppable_();
  }

  void Show(const Values& values) {
    for (const auto& [key, window] : bound_) SetTextIfChanged(window, ValueOf(values, key));
    if (!makeDroppable_) return;
    const bool drop = ValueOf(values, kKeyDropNumSS) == "1";
    if (drop && droppable_ != nullptr) {
      DestroyWindow(droppable_);
      droppable_ = nullptr;
    } else if (!drop && droppable_ == nullptr) {
      droppable_ = makeDroppable_();
    }
    if (droppable_ != nullptr) SetTextIfChanged(droppable_, ValueOf(values, droppableKey_));
  }

 private:
  static void SetTextIfChanged(HWND window, const std::string& text) {
    char current[1024] = {};
    const int length = GetWindowTextA(window, current, sizeof current);
    if (std::string(current, length) != text) SetWindowTextA(window, text.c_str());
  }

  std::vector<std::pair<std::string, HWND>> bound_;
  std::string droppableKey_;
  std::function<HWND()> makeDroppable_;
  HWND droppable_ = nullptr;
};

// Makes a window through `make`, then puts it right after `previous` in its parent's
// window order (first when `previous` is null), where it was before it was dropped.
inline HWND MakeAfter(HWND previous, const std::function<HWND()>& make) {
  HWND window = make();
  SetWindowPos(window, previous != nullptr ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return window;
}

// What a stand-in program is made of.
struct StandinDescription {
  const char* className;                                // main window class
  std::function<std::string(const Values&)> title;      // main title for these values
  std::function<void(HWND main, FieldDisplay&)> build;  // makes the controls
};

// The command line: options beginning "--", and the patient file path.
struct CommandLine {
  std::vector<std::wstring> options;
  std::wstring patientFile;

  bool HasOption(const std::wstring& option) const {
    for (const std::wstring& o : options) {
      if (o == option) return true;
    }
    return false;
  }
};

inline CommandLine ParseCommandLine() {
  CommandLine result;
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = arguments[i];
    if (argument.rfind(L"--", 0) == 0) {
      result.options.push_back(argument);
    } else if (result.patientFile.empty()) {
      result.patientFile = argument;
    }
  }
  LocalFree(arguments);
  return result;
}

// The running stand-in: one per process.
class StandinHost {
 public:
  StandinHost(StandinDescription description, std::wstring patientFile)
      : description_(std::move(description)), patientFile_(std::move(patientFile)), shownFile_(patientFile_) {
    shownFile_.append(Wide(kShownSuffix));
  }

  int Run() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = description_.className;
    if (!RegisterClassA(&windowClass)) return 2;

    current_ = this;
    main_ =
        CreateWindowExA(0, description_.className, description_.title(Values{}).c_str(), WS_OVERLAPPEDWINDOW, kMainLeft,
                        kMainTop, kMainWidth, kMainHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (main_ == nullptr) return 3;
    description_.build(main_, fields_);
    ShowWindow(main_, SW_SHOWNOACTIVATE);
    UpdateWindow(main_);
    Poll();
    SetTimer(main_, 1, kPollMilliseconds, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    return 0;
  }

 private:
  static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
      case WM_TIMER:
        if (current_ != nullptr) current_->Poll();
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
  }

  // Compares the content rather than only the last-write time: two rewrites within one
  // tick of the file system's clock keep the same time, and a read that met a half-written
  // file must be followed by another.
  void Poll() {
    std::string bytes;
    if (!ReadWholeFile(patientFile_, bytes)) return;
    if (applied_ && bytes == lastBytes_ && !shownPending_) return;
    const bool changed = !applied_ || bytes != lastBytes_;
    lastBytes_ = bytes;
    applied_ = true;
    const Values values = ParsePatientFile(bytes);
    if (changed) {
      fields_.Show(values);
      const std::string title = Has(values, kKeyTitle) ? ValueOf(values, kKeyTitle) : description_.title(values);
      SetWindowTextA(main_, title.c_str());
    }
    shownPending_ = !WriteWholeFile(shownFile_, ValueOf(values, kFieldKeys[kEntryNumDossier]));
    if (changed && Has(values, kKeyHang))
      Sleep(static_cast<DWORD>(std::atoi(ValueOf(values, kKeyHang).c_str())) * 1000);
  }

  static inline StandinHost* current_ = nullptr;
  StandinDescription description_;
  std::wstring patientFile_;
  std::wstring shownFile_;
  HWND main_ = nullptr;
  FieldDisplay fields_;
  std::string lastBytes_;
  bool applied_ = false;
  bool shownPending_ = false;
};

}  // namespace corvane::standin

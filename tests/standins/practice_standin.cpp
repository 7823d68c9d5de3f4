// The stand-in practice program: its windows come from a layout table, and it shows the
// patient of a file named on its command line.
//   practice_standin.exe [MODE] PATIENT_FILE      MODE: plain (the default), julie, windev, visiodent
//   practice_standin.exe MODE --bench=N [--region] [--maximise]
// The first reads the patient file on start and again whenever it changes (kShownSuffix,
// kKeyHang, kKeyDropNumSS in standin_layout.h). The second builds the benchmark's tree of N
// windows (bench/bench_practice_layout.h), MODE plain, julie or windev; --region gives the
// main window an elliptic region, --maximise shows it maximised. The main window gets its
// title only once every child exists, so whoever finds it by its title finds it whole.
// Plain Win32 with the ANSI functions: control texts are Windows-1252 bytes as in the file.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_practice_layout.h"
#include "tests/standins/standin_layout.h"

namespace {

using namespace corvane::standin;
using Values = std::map<std::string, std::string>;

// Lines "Key=Value", CR LF or LF; a line without "=" is ignored; a later key wins.
Values ParsePatientFile(const std::string& bytes) {
  Values values;
  for (std::size_t start = 0; start < bytes.size();) {
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

std::string ValueOf(const Values& values, const std::string& key) {
  const auto found = values.find(key);
  return found == values.end() ? std::string() : found->second;
}

// Shared with writers, so that a test can rewrite the file while we read it.
bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
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

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

// Our own classes keep their text in the window (DefWindowProc answers WM_GETTEXT) and paint
// it on a flat face, with a button look for classes whose name begins "BOUTON".
LRESULT CALLBACK PaintedTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_SETTEXT) InvalidateRect(window, nullptr, TRUE);
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  char text[256] = {};
  GetClassNameA(window, text, sizeof text);
  const bool button = std::string(text).starts_with("BOUTON");
  if (button) {
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH);
  } else {
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT);
  }
  GetWindowTextA(window, text, sizeof text);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  InflateRect(&area, -4, 0);
  DrawTextA(dc, text, -1, &area, (button ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
  return 0;
}

void RegisterClassOfOurs(const std::string& name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = name.c_str();
  RegisterClassA(&windowClass);
}

// A negative id goes through the menu-handle parameter like any other, as GetDlgCtrlID reads
// it back as a signed 32-bit value. A "#32770" row is a window of the system dialog class
// made child of its parent, as Julie nests its forms.
HWND MakeControl(HWND parent, const Control& control) {
  const bool edit = control.className == "Edit";
  const DWORD style = WS_CHILD | (control.hidden ? 0 : WS_VISIBLE) | (edit ? ES_AUTOHSCROLL : 0);
  HWND window =
      CreateWindowExA(edit ? WS_EX_CLIENTEDGE : 0, control.className.c_str(), control.text.c_str(), style, control.x,
                      control.y, control.width, control.height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr)
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return window;
}

// The benchmark's tree as a layout: containers tile the main window, the windows inside a
// container sit in a column.
Layout BenchLayoutOf(const std::string& modeName, int descendants) {
  const auto mode = corvane::bench::ModeFromName(modeName);
  if (!mode) return {};
  const auto bench = corvane::bench::MakeBenchLayout(*mode, descendants);
  Layout layout{modeName, bench.mainClass, bench.title};
  for (std::size_t i = 0; i < bench.windows.size(); ++i) {
    const auto& window = bench.windows[i];
    const bool container = window.parent < 0;
    const int slot = static_cast<int>(i % corvane::bench::kGroupSize);
    const int group = static_cast<int>(i / corvane::bench::kGroupSize);
    layout.controls.push_back(
        {window.parent, window.className, window.id, window.text, container ? 8 + (group % 6) * 102 : 4,
         container ? 8 + ((group / 6) % 4) * 110 : 4 + (slot - 1) * 11, container ? 98 : 90, container ? 104 : 10});
  }
  return layout;
}

class Practice {
 public:
  Practice(Layout layout, std::wstring patientFile)
      : layout_(std::move(layout)), patientFile_(std::move(patientFile)), shownFile_(patientFile_) {
    shownFile_.append(Wide(kShownSuffix));
  }

  int Run(bool region, bool maximise) {
    for (const Control& control : layout_.controls) {
      const std::string& name = control.className;
      // Without the rich edit library, a class of ours of the same name stands in.
      if (name == "RichEdit20A" && GetModuleHandleA("riched20.dll") == nullptr &&
          LoadLibraryA("riched20.dll") == nullptr)
        RegisterClassOfOurs(name, PaintedTextProc);
      if (name != "Edit" && name != "Static" && name != "#32770" && name != "RichEdit20A")
        RegisterClassOfOurs(name, PaintedTextProc);  // fails harmlessly for a class already ours
    }
    RegisterClassOfOurs(layout_.className, MainProc);
    current_ = this;
    main_ = CreateWindowExA(0, layout_.className.c_str(), "", WS_OVERLAPPEDWINDOW, 300, 100, 640, 480, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (main_ == nullptr) return 2;
    made_.assign(layout_.controls.size(), nullptr);
    for (std::size_t row = 0; row < layout_.controls.size(); ++row) {
      made_[row] = Make(row);
      if (made_[row] == nullptr) return 3;
    }
    if (region) SetWindowRgn(main_, CreateEllipticRgn(0, 0, 640, 480), TRUE);
    SetWindowTextA(main_, layout_.title.c_str());
    ShowWindow(main_, maximise ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
    UpdateWindow(main_);
    if (!patientFile_.empty()) {
      Poll();
      SetTimer(main_, 1, 200, nullptr);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    return 0;
  }

 private:
  static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_TIMER && current_ != nullptr) {
      current_->Poll();
      return 0;
    }
    if (message == WM_DESTROY) {
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND Make(std::size_t row) {
    const Control& control = layout_.controls[row];
    return MakeControl(control.parent < 0 ? main_ : made_[static_cast<std::size_t>(control.parent)], control);
  }

  // A dropped control comes back right after the sibling made before it (first when none),
  // where it was: the WinDev Edit ordinals depend on that order.
  void Remake(std::size_t row) {
    made_[row] = Make(row);
    HWND previous = HWND_TOP;
    for (std::size_t before = row; before-- > 0;) {
      if (layout_.controls[before].parent == layout_.controls[row].parent && made_[before] != nullptr) {
        previous = made_[before];
        break;
      }
    }
    SetWindowPos(made_[row], previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  void ShowPatient(const Values& values) {
    const bool drop = ValueOf(values, kKeyDropNumSS) == "1";
    for (std::size_t row = 0; row < layout_.controls.size(); ++row) {
      const Control& control = layout_.controls[row];
      if (control.droppable && drop && made_[row] != nullptr) {
        DestroyWindow(made_[row]);
        made_[row] = nullptr;
      } else if (control.droppable && !drop && made_[row] == nullptr) {
        Remake(row);
      }
      if (control.shows == 0 || made_[row] == nullptr) continue;
      const std::string text = ValueOf(values, kFieldKeys[control.shows]);
      char current[1024] = {};
      if (std::string(current, GetWindowTextA(made_[row], current, sizeof current)) != text)
        SetWindowTextA(made_[row], text.c_str());
    }
    if (layout_.className == "FENETRE_VISIODENT32") {
      const std::string title =
          layout_.title + ValueOf(values, kFieldKeys[kEntryNom]) + " " + ValueOf(values, kFieldKeys[kEntryPrenom]);
      SetWindowTextA(main_, title.c_str());
    }
  }

  // Compares the content rather than only the last-write time: two rewrites within one tick
  // of the file system's clock keep the same time, and a read that met a half-written file
  // must be followed by another.
  void Poll() {
    std::string bytes;
    if (!ReadWholeFile(patientFile_, bytes)) return;
    if (applied_ && bytes == lastBytes_ && !shownPending_) return;
    const bool changed = !applied_ || bytes != lastBytes_;
    lastBytes_ = bytes;
    applied_ = true;
    const Values values = ParsePatientFile(bytes);
    if (changed) ShowPatient(values);
    shownPending_ = !WriteWholeFile(shownFile_, ValueOf(values, kFieldKeys[kEntryNumDossier]));
    if (changed && values.count(kKeyHang))
      Sleep(static_cast<DWORD>(std::atoi(ValueOf(values, kKeyHang).c_str())) * 1000);
  }

  static inline Practice* current_ = nullptr;
  Layout layout_;
  std::wstring patientFile_;
  std::wstring shownFile_;
  HWND main_ = nullptr;
  std::vector<HWND> made_;  // by row; null while dropped
  std::string lastBytes_;
  bool applied_ = false;
  bool shownPending_ = false;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(arguments + 1, arguments + count);
  LocalFree(arguments);
  std::string modeName = "plain";
  std::wstring patientFile;
  int benchDescendants = 0;
  bool region = false, maximise = false;
  for (const std::wstring& arg : args) {
    if (arg.starts_with(L"--bench=")) {
      benchDescendants = _wtoi(arg.c_str() + 8);
    } else if (arg == L"--region" || arg == L"--maximise") {
      (arg == L"--region" ? region : maximise) = true;
    } else if (arg == L"plain" || arg == L"julie" || arg == L"windev" || arg == L"visiodent") {
      modeName.assign(arg.begin(), arg.end());
    } else {
      patientFile = arg;
    }
  }
  Layout layout;
  if (benchDescendants > 0) {
    layout = BenchLayoutOf(modeName, benchDescendants);
  } else {
    for (Mode mode : kModes) {
      if (LayoutOf(mode).name == modeName) layout = LayoutOf(mode);
    }
    if (patientFile.empty()) return 1;
  }
  if (layout.className.empty()) return 1;
  return Practice(std::move(layout), patientFile).Run(region, maximise);
}

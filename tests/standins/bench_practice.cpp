// A practice program of any size for the harvest benchmarks and the highlight tests:
//   bench_practice.exe MODE DESCENDANTS [--region] [--maximise]
// MODE is plain, julie or windev; the window tree is bench/bench_practice_layout.h's. The
// main window gets its final title only once every child exists, so whoever finds it by
// that title finds it whole. --region gives the main window an elliptic window region;
// --maximise shows it maximised.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <vector>

#include "../../bench/bench_practice_layout.h"

namespace {

using corvane::bench::BenchLayout;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Our own classes keep their text in the window (DefWindowProc answers WM_GETTEXT) and paint
// a flat face, so a screen capture of them is steady.
void Register(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}

bool IsSystemClass(const std::string& name) {
  return name == "Edit" || name == "Static" || name == "#32770" || name == "RichEdit20A";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(arguments, arguments + count);
  LocalFree(arguments);
  if (args.size() < 3) return 1;
  const auto mode = corvane::bench::ModeFromName(std::string(args[1].begin(), args[1].end()));
  if (!mode) return 1;
  const int descendants = _wtoi(args[2].c_str());
  bool region = false, maximise = false;
  for (std::size_t i = 3; i < args.size(); ++i) {
    region |= args[i] == L"--region";
    maximise |= args[i] == L"--maximise";
  }

  const BenchLayout layout = corvane::bench::MakeBenchLayout(*mode, descendants);
  LoadLibraryA("riched20.dll");  // so that RichEdit20A exists where it can
  Register(layout.mainClass.c_str(), MainProc);
  for (const auto& window : layout.windows) {
    if (!IsSystemClass(window.className)) Register(window.className.c_str(), DefWindowProcA);
  }

  HWND main = CreateWindowExA(0, layout.mainClass.c_str(), "Construction", WS_OVERLAPPEDWINDOW, 300, 100, 640, 480,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (main == nullptr) return 2;
  std::vector<HWND> made;
  made.reserve(layout.windows.size());
  for (std::size_t i = 0; i < layout.windows.size(); ++i) {
    const auto& spec = layout.windows[i];
    HWND parent = spec.parent < 0 ? main : made[static_cast<std::size_t>(spec.parent)];
    // Containers tile the main window; the windows inside a container sit in a column.
    const bool container = spec.parent < 0;
    const int slot = static_cast<int>(i % corvane::bench::kGroupSize);
    const int group = static_cast<int>(i / corvane::bench::kGroupSize);
    const int x = container ? 8 + (group % 6) * 102 : 4;
    const int y = container ? 8 + ((group / 6) % 4) * 110 : 4 + (slot - 1) * 11;
    const int width = container ? 98 : 90;
    const int height = container ? 104 : 10;
    const char* className = spec.className.c_str();
    HWND window =
        CreateWindowExA(0, className, spec.text.c_str(), WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr && spec.className == "RichEdit20A") {
      // No rich edit library here: a class of ours of the same name stands in.
      Register(className, DefWindowProcA);
      window = CreateWindowExA(0, className, spec.text.c_str(), WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    if (window == nullptr) return 3;
    made.push_back(window);
  }
  if (region) SetWindowRgn(main, CreateEllipticRgn(0, 0, 640, 480), TRUE);
  SetWindowTextA(main, layout.title.c_str());
  ShowWindow(main, maximise ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
  UpdateWindow(main);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

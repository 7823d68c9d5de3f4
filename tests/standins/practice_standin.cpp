// The stand-in practice program, its windows made from a layout table (ANSI: Windows-1252 texts):
//   practice_standin.exe [MODE] PATIENT_FILE [--hold=FILE]   MODE: plain (the default), julie, windev, visiodent,
//                                    demo;
//                                    --hold keeps FILE open without sharing (the installer's test)
//   practice_standin.exe MODE --bench=N [--region] [--maximise]    tests/standins/bench_standin.h
//   practice_standin.exe                          the X-ray program's stand-in, see WinMain()
// The main window gets its title once every child exists: whoever finds it by title finds it whole.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "tests/standins/bench_standin.h"
#include "link/fixed_paths.h"

namespace {

using namespace corvane::standin;

const HINSTANCE self = GetModuleHandleA(nullptr);
Layout layout;
std::string patientFile;
HWND mainWindow = nullptr;
std::vector<HWND> made;  // by row; null while dropped
std::map<std::string, std::string> values;
std::string lastBytes(1, '\0');  // no patient file's: the first poll shows the file
bool shownPending = false;

void Show() {
  for (std::size_t row = 0; row < made.size(); ++row) {
    const Control& c = layout.controls[row];
    if (c.shows == kNumSS && values[kKeyDropNumSS] == "1" && made[row])
      DestroyWindow(std::exchange(made[row], nullptr));
    if (c.shows && made[row]) SetWindowTextA(made[row], values[kFieldKeys[c.shows]].c_str());
  }
  if (IsWindowVisible(mainWindow) != (values[kKeyHidden] != "1"))
    ShowWindow(mainWindow, values[kKeyHidden] == "1" ? SW_HIDE : SW_SHOWNOACTIVATE);
  if (layout.name == "visiodent")
    SetWindowTextA(mainWindow, (layout.title + values[kFieldKeys[kNom]] + " " + values[kFieldKeys[kPrenom]]).c_str());
}

// The content is compared, not the write time (two writes within one tick keep it); the shown
// file is written again until it could be.
void Poll() {
  std::ifstream in(patientFile, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const bool changed = in && bytes != lastBytes;
  if (!changed && !shownPending) return;
  if (changed) {
    lastBytes = bytes;
    values.clear();
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);)
      if (const std::size_t equals = line.find('='); equals != std::string::npos)
        values[line.substr(0, equals)] = line.substr(equals + 1, line.size() - equals - 1 - line.ends_with('\r'));
    Show();
  }
  shownPending = !(std::ofstream(patientFile + kShownSuffix, std::ios::binary) << values[kFieldKeys[kNumDossier]]);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_TIMER) Poll();
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int bench = 0;
  bool region = false, maximise = false;
  // As C:\SIDEXIS\Sidexis.exe, started without argument: appends what siomin.sdx holds, in hex, to
  // C:\SIDEXIS\standin-starts.txt, a line per start: the file was whole before.
  if (__argc == 1) {
    std::ifstream in(corvane::kSiomin, std::ios::binary);
    const std::string line = Hex({std::istreambuf_iterator<char>(in), {}});
    return std::ofstream("C:\\SIDEXIS\\standin-starts.txt", std::ios::binary | std::ios::app) << line << "\r\n" ? 0 : 1;
  }
  layout = LayoutOf(Mode::Plain);
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (arg.starts_with("--bench=")) bench = std::atoi(arg.c_str() + 8);
    region |= arg == "--region";
    maximise |= arg == "--maximise";
    for (Mode m : {Mode::Plain, Mode::Julie, Mode::WinDev, Mode::Visiodent, Mode::Demo})
      if (LayoutOf(m).name == arg) layout = LayoutOf(m);
    if (!arg.starts_with("--") && layout.name != arg) patientFile = arg;
    // Held open without sharing to the end, as a program that scans or copies a file would.
    if (arg.starts_with("--hold=")) CreateFileA(arg.c_str() + 7, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  const auto benchMode = corvane::bench::ModeFromName(layout.name);
  if (bench > 0) layout = benchMode ? corvane::bench::StandinLayout(*benchMode, bench) : Layout{};
  if (layout.className.empty() || (bench == 0 && patientFile.empty())) return 1;

  // Our own classes (RichEdit20A too) are the system's "Static", or "Button" for "BOUTON...", renamed;
  for (const Control& c : layout.controls) {
    WNDCLASSA like{};
    GetClassInfoA(nullptr, c.className.starts_with("BOUTON") ? "Button" : "Static", &like);
    like.hInstance = self;
    like.lpszClassName = c.className.c_str();
    if (c.className != "Edit" && c.className != "Static" && c.className != "#32770") RegisterClassA(&like);
  }
  const WNDCLASSA main{
      0, MainProc, 0, 0, self, nullptr, nullptr, GetSysColorBrush(COLOR_BTNFACE), nullptr, layout.className.c_str()};
  RegisterClassA(&main);
  mainWindow = CreateWindowExA(0, main.lpszClassName, "", WS_OVERLAPPEDWINDOW, 300, 100, 640, 480, nullptr, nullptr,
                               self, nullptr);
  made.assign(layout.controls.size(), nullptr);
  // A negative id goes through the menu-handle parameter like any other (GetDlgCtrlID reads it back
  // signed); a "#32770" row is a dialog made child of its parent, as Julie nests its forms.
  for (std::size_t row = 0; row < made.size(); ++row) {
    const Control& c = layout.controls[row];
    const bool edit = c.className == "Edit";
    made[row] = CreateWindowExA(edit ? WS_EX_CLIENTEDGE : 0, c.className.c_str(), c.text.c_str(),
                                WS_CHILD | (c.hidden ? 0 : WS_VISIBLE) | (edit ? ES_AUTOHSCROLL : 0), c.x, c.y, c.width,
                                c.height, c.parent < 0 ? mainWindow : made[c.parent],
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), self, nullptr);
    if (!made[row]) return 2;
    SendMessageA(made[row], WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  }
  if (region) SetWindowRgn(mainWindow, CreateEllipticRgn(0, 0, 640, 480), TRUE);
  SetWindowTextA(mainWindow, layout.title.c_str());
  ShowWindow(mainWindow, maximise ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
  UpdateWindow(mainWindow);
  if (!patientFile.empty()) SetTimer(mainWindow, 1, 200, nullptr);
  for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;) DispatchMessageA(&message);
  return 0;
}

// The stand-in practice program, its windows made from a layout table (ANSI: Windows-1252 texts):
//   practice_standin.exe [MODE] PATIENT_FILE [--hold=FILE]   MODE: plain (the default), julie, windev, visiodent,
//                                    demo, drawn (paints its fields, shows them to screen readers);
//                                    --hold keeps FILE open without sharing (the installer's test)
//   practice_standin.exe MODE --bench=N [--region] [--maximise]    tests/standins/bench_standin.h
//   practice_standin.exe                          the X-ray program's stand-in, see WinMain()
// The main window gets its title once every child exists: whoever finds it by title finds it whole.
#include <oleacc.h>
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
bool drawn = false;

BSTR Wide(const std::string& ansi) {
  wchar_t wide[256];
  return SysAllocStringLen(wide, MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), wide, 256));
}

// The drawn mode's accessible objects: the client area (row -1) lists each row, a caption as a simple element
// of its child id, a field as an object of its own (as browsers give theirs), a window as the system's object.
class DrawnObject final : public IAccessible {
 public:
  explicit DrawnObject(int row) : row_(row) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible ? (AddRef(), this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_ ? references_ : (delete this, 0u); }
  // The system's object of the main window above the client area tells whose objects these are.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (row_ >= 0) return *parent = new DrawnObject(-1), S_OK;
    return AccessibleObjectFromWindow(mainWindow, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return *count = row_ < 0 ? static_cast<long>(layout.controls.size()) : 0, S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    const int row = RowOf(child);
    if (row_ < 0 && row >= 0 && made[row])
      return AccessibleObjectFromWindow(made[row], OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(object));
    *object = row_ < 0 && row >= 0 && layout.controls[row].shows ? new DrawnObject(row) : nullptr;
    return *object ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    const int row = RowOf(child);
    return *name = row < 0 ? nullptr : Wide(kCaptions[layout.controls[row].names] + layout.controls[row].text), S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    const int row = RowOf(child), shows = row >= 0 ? layout.controls[row].shows : 0;
    *value = shows ? Wide(values[kFieldKeys[shows]]) : nullptr;
    if (shows == kNom) Sleep(static_cast<DWORD>(std::atoi(values[kKeyHangOnRead].c_str())) * 1000);
    return shows ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    const int row = RowOf(child);
    role->vt = VT_I4;
    role->lVal = row < 0 ? ROLE_SYSTEM_CLIENT : layout.controls[row].shows ? ROLE_SYSTEM_TEXT : ROLE_SYSTEM_STATICTEXT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height, VARIANT child) override {
    const int row = RowOf(child);
    if (row < 0) return E_INVALIDARG;  // the client area's place is the system's to give
    POINT at{layout.controls[row].x, layout.controls[row].y};
    ClientToScreen(mainWindow, &at);
    *x = at.x, *y = at.y, *width = layout.controls[row].width, *height = layout.controls[row].height;
    return S_OK;
  }
  // clang-format off
#define NONE(name, ...) HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
  NONE(get_accDescription, VARIANT, BSTR*) NONE(get_accHelp, VARIANT, BSTR*) NONE(get_accState, VARIANT, VARIANT*)
  NONE(get_accHelpTopic, BSTR*, VARIANT, long*) NONE(get_accKeyboardShortcut, VARIANT, BSTR*)
  NONE(get_accFocus, VARIANT*) NONE(get_accSelection, VARIANT*) NONE(get_accDefaultAction, VARIANT, BSTR*)
  NONE(accSelect, long, VARIANT) NONE(accDoDefaultAction, VARIANT) NONE(accNavigate, long, VARIANT, VARIANT*)
  NONE(accHitTest, long, long, VARIANT*) NONE(put_accName, VARIANT, BSTR) NONE(put_accValue, VARIANT, BSTR)
  NONE(GetTypeInfoCount, UINT*) NONE(GetTypeInfo, UINT, LCID, ITypeInfo**)
  NONE(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
  NONE(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*);
  // clang-format on

 private:
  // The row `child` names: this object's own (-1 for the client area), or below the client area its child id's.
  int RowOf(const VARIANT& id) const { return id.lVal == CHILDID_SELF || row_ >= 0 ? row_ : id.lVal - 1; }
  int row_;
  ULONG references_ = 1;
};

// A caption where its row is, a field as a sunken white box holding the patient's value; a row with an
// id is a window, which paints itself.
void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)), SetBkMode(dc, TRANSPARENT);
  for (const Control& c : layout.controls) {
    RECT box{c.x, c.y, c.x + c.width, c.y + c.height};
    if (c.id) continue;
    if (c.shows) FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW)), DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT);
    const std::string& text = c.shows ? values[kFieldKeys[c.shows]] : c.text;
    TextOutA(dc, c.x + (c.shows ? 4 : 0), c.y + (c.shows ? 4 : 0), text.data(), static_cast<int>(text.size()));
  }
  EndPaint(window, &paint);
}

void Show() {
  for (std::size_t row = 0; row < made.size(); ++row) {
    const Control& c = layout.controls[row];
    if (c.shows == kNumSS && values[kKeyDropNumSS] == "1" && made[row])
      DestroyWindow(std::exchange(made[row], nullptr));
    if (c.shows && made[row]) SetWindowTextA(made[row], values[kFieldKeys[c.shows]].c_str());
  }
  if (IsWindowVisible(mainWindow) != (values[kKeyHidden] != "1"))
    ShowWindow(mainWindow, values[kKeyHidden] == "1" ? SW_HIDE : SW_SHOWNOACTIVATE);
  if (drawn) InvalidateRect(mainWindow, nullptr, TRUE);
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
    lastBytes = bytes, values.clear();
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);)
      if (const std::size_t equals = line.find('='); equals != std::string::npos)
        values[line.substr(0, equals)] = line.substr(equals + 1, line.size() - equals - 1 - line.ends_with('\r'));
    Show();
  }
  shownPending = !(std::ofstream(patientFile + kShownSuffix, std::ios::binary) << values[kFieldKeys[kNumDossier]]);
  if (changed) Sleep(static_cast<DWORD>(std::atoi(values[kKeyHang].c_str())) * 1000);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_TIMER) Poll();
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_PAINT && drawn) return Paint(window), 0;
  // The client area's object; every other object id is the system's.
  if (message == WM_GETOBJECT && drawn && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    IAccessible* client = new DrawnObject(-1);
    const LRESULT answer = LresultFromObject(IID_IAccessible, wParam, client);
    return client->Release(), answer;
  }
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
    region |= arg == "--region", maximise |= arg == "--maximise";
    for (Mode m : {Mode::Plain, Mode::Julie, Mode::WinDev, Mode::Visiodent, Mode::Demo, Mode::Drawn})
      if (LayoutOf(m).name == arg) layout = LayoutOf(m);
    if (!arg.starts_with("--") && layout.name != arg) patientFile = arg;
    // Held open without sharing to the end, as a program that scans or copies a file would.
    if (arg.starts_with("--hold=")) CreateFileA(arg.c_str() + 7, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  const auto benchMode = corvane::bench::ModeFromName(layout.name);
  if (bench > 0) layout = benchMode ? corvane::bench::StandinLayout(*benchMode, bench) : Layout{};
  if (layout.className.empty() || (bench == 0 && patientFile.empty())) return 1;
  drawn = layout.name == "drawn";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the objects it hands out are answered by its thread

  // Our own classes (RichEdit20A too) are the system's "Static", or "Button" for "BOUTON...", renamed;
  for (const Control& c : layout.controls) {
    WNDCLASSA like{};
    GetClassInfoA(nullptr, c.className.starts_with("BOUTON") ? "Button" : "Static", &like);
    like.hInstance = self, like.lpszClassName = c.className.c_str();
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
    if (drawn && c.id == 0) continue;  // painted
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
  ShowWindow(mainWindow, maximise ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE), UpdateWindow(mainWindow);
  if (!patientFile.empty()) SetTimer(mainWindow, 1, 200, nullptr);
  for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;) DispatchMessageA(&message);
  return 0;
}

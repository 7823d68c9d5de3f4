// The least a Win32 program of ours can be: one class, one window shown, a message loop. The
// start-up benchmark starts it the way it starts CorvaneLink.exe, so the link's start-up time
// and memory read as multiples of what Wine charges any program that shows a window.
#include <windows.h>

namespace {

LRESULT CALLBACK EmptyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = EmptyProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = L"CorvaneEmptyWindow";
  if (RegisterClassW(&windowClass) == 0) return 1;
  HWND window =
      CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"Fen\u00eatre vide",
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 40, 40, 120, 120, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 2;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

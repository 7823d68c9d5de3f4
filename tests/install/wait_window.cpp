// The installer test's eyes inside Wine: waits up to 30 s for a shown top-level window of the
// class given, prints its caption, then ends the program that owns it.
//   wait_window CLASS
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  for (int tries = 0; tries < 300; ++tries, Sleep(100)) {
    HWND window = FindWindowW(argv[1], nullptr);
    if (window == nullptr || !IsWindowVisible(window)) continue;
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    std::printf("%ls\n", caption);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process == nullptr || !TerminateProcess(process, 0)) return 1;
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return 0;
  }
  return 1;
}

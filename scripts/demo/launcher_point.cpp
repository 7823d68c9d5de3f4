// Waits until Corvane Link's launcher is shown (20 s at most) and prints, as "X Y", the screen
// point at the centre of its tooth picture, well away from the "?" box: where the run command
// clicks. Ends with 1 when no launcher shows.
#include <windows.h>

#include <cstdio>

#include "launcher/launcher_win32.h"

int main() {
  using namespace corvane;
  for (int tries = 0; tries < 200; ++tries, Sleep(100)) {
    HWND launcher = FindWindowW(kLauncherClassName, kLauncherCaption);
    if (launcher == nullptr || !IsWindowVisible(launcher)) continue;
    HWND picture = GetDlgItem(launcher, launcher_id::kImage1);
    RECT rect{};
    if (picture == nullptr || !GetWindowRect(picture, &rect)) continue;
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
  }
  std::fprintf(stderr, "Corvane Link ne s'est pas affiché.\n");
  return 1;
}

// The configuration screen's window in this process, held to the written screen at 96 dpi and after a
// change to 144 dpi: every control at the written place scaled, the written fonts at that size.
#include <gtest/gtest.h>

#include "settings/screen/screen_win32.h"
#include "tests/fakes/fake_link.h"
#include "tests/support/written_screen.h"

namespace corvane {
namespace {

using namespace corvane::testing;

struct NoLauncher : ScreenExit {
  void ShowLauncher() override {}
};

TEST(ScreenWin32Test, EveryControlAndFontAsWrittenAt96And144Dpi) {
  fakes::FakeLink link("screen-dpi");
  link.state.screenMode = ScreenMode::Configuration;
  ScreenWindow screen(GetModuleHandleW(nullptr));
  NoLauncher launcher;
  ScreenPresenter presenter(link.state, link.paths, link.platform, screen, launcher);
  screen.Attach(presenter), screen.Show();
  ASSERT_NE(screen.Window(), nullptr);
  for (const int dpi : {96, 144}) {
    if (dpi != 96) {
      RECT suggested{0, 0, 900, 700};
      SendMessageW(screen.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    const auto scaled = [dpi](int length) { return MulDiv(length, dpi, 96); };
    RECT client{};
    GetClientRect(screen.Window(), &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), (std::pair<LONG, LONG>(scaled(481), scaled(334)))) << dpi;
    for (const Written& w : kWrittenScreen) {
      RECT r{};
      GetWindowRect(GetDlgItem(screen.Window(), w.id), &r);
      MapWindowPoints(nullptr, screen.Window(), reinterpret_cast<POINT*>(&r), 2);
      const RECT expected{scaled(w.x), scaled(w.y), scaled(w.x) + scaled(w.width), scaled(w.y) + scaled(w.height)};
      EXPECT_TRUE(EqualRect(&r, &expected)) << w.id << " at " << dpi << ": " << r.left << "," << r.top << " "
                                            << r.right - r.left << "x" << r.bottom - r.top;
    }
    for (const WrittenFont& f : kWrittenFonts) {
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(screen.Window(), f.id, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
      EXPECT_EQ(std::tuple(std::wstring(font.lfFaceName), font.lfHeight, font.lfWeight, font.lfItalic != 0),
                std::tuple(f.face, -MulDiv(f.hundredthsOfPoint, dpi, 7200), f.bold ? FW_BOLD : FW_NORMAL, f.italic))
          << f.id << " at " << dpi;
    }
  }
  screen.Destroy();
}

}  // namespace
}  // namespace corvane

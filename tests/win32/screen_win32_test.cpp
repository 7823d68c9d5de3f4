// The real LienSidexis window, built in this process: where its controls are at two DPIs, what
// they say, what each mode shows, where Tab goes, how the window is built again after its close
// box, and what it looks like (a picture of each mode is left in the build folder).
#include "settings/screen/screen_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "settings/link_settings.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_screen_view.h"
#include "tests/fakes/fake_system.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace screen_id;
using testing::BuildDir;

bool ShowsIn(const ControlRow& row, bool configuration) {
  return configuration || row.shownIn == ShownIn::BothModes;
}

// clang-format off
const std::vector<int> kTabOrder = {
    FieldBox(Field::NumDossier), FieldBox(Field::NumSS), FieldBox(Field::Prenom), FieldBox(Field::DateNaissance),
    kDemarrerSidexis, FieldBox(Field::Ville),
    FinderBox(Field::NumDossier), FinderBox(Field::DateNaissance), FinderBox(Field::Civilite), FinderBox(Field::Nom),
    FinderBox(Field::Adresse1), FinderBox(Field::NumSS), FinderBox(Field::Prenom), FinderBox(Field::Adresse2),
    FinderBox(Field::Adresse3), FinderBox(Field::CP), FinderBox(Field::Ville), FinderBox(Field::Telephone),
    FinderBox(Field::Mobile), FinderBox(Field::EMail),
    FieldBox(Field::Civilite), FieldBox(Field::Nom), FieldBox(Field::Mobile), FieldBox(Field::Telephone),
    FieldBox(Field::Adresse1), FieldBox(Field::Adresse2), FieldBox(Field::Adresse3), FieldBox(Field::CP),
    kMontreSurClic, kRaz, FieldBox(Field::EMail)};
// clang-format on

void PumpMessages() {
  MSG message;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(30);
  }
}

RECT ClientRectOf(HWND window, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The window's client area as the screen shows it, 32-bit pixels top-down.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  COLORREF At(int x, int y) const {
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  BITMAPINFOHEADER Header() const { return {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}; }
};

Picture CaptureClient(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Picture picture;
  picture.width = client.right;
  picture.height = client.bottom;
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{picture.Header(), {}};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * 4);
  SelectObject(memory, previous);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

// Whether any pixel of the control's rectangle has exactly that colour.
bool Shows(const Picture& picture, HWND window, HWND control, COLORREF colour) {
  const RECT rect = ClientRectOf(window, control);
  for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, picture.height); ++y) {
    for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, picture.width); ++x) {
      if (picture.At(x, y) == colour) return true;
    }
  }
  return false;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

void SaveBmp(const Picture& picture, const std::wstring& path) {
  const BITMAPINFOHEADER header = picture.Header();
  const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * 4);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + bytes;
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(picture.pixels.data()), bytes);
}

// The program's own file, loaded as data, lends the window its artwork.
HINSTANCE ArtworkModule() {
  static HMODULE module = LoadLibraryExW((BuildDir() + L"\\CorvaneLink.exe").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  return module != nullptr ? module : GetModuleHandleW(nullptr);
}

class ScreenWindowTest : public ::testing::Test {
 protected:
  ScreenWindowTest() {
    state_.settings.SetEntry(kEntryShowScreenFlag, L"0");
    screen_.Attach(presenter_);
  }

  void ShowIn(ScreenMode mode) {
    state_.screenMode = mode;
    presenter_.ShowScreen();
    PumpMessages();
  }
  HWND Window() const { return screen_.Window(); }
  // The client area and every control where the layout puts them, scaled to `dpi`.
  void ExpectLayoutAt(int dpi) {
    RECT client{};
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, MulDiv(481, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(334, dpi, 96));
    for (const ControlRow& row : kScreenLayout) {
      SCOPED_TRACE(row.name);
      ASSERT_NE(Control(row.id), nullptr);
      const RECT rect = ClientRectOf(Window(), Control(row.id));
      EXPECT_EQ(rect.left, MulDiv(row.x, dpi, 96));
      EXPECT_EQ(rect.top, MulDiv(row.y, dpi, 96));
      EXPECT_EQ(rect.right - rect.left, MulDiv(row.width, dpi, 96));
      EXPECT_EQ(rect.bottom - rect.top, MulDiv(row.height, dpi, 96));
      // The mode's button says what the mode does, checked with the modes.
      if (row.id != kDemarrerSidexis) {
        EXPECT_EQ(testing::WindowCaption(Control(row.id)), row.caption);
      }
      const LOGFONTW font = FontOf(Control(row.id));
      const FontLook& look = kScreenFonts[static_cast<int>(row.font)];
      EXPECT_STREQ(font.lfFaceName, look.face);
      EXPECT_EQ(font.lfHeight, -MulDiv(look.hundredthsOfPoint, dpi, 7200));
      EXPECT_EQ(font.lfWeight >= FW_BOLD, look.bold);
      EXPECT_EQ(font.lfItalic != 0, look.italic);
    }
  }
  HWND Control(int id) const { return GetDlgItem(screen_.Window(), id); }

  LinkPaths paths_;  // nothing here saves or hands off
  Win32FileSystem files_;
  Win32Text text_;
  fakes::FakeClock clock_;
  fakes::FakeEnvironment environment_;
  fakes::FakeProgramStarter programs_;
  fakes::FakeMessageBoxes messages_;
  fakes::FakeDesktop desktop_;
  fakes::FakeGdi gdi_;
  Platform platform_{files_, text_, clock_, environment_, programs_, messages_, desktop_, gdi_};
  SharedState state_;
  fakes::LauncherSpy launcher_;
  LienSidexisWindow screen_{ArtworkModule()};
  ScreenPresenter presenter_{state_, paths_, platform_, screen_, launcher_};
};

TEST_F(ScreenWindowTest, ControlsSitWhereTheScreenPutsThemAtAnyDpiAndSayWhatItSays) {
  ShowIn(ScreenMode::Ctrl);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(testing::WindowCaption(Window()), L"Lien Sidexis");
  EXPECT_EQ(SendMessageW(Window(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(GetWindowLongPtrW(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  ExpectLayoutAt(96);
  // Each field box is a single-line edit; the three number fields are centred.
  for (int n = 1; n <= kFieldCount; ++n) {
    const Field field = FieldOfEntry(n);
    const LONG_PTR style = GetWindowLongPtrW(Control(FieldBox(field)), GWL_STYLE);
    wchar_t className[32] = {};
    GetClassNameW(Control(FieldBox(field)), className, 32);
    EXPECT_STREQ(className, L"Edit") << n;
    EXPECT_EQ(style & ES_MULTILINE, 0) << n;
    const bool centred = field == Field::NumDossier || field == Field::DateNaissance || field == Field::NumSS;
    EXPECT_EQ((style & ES_CENTER) != 0, centred) << n;
  }

  // Point sizes in pixels: 8.25 pt is 11 pixels at 96 DPI, 13.5 pt 18, 21.75 pt 29.
  EXPECT_EQ(FontOf(Control(kLabelBase + 3)).lfHeight, -11);
  EXPECT_EQ(FontOf(Control(kDemarrerSidexis)).lfHeight, -18);
  EXPECT_EQ(FontOf(Control(kTitle)).lfHeight, -29);

  // Moved to a 144 DPI monitor: every position, size and font scales.
  RECT frame{0, 0, MulDiv(481, 144, 96), MulDiv(334, 144, 96)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE)), 144);
  OffsetRect(&frame, 20 - frame.left, 20 - frame.top);
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
  ExpectLayoutAt(144);
  EXPECT_EQ(FontOf(Control(kLabelBase + 1)).lfHeight, -17);
  EXPECT_EQ(FontOf(Control(kTitle)).lfHeight, -44);
  EXPECT_EQ(FontOf(Control(FieldBox(Field::Nom))).lfHeight, -17);
}

TEST_F(ScreenWindowTest, EachModeShowsItsControlsAndTabVisitsThemInOrder) {
  for (const bool configuration : {true, false, true}) {
    SCOPED_TRACE(configuration ? "configuration" : "launch");
    ShowIn(configuration ? ScreenMode::Ctrl : ScreenMode::Normal);
    ASSERT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(testing::WindowCaption(Control(kDemarrerSidexis)), configuration ? L"VALIDER" : L"LANCER");
    for (const ControlRow& row : kScreenLayout) {
      EXPECT_EQ(IsWindowVisible(Control(row.id)) != FALSE, ShowsIn(row, configuration)) << row.name;
    }
    std::vector<int> expectedOrder, visited;
    for (int id : kTabOrder) {
      if (ShowsIn(*RowOf(id), configuration)) expectedOrder.push_back(id);
    }
    HWND current = Control(FieldBox(Field::NumDossier));
    do {
      visited.push_back(GetDlgCtrlID(current));
      current = GetNextDlgTabItem(Window(), current, FALSE);
    } while (current != nullptr && current != Control(FieldBox(Field::NumDossier)) && visited.size() < 64);
    EXPECT_EQ(visited, expectedOrder);
    EXPECT_EQ(GetFocus(), Control(FieldBox(Field::NumDossier)));
  }
}

TEST_F(ScreenWindowTest, CloseBoxDestroysTheScreenAndTheNextUseBuildsItAfresh) {
  state_.settings.SetEntry(kEntryShowScreenFlag, L"1");
  ShowIn(ScreenMode::Ctrl);
  ASSERT_TRUE(presenter_.CheckBoxTicked());
  SetWindowTextW(Control(FieldBox(Field::Prenom)), L"ANNE");
  SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(FindWindowW(kScreenClassName, nullptr), nullptr);
  EXPECT_EQ(launcher_.shown, 1);

  // Built again, showing what a harvest left in the record meanwhile.
  state_.patient.BeginHarvest();
  state_.patient.StoreHarvested(Field::Ville, L"LYON");
  state_.settings.SetEntry(kEntryShowScreenFlag, L"0");
  ShowIn(ScreenMode::Normal);
  ASSERT_NE(Window(), nullptr);
  EXPECT_FALSE(presenter_.CheckBoxTicked());
  EXPECT_EQ(testing::WindowCaption(Control(FieldBox(Field::Ville))), L"LYON");
  EXPECT_EQ(testing::WindowCaption(Control(FieldBox(Field::Prenom))), L"");
}

TEST_F(ScreenWindowTest, ColoursOfBothModesAndPicturesForAPerson) {
  state_.patient.StoreTyped(Field::Nom, L"DURAND");
  state_.patient.StoreTyped(Field::NumDossier, L"4711");
  ShowIn(ScreenMode::Ctrl);
  ASSERT_NE(screen_.DragCursor(), nullptr) << "the finder icon, from the program's artwork";
  const Picture configuration = CaptureClient(Window());
  SaveBmp(configuration, BuildDir() + L"\\screen_configuration.bmp");
  const struct {
    int x, y;
    COLORREF colour;
    const char* where;
  } pixels[] = {{2, 330, RGB(0, 0, 169), "the window's dark blue"},
                {27, 68, RGB(192, 255, 255), "inside NumDossier, light blue"},
                {285, 124, RGB(192, 255, 255), "inside Nom, light blue"},
                {200, 172, RGB(255, 255, 255), "inside Adresse1, white"},
                {100, 124, GetSysColor(COLOR_WINDOW), "inside Civilite"}};
  for (const auto& pixel : pixels) EXPECT_EQ(configuration.At(pixel.x, pixel.y), pixel.colour) << pixel.where;
  EXPECT_TRUE(Shows(configuration, Window(), Control(kLabelBase + 5), RGB(255, 0, 0))) << "\"Nom\" in red";
  EXPECT_TRUE(Shows(configuration, Window(), Control(kTitle), RGB(255, 128, 0))) << "orange title";
  EXPECT_TRUE(Shows(configuration, Window(), Control(FieldBox(Field::Nom)), RGB(0, 0, 192))) << "\"DURAND\"";

  ShowIn(ScreenMode::Normal);
  const Picture launch = CaptureClient(Window());
  SaveBmp(launch, BuildDir() + L"\\screen_launch.bmp");
  // Where the finder box of NumSS was, the dark blue shows through.
  EXPECT_EQ(launch.At(470, 70), RGB(0, 0, 169));
  EXPECT_NE(configuration.At(470, 70), RGB(0, 0, 169));
}

}  // namespace
}  // namespace corvane

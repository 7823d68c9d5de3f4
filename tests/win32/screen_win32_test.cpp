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

struct Expected {
  int id;
  const wchar_t* name;
  int x, y, width, height;
  const wchar_t* text;  // null: not checked
};

// The screen as it is meant to look, at 96 DPI.
const Expected kLayout[] = {
    {kSidexis, L"SIDEXIS", 56, 0, 356, 38, L"CORVANE LINK"},
    {kImage1, L"Image1", 415, 4, 41, 39, nullptr},
    {kConsigne, L"Consigne", 120, 32, 233, 17, L"Les zones en bleu clair doivent être paramétrées"},
    {kLabelBase + 1, L"Label1", 10, 48, 113, 17, L"Numéro de Dossier"},
    {kLabelBase + 2, L"Label2", 138, 49, 152, 17, L"Date de Naissance"},
    {kLabelBase + 3, L"Label3", 304, 49, 162, 17, L"Numéro de Sécurité Sociale"},
    {FieldBox(Field::NumDossier), L"NumDossier", 24, 65, 73, 21, nullptr},
    {FinderBox(Field::NumDossier), L"INumDossier", 104, 64, 14, 17, nullptr},
    {FieldBox(Field::DateNaissance), L"DateNaissance", 129, 64, 162, 21, nullptr},
    {FinderBox(Field::DateNaissance), L"IDateNaissance", 296, 64, 14, 17, nullptr},
    {FieldBox(Field::NumSS), L"NumSS", 313, 65, 145, 21, nullptr},
    {FinderBox(Field::NumSS), L"INumSS", 464, 64, 14, 17, nullptr},
    {kLabelBase + 4, L"Label4", 10, 106, 97, 17, L"Civilité"},
    {kLabelBase + 5, L"Label5", 122, 105, 177, 17, L"Nom"},
    {kLabelBase + 6, L"Label6", 314, 105, 145, 17, L"Prénom"},
    {FieldBox(Field::Civilite), L"Civilite", 16, 120, 89, 21, nullptr},
    {FinderBox(Field::Civilite), L"ICivilite", 112, 120, 14, 17, nullptr},
    {FieldBox(Field::Nom), L"Nom", 129, 120, 162, 21, nullptr},
    {FinderBox(Field::Nom), L"INom", 296, 120, 14, 17, nullptr},
    {FieldBox(Field::Prenom), L"Prenom", 314, 120, 145, 21, nullptr},
    {FinderBox(Field::Prenom), L"IPrenom", 464, 120, 14, 17, nullptr},
    {kLabelBase + 7, L"Label7", 10, 153, 201, 17, L"Adresse"},
    {FieldBox(Field::Adresse1), L"Adresse1", 10, 168, 201, 21, nullptr},
    {FinderBox(Field::Adresse1), L"IAdresse1", 216, 168, 14, 17, nullptr},
    {FieldBox(Field::Adresse2), L"Adresse2", 10, 192, 201, 21, nullptr},
    {FinderBox(Field::Adresse2), L"IAdresse2", 216, 192, 14, 17, nullptr},
    {FieldBox(Field::Adresse3), L"Adresse3", 10, 216, 201, 21, nullptr},
    {FinderBox(Field::Adresse3), L"IAdresse3", 216, 216, 14, 17, nullptr},
    {FieldBox(Field::CP), L"CP", 9, 241, 49, 21, nullptr},
    {FinderBox(Field::CP), L"ICP", 64, 240, 14, 17, nullptr},
    {FieldBox(Field::Ville), L"Ville", 82, 241, 129, 21, nullptr},
    {FinderBox(Field::Ville), L"IVille", 216, 240, 14, 17, nullptr},
    {kLabelBase + 8, L"Label8", 274, 196, 81, 17, L"Téléphone"},
    {FieldBox(Field::Telephone), L"Telephone", 346, 193, 113, 21, nullptr},
    {FinderBox(Field::Telephone), L"ITelephone", 464, 192, 14, 17, nullptr},
    {kLabelBase + 9, L"Label9", 274, 219, 65, 17, L"Mobile"},
    {FieldBox(Field::Mobile), L"Mobile", 346, 217, 113, 21, nullptr},
    {FinderBox(Field::Mobile), L"IMobile", 464, 220, 14, 17, nullptr},
    {kLabelBase + 10, L"Label10", 274, 242, 57, 17, L"E Mail"},
    {FieldBox(Field::EMail), L"EMail", 346, 241, 113, 21, nullptr},
    {FinderBox(Field::EMail), L"IEMail", 464, 248, 14, 17, nullptr},
    {kDemarrerSidexis, L"DemarrerSIDEXIS", 190, 280, 126, 40, nullptr},
    {kRaz, L"RAZ", 346, 280, 113, 40, L"ANNULER LE PARAMETRAGE"},
    {kMontreSurClic, L"MontreSurClic", 40, 288, 105, 25, L"Présenter l'écran de contrôle"},
};

// Shown in configuration mode only.
bool ConfigurationOnly(int id) {
  return id == kConsigne || id == kMontreSurClic || id == kRaz || (id > kFinderBoxBase && id <= kFinderBoxBase + 14);
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
  ScreenWindowTest() { state_.settings.SetEntry(kEntryShowScreenFlag, L"0"); }

  void ShowIn(ScreenMode mode) {
    state_.screenMode = mode;
    screen_.ShowScreen();
    PumpMessages();
  }
  HWND Window() const { return screen_.Window(); }
  // The client area and every control where the layout puts them, scaled to `dpi`.
  void ExpectLayoutAt(int dpi) {
    RECT client{};
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, MulDiv(481, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(334, dpi, 96));
    for (const Expected& control : kLayout) {
      SCOPED_TRACE(control.name);
      ASSERT_NE(Control(control.id), nullptr);
      const RECT rect = ClientRectOf(Window(), Control(control.id));
      EXPECT_EQ(rect.left, MulDiv(control.x, dpi, 96));
      EXPECT_EQ(rect.top, MulDiv(control.y, dpi, 96));
      EXPECT_EQ(rect.right - rect.left, MulDiv(control.width, dpi, 96));
      EXPECT_EQ(rect.bottom - rect.top, MulDiv(control.height, dpi, 96));
      if (control.text != nullptr) {
        EXPECT_EQ(testing::WindowCaption(Control(control.id)), control.text);
      }
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
  LienSidexisWindow screen_{ArtworkModule(), state_, paths_, platform_, launcher_};
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

  // Fonts, as asked for (the system may draw a substitute).
  struct FontCheck {
    int id;
    const wchar_t* face;
    LONG height;  // 8.25 pt is 11 pixels at 96 DPI, 13.5 pt 18, 21.75 pt 29
    bool bold;
    bool italic;
  };
  for (const FontCheck& check :
       {FontCheck{kLabelBase + 3, L"MS Sans Serif", -11, true, false}, FontCheck{kSidexis, L"Arial", -29, false, false},
        FontCheck{kDemarrerSidexis, L"MS Sans Serif", -18, true, false},
        FontCheck{kRaz, L"MS Sans Serif", -11, false, true}}) {
    const LOGFONTW font = FontOf(Control(check.id));
    SCOPED_TRACE(check.id);
    EXPECT_STREQ(font.lfFaceName, check.face);
    EXPECT_EQ(font.lfHeight, check.height);
    EXPECT_EQ(font.lfWeight >= FW_BOLD, check.bold);
    EXPECT_EQ(font.lfItalic != 0, check.italic);
  }

  // Moved to a 144 DPI monitor: every position, size and font scales.
  RECT frame{0, 0, MulDiv(481, 144, 96), MulDiv(334, 144, 96)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE)), 144);
  OffsetRect(&frame, 20 - frame.left, 20 - frame.top);
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
  ExpectLayoutAt(144);
  EXPECT_EQ(FontOf(Control(kLabelBase + 1)).lfHeight, -17);
  EXPECT_EQ(FontOf(Control(kSidexis)).lfHeight, -44);
  EXPECT_EQ(FontOf(Control(FieldBox(Field::Nom))).lfHeight, -17);
}

TEST_F(ScreenWindowTest, EachModeShowsItsControlsAndTabVisitsThemInOrder) {
  for (const bool configuration : {true, false, true}) {
    SCOPED_TRACE(configuration ? "configuration" : "launch");
    ShowIn(configuration ? ScreenMode::Ctrl : ScreenMode::Normal);
    ASSERT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(testing::WindowCaption(Control(kDemarrerSidexis)), configuration ? L"VALIDER" : L"LANCER");
    for (const Expected& control : kLayout) {
      EXPECT_EQ(IsWindowVisible(Control(control.id)) != FALSE, configuration || !ConfigurationOnly(control.id))
          << testing::WindowCaption(Control(control.id));
    }
    std::vector<int> expectedOrder, visited;
    for (int id : kTabOrder) {
      if (configuration || !ConfigurationOnly(id)) expectedOrder.push_back(id);
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
  ASSERT_TRUE(screen_.CheckBoxTicked());
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
  EXPECT_FALSE(screen_.CheckBoxTicked());
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
  EXPECT_TRUE(Shows(configuration, Window(), Control(kSidexis), RGB(255, 128, 0))) << "orange title";
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

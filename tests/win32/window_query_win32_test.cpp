// The window calls against real windows of this process: what the core is told must be what
// USER32 says, byte for byte, in the order it says it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/win32_window_query.h"

namespace corvane {
namespace {

constexpr char kTopClass[] = "CorvaneQueryTop";
constexpr char kPanelClass[] = "CorvaneQueryPanel";
constexpr char kLongEditClass[] = "EditXYZ";
constexpr char kFullTextClass[] = "CorvaneFullText";
constexpr char kTitle[] = "Fen\xEAtre de test";

// A careless program: fills the whole WM_GETTEXT buffer and forgets the NUL.
LRESULT CALLBACK FullTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_GETTEXT) {
    std::memset(reinterpret_cast<char*>(lParam), 'x', wParam);
    return static_cast<LRESULT>(wParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Register(const char* name, WNDPROC procedure = DefWindowProcA) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
}

HWND Child(HWND parent, const char* className, int id, const char* text, int x, int y, int width, int height) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

class WindowQueryWin32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Register(kTopClass);
    Register(kPanelClass);
    Register(kLongEditClass);
    Register(kFullTextClass, FullTextProc);
  }

  void SetUp() override {
    top_ = CreateWindowExA(WS_EX_TOPMOST, kTopClass, kTitle, WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(top_, nullptr);
    edit_ = Child(top_, "Edit", 10, "Dupont", 10, 10, 150, 24);
    panel_ = Child(top_, kPanelClass, 20, "", 10, 50, 300, 120);
    panelEdit_ = Child(panel_, "Edit", -5, "", 10, 10, 100, 24);
    longEdit_ = Child(panel_, kLongEditClass, 21, "", 10, 50, 100, 24);
    fullText_ = Child(top_, kFullTextClass, 30, "", 10, 180, 100, 24);
    label_ = Child(top_, "Static", 0, "Nom", 200, 10, 100, 24);
    Pump();
  }
  void TearDown() override { DestroyWindow(top_); }

  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  Win32WindowQuery windows_;
  HWND top_ = nullptr, edit_ = nullptr, panel_ = nullptr, panelEdit_ = nullptr, longEdit_ = nullptr,
       fullText_ = nullptr, label_ = nullptr;
};

TEST_F(WindowQueryWin32Test, WalksEveryDescendantDepthFirstAndStopsWhenAsked) {
  std::vector<WindowHandle> walked;
  const auto walk = [&](std::size_t stopAfter) {
    walked.clear();
    windows_.EnumerateDescendants(HandleOf(top_), [&](WindowHandle window) {
      walked.push_back(window);
      return walked.size() < stopAfter;
    });
  };
  walk(100);
  const std::vector<WindowHandle> expected = {HandleOf(edit_),     HandleOf(panel_),    HandleOf(panelEdit_),
                                              HandleOf(longEdit_), HandleOf(fullText_), HandleOf(label_)};
  EXPECT_EQ(walked, expected);
  walk(3);
  EXPECT_EQ(walked.size(), 3u);

  // A failure inside the walk stops it and reaches the caller, not USER32.
  int visits = 0;
  EXPECT_THROW(windows_.EnumerateDescendants(HandleOf(top_),
                                             [&](WindowHandle) -> bool {
                                               if (++visits == 2) throw std::runtime_error("stop");
                                               return true;
                                             }),
               std::runtime_error);
  EXPECT_EQ(visits, 2);
}

TEST_F(WindowQueryWin32Test, ClassNamesIdsAncestorsAndTitles) {
  EXPECT_EQ(windows_.ClassName(HandleOf(longEdit_)), kLongEditClass);
  EXPECT_EQ(windows_.ClassName(HandleOf(longEdit_), 5), "Edit") << "a 5-byte buffer gives the first four";
  EXPECT_EQ(windows_.ControlId(HandleOf(edit_)), 10);
  EXPECT_EQ(windows_.ControlId(HandleOf(panelEdit_)), -5);
  EXPECT_EQ(windows_.Ancestor(HandleOf(panelEdit_), AncestorKind::Parent), HandleOf(panel_));
  EXPECT_EQ(windows_.Ancestor(HandleOf(panelEdit_), AncestorKind::Root), HandleOf(top_));
  EXPECT_EQ(windows_.Ancestor(HandleOf(panelEdit_), AncestorKind::RootOwner), HandleOf(top_));
  EXPECT_EQ(windows_.WindowRect(HandleOf(panelEdit_)), (Rect{120, 160, 220, 184}));

  // The title is compared up to its NUL, as the settings keep it; an empty title is a title.
  EXPECT_EQ(windows_.FindTopLevel(kTopClass, std::string(kTitle) + std::string("\0suite", 6)), HandleOf(top_));
  EXPECT_EQ(windows_.FindTopLevel(kTopClass, std::nullopt), HandleOf(top_));
  EXPECT_EQ(windows_.FindTopLevel(kTopClass, std::string()), WindowHandle());
  EXPECT_EQ(windows_.Caption(HandleOf(top_)), kTitle);
  EXPECT_EQ(windows_.Caption(HandleOf(panel_)), "");

  DestroyWindow(label_);
  EXPECT_FALSE(windows_.IsWindow(HandleOf(label_)));
  EXPECT_EQ(windows_.ClassName(HandleOf(label_)), "");
  EXPECT_FALSE(windows_.WindowRect(HandleOf(label_)).has_value());
}

TEST_F(WindowQueryWin32Test, ReadsAtMost254BytesOfText) {
  TextRead read = windows_.ReadText(HandleOf(edit_));
  EXPECT_EQ(read.status, TextRead::Status::Read);
  EXPECT_EQ(read.bytes, "Dupont");

  std::string longText;
  for (int i = 0; i < 300; ++i) longText += static_cast<char>('a' + i % 26);
  SetWindowTextA(edit_, longText.c_str());
  EXPECT_EQ(windows_.ReadText(HandleOf(edit_)).bytes, longText.substr(0, 254));
  SetWindowTextA(edit_, "Lef\xE8vre");
  EXPECT_EQ(windows_.ReadText(HandleOf(edit_)).bytes, "Lef\xE8vre") << "ANSI bytes, untouched";
  EXPECT_EQ(windows_.ReadText(HandleOf(fullText_)).bytes, std::string(254, 'x')) << "never past byte 254";

  DestroyWindow(edit_);
  EXPECT_EQ(windows_.ReadText(HandleOf(edit_)).status, TextRead::Status::NotAWindow);
  EXPECT_EQ(windows_.ReadText(WindowHandle()).status, TextRead::Status::NotAWindow);
}

}  // namespace
}  // namespace corvane

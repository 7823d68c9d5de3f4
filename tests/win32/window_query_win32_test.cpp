// The window calls against real windows of this process, for what the adapter adds to USER32:
// a walk that stops when asked and lets a failure through, and texts never longer than 254
// bytes. Class names, ids, ancestors and titles with their NUL are read from the stand-in
// practice programs by the reader and identity tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_window_query.h"

namespace corvane {
namespace {

constexpr char kTopClass[] = "CorvaneQueryTop";
constexpr char kFullTextClass[] = "CorvaneFullText";

// A careless program: fills the whole WM_GETTEXT buffer and forgets the NUL.
LRESULT CALLBACK FullTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_GETTEXT) return DefWindowProcA(window, message, wParam, lParam);
  std::memset(reinterpret_cast<char*>(lParam), 'x', wParam);
  return static_cast<LRESULT>(wParam);
}

class WindowQueryWin32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const auto& [name, procedure] :
         {std::pair<const char*, WNDPROC>{kTopClass, DefWindowProcA}, {kFullTextClass, FullTextProc}}) {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = procedure;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = name;
      RegisterClassA(&windowClass);
    }
  }
  void SetUp() override {
    top_ = CreateWindowExA(0, kTopClass, "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(top_, nullptr);
    edit_ = Child(top_, "Edit", 10, "Dupont");
    panel_ = Child(top_, kTopClass, 20, "");
    panelEdit_ = Child(panel_, "Edit", -5, "");
    fullText_ = Child(top_, kFullTextClass, 30, "");
  }
  void TearDown() override { DestroyWindow(top_); }

  static HWND Child(HWND parent, const char* className, int id, const char* text) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }
  // The windows met, stopping after `stopAfter`.
  std::vector<WindowHandle> Walk(std::size_t stopAfter = 100) {
    std::vector<WindowHandle> walked;
    windows_.EnumerateDescendants(HandleOf(top_), [&](WindowHandle window) {
      walked.push_back(window);
      return walked.size() < stopAfter;
    });
    return walked;
  }

  Win32WindowQuery windows_;
  HWND top_ = nullptr, edit_ = nullptr, panel_ = nullptr, panelEdit_ = nullptr, fullText_ = nullptr;
};

TEST_F(WindowQueryWin32Test, WalksDepthFirstStopsWhenAskedAndLetsAFailureThrough) {
  EXPECT_EQ(Walk(), (std::vector{HandleOf(edit_), HandleOf(panel_), HandleOf(panelEdit_), HandleOf(fullText_)}));
  EXPECT_EQ(Walk(2).size(), 2u);
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

TEST_F(WindowQueryWin32Test, ReadsAtMost254BytesOfText) {
  EXPECT_EQ(windows_.ReadText(HandleOf(edit_)).status, TextRead::Status::Read);
  EXPECT_EQ(windows_.ReadText(HandleOf(edit_)).bytes, "Dupont");
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

// A practice program that rebuilds its panel for the next patient destroys a control while our
// read of it waits: that reads as no window, and the harvest goes on. Only a program that keeps
// us waiting past the time-out is one that stopped answering.
TEST(WindowQueryWin32ThreadTest, AControlDestroyedDuringTheReadIsNoWindowOnlyATimeOutIsNotAnswering) {
  const auto busyMs = static_cast<DWORD>(kTextReadTimeout.count());
  for (const auto& [busy, expected] : {std::pair{busyMs / 8, TextRead::Status::NotAWindow},
                                       std::pair{busyMs + busyMs / 4, TextRead::Status::NotAnswering}}) {
    HWND control = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread program([&, busy] {
      control = CreateWindowExA(0, "Edit", "Dupont", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
      SetEvent(created);
      Sleep(busy);  // busy, not pumping: our WM_GETTEXT waits
      DestroyWindow(control);
    });
    WaitForSingleObject(created, INFINITE);
    Win32WindowQuery windows;
    EXPECT_EQ(windows.ReadText(HandleOf(control)).status, expected) << "busy " << busy << " ms";
    program.join();
    CloseHandle(created);
  }
}

}  // namespace
}  // namespace corvane

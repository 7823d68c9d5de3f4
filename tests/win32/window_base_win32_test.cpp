// The one window procedure: an exception that reaches it becomes a box and the window goes on;
// the object is detached when its window goes, so no later message can reach it.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "platform/win32/window_base.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

constexpr UINT kThrow = WM_APP;
constexpr UINT kAnswer = WM_APP + 1;

class ThrowingWindow : public WindowBase {
 public:
  bool Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    return RegisterWindowClass(instance, L"CorvaneThrowingWindow") &&
           CreateAttached(0, L"CorvaneThrowingWindow", L"", WS_POPUP, {0, 0, 10, 10}, nullptr, 0, instance) != nullptr;
  }
  bool destroyed = false;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kThrow) throw std::runtime_error("a fault of ours");
    if (message == kAnswer) return 42;
    return Default(message, wParam, lParam);
  }
  void OnDestroyed() noexcept override { destroyed = true; }
};

TEST(WindowBaseTest, AnExceptionBecomesABoxTheWindowGoesOnAndItsEndDetachesTheObject) {
  ThrowingWindow window;
  ASSERT_TRUE(window.Create());
  std::wstring shown;
  std::thread answer([&] {
    HWND box = testing::WaitForMessageBox(GetCurrentProcessId());
    shown = testing::MessageBoxText(box);
    testing::AnswerMessageBox(box, IDOK);
  });
  EXPECT_EQ(SendMessageW(window.Window(), kThrow, 0, 0), 0);
  answer.join();
  EXPECT_EQ(shown, L"Une erreur inattendue a interrompu la commande.");
  EXPECT_EQ(SendMessageW(window.Window(), kAnswer, 0, 0), 42);

  DestroyWindow(window.Window());
  EXPECT_TRUE(window.destroyed);
  EXPECT_EQ(window.Window(), nullptr);
}

}  // namespace
}  // namespace corvane

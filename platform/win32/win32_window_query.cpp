#include "platform/win32/win32_window_query.h"

#include <exception>

namespace corvane {
namespace {

constexpr std::size_t kTextBufferSize = 255;

struct WalkContext {
  const std::function<bool(WindowHandle)>* visit;
  std::exception_ptr failure;
};

BOOL CALLBACK VisitThunk(HWND child, LPARAM context) noexcept {
  auto* walk = reinterpret_cast<WalkContext*>(context);
  try {
    return (*walk->visit)(HandleOf(child)) ? TRUE : FALSE;
  } catch (...) {
    walk->failure = std::current_exception();
    return FALSE;
  }
}

}  // namespace

void Win32WindowQuery::EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) {
  WalkContext walk{&visit, nullptr};
  EnumChildWindows(HwndOf(parent), VisitThunk, reinterpret_cast<LPARAM>(&walk));
  if (walk.failure) std::rethrow_exception(walk.failure);
}

std::string Win32WindowQuery::ClassName(WindowHandle window, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::string buffer(bufferSize, '\0');
  const int length = GetClassNameA(HwndOf(window), buffer.data(), static_cast<int>(bufferSize));
  buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return buffer;
}

std::int32_t Win32WindowQuery::ControlId(WindowHandle window) {
  return static_cast<std::int32_t>(GetDlgCtrlID(HwndOf(window)));
}

WindowHandle Win32WindowQuery::FindTopLevel(const std::string& className, const std::optional<std::string>& title,
                                            WindowHandle after) {
  return HandleOf(FindWindowExA(nullptr, HwndOf(after), className.c_str(), title ? title->c_str() : nullptr));
}

WindowHandle Win32WindowQuery::Ancestor(WindowHandle window, AncestorKind kind) {
  return HandleOf(GetAncestor(HwndOf(window), static_cast<UINT>(kind)));
}

WindowHandle Win32WindowQuery::Parent(WindowHandle window) { return HandleOf(GetParent(HwndOf(window))); }

WindowHandle Win32WindowQuery::FirstChild(WindowHandle window) { return HandleOf(GetWindow(HwndOf(window), GW_CHILD)); }

std::optional<Rect> Win32WindowQuery::WindowRect(WindowHandle window) {
  RECT rect{};
  if (!GetWindowRect(HwndOf(window), &rect)) return std::nullopt;
  return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

bool Win32WindowQuery::IsWindow(WindowHandle window) { return ::IsWindow(HwndOf(window)) != FALSE; }

bool Win32WindowQuery::IsVisible(WindowHandle window) { return IsWindowVisible(HwndOf(window)) != FALSE; }

bool Win32WindowQuery::IsZoomed(WindowHandle window) { return ::IsZoomed(HwndOf(window)) != FALSE; }

TextRead Win32WindowQuery::ReadText(WindowHandle window) {
  const HWND target = HwndOf(window);
  if (!::IsWindow(target)) return {TextRead::Status::NotAWindow, {}};
  char buffer[kTextBufferSize] = {};
  DWORD_PTR result = 0;
  SetLastError(ERROR_SUCCESS);
  const LRESULT answered =
      SendMessageTimeoutA(target, WM_GETTEXT, kTextBufferSize, reinterpret_cast<LPARAM>(buffer),
                          SMTO_ABORTIFHUNG | SMTO_BLOCK, static_cast<UINT>(kTextReadTimeout.count()), &result);
  if (answered == 0) {
    // A control the practice program destroys while we wait (it rebuilds its panel for the
    // next patient) is no window any more, not a program that stopped answering: only a time
    // out abandons the command.
    const DWORD error = GetLastError();
    if (error == ERROR_INVALID_WINDOW_HANDLE || (error != ERROR_TIMEOUT && !::IsWindow(target))) {
      return {TextRead::Status::NotAWindow, {}};
    }
    return {TextRead::Status::NotAnswering, {}};
  }
  return {TextRead::Status::Read, std::string(buffer, kTextBufferSize)};
}

std::string Win32WindowQuery::Caption(WindowHandle window) {
  const HWND target = HwndOf(window);
  const int length = GetWindowTextLengthA(target);
  if (length <= 0) return {};
  std::string caption(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(target, caption.data(), length + 1);
  caption.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return caption;
}

Point Win32WindowQuery::CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

WindowHandle Win32WindowQuery::WindowFromPoint(Point point) {
  return HandleOf(::WindowFromPoint(POINT{point.x, point.y}));
}

}  // namespace corvane

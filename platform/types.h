#pragma once
// Small value types that the portable core uses in place of Win32 ones.
#include <cstdint>
#include <functional>

namespace corvane {

// A window of any program, as the system names it. Never owned.
struct WindowHandle {
  std::uintptr_t value = 0;

  constexpr WindowHandle() = default;
  constexpr explicit WindowHandle(std::uintptr_t v) : value(v) {}
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(WindowHandle, WindowHandle) = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend constexpr bool operator==(Rect, Rect) = default;
};

}  // namespace corvane

template <>
struct std::hash<corvane::WindowHandle> {
  std::size_t operator()(corvane::WindowHandle h) const noexcept { return std::hash<std::uintptr_t>{}(h.value); }
};

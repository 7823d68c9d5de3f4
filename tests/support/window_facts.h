#pragma once
// What the link takes for granted of the system's windows, stated once: each fact builds a few
// windows and asks one question. The unit tests ask the fake desktop, the Wine tests real windows
// of another thread (as the practice program's are), so the fake cannot answer otherwise than USER32.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "practice/control_identity.h"
#include "practice/control_text.h"

namespace corvane::facts {

struct Child {
  std::string className, text;  // text: the bytes its WM_GETTEXT gives, NULs included
  Rect rect{0, 0, 100, 20};     // in its parent's coordinates
  bool visible = true, enabled = true;
};

class WindowBuilder {
 public:
  virtual ~WindowBuilder() = default;
  static constexpr Rect kTop{300, 300, 700, 600};  // every top-level window: visible, borderless, above the rest
  virtual WindowHandle TopLevel(const std::string& className, const std::string& title) = 0;
  virtual WindowHandle Add(WindowHandle parent, const Child& child) = 0;
  virtual void Destroy(WindowHandle window) = 0;
};

struct Fact {
  const char* what;
  std::function<std::string(WindowBuilder&, WindowQuery&)> ask;
  std::string answer;
};

// The text the link reads from a child whose WM_GETTEXT gives `bytes`; ReadText hands back the
// 255-byte buffer as the child filled it, the link cuts it.
inline std::string LinkText(WindowBuilder& b, WindowQuery& q, const std::string& bytes, const char* className = "CorvaneFacts") {
  const WindowHandle child = b.Add(b.TopLevel("CorvaneFacts", ""), {className, bytes});
  std::string buffer = bytes.substr(0, 255);
  buffer.resize(255, '\0');
  return q.ReadText(child).bytes != buffer ? "buffer changed" : PortableText().ToAnsi(ReadWindowText(child, q, PortableText()));
}

// The window the point lookup names at each point (top-level coordinates) of a top-level window
// holding `child` with its own child at (0, 0)-(10, 10), then a plain child at (20, 20)-(60, 40).
inline std::string Pointed(WindowBuilder& b, WindowQuery& q, const Child& child, std::vector<Point> points) {
  const WindowHandle top = b.TopLevel("CorvaneFacts", ""), window = b.Add(top, child);
  const WindowHandle made[] = {top, window, b.Add(window, {"Edit", "", {0, 0, 10, 10}}), b.Add(top, {"Edit", "", {20, 20, 60, 40}})};
  std::string named;
  for (const Point at : points)
    named += "TCIP-"[std::find(made, made + 4, q.WindowFromPoint({WindowBuilder::kTop.left + at.x, WindowBuilder::kTop.top + at.y})) - made];
  return named;
}

inline const std::vector<Fact> kWindowFacts = {
    {"a text ends at its first NUL", [](auto& b, auto& q) { return LinkText(b, q, std::string("Dupont\0Jean", 11)); }, "Dupont"},
    {"254 bytes are read whole", [](auto& b, auto& q) { return LinkText(b, q, std::string(254, 'a')); }, std::string(254, 'a')},
    {"255 bytes fill the buffer without a NUL: 254 read", [](auto& b, auto& q) { return LinkText(b, q, std::string(254, 'a') + 'b'); },
     std::string(254, 'a')},
    {"past 254 bytes nothing is read, a NUL further on changes nothing",
     [](auto& b, auto& q) { return LinkText(b, q, std::string(300, 'c') + '\0' + "d"); }, std::string(254, 'c')},
    {"an edit control gives its ANSI bytes untouched", [](auto& b, auto& q) { return LinkText(b, q, "L\xE8on \xC9lo\xEFse", "Edit"); },
     "L\xE8on \xC9lo\xEFse"},
    {"class and title are found whatever their letter case, whole, a missing title matching any",
     [](auto& b, auto& q) {
       const WindowHandle top = b.TopLevel("CorvaneFactsMain", "Dossier Patient");
       std::string found;
       for (const auto& [className, title] : {std::pair{"corvanefactsMAIN", "DOSSIER patient"}, {"CORVANEFACTSMAIN", ""},
                                              {"CorvaneFactsMain", "Dossier Patient "}, {"CorvaneFacts", "Dossier Patient"}})
         found += q.FindTopLevel(className, std::string(title)) == top ? '1' : '0';
       return found + (q.FindTopLevel("CORVANEfactsmain", std::nullopt) == top ? '1' : '0');
     },
     "10001"},
    {"a point finds the deepest child there, the sibling made first, else the top-level window",
     [](auto& b, auto& q) { return Pointed(b, q, {"Edit", "", {0, 0, 100, 100}}, {{5, 5}, {80, 80}, {30, 30}, {200, 250}}); }, "ICCT"},
    {"a hidden child is looked through with its children",
     [](auto& b, auto& q) { return Pointed(b, q, {"Edit", "", {0, 0, 100, 100}, false}, {{30, 30}, {5, 5}}); }, "PT"},
    {"a disabled child is looked through with its children",
     [](auto& b, auto& q) { return Pointed(b, q, {"Edit", "", {0, 0, 100, 100}, true, false}, {{30, 30}, {5, 5}}); }, "PT"},
    {"another program's static control is not looked through",
     [](auto& b, auto& q) { return Pointed(b, q, {"Static", "Nom :", {0, 0, 100, 100}}, {{80, 80}, {5, 5}}); }, "CI"},
    {"a destroyed window and its children are no windows; a class fits its buffer",
     [](auto& b, auto& q) {
       const WindowHandle top = b.TopLevel("CorvaneFacts", ""), child = b.Add(top, {"Edit", "Dupont"});
       std::string answer = q.ClassName(top, 8) + q.ClassName(child);
       b.Destroy(top);
       for (const WindowHandle w : {top, child})
         answer += std::to_string(q.IsWindow(w)) + q.ClassName(w) + std::to_string(int(q.ReadText(w).status));
       return answer;
     },
     "CorvaneEdit0101"},
    {"Edit ordinals follow the walk: creation order, a window's children before its next sibling",
     [](auto& b, auto& q) {
       const WindowHandle top = b.TopLevel("CorvaneFacts", "");
       std::vector<WindowHandle> made{b.Add(top, {"Edit", ""}), b.Add(top, {"CorvaneFacts", ""})};
       for (const char* className : {"Edit", "Static", "EditWinDev"}) made.push_back(b.Add(made[1], {className, ""}));
       made.push_back(b.Add(top, {"Edit", ""}));
       std::string walked;
       EditOrdinalCounter counter;
       q.EnumerateDescendants(top, [&](WindowHandle w) {
         walked += std::to_string(std::find(made.begin(), made.end(), w) - made.begin()) + std::to_string(counter.Next(q.ClassName(w)));
         return true;
       });
       for (const WindowHandle w : made) walked += std::to_string(EditOrdinalOf(w, top, q));
       return walked;
     },
     "011022304354102034"},
};

}  // namespace corvane::facts

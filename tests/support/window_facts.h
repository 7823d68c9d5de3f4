#pragma once
// What the link takes for granted of the system's windows, stated once: the unit tests ask the fake
// desktop, the Wine tests real windows of another thread (as the practice program's are).
#include <algorithm>
#include <functional>
#include <stdexcept>
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
  virtual WindowHandle TopLevel(const std::string& className, const std::string& title = "") = 0;
  virtual WindowHandle Add(WindowHandle parent, const Child& child) = 0;
  virtual void Destroy(WindowHandle window) = 0;
};

using Ask = std::function<std::string(WindowBuilder&, WindowQuery&)>;
struct Fact { const char* what; Ask ask; std::string answer; };

// What the link reads of each child, "|" after each; ReadText hands back the 255-byte buffer as the
// child filled it, the link cuts it.
inline Ask LinkTexts(std::vector<Child> children) {
  return [=](WindowBuilder& b, WindowQuery& q) {
    std::string read;
    for (const Child& child : children) {
      const WindowHandle w = b.Add(b.TopLevel("CorvaneFacts"), child);
      std::string buffer = child.text.substr(0, 255);
      buffer.resize(255, '\0');
      read += q.ReadText(w).bytes != buffer ? "buffer changed|"
                                            : PortableText().ToAnsi(ReadWindowText(w, q, PortableText())) + "|";
    }
    return read;
  };
}

// The window named at each point (top-level coordinates) of a top-level window holding `child` at
// (0, 0)-(100, 100) with its own child at (0, 0)-(10, 10), then a child at (20, 20)-(60, 40).
inline Ask Pointing(Child child, std::vector<Point> points) {
  return [=](WindowBuilder& b, WindowQuery& q) {
    const WindowHandle top = b.TopLevel("CorvaneFacts"), window = b.Add(top, child);
    const WindowHandle made[] = {top, window, b.Add(window, {"Edit", "", {0, 0, 10, 10}}),
                                 b.Add(top, {"Edit", "", {20, 20, 60, 40}})};
    std::string named;  // Top, Child, Inner, Plain
    for (const Point at : points)
      named += "TCIP-"[std::find(made, made + 4,
                                 q.WindowFromPoint({WindowBuilder::kTop.left + at.x, WindowBuilder::kTop.top + at.y})) -
                       made];
    return named;
  };
}

constexpr Rect kCover{0, 0, 100, 100};
inline const std::vector<Fact> kWindowFacts = {
    {"a text ends at its first NUL and never past byte 254, even in a buffer filled without one; an edit control's "
     "ANSI bytes come untouched",
     LinkTexts({{"CorvaneFacts", std::string("Dupont\0Jean", 11)},
                {"CorvaneFacts", std::string(254, 'a')},
                {"CorvaneFacts", std::string(254, 'a') + 'b'},
                {"CorvaneFacts", std::string(300, 'c') + '\0' + "d"},
                {"Edit", "L\xE8on \xC9lo\xEFse"}}),
     "Dupont|" + std::string(254, 'a') + "|" + std::string(254, 'a') + "|" + std::string(254, 'c') +
         "|L\xE8on \xC9lo\xEFse|"},
    {"class and title are found whatever their letter case, whole, a missing title matching any",
     [](auto& b, auto& q) {
       const WindowHandle top = b.TopLevel("CorvaneFactsMain", "Dossier Patient");
       std::string found;
       for (const auto& [className, title] : {std::pair{"corvanefactsMAIN", "DOSSIER patient"},
                                              {"CORVANEFACTSMAIN", ""},
                                              {"CorvaneFactsMain", "Dossier Patient "},
                                              {"CorvaneFacts", "Dossier Patient"}})
         found += q.FindTopLevel(className, std::string(title)) == top ? '1' : '0';
       return found + (q.FindTopLevel("CORVANEfactsmain", std::nullopt) == top ? '1' : '0');
     },
     "10001"},
    {"a point finds the deepest child there, the sibling made first, else the top-level window",
     Pointing({"Edit", "", kCover}, {{5, 5}, {80, 80}, {30, 30}, {200, 250}}), "ICCT"},
    {"a hidden child is looked through with its children", Pointing({"Edit", "", kCover, false}, {{30, 30}, {5, 5}}),
     "PT"},
    {"a disabled child is looked through with its children",
     Pointing({"Edit", "", kCover, true, false}, {{30, 30}, {5, 5}}), "PT"},
    {"another program's static control is not looked through",
     Pointing({"Static", "Nom :", kCover}, {{80, 80}, {5, 5}}), "CI"},
    {"a destroyed window and its children are no windows; a class fits its buffer",
     [](auto& b, auto& q) {
       const WindowHandle top = b.TopLevel("CorvaneFacts"), child = b.Add(top, {"Edit", "Dupont"});
       std::string answer = q.ClassName(top, 8) + q.ClassName(child);
       b.Destroy(top);
       for (const WindowHandle w : {top, child})
         answer += std::to_string(q.IsWindow(w)) + q.ClassName(w) + std::to_string(int(q.ReadText(w).status));
       return answer;
     },
     "CorvaneEdit0101"},
    {"Edit ordinals follow the walk: creation order, a window's children before its next sibling; a walk stops when "
     "asked, a failure inside it reaches the caller",
     [](auto& b, auto& q) {
       const WindowHandle top = b.TopLevel("CorvaneFacts");
       std::vector<WindowHandle> made{b.Add(top, {"Edit", ""}), b.Add(top, {"CorvaneFacts", ""})};
       for (const char* className : {"Edit", "Static", "EditWinDev"}) made.push_back(b.Add(made[1], {className, ""}));
       made.push_back(b.Add(top, {"Edit", ""}));
       std::string walked;
       EditOrdinalCounter counter;
       int visits = 0;
       q.EnumerateDescendants(top, [&](WindowHandle w) {
         walked += std::to_string(std::find(made.begin(), made.end(), w) - made.begin()) +
                   std::to_string(counter.Next(q.ClassName(w)));
         return ++visits != 4;
       });
       for (const WindowHandle w : made) walked += std::to_string(EditOrdinalOf(w, top, q));
       try {
         q.EnumerateDescendants(
             top, [&](WindowHandle) { return ++visits != 7 || (throw std::runtime_error(" thrown "), false); });
       } catch (const std::runtime_error& fault) {
         walked += fault.what();
       }
       return walked + std::to_string(visits);
     },
     "01102230102034 thrown 7"},
};

}  // namespace corvane::facts

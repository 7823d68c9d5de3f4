#include "finder/highlight.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"

namespace corvane {
namespace {

using fakes::FakeGdi;
using Args = std::vector<std::int64_t>;

class HighlightTest : public ::testing::Test {
 protected:
  HighlightTest() {
    // Distinct metrics, so that a metric read in place of another shows in the figures.
    gdi.metrics = {{gdi::kSmCxScreen, 1280}, {gdi::kSmCyScreen, 1024}, {gdi::kSmCxBorder, 2},
                   {gdi::kSmCyBorder, 5},    {gdi::kSmCxFrame, 7},     {gdi::kSmCyFrame, 11}};
    gdi.sysColors[gdi::kColorWindowFrame] = 0x00123456;
    desktop.At(main).rect = {-7, -11, 1287, 1013};
    desktop.At(control).rect = {100, 200, 340, 224};
  }

  // Frames `window` and expects a single drawing, of `what` on that window, made with the frame
  // pen (inside frame, 3 borders thick, red 0 green 100 blue 255), no fill, in XOR; the DC put
  // back and everything created freed. Returns the drawing's arguments after the DC.
  Args Frame(WindowHandle window, const std::string& what) {
    HighlightWindow(window, 3, desktop, gdi);
    EXPECT_TRUE(gdi.faults.empty()) << gdi.faults.front();
    EXPECT_EQ(gdi.LiveObjects(), 0);
    if (gdi.drawings.size() != 1u) {
      ADD_FAILURE() << gdi.drawings.size() << " drawings";
      return {};
    }
    const FakeGdi::Drawing& drawing = gdi.drawings[0];
    EXPECT_EQ(drawing.what, what);
    EXPECT_EQ(drawing.window, window);
    EXPECT_EQ(drawing.mix, gdi::kR2XorPen);
    const FakeGdi::Object& pen = gdi.ObjectOf(drawing.pen);
    EXPECT_EQ((std::tuple{pen.kind, pen.style, pen.width, pen.color}),
              (std::tuple{FakeGdi::Kind::Pen, gdi::kPsInsideFrame, 3 * 2, 0x00FF6400u}));
    const FakeGdi::Object& brush = gdi.ObjectOf(drawing.brush);
    EXPECT_EQ((std::pair{brush.kind, brush.style}), (std::pair{FakeGdi::Kind::Stock, gdi::kNullBrush}));
    return drawing.args;
  }

  fakes::FakeDesktop desktop;
  FakeGdi gdi;
  const WindowHandle main = desktop.AddTopLevel("PracticeMain", "Dossier patient");
  const WindowHandle control = desktop.AddChild(main, "Edit", 1001, "DUPONT");
};

TEST_F(HighlightTest, OrdinaryWindowIsFramedInsideItsEdgesThenEverythingPutBackInOrder) {
  EXPECT_EQ(Frame(control, "Rectangle"), (Args{0, 0, 240, 24}));  // window coordinates
  // Selections and mix mode back before the objects go, the DC released last.
  const std::vector<std::string> expected = {
      "GetWindowDC",  "CreateRectRgn", "GetSystemMetrics", "CreatePen",        "SelectObject",     "GetStockObject",
      "SelectObject", "SetROP2",       "GetWindowRgn",     "GetSystemMetrics", "GetSystemMetrics", "Rectangle",
      "SelectObject", "SelectObject",  "SetROP2",          "DeleteObject",     "DeleteObject",     "ReleaseDC"};
  EXPECT_EQ(gdi.calls, expected);
}

TEST_F(HighlightTest, MaximisedWindowFramesTheOnScreenPartNotItsRectangle) {
  desktop.At(main).zoomed = true;
  EXPECT_EQ(Frame(main, "Rectangle"), (Args{7, 11, 1280 + 7, 1024 + 11}));
}

TEST_F(HighlightTest, ShapedWindowHasItsRegionOutlinedWithAHatchBrush) {
  gdi.shapedWindows.insert(main);
  desktop.At(main).zoomed = true;  // the region comes first

  const Args args = Frame(main, "FrameRgn");

  ASSERT_EQ(args.size(), 4u);
  EXPECT_EQ(gdi.ObjectOf(static_cast<GdiHandle>(args[0])).kind, FakeGdi::Kind::Region);  // what GetWindowRgn filled
  EXPECT_EQ((Args{args[2], args[3]}), (Args{3 * 2, 3 * 5}));
  const FakeGdi::Object& hatch = gdi.ObjectOf(static_cast<GdiHandle>(args[1]));
  EXPECT_EQ((std::tuple{hatch.kind, hatch.style, hatch.color}),
            (std::tuple{FakeGdi::Kind::HatchBrush, gdi::kHsDiagCross, 0x00123456u}));
}

TEST_F(HighlightTest, NoWindowMeansNoDrawingAndNothingCreated) {
  HighlightWindow(WindowHandle(), 3, desktop, gdi);
  desktop.Destroy(control);
  HighlightWindow(control, 3, desktop, gdi);

  EXPECT_TRUE(gdi.calls.empty());
}

}  // namespace
}  // namespace corvane

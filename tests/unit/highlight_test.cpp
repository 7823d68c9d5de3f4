#include "finder/highlight.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/files.h"
#include "platform/text.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"

namespace corvane {
namespace {

using fakes::FakeGdi;

class HighlightTest : public ::testing::Test {
 protected:
  HighlightTest() {
    // Distinct metrics, so that a metric read in place of another shows in the figures.
    gdi.metrics = {{gdi::kSmCxScreen, 1280}, {gdi::kSmCyScreen, 1024}, {gdi::kSmCxBorder, 2},
                   {gdi::kSmCyBorder, 5},    {gdi::kSmCxFrame, 7},     {gdi::kSmCyFrame, 11}};
    gdi.sysColors[gdi::kColorWindowFrame] = 0x00123456;
    main = desktop.AddTopLevel("PracticeMain", "Dossier patient");
    control = desktop.AddChild(main, "Edit", 1001, "DUPONT");
    desktop.At(control).rect = {100, 200, 340, 224};
  }

  // Every frame is drawn with the frame pen, no fill, in XOR, and leaves the DC and the
  // object table as they were.
  void ExpectCleanFrame() {
    EXPECT_TRUE(gdi.faults.empty()) << gdi.faults.front();
    EXPECT_EQ(gdi.LiveObjects(), 0);
    ASSERT_EQ(gdi.drawings.size(), 1u);
    const FakeGdi::Drawing& drawing = gdi.drawings[0];
    EXPECT_EQ(drawing.mix, gdi::kR2XorPen);
    const FakeGdi::Object& pen = gdi.ObjectOf(drawing.pen);
    EXPECT_EQ(pen.kind, FakeGdi::Kind::Pen);
    EXPECT_EQ(pen.style, gdi::kPsInsideFrame);
    EXPECT_EQ(pen.width, 3 * 2);
    EXPECT_EQ(pen.color, 0x00FF6400u);  // red 0, green 100, blue 255
    const FakeGdi::Object& brush = gdi.ObjectOf(drawing.brush);
    EXPECT_EQ(brush.kind, FakeGdi::Kind::StockObject);
    EXPECT_EQ(brush.style, gdi::kNullBrush);
  }

  int CallsNamed(const std::string& name) const {
    int n = 0;
    for (const auto& call : gdi.calls) n += call.name == name;
    return n;
  }

  fakes::FakeDesktop desktop;
  FakeGdi gdi;
  WindowHandle main, control;
};

TEST_F(HighlightTest, OrdinaryControlIsFramedInsideItsEdges) {
  HighlightWindow(control, 3, desktop, gdi);

  ExpectCleanFrame();
  EXPECT_EQ(gdi.drawings[0].what, "Rectangle");
  EXPECT_EQ(gdi.drawings[0].window, control);
  EXPECT_EQ(gdi.drawings[0].rect, (Rect{0, 0, 240, 24}));  // window coordinates, the control's size
  // The DC is put back before it is released, the pen is deselected before it is deleted.
  const std::vector<std::string> expected = {
      "GetWindowDC",  "CreateRectRgn", "GetSystemMetrics", "CreatePen",        "SelectObject",     "GetStockObject",
      "SelectObject", "SetROP2",       "GetWindowRgn",     "GetSystemMetrics", "GetSystemMetrics", "Rectangle",
      "SelectObject", "SelectObject",  "SetROP2",          "DeleteObject",     "DeleteObject",     "ReleaseDC"};
  EXPECT_EQ(gdi.CallNames(), expected);
  EXPECT_EQ(gdi.calls[1].args, (std::vector<std::int64_t>{0, 0, 0, 0}));  // an empty region to receive one
  EXPECT_EQ(CallsNamed("CreateHatchBrush"), 0);
}

TEST_F(HighlightTest, MaximisedWindowFramesTheOnScreenPartNotItsRectangle) {
  desktop.At(main).zoomed = true;
  desktop.At(main).rect = {-7, -11, 1287, 1013};

  HighlightWindow(main, 3, desktop, gdi);

  ExpectCleanFrame();
  EXPECT_EQ(gdi.drawings[0].what, "Rectangle");
  EXPECT_EQ(gdi.drawings[0].rect, (Rect{7, 11, 1280 + 7, 1024 + 11}));
}

TEST_F(HighlightTest, ShapedWindowHasItsRegionOutlinedWithAHatchBrush) {
  gdi.shapedWindows.insert(control);
  desktop.At(control).zoomed = true;  // the region branch comes first

  HighlightWindow(control, 3, desktop, gdi);

  ExpectCleanFrame();
  const FakeGdi::Drawing& drawing = gdi.drawings[0];
  EXPECT_EQ(drawing.what, "FrameRgn");
  EXPECT_EQ(drawing.region, static_cast<GdiHandle>(gdi.calls[1].result));  // the region GetWindowRgn filled
  const FakeGdi::Object& hatch = gdi.ObjectOf(drawing.frameBrush);
  EXPECT_EQ(hatch.kind, FakeGdi::Kind::HatchBrush);
  EXPECT_EQ(hatch.style, gdi::kHsDiagCross);
  EXPECT_EQ(hatch.color, 0x00123456u);
  EXPECT_EQ(drawing.width, 3 * 2);
  EXPECT_EQ(drawing.height, 3 * 5);
  EXPECT_EQ(CallsNamed("Rectangle"), 0);
  EXPECT_EQ(CallsNamed("DeleteObject"), 3);  // pen, hatch brush, region
}

TEST_F(HighlightTest, NoWindowMeansNoDrawingAndNothingCreated) {
  HighlightWindow(WindowHandle(), 3, desktop, gdi);
  desktop.Destroy(control);
  HighlightWindow(control, 3, desktop, gdi);

  EXPECT_TRUE(gdi.calls.empty());
}

TEST_F(HighlightTest, AFailingDrawStillPutsTheDcBackAndFreesEverything) {
  for (const char* failing : {"Rectangle", "FrameRgn", "GetWindowRgn"}) {
    SCOPED_TRACE(failing);
    FakeGdi fresh;
    fresh.shapedWindows.insert(control);
    if (std::string(failing) == "Rectangle") fresh.shapedWindows.clear();
    fresh.throwOn = failing;

    EXPECT_THROW(HighlightWindow(control, 3, desktop, fresh), std::runtime_error);

    EXPECT_TRUE(fresh.faults.empty()) << fresh.faults.front();
    EXPECT_EQ(fresh.LiveObjects(), 0);
  }
}

class CaptureTest : public HighlightTest {
 protected:
  PortableFileSystem files;
  PortableText text;
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeProgramStarter programs;
  fakes::FakeMessageBoxes messages;
  Platform platform{files, text, clock, environment, programs, messages, desktop, gdi};
  SharedState state;
};

TEST_F(CaptureTest, TextGoesToTempDecodedAndTheFrameIsToggled) {
  desktop.At(control).text = "Lef\xE8vre";

  EXPECT_EQ(CaptureWindowText(control, state, platform), L"Lefèvre");
  EXPECT_EQ(state.patient.temp, L"Lefèvre");
  ASSERT_EQ(gdi.drawings.size(), 1u);
  EXPECT_EQ(gdi.drawings[0].window, control);
  EXPECT_EQ(gdi.LiveObjects(), 0);
}

TEST_F(CaptureTest, NoWindowGivesASingleSpaceAndNoFrame) {
  EXPECT_EQ(CaptureWindowText(WindowHandle(), state, platform), L" ");
  EXPECT_EQ(state.patient.temp, L" ");
  desktop.Destroy(control);
  EXPECT_EQ(CaptureWindowText(control, state, platform), L" ");
  EXPECT_TRUE(gdi.calls.empty());
}

TEST_F(CaptureTest, ProgramThatStoppedAnsweringFailsWithoutTouchingTempOrDrawing) {
  desktop.At(control).hung = true;

  try {
    CaptureWindowText(control, state, platform);
    FAIL() << "a hung window must not yield a text";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
    EXPECT_NE(error.Description().find(L"ne répond pas"), std::wstring::npos);
  }
  EXPECT_EQ(state.patient.temp, kTempInitialText);
  EXPECT_TRUE(gdi.calls.empty());
}

}  // namespace
}  // namespace corvane

#include "tests/fakes/fake_views.h"

namespace corvane::fakes {

void FakeLauncherView::Show() {
  visible = true;
  journal_.push_back(L"launcher.Show");
}

void FakeLauncherView::Hide() {
  visible = false;
  journal_.push_back(L"launcher.Hide");
}

void FakeLauncherView::BringToTop() {
  journal_.push_back(L"launcher.BringToTop");
}

void FakeLauncherView::Quit() {
  quit = true;
  journal_.push_back(L"launcher.Quit");
}

void FakeScreenHost::ShowScreen() {
  shown = true;
  journal_.push_back(L"screen.Show(" + state_.screenMode + L")");
}

void FakeScreenHost::RefreshFields() {
  journal_.push_back(L"screen.Refresh");
}

}  // namespace corvane::fakes

// The screen's window painted: the colours of the controls the system draws, and the
// owner-drawn ones (the finder boxes, the molars, the check box).
#include <algorithm>

#include "settings/screen/screen_win32.h"

namespace corvane {

using namespace screen_id;

HBRUSH ScreenWindow::Brush(ScreenColour colour) {
  if (colour == kSystemWindowColour) return GetSysColorBrush(COLOR_WINDOW);
  for (const auto& [made, brush] : brushes_) {
    if (made == colour) return brush.get();
  }
  return brushes_.emplace_back(colour, UniqueBrush(CreateSolidBrush(colour))).second.get();
}

LRESULT ScreenWindow::OnColor(UINT message, HDC dc, HWND control) {
  const ControlRow* row = RowOf(GetDlgCtrlID(control));
  if (row == nullptr || row->text == kSystemColours) {
    return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  SetTextColor(dc, row->text);
  SetBkColor(dc, row->ground == kSystemWindowColour ? GetSysColor(COLOR_WINDOW) : row->ground);
  return reinterpret_cast<LRESULT>(Brush(row->ground));
}

void ScreenWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const ControlRow* row = RowOf(static_cast<int>(item.CtlID));
  if (row == nullptr) return;
  FillRect(item.hDC, &item.rcItem, Brush(row->ground));
  switch (row->kind) {
    case ControlKind::CheckBox:
      DrawCheckBox(item);
      break;
    case ControlKind::Picture:
      StretchBitmap(item.hDC, molars_.get(), item.rcItem, COLORONCOLOR);
      break;
    case ControlKind::FinderBox: {
      const BoxPicture picture = boxPictures_[static_cast<std::size_t>(row->id - kFinderBoxBase - 1)];
      HICON finderIcon = finderPointer_.Icon();
      if (picture == BoxPicture::FinderIcon && finderIcon != nullptr) {
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, finderIcon, Scale(17), Scale(17), 0, nullptr,
                   DI_NORMAL);
      }
      // Its picture at its own size, cut by the box as a picture box cuts what does not fit.
      if (picture == BoxPicture::First && finderBox_) {
        BITMAP info{};
        GetObjectW(finderBox_.get(), sizeof info, &info);
        const RECT target{item.rcItem.left, item.rcItem.top, item.rcItem.left + Scale(info.bmWidth),
                          item.rcItem.top + Scale(info.bmHeight)};
        StretchBitmap(item.hDC, finderBox_.get(), target, COLORONCOLOR);
      }
      if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
      break;
    }
    default:
      break;
  }
}

void ScreenWindow::DrawCheckBox(const DRAWITEMSTRUCT& item) {
  const int box = Scale(13);
  const int height = item.rcItem.bottom - item.rcItem.top;
  RECT square{item.rcItem.left, item.rcItem.top + (height - box) / 2, item.rcItem.left + box,
              item.rcItem.top + (height - box) / 2 + box};
  DrawFrameControl(item.hDC, &square, DFC_BUTTON, DFCS_BUTTONCHECK | (presenter_->CheckBoxTicked() ? DFCS_CHECKED : 0));

  RECT text{square.right + Scale(4), item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  wchar_t caption[128] = {};
  GetWindowTextW(item.hwndItem, caption, 128);
  const ControlRow* row = RowOf(kMontreSurClic);
  Selection font(item.hDC, Font(row->font));
  SetTextColor(item.hDC, row->text);
  SetBkMode(item.hDC, TRANSPARENT);
  // Centred vertically whether the caption takes one line or two.
  RECT measured = text;
  const int textHeight = DrawTextW(item.hDC, caption, -1, &measured, DT_WORDBREAK | DT_CALCRECT);
  text.top += std::max(0, (height - textHeight) / 2);
  DrawTextW(item.hDC, caption, -1, &text, DT_WORDBREAK);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = text;
    focus.bottom = focus.top + textHeight;
    focus.right = std::min<LONG>(measured.right + 1, item.rcItem.right);
    DrawFocusRect(item.hDC, &focus);
  }
}

}  // namespace corvane

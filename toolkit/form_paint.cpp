// The form's painting: its windowless controls in creation order over the form's colour, drawn
// off-screen and copied when the form is double-buffered.
#include "toolkit/form.h"
#include "toolkit/graphics.h"

namespace {

// BeginPaint and EndPaint as one scope, so that a failing paint still validates the window
// instead of asking to be painted again at once.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
  ~PaintScope() { EndPaint(hwnd_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT paint_ = {};
};

}  // namespace

void TForm::InvalidateRect(const RECT& rect) const {
  firstFrame_.Reset();  // a control changed: the frame drawn before the first show is stale
  // A hidden window is painted whole when it shows, and under Wine each invalidation is a call to
  // the server: building the window would make some three hundred of them.
  if (IsWindowVisible(hwnd_)) ::InvalidateRect(hwnd_, &rect, FALSE);
}

void TForm::PaintControls(HDC dc, const RECT& area) const {
  const UniqueBrush background(CreateSolidBrush(color_.ToColorRef()));
  FillRect(dc, &area, background.Get());
  for (TControl* control : controls_) {
    RECT overlap;
    if (control->Visible() && IntersectRect(&overlap, &control->BoundsRect(), &area)) control->Paint(dc);
  }
}

LRESULT TForm::OnPaint() {
  const PaintScope paint(hwnd_);
  const RECT& area = paint.Area();
  if (!doubleBuffered_) {
    PaintControls(paint.Dc(), area);
    return 0;
  }
  // Draw the damaged area off-screen and copy it; the first time, the frame drawn before the show.
  if (area.right <= area.left || area.bottom <= area.top) return 0;
  const bool first = firstFrame_.Get() != nullptr;
  const UniqueBitmap frame = first ? std::move(firstFrame_) : DrawOffscreen(area);
  const POINT origin = first ? POINT{area.left, area.top} : POINT{0, 0};
  const UniqueMemoryDc source(CreateCompatibleDC(paint.Dc()));
  const HGDIOBJ old = SelectObject(source.Get(), frame.Get());
  BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, source.Get(),
         origin.x, origin.y, SRCCOPY);
  SelectObject(source.Get(), old);
  return 0;
}

UniqueBitmap TForm::DrawOffscreen(const RECT& area) const {
  const UniqueMemoryDc buffer(CreateCompatibleDC(nullptr));
  const BITMAPINFO info = TopDownBitmapInfo(area.right - area.left, area.bottom - area.top);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const HGDIOBJ old = SelectObject(buffer.Get(), bitmap.Get());
  SetViewportOrgEx(buffer.Get(), -area.left, -area.top, nullptr);
  PaintControls(buffer.Get(), area);
  SelectObject(buffer.Get(), old);
  return bitmap;
}

// A list or an edit box draws itself the first time at several times the cost of the next
// (under Wine some 10 ms for the list), so each child window draws itself once off-screen
// before the window shows: what the user then waits for is the cheaper paint.
void TForm::WarmChildWindows() const {
  for (const TWinControl* child : windowed_) {
    RECT client = {};
    GetClientRect(child->Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0) continue;
    const BITMAPINFO info = TopDownBitmapInfo(client.right, client.bottom);
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueMemoryDc buffer(CreateCompatibleDC(nullptr));
    if (!bitmap || !buffer) continue;
    const HGDIOBJ old = SelectObject(buffer.Get(), bitmap.Get());
    SendMessageW(child->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffer.Get()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    SelectObject(buffer.Get(), old);
  }
}

#include "platform/win32/win32_container.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/win32/win32_command_button.h"
#include "platform/win32/win32_image.h"
#include "platform/win32/win32_label.h"
#include "platform/win32/win32_list_box.h"
#include "platform/win32/win32_text_box.h"
#include "platform/win32/win32_picture_box.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_regions.h"

namespace qs::win32 {

namespace {

bool contains(const Bounds& b, float x, float y) {
  return x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height;
}

}  // namespace

RECT ElementInfo::pixel_rect() const {
  const Bounds b = twips_bounds();
  const int left = twips_to_pixels_x(b.left);
  const int top = twips_to_pixels_y(b.top);
  return RECT{left, top, left + twips_to_pixels_x(b.width), top + twips_to_pixels_y(b.height)};
}

void invalidate_in_owner(ContainerWindow& owner, const RECT& rect) {
  if (owner.hwnd() != nullptr) InvalidateRect(owner.hwnd(), &rect, FALSE);
}

void windowless_moved_in_owner(ContainerWindow& owner) { owner.update_tool_tips(); }

void reorder_tabs_in_owner(ContainerWindow& owner) { owner.order_tabs(); }

ContainerWindow::ContainerWindow(Win32Platform& platform)
    : font_(make_font(default_font_desc())), platform_(platform) {}

ContainerWindow::~ContainerWindow() { destroy(); }

const wchar_t* ContainerWindow::window_class() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ContainerWindow::window_proc;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"QsContainerWindow";
    register_window_class(wc);
    return L"QsContainerWindow";
  }();
  return name;
}

void ContainerWindow::create(DWORD ex_style, DWORD style, HWND parent) {
  hwnd_ = CreateWindowExW(ex_style, window_class(), L"", style, 0, 0, 0, 0, parent, nullptr,
                          module_instance(), this);
}

void ContainerWindow::destroy() {
  if (hwnd_ == nullptr) return;
  // Elements first: their windows and fonts go before the parent window.
  // Destroying a child window sends notifications to this window; take the
  // elements out of the list first so no half-destroyed one is looked at.
  std::vector<std::unique_ptr<Element>> doomed;
  doomed.swap(elements_);
  mouse_.forget();
  doomed.clear();
  if (tool_tips_ != nullptr) DestroyWindow(tool_tips_);
  tool_tips_ = nullptr;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  for (const Fill& fill : fills_) DeleteObject(fill.area);
  fills_.clear();
}

ListBox& ContainerWindow::add_list_box(const std::u16string& name) {
  check_new_name(name);
  auto element = std::make_unique<Win32ListBox>(*this, hwnd_, name, static_cast<int>(elements_.size()));
  ListBox& list = *element;
  elements_.push_back(std::move(element));
  order_tabs();
  return list;
}

CommandButton& ContainerWindow::add_command_button(const std::u16string& name) {
  check_new_name(name);
  auto element =
      std::make_unique<Win32CommandButton>(*this, hwnd_, name, static_cast<int>(elements_.size()));
  CommandButton& button = *element;
  elements_.push_back(std::move(element));
  order_tabs();
  return button;
}

Label& ContainerWindow::add_label(const std::u16string& name) {
  check_new_name(name);
  auto element = std::make_unique<Win32Label>(*this, name, static_cast<int>(elements_.size()));
  Label& label = *element;
  elements_.push_back(std::move(element));
  return label;
}

Image& ContainerWindow::add_image(const std::u16string& name) {
  check_new_name(name);
  auto element = std::make_unique<Win32Image>(*this, name, static_cast<int>(elements_.size()));
  Image& image = *element;
  elements_.push_back(std::move(element));
  return image;
}

PictureBox& ContainerWindow::add_picture_box(const std::u16string& name) {
  check_new_name(name);
  auto element =
      std::make_unique<Win32PictureBox>(*this, hwnd_, name, static_cast<int>(elements_.size()));
  PictureBox& box = *element;
  elements_.push_back(std::move(element));
  order_tabs();
  return box;
}

void ContainerWindow::check_new_name(const std::u16string& name) const {
  if (find_element(name) != nullptr) throw std::invalid_argument("a child element of this name exists already");
}

TextBox& ContainerWindow::add_text_box(const std::u16string& name, TextBoxStyle style) {
  check_new_name(name);
  auto element =
      std::make_unique<Win32TextBox>(*this, hwnd_, name, static_cast<int>(elements_.size()), style);
  TextBox& box = *element;
  elements_.push_back(std::move(element));
  order_tabs();
  return box;
}

Element* ContainerWindow::find_element(const std::u16string& name) const {
  for (const auto& e : elements_) {
    if (e->name() == name) return e.get();
  }
  return nullptr;
}

Element* ContainerWindow::element_of(HWND child) const {
  for (const auto& e : elements_) {
    const auto* info = dynamic_cast<const ElementInfo*>(e.get());
    if (child != nullptr && info != nullptr && info->element_hwnd() == child) return e.get();
  }
  return nullptr;
}

Element* ContainerWindow::element_at(float x, float y) const {
  if (!in_window_region(
          POINT{twips_to_pixels_x(x * twips_per_unit_x()), twips_to_pixels_y(y * twips_per_unit_y())})) {
    return nullptr;
  }
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    Element* e = element_of(c);
    if (e != nullptr && e->visible() && contains(e->bounds(), x, y)) return e;
  }
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
    Element& e = **it;
    if (e.windowless() && e.visible() && contains(e.bounds(), x, y)) return &e;
  }
  return nullptr;
}

Element* ContainerWindow::windowless_at(POINT point) const {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
    Element* e = it->get();
    if (dynamic_cast<Windowless*>(e) == nullptr || !e->visible()) continue;
    const RECT r = dynamic_cast<ElementInfo&>(*e).pixel_rect();
    if (PtInRect(&r, point)) return e;
  }
  return nullptr;
}

namespace {

std::u16string tool_tip_of(const Element& e) {
  if (const auto* label = dynamic_cast<const Label*>(&e)) return label->tool_tip_text();
  if (const auto* image = dynamic_cast<const Image*>(&e)) return image->tool_tip_text();
  return {};
}

}  // namespace

void ContainerWindow::update_tool_tips() {
  if (hwnd_ == nullptr) return;
  bool any = false;
  for (const auto& e : elements_) any = any || !tool_tip_of(*e).empty();
  if (tool_tips_ == nullptr) {
    if (!any) return;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    tool_tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                 nullptr, module_instance(), nullptr);
    if (tool_tips_ == nullptr) return;
  }
  // One tool per element, named by its place in the list; rebuilt whole,
  // as the elements are few.
  for (UINT id = 0; id < elements_.size(); ++id) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = id;
    SendMessageW(tool_tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  for (UINT id = 0; id < elements_.size(); ++id) {
    const Element& e = *elements_[id];
    std::u16string text = tool_tip_of(e);
    if (text.empty() || dynamic_cast<const Windowless*>(&e) == nullptr) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = id;
    tool.rect = dynamic_cast<const ElementInfo&>(e).pixel_rect();
    tool.lpszText = const_cast<wchar_t*>(wide(text));
    SendMessageW(tool_tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void ContainerWindow::order_tabs() {
  std::vector<ElementInfo*> windows;
  for (const auto& e : elements_) {
    auto& info = dynamic_cast<ElementInfo&>(*e);
    if (info.element_hwnd() != nullptr) windows.push_back(&info);
  }
  std::stable_sort(windows.begin(), windows.end(), [](ElementInfo* a, ElementInfo* b) {
    return dynamic_cast<Element*>(a)->tab_index() < dynamic_cast<Element*>(b)->tab_index();
  });
  HWND after = HWND_TOP;
  for (ElementInfo* info : windows) {
    SetWindowPos(info->element_hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = info->element_hwnd();
  }
}

float ContainerWindow::client_width_units() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return static_cast<float>(r.right - r.left) * twips_per_pixel_x() / twips_per_unit_x();
}

float ContainerWindow::client_height_units() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return static_cast<float>(r.bottom - r.top) * twips_per_pixel_y() / twips_per_unit_y();
}

void ContainerWindow::change_scale_mode(int16_t mode) {
  if (mode != 1 && mode != 3) throw RuntimeError(kErrInvalidPropertyValue);
  scale_mode_ = mode;
}

float owner_twips_per_unit_x(const ContainerWindow& owner) { return owner.twips_per_unit_x(); }
float owner_twips_per_unit_y(const ContainerWindow& owner) { return owner.twips_per_unit_y(); }

void ContainerWindow::paint_content(HDC dc, const RECT& client) {
  if (const std::optional<COLORREF> fill = fill_color()) {
    HBRUSH brush = CreateSolidBrush(*fill);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  } else if (HWND parent = GetParent(hwnd_); parent != nullptr && parent != platform_.parking_window()) {
    // Transparent: let the parent paint what lies behind this window.
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }
  paint_underlay(dc, client);
  for (const Fill& fill : fills_) FillRgn(dc, fill.area, fill.brush);
  for (const auto& e : elements_) {
    if (auto* windowless = dynamic_cast<Windowless*>(e.get())) windowless->paint(dc);
  }
  paint_overlay(dc, client);
}

namespace {

// Where the client area's origin lies in the window's own coordinates (the
// coordinates of a window region).
POINT client_origin(HWND hwnd) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  return POINT{origin.x - window.left, origin.y - window.top};
}

}  // namespace

void ContainerWindow::set_window_region(RegionHandle region, bool redraw) {
  if (hwnd_ == nullptr) return;
  Win32Regions& regions = platform_.win32_regions();
  if (region == 0) {
    SetWindowRgn(hwnd_, nullptr, redraw ? TRUE : FALSE);
    return;
  }
  HRGN handle = regions.live(region);
  if (handle == nullptr) return;
  const POINT origin = client_origin(hwnd_);
  if (origin.x != 0 || origin.y != 0) OffsetRgn(handle, origin.x, origin.y);
  // On success the system owns the region and releases the one it held.
  if (SetWindowRgn(hwnd_, handle, redraw ? TRUE : FALSE) != 0) {
    regions.handed_to_window(region);
  } else if (origin.x != 0 || origin.y != 0) {
    OffsetRgn(handle, -origin.x, -origin.y);
  }
}

bool ContainerWindow::invert_region(RegionHandle region) {
  HRGN handle = platform_.win32_regions().live(region);
  if (handle == nullptr || hwnd_ == nullptr) return false;
  HDC dc = GetDC(hwnd_);
  const bool done = InvertRgn(dc, handle) != 0;
  ReleaseDC(hwnd_, dc);
  return done;
}

bool ContainerWindow::fill_region(RegionHandle region, GdiObject brush) {
  HRGN handle = platform_.win32_regions().live(region);
  if (handle == nullptr || hwnd_ == nullptr || !Win32Regions::is_stock_brush(brush)) return false;
  const auto stock = reinterpret_cast<HBRUSH>(brush);
  // The fill stays part of the window's picture: every later paint draws it
  // again, so a form filled while hidden shows it once shown. One kept
  // area per brush, grown by each fill.
  auto kept = std::find_if(fills_.begin(), fills_.end(),
                           [stock](const Fill& f) { return f.brush == stock; });
  if (kept == fills_.end()) {
    HRGN area = CreateRectRgn(0, 0, 0, 0);
    if (area == nullptr) return false;
    kept = fills_.insert(fills_.end(), Fill{area, stock});
  }
  if (CombineRgn(kept->area, kept->area, handle, RGN_OR) == ERROR) return false;
  HDC dc = GetDC(hwnd_);
  const bool done = FillRgn(dc, handle, stock) != 0;
  ReleaseDC(hwnd_, dc);
  return done;
}

bool ContainerWindow::in_window_region(POINT client_point) const {
  if (hwnd_ == nullptr) return true;
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  if (probe == nullptr) return true;
  bool inside = true;
  if (GetWindowRgn(hwnd_, probe) != ERROR) {
    const POINT origin = client_origin(hwnd_);
    inside = PtInRegion(probe, client_point.x + origin.x, client_point.y + origin.y) != 0;
  }
  DeleteObject(probe);
  return inside;
}

void ContainerWindow::on_paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
  paint_content(dc, client);
  EndPaint(hwnd_, &ps);
}

void ContainerWindow::on_command(HWND child, WORD code) {
  Element* e = element_of(child);
  if (auto* list = dynamic_cast<Win32ListBox*>(e)) list->notify(code);
  if (auto* button = dynamic_cast<Win32CommandButton*>(e)) button->notify(code);
  if (auto* box = dynamic_cast<Win32TextBox*>(e)) box->notify(code);
}

LRESULT ContainerWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const auto topmost_windowless = [this](POINT p) {
    // A disabled element keeps the mouse from the elements below it.
    Element* e = windowless_at(p);
    if (e == nullptr || !e->enabled()) return MouseAim{};
    const Bounds b = e->bounds();
    return MouseAim{&dynamic_cast<Windowless&>(*e).mouse_source(), b.left, b.top};
  };
  if (mouse_.handle(hwnd_, message, wparam, lparam, topmost_windowless,
                    twips_per_pixel_x() / twips_per_unit_x(),
                    twips_per_pixel_y() / twips_per_unit_y())) {
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      on_paint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      paint_content(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    case WM_COMMAND:
      if (lparam != 0) on_command(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_CTLCOLORLISTBOX:
      if (auto* list = dynamic_cast<Win32ListBox*>(element_of(reinterpret_cast<HWND>(lparam)))) {
        return reinterpret_cast<LRESULT>(list->paint_colors(reinterpret_cast<HDC>(wparam)));
      }
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_SETFONT:
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_handle_.get(font_));
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

LRESULT CALLBACK ContainerWindow::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<ContainerWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ContainerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  // Exceptions cannot unwind through the system's frames: keep them for the
  // caller that started this round of messages.
  try {
    return self->handle(message, wparam, lparam);
  } catch (...) {
    self->platform_.defer_exception(std::current_exception());
    return 0;
  }
}

}  // namespace qs::win32

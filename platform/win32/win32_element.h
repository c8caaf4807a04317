// What every child element of a Win32 surface or form shares: its name,
// its position kept in twips as given, visibility, enabled state, tab index
// and font. A windowed element mirrors these on its child window; a
// windowless one asks its container to repaint it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "core/runtime_error.h"
#include "platform/platform.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_platform.h"

namespace qs::win32 {

class ContainerWindow;

// The Win32 side of an element, reachable from any Element by dynamic_cast.
class ElementInfo {
 public:
  virtual ~ElementInfo() = default;
  // The element's own window; null for a windowless element.
  virtual HWND element_hwnd() const = 0;
  virtual ContainerWindow& owner() const = 0;
  // Order of creation within the container (0 for the first).
  virtual int sequence() const = 0;
  // The element's rectangle in the container's client pixels.
  RECT pixel_rect() const;

 protected:
  virtual Bounds twips_bounds() const = 0;
};

// A windowless element (label, image): painted by its container into the
// container's device context, below every child window, and handed the
// mouse by the container's hit test.
class Windowless {
 public:
  virtual ~Windowless() = default;
  virtual void paint(HDC dc) = 0;
  virtual MouseSource& mouse_source() = 0;
};

// Repaints the part of the container a windowless element covers.
void invalidate_in_owner(ContainerWindow& owner, const RECT& rect);
// Moves the tooltips of the container's windowless elements along.
void windowless_moved_in_owner(ContainerWindow& owner);
// Puts the container's windows in Z order by tab index.
void reorder_tabs_in_owner(ContainerWindow& owner);

template <class Base>
class ElementImpl : public Base, public ElementInfo {
 public:
  ElementImpl(ContainerWindow& owner, std::u16string name, int sequence)
      : owner_(owner), name_(std::move(name)), sequence_(sequence), tab_index_(sequence),
        font_(make_font(default_font_desc())) {}
  ~ElementImpl() override {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }

  const std::u16string& name() const override { return name_; }
  bool windowless() const override { return hwnd_ == nullptr; }
  HWND element_hwnd() const override { return hwnd_; }
  ContainerWindow& owner() const override { return owner_; }
  int sequence() const override { return sequence_; }

  Bounds bounds() const override { return bounds_; }
  void move(float left, std::optional<float> top, std::optional<float> width,
            std::optional<float> height) override {
    if ((width && *width < 0) || (height && *height < 0)) throw RuntimeError(kErrInvalidPropertyValue);
    const RECT before = pixel_rect();
    bounds_.left = left;
    if (top) bounds_.top = *top;
    if (width) bounds_.width = *width;
    if (height) bounds_.height = *height;
    const RECT after = pixel_rect();
    if (hwnd_ != nullptr) {
      SetWindowPos(hwnd_, nullptr, after.left, after.top, after.right - after.left,
                   after.bottom - after.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!EqualRect(&before, &after)) {
      // A windowless element in place (a layout that changes nothing) needs no repaint.
      invalidate_in_owner(owner_, before);
      invalidate_in_owner(owner_, after);
      windowless_moved_in_owner(owner_);
    }
  }

  bool visible() const override { return visible_; }
  void set_visible(bool visible) override {
    visible_ = visible;
    if (hwnd_ != nullptr) {
      ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    } else {
      invalidate_in_owner(owner_, pixel_rect());
    }
  }
  bool enabled() const override { return enabled_; }
  void set_enabled(bool enabled) override {
    enabled_ = enabled;
    if (hwnd_ != nullptr) {
      EnableWindow(hwnd_, enabled);
    } else {
      invalidate_in_owner(owner_, pixel_rect());
    }
  }
  int tab_index() const override { return tab_index_; }
  void set_tab_index(int index) override {
    if (index < 0) throw RuntimeError(kErrInvalidPropertyValue);
    tab_index_ = index;
    reorder_tabs_in_owner(owner_);
  }
  FontRef font() const override { return font_; }
  void set_font(FontRef font) override {
    font_ = std::move(font);
    apply_font();
  }

 protected:
  Bounds twips_bounds() const override { return bounds_; }

  // Makes the element's child window (hidden until positioned by move()),
  // of a system class or of one this module registered.
  void create_window(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style = 0) {
    hwnd_ = CreateWindowExW(ex_style, window_class, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(sequence_ + 1)),
                            module_instance(), nullptr);
    apply_font();
  }

  // Hands the current font to the window, or repaints a windowless element.
  void apply_font() {
    HFONT handle = font_handle_.get(font_);
    if (hwnd_ != nullptr) {
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    } else {
      invalidate_in_owner(owner_, pixel_rect());
    }
  }

  HFONT font_handle() { return font_handle_.get(font_); }

  ContainerWindow& owner_;
  HWND hwnd_ = nullptr;

 private:
  std::u16string name_;
  int sequence_;
  Bounds bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_;
  FontRef font_;
  FontHandle font_handle_;
};

}  // namespace qs::win32

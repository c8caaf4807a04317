// The window behind a surface or a form: it owns the child elements, paints
// its back colour (or, transparent, what its parent shows there) and its
// windowless labels and images below the child windows, earliest created
// first, routes the children's notifications to their elements, hands the
// mouse to the topmost windowless element under it and shows their tooltips.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/runtime_error.h"
#include "platform/platform.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_mouse.h"
#include "platform/win32/win32_platform.h"

namespace qs::win32 {

class Windowless;

class ContainerWindow {
 public:
  explicit ContainerWindow(Win32Platform& platform);
  ContainerWindow(const ContainerWindow&) = delete;
  ContainerWindow& operator=(const ContainerWindow&) = delete;
  virtual ~ContainerWindow();

  HWND hwnd() const { return hwnd_; }
  Win32Platform& win32_platform() { return platform_; }

  ListBox& add_list_box(const std::u16string& name);
  CommandButton& add_command_button(const std::u16string& name);
  Label& add_label(const std::u16string& name);
  PictureBox& add_picture_box(const std::u16string& name);
  Image& add_image(const std::u16string& name);
  TextBox& add_text_box(const std::u16string& name, TextBoxStyle style);
  const std::vector<std::unique_ptr<Element>>& elements() const { return elements_; }

  // The element of that name, or null.
  Element* find_element(const std::u16string& name) const;
  // The element owning a child window, or null.
  Element* element_of(HWND child) const;
  // The topmost visible element at a point (twips): windows in their Z
  // order first, then labels and images, the latest created on top.
  Element* element_at(float x, float y) const;
  // The topmost visible windowless element at a point of the client area
  // (pixels), or null.
  Element* windowless_at(POINT point) const;
  // Gives each windowless element with a tooltip text a tool over its
  // rectangle (after a change of text or place).
  void update_tool_tips();
  // Puts the child windows in Z order by tab index (ties by creation), so
  // the dialog manager's Tab key follows the tab order.
  void order_tabs();

  // The inner size in the container's scale.
  float client_width_units() const;
  float client_height_units() const;
  // Twips in one unit of the container's scale, across and down: 1 in
  // twips, the twips of a pixel in pixels.
  float twips_per_unit_x() const { return scale_mode_ == 3 ? twips_per_pixel_x() : 1.0f; }
  float twips_per_unit_y() const { return scale_mode_ == 3 ? twips_per_pixel_y() : 1.0f; }
  int16_t container_scale_mode() const { return scale_mode_; }
  // 1 twips or 3 pixels; anything else fails with 380.
  void change_scale_mode(int16_t mode);

  // SetWindowRgn on this window with a region of the platform's service, in
  // client pixels: the window takes the region over (0 gives back the whole
  // window). An unknown region changes nothing.
  void set_window_region(RegionHandle region, bool redraw);
  // InvertRgn and FillRgn (a stock brush) on the client area.
  bool invert_region(RegionHandle region);
  bool fill_region(RegionHandle region, GdiObject brush);
  // Whether a point of the client area (pixels) lies inside the window's
  // region (always, without one).
  bool in_window_region(POINT client_point) const;

  // Paints the back colour, the labels and the images.
  void paint_content(HDC dc, const RECT& client);

  // Registers the window class shared by surfaces and forms (once per process).
  static const wchar_t* window_class();

 protected:
  // Creates the window; the class's procedure sends its messages to handle().
  void create(DWORD ex_style, DWORD style, HWND parent);
  // Destroys the elements, then the window.
  void destroy();
  virtual LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  // The back colour to paint, or nothing for a transparent surface.
  virtual std::optional<COLORREF> fill_color() const = 0;
  // Draws what the container adds over its labels (a border).
  virtual void paint_overlay(HDC, const RECT&) {}

  OleColor back_color_ = kColorButtonFace;
  OleColor fore_color_ = kColorButtonText;
  FontRef font_;
  FontHandle font_handle_;
  int16_t scale_mode_ = 1;

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void on_command(HWND child, WORD code);
  void on_paint();

  Win32Platform& platform_;
  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<Element>> elements_;
  // The mouse over the client area, for the windowless elements.
  MouseTracker mouse_;
  // The tooltip window of the windowless elements, made when first needed.
  HWND tool_tips_ = nullptr;

  // Refuses a second element of the same name.
  void check_new_name(const std::u16string& name) const;
};

// The Container interface over a ContainerWindow, shared by surfaces and forms.
template <class Base>
class ContainerImpl : public Base, public ContainerWindow {
 public:
  explicit ContainerImpl(Win32Platform& platform) : ContainerWindow(platform) {}

  Platform& platform() override;
  ListBox& create_list_box(const std::u16string& name) override { return add_list_box(name); }
  CommandButton& create_command_button(const std::u16string& name) override {
    return add_command_button(name);
  }
  Label& create_label(const std::u16string& name) override { return add_label(name); }
  PictureBox& create_picture_box(const std::u16string& name) override {
    return add_picture_box(name);
  }
  TextBox& create_text_box(const std::u16string& name, TextBoxStyle style = {}) override {
    return add_text_box(name, style);
  }
  Image& create_image(const std::u16string& name) override { return add_image(name); }
  Element* find(const std::u16string& name) override { return find_element(name); }
  int16_t scale_mode() const override { return container_scale_mode(); }
  void set_scale_mode(int16_t mode) override { change_scale_mode(mode); }
  float scale_width() const override { return client_width_units(); }
  float scale_height() const override { return client_height_units(); }
  OleColor back_color() const override { return back_color_; }
  void set_back_color(OleColor color) override {
    back_color_ = color;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  OleColor fore_color() const override { return fore_color_; }
  void set_fore_color(OleColor color) override { fore_color_ = color; }
  FontRef font() const override { return font_; }
  void set_font(FontRef font) override {
    font_ = std::move(font);
    font_handle_.get(font_);
  }
  void refresh() override {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  void set_window_rgn(RegionHandle region, bool redraw) override {
    set_window_region(region, redraw);
  }
  bool invert_rgn(RegionHandle region) override { return invert_region(region); }
  bool fill_rgn(RegionHandle region, GdiObject brush) override {
    return fill_region(region, brush);
  }
};

template <class Base>
Platform& ContainerImpl<Base>::platform() {
  return win32_platform();
}

}  // namespace qs::win32

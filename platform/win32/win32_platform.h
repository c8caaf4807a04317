// The real platform over user32 and gdi32: a control's surface is its own
// child window; list boxes and buttons are real child windows; labels are
// windowless and painted by their surface.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>

#include "platform/driver.h"
#include "platform/open_file_record.h"
#include "platform/platform.h"

namespace qs::win32 {

class Win32Regions;

class Win32Platform : public Platform {
 public:
  // The platform of the calling thread (created on first use).
  static Win32Platform& current();

  std::unique_ptr<Surface> create_surface() override;
  std::unique_ptr<Form> create_form(const std::u16string& name) override;

  uintptr_t module_handle() const override;
  // Through the system's ANSI code page (CP_ACP); unmappable characters become "?".
  std::string to_ansi(std::u16string_view text) const override;
  std::u16string from_ansi(std::string_view text) const override;
  // The script set through the driver if there is one, else the real
  // GetOpenFileNameA with the record copied into a full OPENFILENAMEA.
  bool get_open_file_name(OpenFileRecord& record) override;
  void set_open_file_script(std::function<bool(OpenFileRecord&)> script);
  // Pictures are the platform's picture objects (platform/win32/win32_picture.h):
  // OleLoadPicture over the file's bytes, OleCreatePictureIndirect for the
  // empty picture.
  PictureRef load_picture(const std::u16string& path) override;
  PictureRef picture_from_data(std::span<const uint8_t> data) override;

  // The real region calls, with their own count of live regions.
  Regions& regions() override;
  Win32Regions& win32_regions();

  // The driver acting with real window messages on this thread's windows.
  // Once asked for, the platform is under test: a modal show needs a script.
  Driver& driver();

  Win32Platform();
  ~Win32Platform() override;

  // The hidden top-level window that holds surfaces not yet attached.
  HWND parking_window();
  // True once driver() was called on this thread.
  bool driver_in_use() const;
  // The script a modal show runs (set through the driver), or empty.
  const std::function<void(Form&)>& modal_script() const;
  void set_modal_script(std::function<void(Form&)> script);
  // An error raised inside a window procedure cannot unwind through the
  // system's frames. While an ErrorCatch is open on the thread (a driver
  // acting as the user, a scripted modal show), the first such error is
  // kept for it to rethrow; with none open, the handler that raised it has
  // simply ended and the error is dropped (and counted), so it never reaches
  // the host's message loop or a later, unrelated call.
  void defer_exception(std::exception_ptr error);
  // How many errors were dropped on this thread.
  int dropped_errors() const;

  class ErrorCatch {
   public:
    explicit ErrorCatch(Win32Platform& platform);
    ~ErrorCatch();
    ErrorCatch(const ErrorCatch&) = delete;
    ErrorCatch& operator=(const ErrorCatch&) = delete;
    // Rethrows the first error raised in a window procedure since this
    // catch opened, if any.
    void rethrow();

   private:
    Win32Platform& platform_;
    std::exception_ptr outer_;
    bool outer_open_;
  };

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// What the ActiveX layer needs of a surface made by Win32Platform. Until it
// is attached, the surface's window lives hidden under a parking window of
// the thread, so a control can build its children before it has a site.
class Win32Surface : public Surface {
 public:
  virtual HWND hwnd() const = 0;
  // Makes the window a child of parent at pos (pixels, parent client
  // coordinates) and shows it; a null parent parks and hides it again.
  virtual void attach(HWND parent, const RECT& pos) = 0;
  // Moves and sizes the window (pixels); a size change reports on_resize.
  virtual void set_rect(const RECT& pos) = 0;
  // Draws the surface and its children into a device context at bounds
  // (for hosts that render through IViewObject rather than the window).
  virtual void draw(HDC dc, const RECT& bounds) = 0;
};

// Twips per pixel for this display (15 at 96 dpi).
float twips_per_pixel_x();
float twips_per_pixel_y();

// The module (DLL or program) this code is linked into; window classes are
// registered under it.
HINSTANCE module_instance();

// Registers a window class of this module, replacing a stale registration
// left by an earlier load of the same module.
void register_window_class(WNDCLASSEXW& wc);

// Unregisters every window class this module registered (on DLL unload).
void unregister_window_classes();

}  // namespace qs::win32

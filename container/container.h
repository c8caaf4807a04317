// A top-level window that hosts ActiveX controls by ProgID, loads and saves
// them as a text form, and logs their events and property changes.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "container/form_file.h"

namespace qs::container {

class ControlSite;

class Container {
 public:
  // Creates the (hidden) container window: top-level, or a child of
  // `parent` when given. COM must be initialised on this thread (apartment
  // threaded).
  explicit Container(HWND parent = nullptr);
  ~Container();
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  // Creates a fresh control by ProgID at `rect` (client pixels) and activates
  // it in place. Throws std::runtime_error when the control cannot be created.
  ControlSite& add_control(const std::wstring& prog_id, const std::wstring& name, RECT rect);
  // Sets caption and size from the form and creates its controls from their
  // stored properties.
  void load_form(const Form& form);
  // Saves every control into a form.
  Form save_form();
  // Saves controls through their streams even when they have property bags
  // (hosts that know only IPersistStreamInit see this state).
  void set_save_as_stream(bool on) { save_as_stream_ = on; }
  // Closes and releases every control.
  void close_controls();

  // The control named `name`, or null.
  ControlSite* find(const std::wstring& name);
  const std::vector<ControlSite*>& controls() const { return controls_; }
  // Moves and sizes a control.
  void move_control(const std::wstring& name, RECT rect);

  // Design mode answers the ambient user mode with false; switching tells
  // every control.
  void set_design_mode(bool design);
  bool design_mode() const { return design_mode_; }
  // The ambient font handed to controls; changing it tells every control.
  void set_ambient_font(const FontDesc& font);
  const FontDesc& ambient_font() const { return ambient_font_; }
  OLE_COLOR ambient_back_color() const { return 0x8000000F; }
  OLE_COLOR ambient_fore_color() const { return 0x80000012; }

  HWND window() const { return window_; }
  // Shows the window, sized to fit the form or the controls.
  void show();
  // Handles every queued message, then waits up to `idle_ms` for more
  // (window managers and Wine's X driver deliver some asynchronously).
  void pump_messages(DWORD idle_ms = 0);
  // Runs the message loop until the window is closed.
  int run();
  // Runs `on_close` when the window is asked to close, before the controls go.
  void set_on_close(std::function<void()> on_close) { on_close_ = std::move(on_close); }

  // Writes one log line to the in-memory log, and to stdout and the log file when set.
  void log(const std::wstring& line);
  const std::vector<std::wstring>& log_lines() const { return log_lines_; }
  void clear_log() { log_lines_.clear(); }
  void set_log_to_stdout(bool on) { log_stdout_ = on; }
  // Appends log lines to `path`; false when it cannot be opened.
  bool set_log_file(const std::wstring& path);

  // Called by the sites.
  void set_active_object(IOleInPlaceActiveObject* object);

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void remove(ControlSite* site);

  HWND window_ = nullptr;
  std::wstring caption_ = L"QuorralSet container";
  SIZE client_size_{0, 0};
  std::vector<ControlSite*> controls_;
  bool design_mode_ = false;
  bool save_as_stream_ = false;
  FontDesc ambient_font_;
  bool log_stdout_ = false;
  FILE* log_file_ = nullptr;
  std::vector<std::wstring> log_lines_;
  std::function<void()> on_close_;
  Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> active_object_;
};

// Pixels to HIMETRIC (0.01 mm) at the screen's resolution, and back.
LONG pixels_to_himetric(LONG pixels, bool horizontal);
LONG himetric_to_pixels(LONG himetric, bool horizontal);

}  // namespace qs::container

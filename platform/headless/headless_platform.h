// The in-memory platform: surfaces and forms as plain objects, modal shows
// answered by a test's script, and counts of loaded forms so a test can
// prove that forms are unloaded.
#pragma once

#include <functional>
#include <vector>

#include "platform/headless/headless_message_window.h"
#include "platform/open_file_record.h"
#include "platform/platform.h"
#include "platform/region_engine.h"

namespace qs {

class HeadlessForm;

class HeadlessPlatform final : public Platform {
 public:
  HeadlessPlatform() = default;
  ~HeadlessPlatform() override;
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // A surface of inner size 0 x 0.
  std::unique_ptr<Surface> create_surface() override;
  std::unique_ptr<Form> create_form(const std::u16string& name) override;

  // Forms loaded and not yet destroyed.
  int live_forms() const { return live_forms_; }
  // Forms created since the platform started.
  int forms_created() const { return forms_created_; }
  // The form shown modally on top, or null when none is.
  HeadlessForm* modal_form() const;

  // A fixed number standing for the library's module.
  static constexpr uintptr_t kModuleHandle = 0x10000000;
  uintptr_t module_handle() const override { return kModuleHandle; }
  // The code page is Latin-1: characters up to U+00FF are one byte each,
  // any other becomes "?".
  std::string to_ansi(std::u16string_view text) const override;
  std::u16string from_ansi(std::string_view text) const override;
  // Runs the open-file script; without one the request is a fault of the test.
  bool get_open_file_name(OpenFileRecord& record) override;
  void set_open_file_script(std::function<bool(OpenFileRecord&)> script) {
    open_file_script_ = std::move(script);
  }
  // A screen of 1024 x 768 pixels at 15 twips per pixel.
  float screen_width() const override { return 1024 * 15; }
  float screen_height() const override { return 768 * 15; }

  // System calls the controls make, as recorded: the message box (answered
  // by its script, or OK), window positions and sounds.
  struct MessageBoxCall {
    std::u16string text;
    std::u16string caption;
    uint32_t style = 0;
  };
  struct WindowPosCall {
    intptr_t window = 0;
    intptr_t insert_after = 0;
    uint32_t flags = 0;
  };
  struct SoundCall {
    std::string name;
    uint32_t flags = 0;
  };
  int32_t message_box(const std::u16string& text, const std::u16string& caption,
                      uint32_t style) override;
  void set_message_box_script(std::function<int32_t(const MessageBoxCall&)> script) {
    message_box_script_ = std::move(script);
  }
  const std::vector<MessageBoxCall>& message_boxes() const { return message_boxes_; }
  // Accepted for windows this platform made (surfaces' handles) that are
  // still alive; refused for any other handle.
  bool set_window_pos(intptr_t window, intptr_t insert_after, uint32_t flags) override;
  const std::vector<WindowPosCall>& window_pos_calls() const { return window_pos_calls_; }
  // Answers with the result set (1 at first).
  int32_t snd_play_sound(const std::string& ansi_name, uint32_t flags) override;
  void set_sound_result(int32_t result) { sound_result_ = result; }
  const std::vector<SoundCall>& sounds() const { return sounds_; }
  // Windows alive on this platform, by handle: a surface adds its own.
  void window_created(uintptr_t handle) { windows_.push_back(handle); }
  void window_destroyed(uintptr_t handle);
  // The regions, computed by the software engine.
  Regions& regions() override { return regions_; }
  SoftwareRegions& software_regions() { return regions_; }

  // Reads the file and decodes it in software (decode_picture); pictures
  // have no handle here, their pixels stand for what would be painted.
  PictureRef load_picture(const std::u16string& path) override;
  PictureRef picture_from_data(std::span<const uint8_t> data) override;
  // Handles for new surfaces: distinct, never 0.
  uintptr_t next_window_handle() { return window_handles_ += 0x10; }

  // Hidden windows with handles from the same series as surfaces.
  std::unique_ptr<MessageWindow> create_message_window() override;
  // Recorded by the in-memory notification area (HeadlessTray).
  bool shell_notify_icon(uint32_t message, const TrayRecord& record) override;
  ScreenPoint cursor_pos() override { return cursor_; }
  void set_cursor_pos(ScreenPoint point) { cursor_ = point; }
  // A 96 dots-per-inch screen.
  float twips_per_pixel_x() const override { return 15.0f; }
  // The handle standing for the library's icon resource.
  static constexpr intptr_t kLibraryIconHandle = 0x7A01;
  // The built-in icon decoded in software, with that handle.
  PictureRef library_icon() override;

  HeadlessTray& tray() { return tray_; }
  const std::vector<HeadlessMessageWindow*>& message_windows() const { return message_windows_; }
  // The virtual clock in milliseconds since the platform started.
  int64_t now() const { return now_; }
  // Moves the clock on by ms, firing every timer tick due on the way in
  // time order (ticks due at the same moment in the timers' creation order).
  void advance(int64_t ms);
  int running_timers() const;

  // The script every modal show runs with its form; it must hide the form.
  void set_modal_script(std::function<void(Form&)> script) { script_ = std::move(script); }

 private:
  friend class HeadlessForm;
  friend class HeadlessTimer;
  friend class HeadlessMessageWindow;

  // Counts a new form and gives its serial number.
  int form_loaded();
  void form_unloaded(HeadlessForm& form);
  // Shows the form modally: runs the script with it, then requires it hidden.
  void run_modal(HeadlessForm& form);
  // Takes the form out of the modal chain; false if it left already (destroyed).
  bool end_modal(HeadlessForm& form);

  SoftwareRegions regions_;
  std::function<void(Form&)> script_;
  std::function<bool(OpenFileRecord&)> open_file_script_;
  uintptr_t window_handles_ = 0x20000;
  std::vector<HeadlessForm*> modal_stack_;
  std::function<int32_t(const MessageBoxCall&)> message_box_script_;
  std::vector<MessageBoxCall> message_boxes_;
  std::vector<WindowPosCall> window_pos_calls_;
  std::vector<SoundCall> sounds_;
  int32_t sound_result_ = 1;
  std::vector<uintptr_t> windows_;
  int live_forms_ = 0;
  std::vector<HeadlessTimer*> timers_;
  std::vector<HeadlessMessageWindow*> message_windows_;
  HeadlessTray tray_;
  ScreenPoint cursor_;
  int64_t now_ = 0;
  int forms_created_ = 0;
};

}  // namespace qs

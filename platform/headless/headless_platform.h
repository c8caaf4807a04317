// The in-memory platform: surfaces and forms as plain objects, modal shows
// answered by a test's script, and counts of loaded forms so a test can
// prove that forms are unloaded.
#pragma once

#include <functional>
#include <vector>

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
  // The regions, computed by the software engine.
  Regions& regions() override { return regions_; }
  SoftwareRegions& software_regions() { return regions_; }

  // Reads the file and decodes it in software (decode_picture); pictures
  // have no handle here, their pixels stand for what would be painted.
  PictureRef load_picture(const std::u16string& path) override;
  PictureRef picture_from_data(std::span<const uint8_t> data) override;
  // Handles for new surfaces: distinct, never 0.
  uintptr_t next_window_handle() { return window_handles_ += 0x10; }

  // The script every modal show runs with its form; it must hide the form.
  void set_modal_script(std::function<void(Form&)> script) { script_ = std::move(script); }

 private:
  friend class HeadlessForm;

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
  int live_forms_ = 0;
  int forms_created_ = 0;
};

}  // namespace qs

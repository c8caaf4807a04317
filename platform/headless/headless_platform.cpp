#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/runtime_error.h"
#include "core/variant.h"
#include "platform/headless/headless_form.h"
#include "platform/headless/headless_surface.h"

namespace qs {

namespace {

constexpr int32_t kErrFormAlreadyShown = 400;

}  // namespace

HeadlessPlatform::~HeadlessPlatform() = default;

std::unique_ptr<Surface> HeadlessPlatform::create_surface() {
  return std::make_unique<HeadlessSurface>(*this);
}

std::unique_ptr<Form> HeadlessPlatform::create_form(const std::u16string& name) {
  return std::make_unique<HeadlessForm>(*this, name);
}

PictureRef HeadlessPlatform::load_picture(const std::u16string& path) {
  if (path.empty()) return make_empty_picture();
  std::ifstream file(utf8(path), std::ios::binary);
  if (!file) throw RuntimeError(kErrFileNotFound);
  const std::vector<uint8_t> data{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
  if (file.bad()) throw RuntimeError(kErrFileNotFound);
  // An empty file is no picture (only an empty path gives the empty picture).
  if (data.empty()) throw RuntimeError(kErrInvalidPicture);
  return decode_picture(data);
}

PictureRef HeadlessPlatform::picture_from_data(std::span<const uint8_t> data) {
  return decode_picture(data);
}

std::string HeadlessPlatform::to_ansi(std::u16string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

std::u16string HeadlessPlatform::from_ansi(std::string_view text) const {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return out;
}

bool HeadlessPlatform::get_open_file_name(OpenFileRecord& record) {
  if (!open_file_script_) {
    throw std::logic_error("open-file dialog without a script: call Driver::on_open_file first");
  }
  auto script = open_file_script_;
  return script(record);
}

HeadlessForm* HeadlessPlatform::modal_form() const {
  return modal_stack_.empty() ? nullptr : modal_stack_.back();
}

int HeadlessPlatform::form_loaded() {
  ++live_forms_;
  return ++forms_created_;
}

void HeadlessPlatform::form_unloaded(HeadlessForm& form) {
  --live_forms_;
  // A form destroyed during its own modal show leaves the modal chain.
  std::erase(modal_stack_, &form);
}

void HeadlessPlatform::run_modal(HeadlessForm& form) {
  if (form.shown_) {
    throw RuntimeError(kErrFormAlreadyShown, u"Form already displayed; can't show modally");
  }
  if (!script_) {
    throw std::logic_error("modal show without a script: call Driver::on_modal first");
  }
  // A copy, so a script that installs another script keeps running.
  auto script = script_;
  form.shown_ = true;
  modal_stack_.push_back(&form);
  try {
    script(form);
  } catch (...) {
    if (end_modal(form)) form.shown_ = false;
    throw;
  }
  if (end_modal(form) && form.shown_) {
    form.shown_ = false;
    throw std::logic_error("the modal script returned without hiding the form");
  }
}

bool HeadlessPlatform::end_modal(HeadlessForm& form) {
  auto it = std::find(modal_stack_.begin(), modal_stack_.end(), &form);
  if (it == modal_stack_.end()) return false;
  modal_stack_.erase(it);
  return true;
}

}  // namespace qs

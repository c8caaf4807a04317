#include "controls/dirtext/dirtext.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "core/runtime_error.h"
#include "core/skip_on_failure.h"
#include "library/stored_value.h"
#include "platform/open_file_record.h"

namespace qs {

namespace {

const std::u16string kCaptionDefault = u"Open/Save File";

std::u16string trim_spaces(std::u16string_view s) {
  const size_t first = s.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const size_t last = s.find_last_not_of(u' ');
  return std::u16string(s.substr(first, last - first + 1));
}

// A directory and a name with one "\" between them.
std::u16string join(const std::u16string& dir, const std::u16string& name) {
  if (!dir.empty() && dir.back() == u'\\') return dir + name;
  return dir + u"\\" + name;
}

// The paths a confirmed dialog returned in its buffer: for one file its full
// path up to the first NUL; for a multiple selection the directory, then the
// names, each ended by a NUL, the list ended by an empty name.
std::vector<std::u16string> paths_of(const std::u16string& buffer, bool multi) {
  const std::u16string text = trim_spaces(buffer);
  if (!multi) return {text.substr(0, text.find(u'\0'))};
  std::vector<std::u16string> elements;
  size_t start = 0;
  for (;;) {
    const size_t nul = text.find(u'\0', start);
    elements.push_back(text.substr(start, nul == std::u16string::npos ? nul : nul - start));
    if (nul == std::u16string::npos) break;
    start = nul + 1;
  }
  const std::u16string& dir = elements[0];
  std::vector<std::u16string> paths;
  paths.push_back(elements.size() < 2 || elements[1].empty() ? dir : join(dir, elements[1]));
  for (size_t i = 2; i < elements.size(); ++i) {
    if (elements[i].find_first_not_of(u' ') == std::u16string::npos) break;
    paths.push_back(join(dir, elements[i]));
  }
  return paths;
}

char16_t fold(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

bool same_text(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

}  // namespace

Dirtext::Dirtext(std::unique_ptr<Surface> s, Host& host)
    : Control(std::move(s), host), caption_(kCaptionDefault) {
  Surface& sf = surface();
  text1_ = &sf.create_list_box(u"Text1");
  command1_ = &sf.create_command_button(u"Command1");
  text1_->move(0, 0, 855, 300);
  text1_->set_integral_height(true);
  command1_->move(825, 0, 330, 300);
  command1_->set_caption(u"...");
  command1_->set_tab_index(0);
  text1_->set_tab_index(1);

  text1_->on_click = [this] { raise_event(kClickEvent); };
  text1_->on_dbl_click = [this] { raise_event(kDblClickEvent); };
  text1_->on_key_down = [this](int16_t& code, int16_t& shift) { raise_key_event(kKeyDownEvent, code, &shift); };
  text1_->on_key_press = [this](int16_t& ascii) { raise_key_event(kKeyPressEvent, ascii, nullptr); };
  text1_->on_key_up = [this](int16_t& code, int16_t& shift) { raise_key_event(kKeyUpEvent, code, &shift); };
  text1_->on_mouse_down = [this](MouseReport& r) { raise_mouse_event(kMouseDownEvent, r); };
  text1_->on_mouse_move = [this](MouseReport& r) { raise_mouse_event(kMouseMoveEvent, r); };
  text1_->on_mouse_up = [this](MouseReport& r) { raise_mouse_event(kMouseUpEvent, r); };
  command1_->on_click = [this] { browse(); };
}

Dirtext::~Dirtext() {
  text1_->on_click = nullptr;
  text1_->on_dbl_click = nullptr;
  text1_->on_key_down = nullptr;
  text1_->on_key_press = nullptr;
  text1_->on_key_up = nullptr;
  text1_->on_mouse_down = nullptr;
  text1_->on_mouse_move = nullptr;
  text1_->on_mouse_up = nullptr;
  command1_->on_click = nullptr;
}

// ---- Lifecycle -------------------------------------------------------------

void Dirtext::InitProperties() {
  filter_.clear();
  caption_ = Variant(kCaptionDefault);
  multi_select_ = false;
  dlg_type_ = dtOpenFile;
}

void Dirtext::ReadProperties(PropertyBag& bag) {
  Surface& sf = surface();
  text1_->set_back_color(color_of(bag.read(u"BackColor", color_value(kColorWindowBackground))));
  text1_->set_fore_color(color_of(bag.read(u"ForeColor", color_value(kColorWindowText))));
  sf.set_enabled(bag.read(u"Enabled", Variant(true)).to_boolean());
  text1_->set_font(font_of(bag.read(u"Font", Variant(ambient_or_default_font(host())))));
  sf.set_border_style(bag.read(u"BorderStyle", Variant(int16_t{0})).to_integer());
  filter_ = bag.read(u"Filter", Variant(u"")).to_text();
  Variant caption = bag.read(u"Caption", Variant(kCaptionDefault));
  caption.to_text();  // a value without a text form is refused
  caption_ = std::move(caption);
  multi_select_ = bag.read(u"MultiSelect", Variant(false)).to_boolean();
  dlg_type_ = bag.read(u"DlgType", Variant(int16_t{dtOpenFile})).to_integer();
  const std::u16string list0 = bag.read(u"List0", Variant(u"")).to_text();
  if (text1_->list_count() > 0) {
    text1_->set_list(0, list0);
  } else if (!list0.empty()) {
    text1_->add_item(list0);
  }
  const int16_t index = bag.read(u"ListIndex", Variant(int16_t{0})).to_integer();
  if (index < text1_->list_count()) text1_->set_list_index(index);
  const std::u16string text = bag.read(u"Text", Variant(u"")).to_text();
  if (!text.empty()) select_text(text);
}

void Dirtext::WriteProperties(PropertyBag& bag) {
  const Surface& sf = surface();
  bag.write(u"BackColor", color_value(text1_->back_color()), color_value(kColorWindowBackground));
  bag.write(u"ForeColor", color_value(text1_->fore_color()), color_value(kColorWindowText));
  bag.write(u"Enabled", Variant(sf.enabled()), Variant(true));
  bag.write(u"Font", Variant(text1_->font()), Variant(ambient_or_default_font(host())));
  bag.write(u"BorderStyle", Variant(sf.border_style()), Variant(int16_t{0}));
  bag.write(u"Filter", Variant(filter_), Variant(u""));
  bag.write(u"Caption", caption_, Variant(kCaptionDefault));
  bag.write(u"MultiSelect", Variant(multi_select_), Variant(false));
  bag.write(u"DlgType", Variant(dlg_type_), Variant(int16_t{dtOpenFile}));
  bag.write(u"List0", Variant(text1_->list_count() > 0 ? text1_->list(0) : std::u16string()),
            Variant(u""));
  bag.write(u"ListIndex", Variant(ListIndex()), Variant(int16_t{0}));
  bag.write(u"Text", Variant(Text()), Variant(u""));
}

void Dirtext::Resize() { layout(); }

// ---- Layout ----------------------------------------------------------------

void Dirtext::layout() {
  // The growth below starts a nested pass through on_resize; one is enough.
  if (layout_depth_ > 1) return;
  ++layout_depth_;
  SkipOnFailure s;
  Surface& sf = surface();
  const float height = sf.scale_height();
  s.step([&] {
    const Bounds b = text1_->bounds();
    text1_->move(b.left, b.top, b.width, height);
  });
  const float taken = text1_->bounds().height;
  if (taken > height) {
    s.step([&] { sf.set_height(taken); });
    --layout_depth_;
    return;
  }
  float button = 0;
  s.step([&] {
    button = taken < kButtonMaxHeight ? taken : kButtonMaxHeight;
    const Bounds b = command1_->bounds();
    command1_->move(b.left, b.top, b.width, button);
  });
  s.step([&] {
    const Bounds b = command1_->bounds();
    command1_->move(b.left, b.top, b.height, b.height);
  });
  s.step([&] {
    const Bounds b = text1_->bounds();
    text1_->move(b.left, b.top, sf.scale_width() - command1_->bounds().width, b.height);
  });
  s.step([&] {
    const Bounds b = command1_->bounds();
    command1_->move(text1_->bounds().width, b.top, b.width, b.height);
  });
  --layout_depth_;
}

// ---- Browse ----------------------------------------------------------------

Variant Dirtext::ShowDlg() {
  browse();
  return Variant();
}

std::optional<std::vector<std::u16string>> Dirtext::ask_paths() {
  SkipOnFailure s;
  Platform& p = surface().platform();
  const bool multi = multi_select_;
  const uint32_t max_file = multi ? kMultiFileMax : kSingleFileMax;
  std::string filter;
  std::string file(max_file + 1, '\0');
  std::string file_title(kSingleFileMax + 1, '\0');
  const std::string initial_dir = "C:\\";
  std::string title;

  OpenFileRecord r;
  std::memset(&r, 0, sizeof r);
  r.lStructSize = kOpenFileRecordSize;
  s.step([&] { r.hwndOwner = surface().window_handle(); });
  s.step([&] { r.hInstance = p.module_handle(); });
  s.step([&] {
    std::u16string pairs = filter_;
    for (char16_t& c : pairs)
      if (c == u'|') c = u'\0';
    filter = p.to_ansi(pairs);
    filter.append(2, '\0');
    r.lpstrFilter = filter.c_str();
  });
  r.nFilterIndex = 1;
  r.lpstrFile = file.data();
  r.nMaxFile = max_file;
  r.lpstrFileTitle = file_title.data();
  r.nMaxFileTitle = kSingleFileMax;
  r.lpstrInitialDir = initial_dir.c_str();
  s.step([&] {
    title = p.to_ansi(caption_.to_text());
    r.lpstrTitle = title.c_str();
  });
  r.Flags = multi ? kOfnExplorer | kOfnAllowMultiSelect : kOfnExplorer;

  bool confirmed = false;
  s.step([&] { confirmed = p.get_open_file_name(r); });
  if (!confirmed) return std::nullopt;
  std::vector<std::u16string> paths;
  s.step([&] { paths = paths_of(p.from_ansi(std::string_view(file.data(), file.size())), multi); });
  // The dialog hands back "?" for a character the ANSI code page cannot
  // carry, and no file name contains "?": such a path names no file, so the
  // selection is refused as a failed dialog rather than listed corrupted.
  for (const std::u16string& path : paths)
    if (path.find(u'?') != std::u16string::npos) return std::nullopt;
  return paths;
}

void Dirtext::browse() {
  std::optional<std::vector<std::u16string>> paths = ask_paths();
  if (!paths) return;
  SkipOnFailure s;
  s.step([&] { text1_->clear(); });
  for (const std::u16string& path : *paths) {
    bool added = false;
    s.step([&] {
      text1_->add_item(path);
      added = true;
    });
    if (!added) break;
  }
  s.step([&] { raise_event(kFileSelectedEvent); });
}

// ---- Properties ------------------------------------------------------------

OleColor Dirtext::BackColor() const { return text1_->back_color(); }

void Dirtext::set_BackColor(OleColor color) {
  text1_->set_back_color(color);
  notify(u"BackColor");
}

OleColor Dirtext::ForeColor() const { return text1_->fore_color(); }

void Dirtext::set_ForeColor(OleColor color) {
  text1_->set_fore_color(color);
  notify(u"ForeColor");
}

bool Dirtext::Enabled() const { return surface().enabled(); }

void Dirtext::set_Enabled(bool enabled) {
  surface().set_enabled(enabled);
  notify(u"Enabled");
}

FontRef Dirtext::Font() const { return text1_->font(); }

void Dirtext::set_Font(FontRef font) {
  if (!font) throw RuntimeError(kErrInvalidPropertyValue);
  text1_->set_font(std::move(font));
  notify(u"Font");
}

int16_t Dirtext::BorderStyle() const { return surface().border_style(); }

void Dirtext::set_BorderStyle(int16_t style) {
  surface().set_border_style(style);
  notify(u"BorderStyle");
}

std::u16string Dirtext::Filter() const { return filter_; }

void Dirtext::set_Filter(const std::u16string& filter) {
  filter_ = filter;
  notify(u"Filter");
}

Variant Dirtext::Caption() const { return caption_; }

void Dirtext::set_Caption(const Variant& caption) {
  caption.to_text();
  caption_ = caption;
  notify(u"Caption");
}

bool Dirtext::MultiSelect() const { return multi_select_; }

void Dirtext::set_MultiSelect(bool multi) {
  multi_select_ = multi;
  notify(u"MultiSelect");
}

int32_t Dirtext::dlgType() const { return dlg_type_; }

void Dirtext::set_dlgType(int32_t type) {
  dlg_type_ = Variant(type).to_integer();
  notify(u"DlgType");
}

std::u16string Dirtext::List(int16_t index) const { return text1_->list(index); }

void Dirtext::set_List(int16_t index, const std::u16string& text) {
  text1_->set_list(index, text);
  notify(u"List");
}

int16_t Dirtext::ListCount() const { return static_cast<int16_t>(text1_->list_count()); }

int16_t Dirtext::ListIndex() const { return static_cast<int16_t>(text1_->list_index()); }

void Dirtext::set_ListIndex(int16_t index) {
  text1_->set_list_index(index);
  notify(u"ListIndex");
}

std::u16string Dirtext::Text() const {
  const int i = text1_->list_index();
  return i < 0 ? std::u16string() : text1_->list(i);
}

void Dirtext::select_text(const std::u16string& text) {
  for (int i = 0; i < text1_->list_count(); ++i) {
    if (same_text(text1_->list(i), text)) {
      if (text1_->list_index() != i) text1_->set_list_index(i);
      return;
    }
  }
}

void Dirtext::set_Text(const std::u16string& text) {
  select_text(text);
  notify(u"Text");
}

void Dirtext::AddItem(const std::u16string& item, const Variant& index) {
  if (index.is_missing()) {
    text1_->add_item(item);
  } else {
    text1_->add_item(item, index.to_integer());
  }
}

void Dirtext::Clear() { text1_->clear(); }

}  // namespace qs

#include "container/form_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qs::container {

namespace {

const char kHex[] = "0123456789ABCDEF";

std::string hex_bytes(const std::vector<uint8_t>& bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

std::string format_real(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", digits, v);
  return buf;
}

// Currency is a fixed-point number with four decimals, kept exact.
std::string format_currency(int64_t raw) {
  bool negative = raw < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%llu.%04llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000),
                static_cast<unsigned long long>(magnitude % 10000));
  return buf;
}

const char* bool_word(bool b) { return b ? "True" : "False"; }

// Reads one line's tokens left to right, with the line number for errors.
class Cursor {
 public:
  Cursor(const std::string& line, int number) : s_(line), line_(number) {}

  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("form line " + std::to_string(line_) + ": " + what);
  }
  void skip_space() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
  }
  bool at_end() {
    skip_space();
    return pos_ >= s_.size();
  }
  bool peek(char c) {
    skip_space();
    return pos_ < s_.size() && s_[pos_] == c;
  }
  void expect(char c) {
    if (!peek(c)) fail(std::string("expected '") + c + "'");
    ++pos_;
  }
  // A run of characters up to blank, '=' or end of line.
  std::string word() {
    skip_space();
    size_t start = pos_;
    while (pos_ < s_.size() && s_[pos_] != ' ' && s_[pos_] != '\t' && s_[pos_] != '=') ++pos_;
    if (start == pos_) fail("expected a word");
    return s_.substr(start, pos_ - start);
  }
  std::string rest() {
    skip_space();
    std::string r = s_.substr(pos_);
    while (!r.empty() && (r.back() == ' ' || r.back() == '\t')) r.pop_back();
    pos_ = s_.size();
    return r;
  }
  std::wstring string_literal() {
    expect('"');
    std::wstring out;
    for (;;) {
      if (pos_ >= s_.size()) fail("unterminated string");
      char c = s_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        if (static_cast<unsigned char>(c) >= 0x80) fail("non-ASCII character in string");
        out += static_cast<wchar_t>(c);
        continue;
      }
      if (pos_ >= s_.size()) fail("unterminated escape");
      char e = s_[pos_++];
      switch (e) {
        case '\\': out += L'\\'; break;
        case '"': out += L'"'; break;
        case 'r': out += L'\r'; break;
        case 'n': out += L'\n'; break;
        case 't': out += L'\t'; break;
        case 'u': {
          if (pos_ + 4 > s_.size()) fail("short \\u escape");
          unsigned v = 0;
          for (int i = 0; i < 4; ++i) v = v * 16 + hex_digit(s_[pos_++]);
          out += static_cast<wchar_t>(v);
          break;
        }
        default: fail(std::string("unknown escape \\") + e);
      }
    }
  }
  int64_t integer(int64_t lo, int64_t hi) {
    std::string w = word();
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(w.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) fail("bad integer '" + w + "'");
    return v;
  }
  double real() {
    std::string w = word();
    char* end = nullptr;
    double v = std::strtod(w.c_str(), &end);
    if (*end != '\0') fail("bad number '" + w + "'");
    return v;
  }
  bool boolean() {
    std::string w = word();
    if (w == "True") return true;
    if (w == "False") return false;
    fail("expected True or False, got '" + w + "'");
  }
  int64_t currency() {
    std::string w = word();
    size_t i = 0;
    bool negative = false;
    if (i < w.size() && (w[i] == '-' || w[i] == '+')) negative = w[i++] == '-';
    uint64_t whole = 0, frac = 0;
    int frac_digits = 0;
    bool any = false;
    for (; i < w.size() && w[i] >= '0' && w[i] <= '9'; ++i, any = true) {
      if (whole > 922337203685477ULL) fail("currency out of range");
      whole = whole * 10 + (w[i] - '0');
    }
    if (i < w.size() && w[i] == '.') {
      for (++i; i < w.size() && w[i] >= '0' && w[i] <= '9'; ++i, any = true) {
        if (++frac_digits > 4) fail("currency has more than four decimals");
        frac = frac * 10 + (w[i] - '0');
      }
    }
    if (!any || i != w.size()) fail("bad currency '" + w + "'");
    for (; frac_digits < 4; ++frac_digits) frac *= 10;
    uint64_t raw = whole * 10000 + frac;
    if (raw > static_cast<uint64_t>(INT64_MAX) + (negative ? 1 : 0)) fail("currency out of range");
    return negative ? static_cast<int64_t>(0 - raw) : static_cast<int64_t>(raw);
  }
  std::vector<uint8_t> hex(const std::string& text) const {
    if (text.size() % 2 != 0) fail("odd number of hex digits");
    std::vector<uint8_t> out(text.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
      out[i] = static_cast<uint8_t>(hex_digit(text[2 * i]) * 16 + hex_digit(text[2 * i + 1]));
    return out;
  }

 private:
  unsigned hex_digit(char c) const {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    fail(std::string("bad hex digit '") + c + "'");
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_;
};

FontDesc parse_font(Cursor& c) {
  FontDesc f;
  while (!c.at_end()) {
    std::string field = c.word();
    c.expect('=');
    if (field == "Name") f.name = c.string_literal();
    else if (field == "Size") f.size_cy = c.currency();
    else if (field == "Weight") f.weight = static_cast<int16_t>(c.integer(0, 1000));
    else if (field == "Charset") f.charset = static_cast<int16_t>(c.integer(0, 255));
    else if (field == "Italic") f.italic = c.boolean();
    else if (field == "Underline") f.underline = c.boolean();
    else if (field == "Strikethrough") f.strikethrough = c.boolean();
    else c.fail("unknown font field '" + field + "'");
  }
  return f;
}

FormValue parse_value(Cursor& c) {
  FormValue v;
  std::string type = c.word();
  using K = FormValue::Kind;
  if (type == "Empty") v.kind = K::Empty;
  else if (type == "Null") v.kind = K::Null;
  else if (type == "Integer") { v.kind = K::Integer; v.integer = c.integer(INT16_MIN, INT16_MAX); }
  else if (type == "Long") { v.kind = K::Long; v.integer = c.integer(INT32_MIN, INT32_MAX); }
  else if (type == "Byte") { v.kind = K::Byte; v.integer = c.integer(0, 255); }
  else if (type == "Single") { v.kind = K::Single; v.real = static_cast<float>(c.real()); }
  else if (type == "Double") { v.kind = K::Double; v.real = c.real(); }
  else if (type == "Date") { v.kind = K::Date; v.real = c.real(); }
  else if (type == "Currency") { v.kind = K::Currency; v.integer = c.currency(); }
  else if (type == "String") { v.kind = K::String; v.text = c.string_literal(); }
  else if (type == "Boolean") { v.kind = K::Boolean; v.boolean = c.boolean(); }
  else if (type == "Bytes") { v.kind = K::Bytes; v.bytes = c.hex(c.rest()); }
  else if (type == "Font") { v.kind = K::Font; v.font = parse_font(c); }
  else if (type == "Picture") {
    v.kind = K::Picture;
    const std::string picture_type = c.word();
    if (picture_type == "None") v.integer = 0;
    else if (picture_type == "Bitmap") v.integer = 1;
    else if (picture_type == "Icon") v.integer = 3;
    else c.fail("unknown picture type '" + picture_type + "'");
    if (v.integer != 0) {
      v.bytes = c.hex(c.rest());
      if (v.bytes.empty()) c.fail("a picture without data");
    }
  }
  else if (type == "Object") {
    v.kind = K::Object;
    std::string clsid = c.word();
    v.text.assign(clsid.begin(), clsid.end());
    v.bytes = c.hex(c.rest());
  } else {
    c.fail("unknown value type '" + type + "'");
  }
  if (!c.at_end()) c.fail("unexpected text after the value");
  return v;
}

// A key is written bare when it is a plain word, else as a string literal.
std::string format_key(const std::wstring& key) {
  bool plain = !key.empty() && key[0] != '"' && key[0] != '\'';
  for (wchar_t ch : key)
    if (ch <= L' ' || ch > L'~' || ch == L'=') plain = false;
  return plain ? std::string(key.begin(), key.end()) : quote_string(key);
}

}  // namespace

std::string quote_string(const std::wstring& s) {
  std::string out = "\"";
  for (wchar_t ch : s) {
    switch (ch) {
      case L'\\': out += "\\\\"; break;
      case L'"': out += "\\\""; break;
      case L'\r': out += "\\r"; break;
      case L'\n': out += "\\n"; break;
      case L'\t': out += "\\t"; break;
      default:
        if (ch >= 0x20 && ch < 0x7F) {
          out += static_cast<char>(ch);
        } else {
          unsigned v = static_cast<uint16_t>(ch);
          out += "\\u";
          for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(v >> shift) & 15];
        }
    }
  }
  return out + "\"";
}

std::string format_value(const FormValue& v) {
  using K = FormValue::Kind;
  switch (v.kind) {
    case K::Empty: return "Empty";
    case K::Null: return "Null";
    case K::Integer: return "Integer " + std::to_string(v.integer);
    case K::Long: return "Long " + std::to_string(v.integer);
    case K::Byte: return "Byte " + std::to_string(v.integer);
    case K::Single: return "Single " + format_real(v.real, 9);
    case K::Double: return "Double " + format_real(v.real, 17);
    case K::Date: return "Date " + format_real(v.real, 17);
    case K::Currency: return "Currency " + format_currency(v.integer);
    case K::String: return "String " + quote_string(v.text);
    case K::Boolean: return std::string("Boolean ") + bool_word(v.boolean);
    case K::Bytes: return "Bytes " + hex_bytes(v.bytes);
    case K::Font: {
      const FontDesc& f = v.font;
      return "Font Name=" + quote_string(f.name) + " Size=" + format_currency(f.size_cy) +
             " Weight=" + std::to_string(f.weight) + " Charset=" + std::to_string(f.charset) +
             " Italic=" + bool_word(f.italic) + " Underline=" + bool_word(f.underline) +
             " Strikethrough=" + bool_word(f.strikethrough);
    }
    case K::Object: return "Object " + std::string(v.text.begin(), v.text.end()) + " " + hex_bytes(v.bytes);
    case K::Picture:
      if (v.integer == 0) return "Picture None";
      return std::string("Picture ") + (v.integer == 3 ? "Icon " : "Bitmap ") + hex_bytes(v.bytes);
  }
  return "Empty";
}

std::string write_form(const Form& form) {
  std::ostringstream out;
  out << "' QuorralSet form\n";
  out << "Form " << quote_string(form.caption) << " " << form.width << " " << form.height << "\n";
  for (const FormControl& c : form.controls) {
    out << "Begin " << std::string(c.prog_id.begin(), c.prog_id.end()) << " "
        << std::string(c.name.begin(), c.name.end()) << " " << c.left << " " << c.top << " "
        << c.width << " " << c.height << "\n";
    for (const FormProperty& p : c.properties)
      out << "  " << format_key(p.key) << " = " << format_value(p.value) << "\n";
    out << "End\n";
  }
  return out.str();
}

Form parse_form(const std::string& text) {
  Form form;
  FormControl* current = nullptr;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Cursor c(line, number);
    if (c.at_end() || c.peek('\'')) continue;
    if (current) {
      if (c.peek('"')) {
        std::wstring key = c.string_literal();
        c.expect('=');
        current->properties.push_back({key, parse_value(c)});
        continue;
      }
      std::string word = c.word();
      if (word == "End" && c.at_end()) {
        current = nullptr;
        continue;
      }
      c.expect('=');
      current->properties.push_back({std::wstring(word.begin(), word.end()), parse_value(c)});
      continue;
    }
    std::string word = c.word();
    if (word == "Form") {
      form.caption = c.string_literal();
      form.width = static_cast<int>(c.integer(0, 32767));
      form.height = static_cast<int>(c.integer(0, 32767));
    } else if (word == "Begin") {
      FormControl fc;
      std::string prog_id = c.word(), name = c.word();
      fc.prog_id.assign(prog_id.begin(), prog_id.end());
      fc.name.assign(name.begin(), name.end());
      fc.left = static_cast<int>(c.integer(-32768, 32767));
      fc.top = static_cast<int>(c.integer(-32768, 32767));
      fc.width = static_cast<int>(c.integer(0, 32767));
      fc.height = static_cast<int>(c.integer(0, 32767));
      for (const FormControl& other : form.controls)
        if (other.name == fc.name) c.fail("duplicate control name '" + name + "'");
      form.controls.push_back(std::move(fc));
      current = &form.controls.back();
    } else {
      c.fail("expected Form or Begin, got '" + word + "'");
    }
    if (!c.at_end()) c.fail("unexpected text at end of line");
  }
  if (current) throw std::runtime_error("form: block of " + std::string(current->name.begin(), current->name.end()) + " has no End");
  return form;
}

Form read_form_file(const std::wstring& path) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) throw std::runtime_error("cannot open form file");
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return parse_form(text);
}

void write_form_file(const std::wstring& path, const Form& form) {
  std::string text = write_form(form);
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) throw std::runtime_error("cannot create form file");
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) throw std::runtime_error("cannot write form file");
}

}  // namespace qs::container

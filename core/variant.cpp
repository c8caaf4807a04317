// The runtime's value conversions: rounding, range checks, the numeric text
// grammar and the text form of numbers.
#include "core/variant.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/runtime_error.h"

namespace qs {
namespace {

constexpr int32_t kErrInvalidUseOfNull = 94;
// The platform's "parameter not found" code, held by a missing argument.
constexpr int32_t kParamNotFound = int32_t(0x80020004u);

[[noreturn]] void fail(int32_t number) { throw RuntimeError(number); }

[[noreturn]] void fail_null() { throw RuntimeError(kErrInvalidUseOfNull, u"Invalid use of Null"); }

// Rounds to the nearest integer, halves to the even neighbour, independent
// of the floating-point environment's rounding mode.
double round_half_even(double x) {
  double lower = std::floor(x);
  double diff = x - lower;
  if (diff > 0.5) return lower + 1;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

bool is_blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

int radix_digit(char16_t c, int radix) {
  int d = -1;
  if (c >= u'0' && c <= u'9') d = c - u'0';
  else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
  return d < radix ? d : -1;
}

// A parsed numeric text. Hex and octal texts are unsigned bit patterns: the
// integer conversions read them at their own width (&HFFFF is -1 as a
// 16-bit integer but 65535 as a 32-bit one).
struct ParsedNumber {
  double value = 0;
  bool radix = false;
};

bool parse_text(std::u16string_view text, ParsedNumber& out) {
  size_t b = 0, e = text.size();
  while (b < e && is_blank(text[b])) ++b;
  while (e > b && is_blank(text[e - 1])) --e;
  std::u16string_view t = text.substr(b, e - b);
  if (t.empty()) return false;

  if (t.size() > 2 && t[0] == u'&') {
    int radix = (t[1] == u'H' || t[1] == u'h') ? 16 : (t[1] == u'O' || t[1] == u'o') ? 8 : 0;
    if (radix == 0) return false;
    uint64_t v = 0;
    for (size_t i = 2; i < t.size(); ++i) {
      int d = radix_digit(t[i], radix);
      if (d < 0) return false;
      v = v * radix + d;
      if (v > 0xFFFFFFFFu) return false;
    }
    out.value = double(v);
    out.radix = true;
    return true;
  }

  // Validate the decimal grammar, then hand the ASCII form to strtod.
  std::string ascii;
  size_t i = 0;
  if (t[i] == u'+' || t[i] == u'-') ascii += char(t[i++]);
  size_t digits = 0;
  while (i < t.size() && is_digit(t[i])) ascii += char(t[i++]), ++digits;
  if (i < t.size() && t[i] == u'.') {
    ascii += '.';
    ++i;
    while (i < t.size() && is_digit(t[i])) ascii += char(t[i++]), ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ascii += char(t[i++]);
    size_t exp_digits = 0;
    while (i < t.size() && is_digit(t[i])) ascii += char(t[i++]), ++exp_digits;
    if (exp_digits == 0) return false;
  }
  if (i != t.size()) return false;
  out.value = std::strtod(ascii.c_str(), nullptr);
  out.radix = false;
  return true;
}

// The number a value stands for in arithmetic; Empty is 0.
ParsedNumber numeric(const Variant& v) {
  ParsedNumber p;
  if (v.is_empty()) return p;
  if (v.is_null()) fail_null();
  if (v.is_number()) {
    p.value = v.number_value();
    return p;
  }
  if (v.is_string()) {
    if (!parse_text(v.string_value(), p)) fail(kErrTypeMismatch);
    return p;
  }
  fail(kErrTypeMismatch);
}

// Converts to an integer of [lo, hi]; a hex or octal text of up to `bits`
// bits wraps into the signed range.
int64_t to_range(const Variant& v, int64_t lo, int64_t hi, int bits) {
  ParsedNumber p = numeric(v);
  if (p.radix) {
    uint64_t u = uint64_t(p.value);
    if (u < (uint64_t(1) << bits)) {
      int64_t s = int64_t(u);
      if (s > hi) s -= int64_t(1) << bits;
      return s;
    }
    fail(kErrOverflow);
  }
  if (!std::isfinite(p.value)) fail(kErrOverflow);
  double r = round_half_even(p.value);
  if (r < double(lo) || r > double(hi)) fail(kErrOverflow);
  return int64_t(r);
}

std::u16string ascii16(const char* s) {
  std::u16string out;
  for (; *s; ++s) out += char16_t(*s);
  return out;
}

// Kind order of numeric addition: the wider of two operands' kinds.
int rank(VarType t) {
  switch (t) {
    case VarType::kEmpty:
    case VarType::kBoolean:
    case VarType::kInteger: return 0;
    case VarType::kLong: return 1;
    case VarType::kSingle: return 2;
    default: return 3;
  }
}

Variant add_numbers(const Variant& a, const Variant& b) {
  double x = numeric(a).value, y = numeric(b).value;
  double sum = x + y;
  int ra = a.is_string() ? 3 : rank(a.type());
  int rb = b.is_string() ? 3 : rank(b.type());
  // A Single and a Long meet as Doubles: neither holds the other exactly.
  int r = std::max(ra, rb);
  if ((ra == 2 && rb == 1) || (ra == 1 && rb == 2)) r = 3;
  if (r == 0 && sum >= -32768 && sum <= 32767) return Variant(int16_t(sum));
  if (r <= 1 && sum >= -2147483648.0 && sum <= 2147483647.0) return Variant(int32_t(sum));
  if (r == 2) {
    float f = float(sum);
    if (std::isfinite(f)) return Variant(f);
  }
  if (!std::isfinite(sum)) fail(kErrOverflow);
  return Variant(sum);
}

int sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

int compare_text(std::u16string_view a, std::u16string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

Variant Variant::null() { return Variant(VarType::kNull, std::monostate{}); }

Variant Variant::missing() { return Variant(VarType::kError, kParamNotFound); }

Variant Variant::nothing() { return Variant(VarType::kObject, std::monostate{}); }

bool Variant::is_number() const {
  switch (type_) {
    case VarType::kBoolean:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kSingle:
    case VarType::kDouble: return true;
    default: return false;
  }
}

int16_t Variant::to_integer() const { return int16_t(to_range(*this, -32768, 32767, 16)); }

int32_t Variant::to_long() const {
  return int32_t(to_range(*this, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max(), 32));
}

float Variant::to_single() const {
  double d = to_double();
  if (std::fabs(d) > double(std::numeric_limits<float>::max())) fail(kErrOverflow);
  return float(d);
}

double Variant::to_double() const {
  ParsedNumber p = numeric(*this);
  // A hex or octal text beyond the positive 32-bit range has no Double
  // reading: the platform reports overflow rather than a wrapped value.
  if (p.radix && p.value > 2147483647.0) fail(kErrOverflow);
  if (!std::isfinite(p.value)) fail(kErrOverflow);
  return p.value;
}

bool Variant::to_boolean() const {
  // The words are matched whole and without blanks, as the platform does.
  if (is_string()) {
    std::u16string_view s = string_value();
    auto is_word = [&](std::u16string_view word) {
      if (s.size() != word.size()) return false;
      for (size_t i = 0; i < word.size(); ++i) {
        char16_t c = s[i];
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
        if (c != word[i]) return false;
      }
      return true;
    };
    if (is_word(u"true")) return true;
    if (is_word(u"false")) return false;
  }
  return to_double() != 0;
}

std::u16string Variant::to_text() const {
  switch (type_) {
    case VarType::kEmpty: return u"";
    case VarType::kNull: fail_null();
    case VarType::kBoolean: return std::get<int32_t>(value_) ? u"True" : u"False";
    case VarType::kInteger:
    case VarType::kLong: return ascii16(std::to_string(std::get<int32_t>(value_)).c_str());
    case VarType::kSingle: return number_text(std::get<double>(value_), 7);
    case VarType::kDouble: return number_text(std::get<double>(value_), 15);
    case VarType::kString: return std::get<std::u16string>(value_);
    default: fail(kErrTypeMismatch);
  }
}

FontRef Variant::to_font() const {
  if (!is_object()) fail(kErrTypeMismatch);
  if (const FontRef* f = std::get_if<FontRef>(&value_)) return *f;
  return nullptr;
}

PictureRef Variant::to_picture() const {
  if (!is_object()) fail(kErrTypeMismatch);
  if (const PictureRef* p = std::get_if<PictureRef>(&value_)) return *p;
  return nullptr;
}

const std::u16string& Variant::string_value() const {
  if (!is_string()) fail(kErrTypeMismatch);
  return std::get<std::u16string>(value_);
}

double Variant::number_value() const {
  if (!is_number()) fail(kErrTypeMismatch);
  if (const int32_t* i = std::get_if<int32_t>(&value_)) return *i;
  return std::get<double>(value_);
}

bool Variant::is_numeric() const {
  if (is_empty() || is_number()) return true;
  ParsedNumber p;
  return is_string() && parse_text(string_value(), p);
}

bool Variant::identical(const Variant& other) const {
  return type_ == other.type_ && value_ == other.value_;
}

Variant add(const Variant& a, const Variant& b) {
  if (a.is_null() || b.is_null()) return Variant::null();
  if (a.is_string() && b.is_string()) return Variant(a.string_value() + b.string_value());
  if (a.is_string() && b.is_empty()) return a;
  if (b.is_string() && a.is_empty()) return b;
  return add_numbers(a, b);
}

int compare(const Variant& a, const Variant& b) {
  if (a.is_null() || b.is_null()) return a.is_null() && b.is_null() ? 0 : 1;
  if (a.is_object() || b.is_object() || a.is_missing() || b.is_missing())
    fail(kErrTypeMismatch);
  if (a.is_string() && b.is_string()) return compare_text(a.string_value(), b.string_value());
  if (a.is_string() && b.is_empty()) return compare_text(a.string_value(), u"");
  if (b.is_string() && a.is_empty()) return compare_text(u"", b.string_value());
  ParsedNumber x, y;
  if (a.is_string() && !parse_text(a.string_value(), x)) return 1;
  if (b.is_string() && !parse_text(b.string_value(), y)) return -1;
  return sign(a.to_double() - b.to_double());
}

bool parse_number(std::u16string_view text, double& out) {
  ParsedNumber p;
  if (!parse_text(text, p)) return false;
  out = p.value;
  return true;
}

std::u16string number_text(double value, int significant_digits) {
  if (value == 0) return u"0";
  if (std::isnan(value)) return u"NaN";
  if (std::isinf(value)) return value < 0 ? u"-Infinity" : u"Infinity";
  // %G switches to E notation exactly where the runtime does: an exponent
  // below -4 or at least the digit count; it also drops trailing zeros.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", significant_digits, value);
  return ascii16(buf);
}

std::u16string utf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = utf8[i];
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    uint32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
    bool ok = extra >= 0 && i + extra < utf8.size();
    for (int k = 1; ok && k <= extra; ++k) {
      unsigned char cc = utf8[i + k];
      if ((cc & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += char16_t(0xD800 + (cp >> 10));
      out += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      out += char16_t(cp);
    }
  }
  return out;
}

std::string utf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate
    }
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace qs

// Variant: the runtime's value of any kind, with the runtime's conversions.
//
// Kinds mirror the platform's variant types so the ActiveX layer maps them
// one to one. Conversions follow the runtime: integers round half to even,
// out-of-range values raise overflow (6), non-numeric text type mismatch (13).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/font.h"

namespace qs {

// Value kinds; the numbers are the platform's variant type codes.
enum class VarType : uint16_t {
  kEmpty = 0,
  kNull = 1,
  kInteger = 2,   // 16-bit signed
  kLong = 3,      // 32-bit signed
  kSingle = 4,
  kDouble = 5,
  kString = 8,
  kObject = 9,    // font or picture object (or no object)
  kError = 10,    // only as "missing": an omitted optional argument
  kBoolean = 11,  // true is -1
};

class Variant {
 public:
  Variant() = default;  // empty
  Variant(bool b) : type_(VarType::kBoolean), value_(int32_t(b ? -1 : 0)) {}
  Variant(int16_t i) : type_(VarType::kInteger), value_(int32_t(i)) {}
  Variant(int32_t i) : type_(VarType::kLong), value_(i) {}
  Variant(float f) : type_(VarType::kSingle), value_(double(f)) {}
  Variant(double d) : type_(VarType::kDouble), value_(d) {}
  Variant(std::u16string s) : type_(VarType::kString), value_(std::move(s)) {}
  Variant(const char16_t* s) : Variant(std::u16string(s)) {}
  Variant(FontRef f) : type_(VarType::kObject), value_(std::move(f)) {}
  Variant(PictureRef p) : type_(VarType::kObject), value_(std::move(p)) {}

  static Variant null();
  // An omitted optional argument.
  static Variant missing();
  // A value holding no object ("Nothing").
  static Variant nothing();

  VarType type() const { return type_; }
  bool is_empty() const { return type_ == VarType::kEmpty; }
  bool is_null() const { return type_ == VarType::kNull; }
  bool is_missing() const { return type_ == VarType::kError; }
  bool is_string() const { return type_ == VarType::kString; }
  bool is_object() const { return type_ == VarType::kObject; }
  // True for the numeric kinds (Boolean included).
  bool is_number() const;

  // Conversions; each raises the runtime's error where the runtime does.
  int16_t to_integer() const;   // overflow 6 outside -32768..32767
  int32_t to_long() const;      // overflow 6 outside the 32-bit range
  float to_single() const;
  double to_double() const;     // empty is 0; text must be numeric (13)
  bool to_boolean() const;      // any non-zero number is true; "True"/"False" text
  std::u16string to_text() const;  // the text form; empty is ""; Boolean "True"/"False"

  // The object held: a font, a picture, or null for none. Mismatch 13 for
  // a value of another kind.
  FontRef to_font() const;
  PictureRef to_picture() const;

  // Direct access to the stored payload (no conversion).
  const std::u16string& string_value() const;  // requires is_string()
  double number_value() const;                 // requires is_number()

  // Whether the value can be taken as a number (the runtime's numeric test).
  bool is_numeric() const;

  // The same kind and the same payload (objects: the same object).
  bool identical(const Variant& other) const;

 private:
  using Payload = std::variant<std::monostate, int32_t, double, std::u16string, FontRef, PictureRef>;
  Variant(VarType t, Payload p) : type_(t), value_(std::move(p)) {}

  VarType type_ = VarType::kEmpty;
  Payload value_;
};

// Variant addition: numbers add (the result widening as the runtime widens,
// Integer overflowing into Long, Long into Double), two texts concatenate,
// text and number add as numbers (13 if the text is not numeric), Empty acts
// as 0 or "", Null propagates.
Variant add(const Variant& a, const Variant& b);

// Variant comparison: -1, 0 or 1. Numbers compare as numbers, texts by code
// unit, a number and a numeric text as numbers (a non-numeric text is greater
// than any number), Empty as 0 or "". Null: error 94 is not raised here;
// comparing with Null returns 0 only for two Nulls and 1 otherwise.
int compare(const Variant& a, const Variant& b);

// Parses text the way the runtime reads a number: blanks around it, a sign,
// digits with an optional decimal point and exponent, or &H / &O prefixes.
// Returns false for anything else (the empty text included).
bool parse_number(std::u16string_view text, double& out);

// The runtime's text form of a double (15 significant digits) and a single
// (7 significant digits): "2135.5", "1E+20", "-3", "0.001".
std::u16string number_text(double value, int significant_digits = 15);

// UTF-8 <-> UTF-16 helpers for tests, logs and file formats.
std::u16string utf16(std::string_view utf8);
std::string utf8(std::u16string_view utf16);

}  // namespace qs

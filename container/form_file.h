// A form saved as readable text: one block of typed properties per control.
//
//   Form "Caption" 640 300
//   Begin QuorralSet.AddRemove AddRemove1 20 20 400 240
//     LTitle = String "Available"
//     Font = Font Name="Tahoma" Size=9 Weight=400 Charset=0 Italic=False Underline=False Strikethrough=False
//     PictureUp = Picture Bitmap 424D...
//     PictureDown = Picture None
//   End
//
// A picture is kept as its type and its picture file in hex (the BMP file
// of a bitmap, the ICO file of an icon); "Picture None" is an empty picture
// object, which is not the same as no value at all.
//
// The text is pure ASCII: strings escape quotes, backslashes, control and
// non-ASCII characters, so CR LF and any UTF-16 unit survive a round trip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qs::container {

// The attributes of a font object, enough to recreate it.
struct FontDesc {
  std::wstring name = L"MS Sans Serif";
  // Point size in the platform's currency units (1/10000 point).
  int64_t size_cy = 82500;
  int16_t weight = 400;
  int16_t charset = 0;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;

  bool operator==(const FontDesc&) const = default;
};

// One typed property value as the form file stores it.
struct FormValue {
  enum class Kind {
    Empty, Null, Integer, Long, Single, Double, Currency, Date, String,
    Boolean, Byte, Bytes, Font, Object, Picture
  };
  Kind kind = Kind::Empty;
  int64_t integer = 0;        // Integer, Long, Currency (raw), Byte; Picture: its type (0, 1, 3)
  double real = 0;            // Single, Double, Date
  bool boolean = false;       // Boolean
  std::wstring text;          // String; Object: the class id in braces
  std::vector<uint8_t> bytes; // Bytes; Object: its persisted stream; Picture: its file
  FontDesc font;              // Font

  bool operator==(const FormValue&) const = default;
};

struct FormProperty {
  std::wstring key;
  FormValue value;
  bool operator==(const FormProperty&) const = default;
};

// One control of a form: what to create, where, and its stored properties.
struct FormControl {
  std::wstring prog_id;
  std::wstring name;
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<FormProperty> properties;
  bool operator==(const FormControl&) const = default;
};

// A whole form: its caption, client size (0 means fit the controls) and controls.
struct Form {
  std::wstring caption = L"QuorralSet container";
  int width = 0, height = 0;
  std::vector<FormControl> controls;
  bool operator==(const Form&) const = default;
};

// Key of the pseudo-property that holds a control's whole stream when it has
// no property bag interface.
inline constexpr wchar_t kStreamKey[] = L"@Stream";

// Writes `s` as a quoted, escaped ASCII string literal.
std::string quote_string(const std::wstring& s);
// Formats one value as "<Type> <data>".
std::string format_value(const FormValue& value);
// Serialises a whole form.
std::string write_form(const Form& form);
// Parses a form; throws std::runtime_error naming the line on malformed input.
Form parse_form(const std::string& text);

// Reads and parses a form file; throws std::runtime_error on failure.
Form read_form_file(const std::wstring& path);
// Writes a form file; throws std::runtime_error on failure.
void write_form_file(const std::wstring& path, const Form& form);

}  // namespace qs::container

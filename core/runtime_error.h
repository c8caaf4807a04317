// Errors of the component runtime, carried by number.
//
// A failing property access or method throws RuntimeError; the ActiveX layer
// turns it into HRESULT 0x800A0000 + number with the description below.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qs {

// Runtime error numbers used by the library.
enum ErrorNumber : int32_t {
  kErrInvalidCall = 5,           // invalid procedure call or argument
  kErrOverflow = 6,              // overflow
  kErrSubscript = 9,             // subscript out of range
  kErrTypeMismatch = 13,         // type mismatch
  kErrFileNotFound = 53,         // file not found
  kErrObjectRequired = 424,      // object required
  kErrInvalidPropertyValue = 380,
  kErrInvalidArrayIndex = 381,   // invalid property array index
  kErrSetNotPermitted = 387,     // 'Set' not permitted
  kErrPropertyNotFound = 422,    // property not found
  kErrInvalidPicture = 481,      // invalid picture
};

// The runtime's standard description of an error number ("" if unknown).
std::u16string error_description(int32_t number);

// A runtime error: its number and description.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int32_t number);
  RuntimeError(int32_t number, std::u16string description);

  int32_t number() const { return number_; }
  const std::u16string& description() const { return description_; }

 private:
  int32_t number_;
  std::u16string description_;
};

}  // namespace qs

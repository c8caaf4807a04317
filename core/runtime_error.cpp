#include "core/runtime_error.h"

#include <string>

namespace qs {

std::u16string error_description(int32_t number) {
  switch (number) {
    case kErrInvalidCall: return u"Invalid procedure call or argument";
    case kErrOverflow: return u"Overflow";
    case kErrSubscript: return u"Subscript out of range";
    case kErrTypeMismatch: return u"Type mismatch";
    case kErrInvalidPropertyValue: return u"Invalid property value";
    case kErrInvalidArrayIndex: return u"Invalid property array index";
    case kErrSetNotPermitted: return u"'Set' not permitted";
    case kErrPropertyNotFound: return u"Property not found";
    case kErrObjectRequired: return u"Object required";
    case kErrFileNotFound: return u"File not found";
    case kErrInvalidPicture: return u"Invalid picture";
    default: return u"";
  }
}

RuntimeError::RuntimeError(int32_t number)
    : RuntimeError(number, error_description(number)) {}

RuntimeError::RuntimeError(int32_t number, std::u16string description)
    : std::runtime_error("runtime error " + std::to_string(number)),
      number_(number),
      description_(std::move(description)) {}

}  // namespace qs

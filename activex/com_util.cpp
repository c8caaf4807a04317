#include "com_util.h"

#include <string>

namespace qs::activex {

GUID guid_from_string(const char* text) {
  GUID guid = GUID_NULL;
  std::wstring w(text, text + strlen(text));
  if (FAILED(CLSIDFromString(const_cast<wchar_t*>(w.c_str()), &guid))) return GUID_NULL;
  return guid;
}

std::u16string guid_text(const GUID& guid) {
  wchar_t buffer[40] = {};
  StringFromGUID2(guid, buffer, 40);
  return from_wide(buffer);
}

}  // namespace qs::activex

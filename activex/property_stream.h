// The binary form of a control's property set in a stream (IPersistStream
// and IPersistStorage), holding the same keys and values a property bag
// gets.
//
// Layout, little-endian: the magic "QSPS", a 16-bit format version (1), a
// 16-bit reserved 0, a 32-bit record count, then per record the key (32-bit
// length in UTF-16 units, the units) and a typed value: a 16-bit kind (the
// library's VarType) followed by its payload. Fonts are stored as their
// description.
#pragma once

#include <objidl.h>

#include "core/property_bag.h"

namespace qs::activex {

constexpr uint16_t kPropertyStreamVersion = 1;

// Writes every entry of the bag to the stream. Fails with ComFailure on a
// write error; a picture value fails with 380 (pictures are not streamed).
void write_property_stream(const MemoryPropertyBag& bag, IStream* stream);
// Reads a property set written by write_property_stream into the bag.
// Truncated or malformed data fails with ComFailure(E_FAIL), an unknown
// version with ComFailure(STG_E_OLDFORMAT).
void read_property_stream(IStream* stream, MemoryPropertyBag& bag);

}  // namespace qs::activex

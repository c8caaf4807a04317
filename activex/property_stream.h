// A control's property set in a host's stream (IPersistStream and
// IPersistStorage): the property-stream format of core/property_stream_codec.h
// read from and written to an IStream.
#pragma once

#include <objidl.h>

#include "core/property_bag.h"
#include "core/property_stream_codec.h"

namespace qs::activex {

// Writes every entry of the bag to the stream. Fails with ComFailure on a
// write error (STG_E_MEDIUMFULL when the stream takes fewer bytes than
// given) or a bag the format cannot hold (E_FAIL); a picture without
// data (a bare handle) fails with 380. Nothing is written when the bag is
// refused.
void write_property_stream(const MemoryPropertyBag& bag, IStream* stream);
// Reads a property set written by write_property_stream into the bag,
// leaving the stream just after it. Truncated or malformed data, or more
// records than the format allows, fails with ComFailure(E_FAIL), an unknown
// version with ComFailure(STG_E_OLDFORMAT), a failed read with its HRESULT.
// Pictures are made again from their data as the platform's pictures;
// data the platform does not load fails with RuntimeError 481.
void read_property_stream(IStream* stream, MemoryPropertyBag& bag);

}  // namespace qs::activex

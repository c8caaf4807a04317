// Pictures on Windows: the library's picture values over the platform's own
// picture objects (IPicture), made by OleLoadPicture from a picture file or
// by OleCreatePictureIndirect for the empty picture. The picture object is
// kept alive with the value (Picture::native), so its handle stays valid for
// painting and the server can hand the same object to hosts.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <span>
#include <vector>

#include "core/picture.h"

namespace qs::win32 {

// A platform picture object held by a library picture (one reference).
class OlePicture final : public PictureNative {
 public:
  // Takes over one reference to picture.
  explicit OlePicture(IPicture* picture) : picture_(picture) {}
  ~OlePicture() override;
  OlePicture(const OlePicture&) = delete;
  OlePicture& operator=(const OlePicture&) = delete;
  IPicture* get() const { return picture_; }

 private:
  IPicture* picture_;
};

// The platform picture object a library picture holds, or null.
IPicture* ole_picture_of(const Picture& picture);

// A library picture over a platform picture object: its type, handle and
// sizes, the given data, and a reference to the object. A picture type other
// than none, bitmap or icon fails with 481.
PictureRef picture_over(IPicture* picture, std::vector<uint8_t> data);

// The picture a picture file loads as (OleLoadPicture); empty data gives an
// empty picture object. Data the platform does not load fails with 481, and
// so do BMP and ICO files that decode_picture refuses (the same files fail
// on both platforms; the system's loader would take some damaged ones).
PictureRef load_ole_picture(std::span<const uint8_t> data);

// A new empty picture object (type none) over a platform picture object.
PictureRef empty_ole_picture();

// The picture file of a platform picture object: what it saves as
// (IPicture::SaveAsFile), else its persisted stream without the stream's
// header. Empty when the object gives neither.
std::vector<uint8_t> ole_picture_data(IPicture* picture);

}  // namespace qs::win32

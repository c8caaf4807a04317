#include "platform/win32/win32_picture.h"

#include <cstring>

#include "core/runtime_error.h"

namespace qs::win32 {
namespace {

[[noreturn]] void invalid() { throw RuntimeError(kErrInvalidPicture); }

// A stream over a copy of bytes, or null.
IStream* stream_over(std::span<const uint8_t> data) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, data.size() ? data.size() : 1);
  if (!memory) return nullptr;
  if (!data.empty()) {
    void* to = GlobalLock(memory);
    if (!to) {
      GlobalFree(memory);
      return nullptr;
    }
    std::memcpy(to, data.data(), data.size());
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  ULARGE_INTEGER size;
  size.QuadPart = data.size();
  stream->SetSize(size);
  return stream;
}

// The bytes written to a memory stream.
std::vector<uint8_t> stream_bytes(IStream* stream) {
  std::vector<uint8_t> out;
  HGLOBAL memory = nullptr;
  STATSTG stat{};
  if (FAILED(GetHGlobalFromStream(stream, &memory)) ||
      FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
    return out;
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory));
  if (!bytes) return out;
  out.assign(bytes, bytes + size_t(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  return out;
}

// Pixel size of a bitmap or icon handle.
void pixel_size(Picture& p) {
  if (p.type == PictureType::kBitmap) {
    BITMAP bm{};
    if (GetObjectW(reinterpret_cast<HGDIOBJ>(p.handle), sizeof bm, &bm)) {
      p.pixel_width = bm.bmWidth;
      p.pixel_height = bm.bmHeight;
    }
  } else if (p.type == PictureType::kIcon) {
    ICONINFO info{};
    if (GetIconInfo(reinterpret_cast<HICON>(p.handle), &info)) {
      BITMAP bm{};
      if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        p.pixel_width = bm.bmWidth;
        p.pixel_height = bm.bmHeight;
      } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
        p.pixel_width = bm.bmWidth;
        p.pixel_height = bm.bmHeight / 2;
      }
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
  }
}

}  // namespace

OlePicture::~OlePicture() { picture_->Release(); }

IPicture* ole_picture_of(const Picture& picture) {
  auto* held = dynamic_cast<OlePicture*>(picture.native.get());
  return held ? held->get() : nullptr;
}

PictureRef picture_over(IPicture* picture, std::vector<uint8_t> data) {
  if (!picture) invalid();
  SHORT type = PICTYPE_UNINITIALIZED;
  if (FAILED(picture->get_Type(&type))) invalid();
  auto p = std::make_shared<Picture>();
  switch (type) {
    case PICTYPE_NONE:
    case PICTYPE_UNINITIALIZED: p->type = PictureType::kNone; break;
    case PICTYPE_BITMAP: p->type = PictureType::kBitmap; break;
    case PICTYPE_ICON: p->type = PictureType::kIcon; break;
    default: invalid();  // metafiles have no place in a bitmap-or-icon property
  }
  if (p->type != PictureType::kNone) {
    OLE_HANDLE handle = 0;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Handle(&handle);
    picture->get_Width(&w);
    picture->get_Height(&h);
    // Handles are 32-bit values, sign-extended on 64-bit Windows.
    p->handle = intptr_t(int32_t(handle));
    p->width = w;
    p->height = h;
    pixel_size(*p);
    p->data = std::move(data);
  }
  picture->AddRef();
  p->native = std::make_shared<OlePicture>(picture);
  return p;
}

PictureRef load_ole_picture(std::span<const uint8_t> data) {
  if (data.empty()) return empty_ole_picture();
  if (data.size() > 0x7FFFFFFE) invalid();
  // BMP and ICO files are checked in software first: the system's loader
  // takes some damaged ones (a file cut short loads as whatever lies past
  // it), and both platforms then accept the same files. Other formats the
  // system loads (JPEG, GIF) go to it as they are.
  const bool bmp = data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
  const bool ico = data.size() >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0;
  if (bmp || ico) decode_picture(data);
  IStream* stream = stream_over(data);
  if (!stream) throw RuntimeError(kErrInvalidPicture);
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, LONG(data.size()), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) invalid();
  try {
    PictureRef p = picture_over(picture, std::vector<uint8_t>(data.begin(), data.end()));
    picture->Release();
    // A file that loads as nothing (no image) is no picture.
    if (p->empty()) invalid();
    return p;
  } catch (...) {
    picture->Release();
    throw;
  }
}

PictureRef empty_ole_picture() {
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_NONE;
  IPicture* picture = nullptr;
  if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture))) ||
      !picture)
    throw RuntimeError(kErrInvalidPicture);
  PictureRef p = picture_over(picture, {});
  picture->Release();
  return p;
}

std::vector<uint8_t> ole_picture_data(IPicture* picture) {
  std::vector<uint8_t> out;
  IStream* stream = stream_over({});
  if (!stream) return out;
  LONG size = 0;
  if (SUCCEEDED(picture->SaveAsFile(stream, TRUE, &size))) out = stream_bytes(stream);
  stream->Release();
  if (!out.empty()) return out;
  // The persisted form: a 4-byte tag and a 4-byte length, then the file.
  IPersistStream* persist = nullptr;
  if (FAILED(picture->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))))
    return out;
  stream = stream_over({});
  if (stream && SUCCEEDED(persist->Save(stream, FALSE))) {
    std::vector<uint8_t> saved = stream_bytes(stream);
    if (saved.size() > 8) {
      const uint32_t length = uint32_t(saved[4]) | uint32_t(saved[5]) << 8 |
                              uint32_t(saved[6]) << 16 | uint32_t(saved[7]) << 24;
      if (length == saved.size() - 8) out.assign(saved.begin() + 8, saved.end());
    }
  }
  if (stream) stream->Release();
  persist->Release();
  return out;
}

}  // namespace qs::win32

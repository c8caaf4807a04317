// The request record of the platform's open-file dialog in its ANSI form,
// as far as its first version reaches: field for field the system's layout
// (76 bytes where pointers take 4), so the Win32 platform passes it on as it
// is and a headless script sees exactly what the dialog would.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qs {

struct OpenFileRecord {
  uint32_t lStructSize;
  uintptr_t hwndOwner;
  uintptr_t hInstance;
  const char* lpstrFilter;  // description/pattern pairs, each ended by NUL, then a NUL
  char* lpstrCustomFilter;
  uint32_t nMaxCustFilter;
  uint32_t nFilterIndex;  // 1 for the first pair
  char* lpstrFile;        // the result buffer, nMaxFile + 1 characters
  uint32_t nMaxFile;
  char* lpstrFileTitle;
  uint32_t nMaxFileTitle;
  const char* lpstrInitialDir;
  const char* lpstrTitle;
  uint32_t Flags;
  uint16_t nFileOffset;
  uint16_t nFileExtension;
  const char* lpstrDefExt;
  intptr_t lCustData;
  uintptr_t lpfnHook;
  const char* lpTemplateName;
};

// The size the record announces in lStructSize.
inline constexpr uint32_t kOpenFileRecordSize = sizeof(OpenFileRecord);
static_assert(sizeof(void*) != 4 || kOpenFileRecordSize == 76);

// Flags the dialog takes.
inline constexpr uint32_t kOfnAllowMultiSelect = 0x200;
inline constexpr uint32_t kOfnExplorer = 0x80000;

}  // namespace qs

// The library's public classes and their registration data, in type-library
// order. Registration, the class factories and the type library agree with
// this one table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

enum class ClassKind { kControl, kPropertyPage };

constexpr uint32_t kMiscStatusControl = 0x20191;
constexpr uint32_t kMiscStatusInvisibleControl = 0x24591;

struct ClassInfo {
  std::u16string_view name;
  ClassKind kind;
  const char* clsid;             // "{...}"
  std::u16string_view default_interface;
  const char* default_iid;
  std::u16string_view event_interface;  // empty for pages
  const char* event_iid;                // nullptr for pages
  int event_count;
  int toolbox_bitmap;                   // resource id, 0 for none
  uint32_t misc_status;                 // 0 for pages
  std::vector<std::u16string_view> property_pages;
};

constexpr const char* kLibraryId = "{5A084F15-A710-476E-93AD-6EE1F9B9182A}";
constexpr std::u16string_view kLibraryName = u"QuorralSet";
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 0;

// Every public class, in type-library order.
const std::vector<ClassInfo>& class_list();
// The class of that name, or nullptr.
const ClassInfo* find_class(std::u16string_view name);
// The version-independent programmatic name: "QuorralSet.<Class>".
std::u16string prog_id(const ClassInfo& info);

}  // namespace qs

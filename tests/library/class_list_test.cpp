// The class table against the library's published class data.
#include "library/class_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

namespace qs {
namespace {

// Whether s is a registry-form GUID: {8-4-4-4-12 hex digits}.
bool well_formed_guid(const char* s) {
  if (!s || std::strlen(s) != 38 || s[0] != '{' || s[37] != '}') return false;
  for (int i = 1; i < 37; ++i) {
    bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? s[i] != '-' : !std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
  }
  return true;
}

TEST(ClassListTest, ClassesInTypeLibraryOrder) {
  struct Expected {
    std::u16string_view name;
    ClassKind kind;
    int events;
    int bitmap;
    uint32_t misc;
  };
  const Expected expected[] = {
      {u"AddRemove", ClassKind::kControl, 1, 30005, 0x20191},
      {u"LeftList", ClassKind::kPropertyPage, 0, 0, 0},
      {u"RightList", ClassKind::kPropertyPage, 0, 0, 0},
      {u"ShapeButton", ClassKind::kControl, 8, 30004, 0x20191},
      {u"qCheck", ClassKind::kControl, 9, 30003, 0x20191},
      {u"Dirtext", ClassKind::kControl, 9, 30002, 0x20191},
      {u"Quorral", ClassKind::kControl, 3, 30001, 0x24591},
      {u"qLabel", ClassKind::kControl, 5, 30000, 0x20191},
  };
  const auto& classes = class_list();
  ASSERT_EQ(classes.size(), std::size(expected));
  for (size_t i = 0; i < classes.size(); ++i) {
    const ClassInfo& c = classes[i];
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    EXPECT_EQ(c.name, expected[i].name);
    EXPECT_EQ(c.kind, expected[i].kind);
    EXPECT_EQ(c.event_count, expected[i].events);
    EXPECT_EQ(c.toolbox_bitmap, expected[i].bitmap);
    EXPECT_EQ(c.misc_status, expected[i].misc);
    EXPECT_EQ(c.default_interface, u"_" + std::u16string(c.name));
    if (c.kind == ClassKind::kControl) {
      EXPECT_EQ(c.event_interface, u"__" + std::u16string(c.name));
      EXPECT_NE(c.event_iid, nullptr);
    } else {
      EXPECT_TRUE(c.event_interface.empty());
      EXPECT_EQ(c.event_iid, nullptr);
    }
    EXPECT_EQ(find_class(c.name), &c);
  }
  // Invisible at run time and no UI activation: the control bits plus 0x4400.
  EXPECT_EQ(kMiscStatusInvisibleControl, kMiscStatusControl | 0x400 | 0x4000);
  EXPECT_EQ(find_class(u"addremove"), nullptr);
}

TEST(ClassListTest, OnlyAddRemoveNamesPropertyPages) {
  for (const ClassInfo& c : class_list()) {
    if (c.name == u"AddRemove") {
      std::vector<std::u16string_view> pages = {u"LeftList", u"RightList", u"StandardColor",
                                                u"StandardFont"};
      EXPECT_EQ(c.property_pages, pages);
    } else {
      EXPECT_TRUE(c.property_pages.empty()) << std::string(c.name.begin(), c.name.end());
    }
  }
}

TEST(ClassListTest, IdentifiersAreDistinctWellFormedGuids) {
  std::set<std::string> seen;
  auto check = [&](const char* guid) {
    EXPECT_TRUE(well_formed_guid(guid)) << (guid ? guid : "(null)");
    if (!guid) return;
    std::string upper(guid);
    for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(seen.insert(upper).second) << "duplicate " << guid;
  };
  check(kLibraryId);
  for (const ClassInfo& c : class_list()) {
    check(c.clsid);
    check(c.default_iid);
    if (c.event_iid) check(c.event_iid);
  }
  EXPECT_EQ(seen.size(), 1u + 8 * 2 + 6);
}

}  // namespace
}  // namespace qs

// A client of the AddRemove server object for the contract tests: creation,
// a snapshot of every property, and the filling used by several tests.
#pragma once

#include "QuorralSet_h.h"
#include "tests/activex/com_test_support.h"

#include <string>
#include <vector>

namespace qs::test {

// OLE on the test thread for the whole run.
class OleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

const ClassInfo& addremove_info();
// A new AddRemove created through COM by its ProgID.
ComPtr<_AddRemove> create_addremove();
// A new AddRemove given its defaults (IPersistStreamInit::InitNew).
ComPtr<_AddRemove> new_addremove();

// The items of the left (or right) list, read by index until the control
// refuses the index.
std::vector<std::wstring> left_items(_AddRemove* c);
std::vector<std::wstring> right_items(_AddRemove* c);
std::vector<LONG> left_data(_AddRemove* c);
std::vector<LONG> right_data(_AddRemove* c);
// A VARIANT property as text ("<vt>:value" so kinds are compared too).
std::wstring variant_text(const VARIANT& v);

// Every property of an AddRemove, for comparisons.
struct AddRemoveState {
  OLE_COLOR back_color, fore_color;
  VARIANT_BOOL enabled, show_titles;
  std::wstring font_name;
  LONGLONG font_size;
  BOOL font_bold, font_italic;
  short back_style, border_style;
  long orientation;
  std::wstring ltitle, rtitle;
  std::vector<std::wstring> left, right;
  std::vector<LONG> left_data, right_data;
  std::wstring left_list, right_list, left_item_data, right_item_data;
  bool operator==(const AddRemoveState&) const = default;
};
AddRemoveState state_of(_AddRemove* c);

// The face name and size (points x 10000) the platform's font object
// reports for a description: it may report the face and size it realised,
// which depend on the fonts installed.
std::pair<std::wstring, LONGLONG> realised(const wchar_t* face, LONGLONG size, bool bold = false);

// Fills an AddRemove with lists, item data and non-default appearance.
void fill(_AddRemove* c);

}  // namespace qs::test

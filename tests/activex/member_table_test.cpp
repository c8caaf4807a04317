// Each control's member table against the type library embedded in
// QuorralSet.ocx: every member of a default interface has a row and every
// row a member, and the controls' event ids and enumerations are the type
// library's. The checker itself must notice a table that drifts.
#include <gtest/gtest.h>

#include <algorithm>

#include "activex/member_check.h"
#include "activex/server_class.h"
#include "core/variant.h"
#include "tests/activex/com_test_support.h"

namespace qs::test {
namespace {

using activex::MemberTable;
using activex::member_table_problems;
using activex::server_classes;

class MemberTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLibEx(ocx_path().c_str(), REGKIND_NONE, library_.GetAddressOf()), S_OK);
  }
  std::string problems(const ClassInfo& info, const MemberTable& table) {
    std::string text;
    for (const std::u16string& p : member_table_problems(library_.Get(), info, table))
      text += utf8(p) + "\n";
    return text;
  }
  const MemberTable& table_of(std::u16string_view name) {
    const activex::ServerClass* c = activex::find_server_class(name);
    EXPECT_NE(c, nullptr) << utf8(name);
    return *c->members;
  }
  ComPtr<ITypeLib> library_;
};

TEST_F(MemberTableTest, EveryCreatableClassAgreesWithTheTypeLibrary) {
  ASSERT_FALSE(server_classes().empty());
  for (const activex::ServerClass* c : server_classes()) {
    const ClassInfo* info = find_class(c->name);
    ASSERT_NE(info, nullptr) << utf8(c->name);
    EXPECT_EQ(problems(*info, *c->members), "") << utf8(c->name);
  }
}

TEST_F(MemberTableTest, EveryControlOfTheTypeLibraryIsCreatable) {
  for (const ClassInfo* info : published_classes()) {
    if (info->kind != ClassKind::kControl) continue;
    EXPECT_NE(activex::find_server_class(info->name), nullptr) << utf8(info->name);
  }
}

TEST_F(MemberTableTest, EveryEnumerationOfTheTypeLibraryIsDeclaredByAControl) {
  for (UINT i = 0, n = library_->GetTypeInfoCount(); i < n; ++i) {
    TYPEKIND kind;
    ASSERT_EQ(library_->GetTypeInfoType(i, &kind), S_OK);
    if (kind != TKIND_ENUM) continue;
    BSTR name = nullptr;
    ASSERT_EQ(library_->GetDocumentation(INT(i), &name, nullptr, nullptr, nullptr), S_OK);
    const std::u16string enum_name(reinterpret_cast<const char16_t*>(name));
    SysFreeString(name);
    bool declared = false;
    for (const activex::ServerClass* c : server_classes())
      for (const activex::EnumDecl& e : c->members->enums) declared = declared || e.name == enum_name;
    EXPECT_TRUE(declared) << utf8(enum_name);
  }
}

// Each drift of a table from the type library that the checker must report,
// with a word the report must contain.
struct Drift {
  const char* what;
  void (*change)(MemberTable&);
  const char* reported;
};

const Drift kDrifts[] = {
    {"a member without a row",
     [](MemberTable& t) {
       std::erase_if(t.rows, [](const activex::MemberRow& r) { return r.name == u"RTitle"; });
     },
     "_AddRemove.RTitle has no row"},
    {"a row without a member",
     [](MemberTable& t) {
       activex::MemberRow extra = t.rows.front();
       extra.name = u"Bogus";
       t.rows.push_back(extra);
     },
     "row _AddRemove.Bogus has no member"},
    {"a property row for an indexed member",
     [](MemberTable& t) {
       for (auto& r : t.rows)
         if (r.name == u"Llist") r.index_count = 0;
     },
     "Llist: the getter takes 1 arguments, the row 0"},
    {"a read-only row for a writable member",
     [](MemberTable& t) {
       for (auto& r : t.rows)
         if (r.name == u"LTitle") r.put = nullptr;
     },
     "LTitle: the row has no setter"},
    {"an event raised under another id",
     [](MemberTable& t) { t.events[0].dispid = 2; },
     "Change is event 1, the control raises 2"},
    {"an enumeration member with another value",
     [](MemberTable& t) { t.enums[0].members[1].second = 7; },
     "qrOrientation.qrRightToLeft = 1 differs"},
};

TEST_F(MemberTableTest, TheCheckReportsEveryDrift) {
  const ClassInfo& info = *find_class(u"AddRemove");
  for (const Drift& drift : kDrifts) {
    MemberTable changed = table_of(u"AddRemove");
    drift.change(changed);
    EXPECT_NE(problems(info, changed).find(drift.reported), std::string::npos)
        << drift.what << "; reported:\n" << problems(info, changed);
  }
}

}  // namespace
}  // namespace qs::test

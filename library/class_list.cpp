#include "library/class_list.h"

namespace qs {

const std::vector<ClassInfo>& class_list() {
  static const std::vector<ClassInfo> classes = {
      {u"AddRemove", ClassKind::kControl, "{C07AD70C-F37D-44B3-82E1-3DA16CD47841}",
       u"_AddRemove", "{1330A82F-9B16-402D-8F71-29D9E6D935E2}",
       u"__AddRemove", "{2F86F650-D969-42E8-A872-09F36BD903EF}", 1, 30005,
       kMiscStatusControl, {u"LeftList", u"RightList", u"StandardColor", u"StandardFont"}},
      {u"LeftList", ClassKind::kPropertyPage, "{44C6A3AC-3DE7-497D-9966-D89F5C9DFF68}",
       u"_LeftList", "{5C156FF4-355F-41CA-AA85-358990EEAAA8}", u"", nullptr, 0, 0, 0, {}},
      {u"RightList", ClassKind::kPropertyPage, "{D6FE804D-8C24-45C2-95AB-F9E83F695941}",
       u"_RightList", "{BA6C742D-62B8-483C-BB37-DDF0CEBCCDFC}", u"", nullptr, 0, 0, 0, {}},
      {u"ShapeButton", ClassKind::kControl, "{EC1466DF-ADEB-42A0-87DB-E4EB350F96AF}",
       u"_ShapeButton", "{EA4646CC-8757-46F9-81B2-4E447DB81850}",
       u"__ShapeButton", "{97FADA24-0A1A-46BE-9878-C90648A30F12}", 8, 30004,
       kMiscStatusControl, {}},
      {u"qCheck", ClassKind::kControl, "{02E5531C-164F-4CB6-B341-C848A8D73C26}",
       u"_qCheck", "{FBD58D47-AA06-4AB8-8210-4489A6F7863E}",
       u"__qCheck", "{FA188C31-ED25-45BA-B6CE-B9CDF6604B11}", 9, 30003,
       kMiscStatusControl, {}},
      {u"Dirtext", ClassKind::kControl, "{F03B107E-2E1F-4415-9ADC-D97432595014}",
       u"_Dirtext", "{AA26F449-D778-45E9-9A3F-B76601FEAED1}",
       u"__Dirtext", "{47ABA602-644A-47BF-A4DC-5BE9E0DBE29E}", 9, 30002,
       kMiscStatusControl, {}},
      {u"Quorral", ClassKind::kControl, "{0B3D1194-EAAE-4B0C-B5BE-100CC0C02ED5}",
       u"_Quorral", "{C83CE33D-88FD-49DA-A925-5C515ACD9C35}",
       u"__Quorral", "{972CF2FD-F3D6-4F38-A8EE-4CE9AABCA395}", 3, 30001,
       kMiscStatusInvisibleControl, {}},
      {u"qLabel", ClassKind::kControl, "{7CE2D1C5-6A4A-45EA-8607-4F19DB8E3F48}",
       u"_qLabel", "{FE7126F4-BB87-489A-BAB2-1B9BC4E1B156}",
       u"__qLabel", "{6D1F0DA1-2469-4EC3-89FE-EDA8C089B090}", 5, 30000,
       kMiscStatusControl, {}},
  };
  return classes;
}

const ClassInfo* find_class(std::u16string_view name) {
  for (const ClassInfo& c : class_list())
    if (c.name == name) return &c;
  return nullptr;
}

std::u16string prog_id(const ClassInfo& info) {
  return std::u16string(kLibraryName) + u"." + std::u16string(info.name);
}

}  // namespace qs

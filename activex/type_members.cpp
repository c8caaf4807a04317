#include "type_members.h"

#include <climits>

#include "com_util.h"

namespace qs::activex {

std::vector<TypeMember> type_members(ITypeInfo* info) {
  std::vector<TypeMember> out;
  TYPEATTR* attr = nullptr;
  if (!info || FAILED(info->GetTypeAttr(&attr))) return out;
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (WORD i = 0; i < count; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    TypeMember m{u"", f->memid, f->invkind, 0, 0, {}};
    for (SHORT p = 0; p < f->cParams; ++p) {
      const ELEMDESC& param = f->lprgelemdescParam[p];
      const TYPEDESC& t = param.tdesc;
      m.pointed.push_back(t.vt == VT_PTR && t.lptdesc ? t.lptdesc->vt : VARTYPE(VT_VARIANT));
      const USHORT flags = param.paramdesc.wParamFlags;
      if (flags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) continue;
      ++m.most;
      if (!(flags & PARAMFLAG_FOPT)) m.fewest = m.most;
    }
    if (f->cParamsOpt == -1) m.most = UINT_MAX;
    BSTR name = nullptr;
    if (SUCCEEDED(info->GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr))) {
      m.name = from_bstr(name);
      SysFreeString(name);
    }
    info->ReleaseFuncDesc(f);
    out.push_back(std::move(m));
  }
  return out;
}

}  // namespace qs::activex

#include "error_info.h"

#include "com_util.h"

namespace qs::activex {

HRESULT report_error(const RuntimeError& error, const std::u16string& source, REFIID iid) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(wide(source)));
    std::u16string description = error.description();
    if (description.empty()) description = error_description(error.number());
    create->SetDescription(const_cast<LPOLESTR>(wide(description)));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return runtime_hresult(error.number());
}

void clear_error() { SetErrorInfo(0, nullptr); }

}  // namespace qs::activex

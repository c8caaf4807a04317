// A connection point of a control: the sinks connected for one outgoing
// interface. It lives inside its control and shares the control's lifetime
// and reference count.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <vector>

#include "com_util.h"

namespace qs::activex {

class ConnectionPoint : public IConnectionPoint {
 public:
  // owner is the container's IUnknown; iid the outgoing interface. Sinks
  // that lack iid are accepted through fallback (IDispatch for events).
  ConnectionPoint(IConnectionPointContainer* owner, REFIID iid, REFIID fallback);
  ~ConnectionPoint();

  // The connected sinks, each queried for the outgoing interface (AddRef'd
  // copies, so a sink may disconnect while being called).
  std::vector<ComPtr<IUnknown>> sinks() const;
  REFIID iid() const { return iid_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

 private:
  IConnectionPointContainer* owner_;
  IID iid_;
  IID fallback_;
  DWORD next_cookie_ = 1;
  std::map<DWORD, ComPtr<IUnknown>> sinks_;
};

// Enumerates a fixed list of connection points.
HRESULT make_connection_point_enum(std::vector<IConnectionPoint*> points,
                                   IEnumConnectionPoints** out);

}  // namespace qs::activex

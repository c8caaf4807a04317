#include "connection_point.h"

#include <new>

namespace qs::activex {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* owner, REFIID iid, REFIID fallback)
    : owner_(owner), iid_(iid), fallback_(fallback) {}

ConnectionPoint::~ConnectionPoint() = default;

std::vector<ComPtr<IUnknown>> ConnectionPoint::sinks() const {
  std::vector<ComPtr<IUnknown>> out;
  for (const auto& [cookie, sink] : sinks_) out.push_back(sink);
  return out;
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return owner_->AddRef(); }
ULONG ConnectionPoint::Release() { return owner_->Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = owner_;
  owner_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  ComPtr<IUnknown> typed;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(typed.put()))) &&
      (fallback_ == GUID_NULL ||
       FAILED(sink->QueryInterface(fallback_, reinterpret_cast<void**>(typed.put())))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = next_cookie_++;
  sinks_[*cookie] = typed;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  auto it = sinks_.find(cookie);
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  // Release after erasing: the sink's release may re-enter this object.
  ComPtr<IUnknown> sink = it->second;
  sinks_.erase(it);
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

namespace {

class ConnectionPointEnum final : public IEnumConnectionPoints {
 public:
  ConnectionPointEnum(std::vector<IConnectionPoint*> points, size_t pos)
      : points_(std::move(points)), pos_(pos) {
    for (IConnectionPoint* p : points_) p->AddRef();
  }
  ~ConnectionPointEnum() {
    for (IConnectionPoint* p : points_) p->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumConnectionPoints) {
      *out = static_cast<IEnumConnectionPoints*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    while (n < count && pos_ < points_.size()) {
      out[n] = points_[pos_++];
      out[n]->AddRef();
      ++n;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    pos_ += count;
    if (pos_ > points_.size()) {
      pos_ = points_.size();
      return S_FALSE;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    pos_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) ConnectionPointEnum(points_, pos_);
    if (!*out) return E_OUTOFMEMORY;
    (*out)->AddRef();
    return S_OK;
  }

 private:
  ULONG refs_ = 0;
  std::vector<IConnectionPoint*> points_;
  size_t pos_;
};

}  // namespace

HRESULT make_connection_point_enum(std::vector<IConnectionPoint*> points,
                                   IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) ConnectionPointEnum(std::move(points), 0);
  if (!*out) return E_OUTOFMEMORY;
  (*out)->AddRef();
  return S_OK;
}

}  // namespace qs::activex

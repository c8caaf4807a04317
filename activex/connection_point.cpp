#include "connection_point.h"

#include <new>

#include "error_info.h"

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
  return entry_guard([&] {
    const DWORD next = next_cookie_;
    sinks_[next] = typed;
    next_cookie_ = next + 1;
    *cookie = next;
    return S_OK;
  });
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  auto it = sinks_.find(cookie);
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  // Release after erasing: the sink's release may re-enter this object.
  ComPtr<IUnknown> sink = it->second;
  sinks_.erase(it);
  return S_OK;
}

namespace {

// Reference handling for the items an enumerator hands out.
void add_ref(IConnectionPoint* p) { p->AddRef(); }
void release(IConnectionPoint* p) { p->Release(); }
void add_ref(const CONNECTDATA& c) { c.pUnk->AddRef(); }
void release(const CONNECTDATA& c) { c.pUnk->Release(); }

// An enumerator over a snapshot of items; each item handed out is AddRef'd
// for the caller, as the enumeration interfaces require.
template <class Enum, class Item>
class ListEnum final : public SingleInterface<Enum> {
 public:
  ListEnum(std::vector<Item> items, size_t pos) : items_(std::move(items)), pos_(pos) {
    for (const Item& i : items_) add_ref(i);
  }
  ~ListEnum() override {
    for (const Item& i : items_) release(i);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    // Without a place to say how many came, only one may be asked for.
    if (!fetched && count > 1) return E_POINTER;
    ULONG n = 0;
    while (n < count && pos_ < items_.size()) {
      out[n] = items_[pos_++];
      add_ref(out[n]);
      ++n;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    // Compared before adding, so a huge count cannot wrap the position.
    if (count > items_.size() - pos_) {
      pos_ = items_.size();
      return S_FALSE;
    }
    pos_ += count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    pos_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Enum** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return entry_guard([&] { return make(items_, pos_, out); });
  }

  static HRESULT make(std::vector<Item> items, size_t pos, Enum** out) {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) ListEnum(std::move(items), pos);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::vector<Item> items_;
  size_t pos_;
};

}  // namespace

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return entry_guard([&] {
    std::vector<CONNECTDATA> connections;
    for (const auto& [cookie, sink] : sinks_)
      connections.push_back(CONNECTDATA{sink.get(), cookie});
    return ListEnum<IEnumConnections, CONNECTDATA>::make(std::move(connections), 0, out);
  });
}

HRESULT make_connection_point_enum(std::vector<IConnectionPoint*> points,
                                   IEnumConnectionPoints** out) {
  return entry_guard([&] {
    return ListEnum<IEnumConnectionPoints, IConnectionPoint*>::make(std::move(points), 0, out);
  });
}

}  // namespace qs::activex

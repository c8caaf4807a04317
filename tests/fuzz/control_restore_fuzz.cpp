// Every control's restore from a bag of any keys and values, on the headless
// platform: it either fails with a runtime error or succeeds, and after a
// success what the control saves restores into a fresh control that saves
// exactly the same again.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/addremove/addremove.h"
#include "controls/dirtext/dirtext.h"
#include "controls/qcheck/qcheck.h"
#include "controls/qlabel/qlabel.h"
#include "controls/quorral/quorral.h"
#include "controls/shapebutton/shapebutton.h"
#include "core/property_stream_codec.h"
#include "core/runtime_error.h"
#include "library/host.h"
#include "platform/headless/headless_platform.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_values.h"

namespace {

using namespace qs;

using Factory = std::function<std::unique_ptr<Control>(Platform&, Host&)>;

template <class C>
Factory make() {
  return [](Platform& p, Host& h) { return std::make_unique<C>(p.create_surface(), h); };
}

// The controls under test, one row each.
const Factory kControls[] = {
    make<AddRemove>(),
    make<qCheck>(),
    make<qLabel>(),
    make<Dirtext>(),
    make<Quorral>(),
    make<ShapeButton>(),
};

// A bag that records every key a save passes, stored or left at its default.
class KeyRecorder : public PropertyBag {
 public:
  std::vector<std::u16string> keys;

 protected:
  std::optional<Variant> load(std::u16string_view) override { return std::nullopt; }
  void store(std::u16string_view key, const Variant&) override { keys.emplace_back(key); }
  void erase(std::u16string_view key) override { keys.emplace_back(key); }
};

// The keys each control saves, found once by saving a new instance.
const std::vector<std::vector<std::u16string>>& known_keys() {
  static const auto keys = [] {
    std::vector<std::vector<std::u16string>> all;
    for (const Factory& make : kControls) {
      HeadlessPlatform platform;
      NullHost host;
      std::unique_ptr<Control> c = make(platform, host);
      c->InitProperties();
      KeyRecorder recorder;
      c->WriteProperties(recorder);
      all.push_back(std::move(recorder.keys));
    }
    return all;
  }();
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const size_t which = in.ConsumeIntegralInRange<size_t>(0, std::size(kControls) - 1);
  const Factory& make = kControls[which];
  MemoryPropertyBag bag = fuzz::fuzzed_bag(in, known_keys()[which]);

  HeadlessPlatform platform;
  NullHost host;
  std::unique_ptr<Control> first = make(platform, host);
  try {
    first->ReadProperties(bag);
  } catch (const RuntimeError&) {
    return 0;
  }
  MemoryPropertyBag saved;
  first->WriteProperties(saved);

  std::unique_ptr<Control> second = make(platform, host);
  second->ReadProperties(saved);
  MemoryPropertyBag saved_again;
  second->WriteProperties(saved_again);
  QS_FUZZ_CHECK(fuzz::same_entries(saved, saved_again));
  // What a control saves also goes through the host's stream, except a
  // picture known only by its handle (no file data): the stream refuses it
  // with 380 before writing anything, rather than write what it cannot read.
  bool handle_only = false;
  for (const auto& [key, value] : saved.entries()) {
    if (!value.is_object() || value.to_font()) continue;
    PictureRef p = value.to_picture();
    if (p && p->type != PictureType::kNone && p->data.empty()) handle_only = true;
  }
  try {
    MemoryPropertyBag streamed;
    decode_property_stream(encode_property_stream(saved), streamed);
    QS_FUZZ_CHECK(!handle_only);
    QS_FUZZ_CHECK(fuzz::same_entries(saved, streamed));
  } catch (const RuntimeError& e) {
    QS_FUZZ_CHECK(handle_only && e.number() == kErrInvalidPropertyValue);
  }
  return 0;
}

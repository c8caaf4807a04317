// What a control asks of its container.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/font.h"
#include "core/variant.h"

namespace qs {

class Host {
 public:
  virtual ~Host() = default;

  // The container's ambient font, or null when it has none.
  virtual FontRef ambient_font() = 0;
  // True at run time, false in a designer.
  virtual bool user_mode() = 0;
  // A property (named by its store key) was assigned through the public interface.
  virtual void property_changed(std::u16string_view name) = 0;
  // Raises event `dispid`; the arguments are by reference and may come back changed.
  virtual void raise_event(int dispid, std::vector<Variant*> args) = 0;
};

// A host that answers with defaults and ignores notifications: run mode,
// no ambient font.
class NullHost : public Host {
 public:
  FontRef ambient_font() override { return nullptr; }
  bool user_mode() override { return true; }
  void property_changed(std::u16string_view) override {}
  void raise_event(int, std::vector<Variant*>) override {}
};

// The surface font a control takes from its host: the ambient font if there
// is one, else a fresh default font object.
FontRef ambient_or_default_font(Host& host);

}  // namespace qs

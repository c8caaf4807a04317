// A host for tests: records change notifications and events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "library/host.h"

namespace qs::test {

class RecordingHost : public Host {
 public:
  struct Event {
    int dispid;
    std::vector<Variant> args;  // as raised (before the host changed them)
  };

  FontRef ambient_font() override { return ambient; }
  bool user_mode() override { return run_mode; }
  void property_changed(std::u16string_view name) override {
    changes.emplace_back(name);
  }
  void raise_event(int dispid, std::vector<Variant*> args) override;

  // The events raised with that dispid.
  int count(int dispid) const;
  void reset() { changes.clear(); events.clear(); }

  FontRef ambient;
  bool run_mode = true;
  std::vector<std::u16string> changes;
  std::vector<Event> events;
  // Called for each event with its by-reference arguments; may change them.
  std::function<void(int, std::vector<Variant*>&)> on_event;
};

}  // namespace qs::test

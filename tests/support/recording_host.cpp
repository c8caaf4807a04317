#include "tests/support/recording_host.h"

namespace qs::test {

void RecordingHost::raise_event(int dispid, std::vector<Variant*> args) {
  Event e{dispid, {}};
  for (Variant* a : args) e.args.push_back(*a);
  events.push_back(std::move(e));
  if (on_event) on_event(dispid, args);
}

int RecordingHost::count(int dispid) const {
  int n = 0;
  for (const Event& e : events) n += e.dispid == dispid;
  return n;
}

}  // namespace qs::test

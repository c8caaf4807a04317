// The base every control shares: its surface, its host, the lifecycle calls
// and the about box.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "library/host.h"
#include "core/property_bag.h"
#include "core/variant.h"
#include "platform/platform.h"

namespace qs {

// The order a container drives a control in: construction; exactly one of
// InitProperties or ReadProperties; then Resize, property access, methods
// and WriteProperties in any order; destruction.
class Control {
 public:
  // Takes ownership of the surface; the host must outlive the control.
  Control(std::unique_ptr<Surface> surface, Host& host);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual void InitProperties() = 0;
  virtual void ReadProperties(PropertyBag& bag) = 0;
  virtual void WriteProperties(PropertyBag& bag) = 0;
  // Lays the children out over the surface's inner size.
  virtual void Resize() {}

  // Shows the library's about box modally; returns when the user closed it.
  void ShowAboutBox();

  Surface& surface() { return *surface_; }
  const Surface& surface() const { return *surface_; }
  Host& host() { return host_; }

 protected:
  // Tells the host that the property stored under `name` changed.
  void notify(std::u16string_view name) { host_.property_changed(name); }
  // Raises event `dispid` with by-reference arguments.
  void raise_event(int dispid, std::vector<Variant*> args = {}) {
    host_.raise_event(dispid, std::move(args));
  }
  // Raises a mouse event (Button, Shift, X, Y) from a child's notification,
  // passing its arguments by reference: the host's changes come back into
  // the report as far as they fit its kinds.
  void raise_mouse_event(int dispid, MouseReport& report);
  // Raises a key event (KeyCode, and Shift where given) by reference; the
  // host's changes come back as far as they convert, a value that does not
  // leaves its argument as it was.
  void raise_key_event(int dispid, int16_t& code, int16_t* shift);

 private:
  std::unique_ptr<Surface> surface_;
  Host& host_;
};

}  // namespace qs

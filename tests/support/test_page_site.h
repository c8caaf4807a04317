// A designer's page site for tests: the test selects objects, shows a page
// (selection changed), types into its boxes through the rig's driver and
// applies. Failures of the page's property reads and writes are passed to
// the site, which keeps their numbers.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "library/property_page.h"

namespace qs::test {

// An object whose properties are named getter and setter pairs; a name it
// does not know fails with 438, as a dispatch call by name does.
class NamedProperties : public PageObject {
 public:
  struct Accessor {
    std::function<Variant()> get;
    std::function<void(const Variant&)> set;
  };

  std::map<std::u16string, Accessor, std::less<>> properties;
  // Every get and set, as "get Name" / "set Name", in order.
  std::vector<std::u16string> calls;

  Variant get_property(std::u16string_view name) override {
    calls.push_back(u"get " + std::u16string(name));
    return find(name).get();
  }
  void set_property(std::u16string_view name, const Variant& value) override {
    calls.push_back(u"set " + std::u16string(name));
    find(name).set(value);
  }

 private:
  Accessor& find(std::u16string_view name) {
    auto it = properties.find(name);
    if (it == properties.end()) throw RuntimeError(438);
    return it->second;
  }
};

class TestPageSite : public PageSite {
 public:
  int selected_count() override { return static_cast<int>(selection.size()); }
  PageObject& selected(int index) override { return *selection.at(static_cast<size_t>(index)); }
  bool changed() override { return changed_; }
  void set_changed(bool changed) override {
    changed_ = changed;
    if (changed) ++times_set;
  }

  // The designer shows the page or its selection changes.
  void show(PropertyPage& page) { run([&] { page.SelectionChanged(); }); }
  // The user applies; the site clears the flag only after a success.
  void apply(PropertyPage& page) { run([&] { page.apply(); }); }
  void reset() {
    changed_ = false;
    times_set = 0;
    errors.clear();
  }

  std::vector<PageObject*> selection;
  int times_set = 0;
  std::vector<int32_t> errors;

 private:
  void run(const std::function<void()>& step) {
    try {
      step();
    } catch (const RuntimeError& e) {
      errors.push_back(e.number());
    }
  }

  bool changed_ = false;
};

}  // namespace qs::test

// Property pages: a page edits properties of the controls selected in a
// designer, through a page site, by property name only, so it works on any
// object that has the properties it names.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/variant.h"
#include "platform/platform.h"

namespace qs {

// One selected object as a page sees it. Both calls fail with the runtime
// error the object gives (438 when it has no such property).
class PageObject {
 public:
  virtual ~PageObject() = default;
  virtual Variant get_property(std::u16string_view name) = 0;
  virtual void set_property(std::u16string_view name, const Variant& value) = 0;
};

// What the designer offers a page: the selected objects, in selection
// order, and the page's changed flag, which lets the designer offer to apply.
class PageSite {
 public:
  virtual ~PageSite() = default;
  virtual int selected_count() = 0;
  // Object `index` (0 .. selected_count() - 1).
  virtual PageObject& selected(int index) = 0;
  virtual bool changed() = 0;
  virtual void set_changed(bool changed) = 0;
};

// The base of every page: its surface (which holds its elements), its site,
// caption and size. The site drives it: SelectionChanged when the page is
// shown or the selection changes, apply() when the user applies.
class PropertyPage {
 public:
  // Takes ownership of the surface; the site must outlive the page.
  PropertyPage(std::unique_ptr<Surface> surface, PageSite& site);
  virtual ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // The tab caption and the page's size in twips.
  virtual std::u16string caption() const = 0;
  virtual float page_width() const = 0;
  virtual float page_height() const = 0;

  // The selection changed (or the page is being shown).
  virtual void SelectionChanged() = 0;
  // Writes the page's values to the selection.
  virtual void ApplyChanges() = 0;

  // Runs ApplyChanges and, when it succeeds, clears the changed flag; a
  // failure leaves the flag set and reaches the caller.
  void apply();

  Surface& surface() { return *surface_; }
  PageSite& site() { return site_; }

 protected:
  // The first selected object; fails with 9 (subscript out of range) when nothing
  // is selected.
  PageObject& first_selected();
  void set_changed() { site_.set_changed(true); }

 private:
  std::unique_ptr<Surface> surface_;
  PageSite& site_;
};

}  // namespace qs

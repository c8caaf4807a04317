#include "library/property_page.h"

#include "core/runtime_error.h"

namespace qs {

PropertyPage::PropertyPage(std::unique_ptr<Surface> surface, PageSite& site)
    : surface_(std::move(surface)), site_(site) {}

PropertyPage::~PropertyPage() = default;

void PropertyPage::apply() {
  ApplyChanges();
  site_.set_changed(false);
}

PageObject& PropertyPage::first_selected() {
  if (site_.selected_count() < 1) throw RuntimeError(kErrSubscript);
  return site_.selected(0);
}

}  // namespace qs

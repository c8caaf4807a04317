// The COM object of a portable property page: IPropertyPage over a page
// built on a real surface, whose site talks to the selected objects only
// through IDispatch by property name.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <string_view>

#include "library/property_page.h"
#include "server_class.h"

namespace qs::activex {

// What a frame asks of a page before it is built: its caption and size.
struct PageFacts {
  std::u16string_view caption;
  float width_twips;
  float height_twips;
};

using PageMaker =
    std::function<std::unique_ptr<PropertyPage>(std::unique_ptr<Surface>, PageSite&)>;

// Creates a page object and queries it for iid.
HRESULT create_page_object(const PageFacts& facts, PageMaker make, REFIID iid, void** out);

// The members of a page's default interface: none.
const MemberTable& empty_members();

// The entry of a property page class.
template <class Page>
ServerClass page_class(std::u16string_view name, PageFacts facts) {
  return {name,
          [facts](REFIID iid, void** out) {
            return create_page_object(
                facts,
                [](std::unique_ptr<Surface> surface, PageSite& site) {
                  return std::make_unique<Page>(std::move(surface), site);
                },
                iid, out);
          },
          &empty_members()};
}

}  // namespace qs::activex

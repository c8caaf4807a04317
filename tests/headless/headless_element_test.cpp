// Element, label, surface and form state on the in-memory platform.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/runtime_error.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/error_of.h"

namespace qs {
namespace {

using qs::test::error_of;

TEST(HeadlessElement, MoveKeepsValuesExactlyAndARefusedMoveKeepsThePlace) {
  HeadlessPlatform platform;
  auto surface = platform.create_surface();
  ListBox& list = surface->create_list_box(u"List1");
  list.move(10, 225, 2135.5f, 3375);
  EXPECT_EQ(list.bounds(), (Bounds{10, 225, 2135.5f, 3375}));
  list.move(-960);
  EXPECT_EQ(list.bounds(), (Bounds{-960, 225, 2135.5f, 3375}));
  list.move(0, 0, 0);
  EXPECT_EQ(list.bounds(), (Bounds{0, 0, 0, 3375}));
  EXPECT_EQ(error_of([&] { list.move(5, 6, -0.5f, 10); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { list.move(5, 6, 10, -1); }), kErrInvalidPropertyValue);
  EXPECT_EQ(list.bounds(), (Bounds{0, 0, 0, 3375}));
  // Every element has a font object from the start, as the platform's do.
  ASSERT_NE(list.font(), nullptr);
  EXPECT_EQ(list.font()->desc(), default_font_desc());
  EXPECT_TRUE(list.visible());
  EXPECT_TRUE(list.enabled());
}

TEST(HeadlessLabel, DefaultsAndRefusedValues) {
  HeadlessPlatform platform;
  auto surface = platform.create_surface();
  Label& label = surface->create_label(u"LeftCap");
  EXPECT_TRUE(label.windowless());
  EXPECT_EQ(label.back_style(), 1);
  EXPECT_EQ(label.back_color(), kColorButtonFace);
  EXPECT_EQ(label.fore_color(), kColorButtonText);
  EXPECT_EQ(label.alignment(), Alignment::kLeft);
  ASSERT_NE(label.font(), nullptr);
  EXPECT_EQ(label.font()->desc(), default_font_desc());
  label.set_back_style(0);
  EXPECT_EQ(error_of([&] { label.set_back_style(2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { label.set_alignment(static_cast<Alignment>(3)); }),
            kErrInvalidPropertyValue);
  EXPECT_EQ(label.back_style(), 0);
  EXPECT_EQ(label.alignment(), Alignment::kLeft);
  EXPECT_FALSE(surface->create_command_button(u"cmdAdd").windowless());
}

TEST(HeadlessSurface, DefaultsAndRefusedStyles) {
  HeadlessPlatform platform;
  auto surface = platform.create_surface();
  EXPECT_EQ(surface->scale_width(), 0);
  EXPECT_EQ(surface->scale_height(), 0);
  EXPECT_TRUE(surface->enabled());
  EXPECT_EQ(surface->back_style(), 1);
  EXPECT_EQ(surface->border_style(), 0);
  EXPECT_EQ(surface->back_color(), 0x8000000Fu);
  EXPECT_EQ(surface->fore_color(), 0x80000012u);
  EXPECT_EQ(surface->font(), nullptr);
  EXPECT_EQ(&surface->platform(), &platform);
  surface->set_border_style(1);
  surface->set_back_style(0);
  EXPECT_EQ(error_of([&] { surface->set_border_style(2); }), kErrInvalidPropertyValue);
  EXPECT_EQ(error_of([&] { surface->set_back_style(-1); }), kErrInvalidPropertyValue);
  EXPECT_EQ(surface->border_style(), 1);
  EXPECT_EQ(surface->back_style(), 0);
}

TEST(HeadlessForm, LoadCountsSizeAndCaption) {
  HeadlessPlatform platform;
  {
    auto first = platform.create_form(u"frmAbout");
    auto second = platform.create_form(u"frmAbout");
    EXPECT_EQ(platform.live_forms(), 2);
    first->set_client_size(7290, 3900);
    EXPECT_EQ(first->scale_width(), 7290);
    EXPECT_EQ(first->scale_height(), 3900);
    EXPECT_EQ(error_of([&] { first->set_client_size(-1, 10); }), kErrInvalidPropertyValue);
    EXPECT_EQ(first->scale_width(), 7290);
    first->set_caption(u"About");
    EXPECT_EQ(first->caption(), u"About");
    EXPECT_FALSE(first->is_shown());
  }
  EXPECT_EQ(platform.live_forms(), 0);
  EXPECT_EQ(platform.forms_created(), 2);
}

}  // namespace
}  // namespace qs

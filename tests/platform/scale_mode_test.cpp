// A container's scale mode on both platforms: twips by default, pixels on
// request; sizes, places and the mouse reports of windowless elements read
// in the current scale. And the keys a surface reports while it holds the focus.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/rig.h"

namespace qs::test {
namespace {

class ScaleModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = rig->platform().create_surface();
    rig->driver().resize(*surface, 1785, 1545);
  }

  std::unique_ptr<Rig> rig = make_rig();
  std::unique_ptr<Surface> surface;
};

TEST_F(ScaleModeTest, TwipsByDefaultPixelsOnRequestAndNothingElse) {
  EXPECT_EQ(surface->scale_mode(), 1);
  EXPECT_EQ(surface->scale_width(), 1785);
  EXPECT_EQ(surface->scale_height(), 1545);
  for (int16_t refused : {0, 2, 4, 7, -1}) {
    SCOPED_TRACE(refused);
    EXPECT_EQ(error_of([&] { surface->set_scale_mode(refused); }), kErrInvalidPropertyValue);
    EXPECT_EQ(surface->scale_mode(), 1);
  }
  surface->set_scale_mode(3);
  EXPECT_EQ(surface->scale_mode(), 3);
  EXPECT_EQ(surface->scale_width(), 119);
  EXPECT_EQ(surface->scale_height(), 103);
  // The container still gives the size in twips.
  rig->driver().resize(*surface, 3000, 1500);
  EXPECT_EQ(surface->scale_width(), 200);
  EXPECT_EQ(surface->scale_height(), 100);
  surface->set_scale_mode(1);
  EXPECT_EQ(surface->scale_width(), 3000);
}

TEST_F(ScaleModeTest, PlacesReadInTheCurrentScale) {
  Label& label = surface->create_label(u"Label1");
  Image& image = surface->create_image(u"Image1");
  PictureBox& box = surface->create_picture_box(u"Picture1");
  label.move(90, 315, 1110, 300);
  image.move(0, 0, 1125, 900);
  box.move(1500, 150, 150, 300);
  surface->set_scale_mode(3);
  struct Case {
    const char* name;
    Element* element;
    Bounds pixels;
  };
  const Case cases[] = {
      {"label", &label, {6, 21, 74, 20}},
      {"image", &image, {0, 0, 75, 60}},
      {"window", &box, {100, 10, 10, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.element->bounds(), c.pixels);
  }
  // A move in pixels keeps its values exactly, fractions too, and reads
  // back in twips after the switch back.
  label.move(2, 41.5f, 113, 20);
  EXPECT_EQ(label.bounds(), (Bounds{2, 41.5f, 113, 20}));
  label.move(3);
  EXPECT_EQ(label.bounds(), (Bounds{3, 41.5f, 113, 20}));
  EXPECT_EQ(error_of([&] { label.move(0, 0, -1, 20); }), kErrInvalidPropertyValue);
  EXPECT_EQ(label.bounds(), (Bounds{3, 41.5f, 113, 20}));
  surface->set_scale_mode(1);
  EXPECT_EQ(label.bounds(), (Bounds{45, 622.5f, 1695, 300}));
  // The element under a point is found in the current scale (Image1,
  // made later, lies over Label1's left part).
  EXPECT_EQ(rig->driver().element_at(*surface, 1200, 630), &label);
  EXPECT_EQ(rig->driver().element_at(*surface, 60, 630), &image);
  surface->set_scale_mode(3);
  EXPECT_EQ(rig->driver().element_at(*surface, 80, 42), &label);
  EXPECT_EQ(rig->driver().element_at(*surface, 4, 42), &image);
  EXPECT_EQ(rig->driver().element_at(*surface, 101, 11), &box);
}

TEST_F(ScaleModeTest, WindowlessElementsReportTheMouseInTheContainersScale) {
  Label& label = surface->create_label(u"Label1");
  surface->set_scale_mode(3);
  label.move(10, 20, 50, 30);
  std::vector<std::vector<float>> reports;
  label.on_mouse_down = [&](MouseReport& r) { reports.push_back({r.x, r.y}); };
  label.on_mouse_move = [&](MouseReport& r) { reports.push_back({r.x, r.y}); };
  label.on_mouse_up = [&](MouseReport& r) { reports.push_back({r.x, r.y}); };
  rig->driver().mouse_move(label, 5, 7);
  rig->driver().mouse_down(label, 12, 3);
  rig->driver().mouse_up(label, 49, 29);
  EXPECT_EQ(reports, (std::vector<std::vector<float>>{{5, 7}, {12, 3}, {49, 29}}));
}

TEST_F(ScaleModeTest, TheSurfaceReportsItsKeysByReference) {
  std::vector<std::string> log;
  surface->on_key_down = [&](int16_t& code, int16_t& shift) {
    log.push_back("down " + std::to_string(code) + " " + std::to_string(shift));
  };
  surface->on_key_press = [&](int16_t& ascii) { log.push_back("press " + std::to_string(ascii)); };
  surface->on_key_up = [&](int16_t& code, int16_t&) { log.push_back("up " + std::to_string(code)); };
  rig->driver().press_key(*surface, 'Q');
  rig->driver().press_key(*surface, 0x25);  // left arrow: no character
  EXPECT_EQ(log, (std::vector<std::string>{"down 81 0", "press 81", "up 81", "down 37 0", "up 37"}));
  // A disabled surface takes no keys.
  surface->set_enabled(false);
  log.clear();
  rig->driver().press_key(*surface, 'Q');
  EXPECT_EQ(log, std::vector<std::string>{});
}

}  // namespace
}  // namespace qs::test

// The windowless image element on both platforms: its state, its place
// among labels and windows, and the mouse it takes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "tests/support/error_of.h"
#include "tests/support/rig.h"

namespace qs::test {
namespace {

class ImageElementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = rig->platform().create_surface();
    rig->driver().resize(*surface, 3000, 1500);
  }

  // Records which element reported what.
  void watch(MouseSource& source, const std::string& name) {
    source.on_mouse_down = [this, name](MouseReport& r) {
      log.push_back(name + " down " + std::to_string(int(r.x)) + "," + std::to_string(int(r.y)));
    };
    source.on_mouse_up = [this, name](MouseReport&) { log.push_back(name + " up"); };
    source.on_click = [this, name] { log.push_back(name + " click"); };
    source.on_dbl_click = [this, name] { log.push_back(name + " dblclick"); };
  }

  std::unique_ptr<Rig> rig = make_rig();
  std::unique_ptr<Surface> surface;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(ImageElementTest, StateAndTooltips) {
  Image& image = surface->create_image(u"Image1");
  Label& label = surface->create_label(u"Label1");
  EXPECT_TRUE(image.windowless());
  EXPECT_EQ(surface->find(u"Image1"), &image);
  EXPECT_EQ(image.picture(), nullptr);
  EXPECT_FALSE(image.stretch());
  EXPECT_EQ(image.tool_tip_text(), u"");
  EXPECT_EQ(label.tool_tip_text(), u"");

  auto picture = std::make_shared<Picture>();
  image.set_picture(picture);
  image.set_stretch(true);
  image.set_tool_tip_text(u"Press me");
  label.set_tool_tip_text(u"Caption tip");
  image.move(0, 0, 1125, 900);
  EXPECT_EQ(image.picture(), picture);
  EXPECT_TRUE(image.stretch());
  EXPECT_EQ(image.tool_tip_text(), u"Press me");
  EXPECT_EQ(label.tool_tip_text(), u"Caption tip");
  EXPECT_EQ(image.bounds(), (Bounds{0, 0, 1125, 900}));
  EXPECT_EQ(error_of([&] { image.move(0, 0, -15, 900); }), kErrInvalidPropertyValue);
  EXPECT_EQ(image.bounds(), (Bounds{0, 0, 1125, 900}));
  image.set_tool_tip_text(u"");
  EXPECT_EQ(image.tool_tip_text(), u"");
}

TEST_F(ImageElementTest, StacksWithLabelsByCreationAndUnderWindows) {
  // Image1 first, then Label1 over its lower part, then a window over its right part.
  Image& image = surface->create_image(u"Image1");
  Label& label = surface->create_label(u"Label1");
  PictureBox& box = surface->create_picture_box(u"Picture1");
  image.move(0, 0, 1500, 900);
  label.move(0, 600, 1500, 300);
  box.move(1200, 0, 600, 300);
  struct Case {
    const char* where;
    float x, y;
    Element* expected;
  };
  const Case cases[] = {
      {"image only", 150, 150, &image},
      {"label over the image", 150, 750, &label},
      {"window over the image", 1350, 150, &box},
      {"outside everything", 2250, 1200, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    EXPECT_EQ(rig->driver().element_at(*surface, c.x, c.y), c.expected);
  }
  // An image created after the label lies above it.
  Image& top = surface->create_image(u"Image2");
  top.move(0, 600, 300, 300);
  EXPECT_EQ(rig->driver().element_at(*surface, 150, 750), &top);
  top.set_visible(false);
  EXPECT_EQ(rig->driver().element_at(*surface, 150, 750), &label);
}

TEST_F(ImageElementTest, TakesTheMouseWhereNothingLiesOverIt) {
  Image& image = surface->create_image(u"Image1");
  Label& label = surface->create_label(u"Label1");
  image.move(0, 0, 1500, 900);
  label.move(0, 600, 1500, 300);
  watch(image, "image");
  watch(label, "label");
  // Points on whole pixels, so the real platform reports them exactly.
  struct Case {
    const char* name;
    float x, y;
    Log expected;
  };
  const Case cases[] = {
      {"a click on the image alone", 300, 150, {"image down 300,150", "image up", "image click"}},
      {"a click where the label covers the image", 300, 750,
       {"label down 300,150", "label up", "label click"}},
      {"a click on no element", 2400, 1200, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    rig->driver().mouse_down(image, c.x, c.y);
    rig->driver().mouse_up(image, c.x, c.y);
    EXPECT_EQ(log, c.expected);
  }
  log.clear();
  rig->driver().double_click(image);
  EXPECT_EQ(log, (Log{"image down 750,450", "image up", "image click", "image dblclick",
                      "image up"}));
  // A disabled image keeps the mouse from what lies below it and takes none itself.
  image.set_enabled(false);
  log.clear();
  rig->driver().mouse_down(image, 300, 150);
  rig->driver().mouse_up(image, 300, 150);
  EXPECT_EQ(log, Log{});
}

}  // namespace
}  // namespace qs::test

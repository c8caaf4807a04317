// Shaped buttons on the X display under Wine, in our container's real
// top-level window: real pointer clicks (the host's xdotool) just outside
// and just inside a star's outline, and the demo form's row of outlines as
// the screen shows them.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "container/container.h"
#include "container/control_site.h"
#include "container/window_capture.h"
#include "tests/hosts/host_probe.h"
#include "tests/support/real_input.h"

using namespace qs::container;
using namespace qs::hosts;
using qs::test::move_pointer;
using qs::test::pump_until;
using qs::test::xdotool;

namespace {

// Wine's X11 driver setting for top-level windows. Without a window manager
// (Xvfb) only unmanaged windows ("N") show at once where they are put.
std::wstring managed_setting() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return L"(not set)";
  wchar_t value[16] = {};
  DWORD size = sizeof value - sizeof value[0], type = 0;
  const LONG read = RegQueryValueExW(key, L"Managed", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_SZ) return L"(not set)";
  return value;
}

// What the form itself (the container window) receives of the left button:
// the container's own window procedure is wrapped for one test.
struct FormClicks {
  std::vector<POINT> downs, ups;
};
FormClicks* g_form_clicks = nullptr;
WNDPROC g_container_proc = nullptr;

LRESULT CALLBACK record_form_clicks(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (g_form_clicks && (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)) {
    POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    (msg == WM_LBUTTONDOWN ? g_form_clicks->downs : g_form_clicks->ups).push_back(p);
  }
  return CallWindowProcW(g_container_proc, hwnd, msg, wparam, lparam);
}

class FormClickRecorder {
 public:
  explicit FormClickRecorder(HWND form) : form_(form) {
    g_form_clicks = &clicks;
    g_container_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(form_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&record_form_clicks)));
  }
  ~FormClickRecorder() {
    if (IsWindow(form_)) SetWindowLongPtrW(form_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_container_proc));
    g_form_clicks = nullptr;
  }
  FormClicks clicks;

 private:
  HWND form_;
};

// The button events the container logged for `name` (moves left out), in order.
std::vector<std::wstring> button_events(const Container& container, const std::wstring& name) {
  const std::wstring prefix = L"event " + name + L".";
  std::vector<std::wstring> out;
  for (const std::wstring& line : container.log_lines()) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::wstring event = line.substr(prefix.size());
    if (event != L"MouseMove") out.push_back(event);
  }
  return out;
}

int value_notifications(const Container& container, const std::wstring& name) {
  const std::wstring prefix = L"changed " + name + L".Value ";
  int n = 0;
  for (const std::wstring& line : container.log_lines()) n += line.rfind(prefix, 0) == 0;
  return n;
}

std::wstring value_of(IDispatch* button) {
  VARIANT v = get_property(button, L"Value");
  std::wstring text = variant_text(v);
  VariantClear(&v);
  return text;
}

// A window region's edge on one row, seen from the left: the first pixel in
// the region with the pixel `gap` to its left outside it (which may lie left
// of the window). False when the row has no such edge within `width`.
bool left_edge(HRGN region, int y, int width, int gap, int* x_inside) {
  for (int x = 0; x < width; ++x) {
    if (PtInRegion(region, x, y)) {
      if (PtInRegion(region, x - gap, y)) return false;
      *x_inside = x;
      return true;
    }
  }
  return false;
}

class OnScreen : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

TEST_F(OnScreen, ARealClickJustOutsideTheStarReachesTheFormAndOneJustInsidePressesTheButton) {
  ASSERT_EQ(managed_setting(), L"N")
      << "the Wine prefix must have HKCU\\Software\\Wine\\X11 Driver Managed=N (./x and the ctest fixture set it)";
  qs::test::PointerKeeper pointer;
  struct Row {
    const char* style;
    bool initial;
    std::vector<std::wstring> values_after;  // Value after each click inside
  };
  const Row rows[] = {
      {"0", false, {L"0", L"0"}},    // push button: down only while held
      {"1", false, {L"-1", L"0"}},   // latching: each click flips it
      {"1", true, {L"-1", L"0"}},    // restored down, empty latch: the first click keeps it down
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("Style ") + row.style + (row.initial ? ", restored down" : ""));
    Container container;
    const std::string text = std::string("Form \"Star\" 240 180\r\n") +
                             "Begin QuorralSet.ShapeButton Star1 60 40 119 103\r\n"
                             "  ButtonShape = Long 6\r\n"
                             "  Style = Long " + row.style + "\r\n" +
                             "  Value = Boolean " + (row.initial ? "True" : "False") + "\r\n" +
                             "  Caption = String \"Star\"\r\n"
                             "End\r\n";
    container.load_form(parse_form(text));
    container.show();
    // Away from the screen's corner, so screen and window coordinates differ.
    SetWindowPos(container.window(), HWND_TOP, 130, 90, 0, 0, SWP_NOSIZE);
    container.pump_messages(50);
    RECT frame{};
    GetWindowRect(container.window(), &frame);
    ASSERT_EQ(frame.left, 130) << "the window is not where it was put (Managed " << managed_setting().c_str() << ")";
    ASSERT_EQ(frame.top, 90);

    ControlSite* site = container.find(L"Star1");
    ASSERT_NE(site, nullptr);
    HWND button = site->control_window();
    ASSERT_NE(button, nullptr);
    IDispatch* control = site->dispatch();
    const std::wstring initial_value = row.initial ? L"-1" : L"0";
    ASSERT_EQ(value_of(control), initial_value);

    // An edge of the star on its middle row, from the window's own region
    // (window coordinates: relative to the window's top-left corner).
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(button, region), COMPLEXREGION);
    RECT box{};
    GetRgnBox(region, &box);
    RECT button_rect{};
    GetWindowRect(button, &button_rect);
    const int width = button_rect.right - button_rect.left, height = button_rect.bottom - button_rect.top;
    const int y = height / 2;
    int edge = 0;
    ASSERT_TRUE(left_edge(region, y, width, 2, &edge));
    const POINT outside_in_window{edge - 2, y}, inside_in_window{edge + 1, y};
    EXPECT_FALSE(PtInRegion(region, outside_in_window.x, outside_in_window.y));
    EXPECT_FALSE(PtInRegion(region, edge - 1, y));
    ASSERT_TRUE(PtInRegion(region, inside_in_window.x, inside_in_window.y));
    // A second inside point far from the first, so two presses are never one double click.
    const POINT centre_in_window{(box.left + box.right) / 2, (box.top + box.bottom) / 2 + 20};
    ASSERT_TRUE(PtInRegion(region, centre_in_window.x, centre_in_window.y));
    DeleteObject(region);
    ASSERT_GT(outside_in_window.x, 0) << "the point outside the outline must lie in the control's rectangle";

    // Screen points: from the button's window rectangle, and the same point
    // through the form's client coordinates.
    auto on_screen = [&](POINT in_window) {
      return POINT{button_rect.left + in_window.x, button_rect.top + in_window.y};
    };
    const POINT outside = on_screen(outside_in_window), inside = on_screen(inside_in_window),
                centre = on_screen(centre_in_window);
    POINT outside_in_form{site->rect().left + outside_in_window.x, site->rect().top + outside_in_window.y};
    POINT via_form = outside_in_form;
    ClientToScreen(container.window(), &via_form);
    ASSERT_EQ(via_form.x, outside.x);
    ASSERT_EQ(via_form.y, outside.y);
    ASSERT_EQ(WindowFromPoint(outside), container.window()) << "the form is not what lies under the cut corner";
    ASSERT_EQ(WindowFromPoint(inside), button);

    FormClickRecorder form(container.window());
    // Just outside the outline: the form gets the click, the button nothing.
    ASSERT_TRUE(move_pointer(outside)) << "the pointer did not get there: is xdotool there?";
    container.clear_log();
    ASSERT_TRUE(xdotool(L"click 1"));
    ASSERT_TRUE(pump_until([&] { return !form.clicks.ups.empty(); })) << "the form got no click";
    pump_until([] { return false; }, 200);  // nothing more may come
    ASSERT_EQ(form.clicks.downs.size(), 1u);
    EXPECT_EQ(form.clicks.downs[0].x, outside_in_form.x);
    EXPECT_EQ(form.clicks.downs[0].y, outside_in_form.y);
    EXPECT_EQ(button_events(container, L"Star1"), std::vector<std::wstring>{});
    EXPECT_EQ(value_notifications(container, L"Star1"), 0);
    EXPECT_EQ(value_of(control), initial_value);

    // Just inside, then near the middle: each a whole press and release.
    const POINT presses[] = {inside, centre};
    for (size_t i = 0; i < 2; ++i) {
      SCOPED_TRACE(i == 0 ? "just inside the outline" : "near the middle");
      ASSERT_TRUE(move_pointer(presses[i]));
      container.clear_log();
      form.clicks = {};
      ASSERT_TRUE(xdotool(L"click 1"));
      ASSERT_TRUE(pump_until([&] { return button_events(container, L"Star1").size() >= 3; }))
          << "the button reported no whole click";
      pump_until([] { return false; }, 200);
      EXPECT_EQ(button_events(container, L"Star1"),
                (std::vector<std::wstring>{L"MouseDown", L"MouseUp", L"Click"}));
      EXPECT_EQ(value_notifications(container, L"Star1"), 2) << "one on the press, one on the release";
      EXPECT_EQ(value_of(control), row.values_after[i]);
      EXPECT_TRUE(form.clicks.downs.empty()) << "the form got a click meant for the button";
    }
  }
}

// The demo form's path, through Wine's Z: drive.
std::wstring demo_form_path() {
  const std::string path = "Z:" QS_SOURCE_DIR "/demo/addremove.qsform";
  return std::wstring(path.begin(), path.end());
}

TEST_F(OnScreen, TheDemoFormShowsEveryShapeButtonsOutline) {
  Container container;
  container.load_form(read_form_file(demo_form_path()));
  container.show();
  SetWindowPos(container.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
  container.pump_messages(100);
  Pixels shot;
  ASSERT_TRUE(capture_window(container.window(), &shot));
  CreateDirectoryW(L"screens", nullptr);
  write_bmp(L"screens\\demo_form.bmp", shot);

  // Each outline stands out from the form: on rows through the button, the
  // pixel just inside the region's left and right edges differs from the
  // one two pixels outside (cut away, or beside the button's rectangle).
  std::set<std::wstring> shapes;
  for (ControlSite* site : container.controls()) {
    if (site->prog_id() != L"QuorralSet.ShapeButton") continue;
    SCOPED_TRACE(site->name());
    VARIANT shape = get_property(site->dispatch(), L"ButtonShape");
    shapes.insert(variant_text(shape));
    VariantClear(&shape);
    HWND button = site->control_window();
    ASSERT_NE(button, nullptr);
    const RECT at = rect_in(button, container.window());
    const int width = at.right - at.left, height = at.bottom - at.top;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(button, region), COMPLEXREGION);
    int edges = 0, unseen = 0;
    char first_unseen[96] = "";
    auto judge = [&](int x_in, int x_out, int y) {
      ++edges;
      const COLORREF in = shot.at(at.left + x_in, at.top + y), out = shot.at(at.left + x_out, at.top + y);
      if (in != out) return;
      if (unseen++ == 0)
        std::snprintf(first_unseen, sizeof first_unseen, "(%d, %d) and (%d, %d) both 0x%06lX", x_in, y, x_out,
                      y, static_cast<unsigned long>(in));
    };
    for (int y = 2; y < height - 2; y += 4) {
      int left = 0;
      if (left_edge(region, y, width, 2, &left)) judge(left, left - 2, y);
      // The right edge: the last pixel in the region with the one two to its right outside.
      for (int x = width - 1; x >= 0; --x) {
        if (!PtInRegion(region, x, y)) continue;
        if (!PtInRegion(region, x + 2, y)) judge(x, x + 2, y);
        break;
      }
    }
    EXPECT_EQ(unseen, 0) << "of " << edges << " edges the outline does not show; first at " << first_unseen;
    DeleteObject(region);
    EXPECT_GE(edges, 6) << "too few edges to judge";
  }
  EXPECT_EQ(shapes, (std::set<std::wstring>{L"0", L"1", L"2", L"3", L"4", L"5", L"6"}))
      << "one button of each outline";
}

}  // namespace

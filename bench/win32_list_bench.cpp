// AddRemove's whole-list work on real windows, beside the same work done
// with bare LISTBOX messages in the same process: an AddRemove on a shown
// top-level window, and two bare list boxes of the same styles and font on
// the same window. For each operation and size it prints the median of the
// runs for the control, for the bare calls, and their ratio, and the cost
// per item. The bare bulk loops hold redraw as the control does (WM_SETREDRAW
// off, then on and one invalidation); the bare per-item loop, like a host's
// LAddItem loop, leaves redraw on. Every timed step ends with the window
// painted, so paint costs count on both sides.
//
//   qs_win32_list_bench [runs] [size ...] [--loop-max n]
// Defaults: 3 runs; 1000 10000 100000 items; the per-item loops up to 100000.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/win32_bench_window.h"
#include "controls/addremove/addremove.h"
#include "controls/addremove/list_text.h"
#include "library/host.h"
#include "platform/win32/win32_platform.h"

namespace {

using namespace qs;
using bench::median;
using bench::pump;
using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::u16string items_text(int n) {
  ListTextWriter w;
  for (int i = 0; i < n; ++i) w.add(u"item " + utf16(std::to_string(i)));
  return std::move(w.text());
}

std::u16string data_text(int n) {
  ListTextWriter w;
  for (int i = 0; i < n; ++i) w.add(static_cast<int32_t>(i * 7 - n));
  return std::move(w.text());
}

// ---- The bare calls --------------------------------------------------------------

void hold(HWND list) { SendMessageW(list, WM_SETREDRAW, FALSE, 0); }
void release(HWND list) {
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// Loads a list from an item text and an item-data text, split at CR LF.
void bare_load(HWND list, HWND other, const std::u16string& items, const std::u16string& data) {
  hold(list);
  hold(other);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  SendMessageW(other, LB_RESETCONTENT, 0, 0);
  std::vector<int32_t> values;
  for_each_list_entry(data, [&](std::u16string_view e) {
    values.push_back(static_cast<int32_t>(std::wcstol(
        std::wstring(reinterpret_cast<const wchar_t*>(e.data()), e.size()).c_str(), nullptr, 10)));
  });
  size_t index = 0;
  std::wstring entry;
  for_each_list_entry(items, [&](std::u16string_view e) {
    entry.assign(reinterpret_cast<const wchar_t*>(e.data()), e.size());
    const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(list, LB_SETITEMDATA, at, index < values.size() ? values[index] : 0);
    ++index;
  });
  release(list);
  release(other);
}

// Reads a list's items and item data into two CR LF texts.
void bare_save(HWND list, std::wstring& items, std::wstring& data) {
  items.clear();
  data.clear();
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  std::wstring text;
  wchar_t digits[16];
  for (int i = 0; i < count; ++i) {
    text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)));
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    if (i > 0) {
      items += L"\r\n";
      data += L"\r\n";
    }
    items += text;
    std::swprintf(digits, 16, L"%ld", static_cast<long>(SendMessageW(list, LB_GETITEMDATA, i, 0)));
    data += digits;
  }
}

// Moves every item with its data from one list to the end of the other.
void bare_move_all(HWND from, HWND to) {
  hold(from);
  hold(to);
  const int count = static_cast<int>(SendMessageW(from, LB_GETCOUNT, 0, 0));
  std::wstring text;
  for (int i = 0; i < count; ++i) {
    text.resize(static_cast<size_t>(SendMessageW(from, LB_GETTEXTLEN, i, 0)));
    SendMessageW(from, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    const LRESULT data = SendMessageW(from, LB_GETITEMDATA, i, 0);
    const LRESULT at = SendMessageW(to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(to, LB_SETITEMDATA, at, data);
  }
  SendMessageW(from, LB_RESETCONTENT, 0, 0);
  release(from);
  release(to);
}

// ---- The run -----------------------------------------------------------------------

struct Figures {
  std::vector<double> control, bare;
};

bool theme_active() {
  wchar_t value[8] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager",
                   L"ThemeActive", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return false;
  return std::wcscmp(value, L"1") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  int loop_max = 100000;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--loop-max") == 0 && i + 1 < argc) {
      loop_max = std::atoi(argv[++i]);
    } else if (i == 1) {
      runs = std::max(1, std::atoi(argv[i]));
    } else {
      sizes.push_back(std::atoi(argv[i]));
    }
  }
  if (sizes.empty()) sizes = {1000, 10000, 100000};

  const HWND top = bench::open_top_window(L"QsListBench", L"list bench", WS_OVERLAPPEDWINDOW,
                                          900, 500);
  pump(top);

  win32::Win32Platform& platform = win32::Win32Platform::current();
  Driver& driver = platform.driver();
  NullHost host;
  AddRemove ctl(platform.create_surface(), host);
  ctl.InitProperties();
  auto& surface = dynamic_cast<win32::Win32Surface&>(ctl.surface());
  surface.attach(top, RECT{0, 0, 420, 400});
  ctl.Resize();

  // Bare lists of the control's list size, style and font, right of it.
  RECT list_rect{};
  const HWND control_list = GetWindow(surface.hwnd(), GW_CHILD);
  GetClientRect(surface.hwnd(), &list_rect);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                      WS_VSCROLL | WS_TABSTOP | WS_BORDER;
  HWND bare[2];
  for (int i = 0; i < 2; ++i) {
    bare[i] = CreateWindowExW(0, L"LISTBOX", L"", style, 440 + i * 220, 20, 200, 380, top, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bare[i], WM_SETFONT, SendMessageW(control_list, WM_GETFONT, 0, 0), FALSE);
  }
  pump(top);

  std::map<std::pair<std::string, int>, Figures> figures;
  const char* const order[] = {"load", "Save_Lists", ">>", "<<", "LAddItem loop"};
  for (int run = 0; run < runs; ++run) {
    for (int n : sizes) {
      const std::u16string items = items_text(n);
      const std::u16string data = data_text(n);
      auto time = [&](const char* op, bool control, const std::function<void()>& work) {
        const auto start = Clock::now();
        work();
        pump(top);
        auto& f = figures[{op, n}];
        (control ? f.control : f.bare).push_back(ms_since(start));
      };

      // Load: the left list from a list text with item data; the right emptied.
      ctl.set_RightList(Variant(u""));
      ctl.set_LeftListItemData(Variant(data));
      pump(top);
      time("load", true, [&] { ctl.set_LeftList(Variant(items)); });
      time("load", false, [&] { bare_load(bare[0], bare[1], items, data); });

      time("Save_Lists", true, [&] { ctl.Save_Lists(); });
      std::wstring saved_items, saved_data, other_items, other_data;
      time("Save_Lists", false, [&] {
        bare_save(bare[0], saved_items, saved_data);
        bare_save(bare[1], other_items, other_data);
      });

      // ">>" and back with "<<": one "<" and one ">" first enable both.
      ctl.RAddItem(u"R");
      driver.click_item(ctl.List2(), 0);
      driver.click(ctl.cmdAdd());
      driver.click_item(ctl.List1(), n);
      driver.click(ctl.cmdRemove());
      pump(top);
      time(">>", true, [&] { driver.click(ctl.cmdRemoveAll()); });
      time(">>", false, [&] { bare_move_all(bare[0], bare[1]); });
      time("<<", true, [&] { driver.click(ctl.cmdAddAll()); });
      time("<<", false, [&] { bare_move_all(bare[1], bare[0]); });
      if (ctl.List1().list_count() != n + 1 || ctl.List1().item_data(n) != (n - 1) * 7 - n) {
        std::fprintf(stderr, "the control's lists are not as expected after the moves\n");
        return 1;
      }

      // A host adding items one at a time to a shown list, redraw on.
      if (n <= loop_max) {
        ctl.set_LeftList(Variant(u""));
        SendMessageW(bare[0], LB_RESETCONTENT, 0, 0);
        pump(top);
        time("LAddItem loop", true, [&] {
          for (int i = 0; i < n; ++i) ctl.LAddItem(u"item");
        });
        time("LAddItem loop", false, [&] {
          for (int i = 0; i < n; ++i) {
            const LRESULT at = SendMessageW(bare[0], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
            SendMessageW(bare[0], LB_SETITEMDATA, at, 0);
          }
        });
      }
      ctl.set_LeftList(Variant(u""));
      SendMessageW(bare[0], LB_RESETCONTENT, 0, 0);
      SendMessageW(bare[1], LB_RESETCONTENT, 0, 0);
    }
  }

  std::printf("AddRemove list work on a shown window, theme %s, median of %d runs\n",
              theme_active() ? "on" : "off", runs);
  std::printf("%-14s %8s %12s %12s %7s %12s %12s\n", "operation", "items", "control ms", "bare ms",
              "ratio", "control ns/item", "bare ns/item");
  for (const char* op : order) {
    for (int n : sizes) {
      auto it = figures.find({op, n});
      if (it == figures.end()) continue;
      const double c = median(it->second.control), b = median(it->second.bare);
      std::printf("%-14s %8d %12.1f %12.1f %7.2f %12.0f %12.0f\n", op, n, c, b, b > 0 ? c / b : 0,
                  c * 1e6 / n, b * 1e6 / n);
    }
  }
  std::fflush(stdout);
  surface.attach(nullptr, RECT{});
  DestroyWindow(top);
  return 0;
}

// Helpers for host tests: find a hosted control's child windows, read
// them, and drive the control through late-bound IDispatch calls.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "container/window_capture.h"

namespace qs::hosts {

// A visible top-level window shared by the tests of this process and never
// destroyed: Wine waits about two seconds for a window manager whenever a
// mapped top-level window goes, while child windows go at once.
HWND test_stage();

// Every descendant of `root` whose class name is `cls` (case-insensitive),
// in enumeration order.
std::vector<HWND> descendants_of_class(HWND root, const wchar_t* cls);
// The window's text.
std::wstring window_text(HWND hwnd);
// The window's rectangle in the client coordinates of `reference`.
RECT rect_in(HWND hwnd, HWND reference);
// The descendant button of `root` captioned `caption`, or null.
HWND find_button(HWND root, const std::wstring& caption);
// The two list boxes of `root`, leftmost first; empty when there are not two.
std::vector<HWND> lists_left_to_right(HWND root);
// The items of a list box.
std::vector<std::wstring> list_items(HWND list);
// Clicks item `index` of a list box with real mouse messages.
void click_list_item(HWND list, int index);
// How many pixels of `rect` (in image coordinates) have colour `color`.
int count_color(const container::Pixels& pixels, RECT rect, COLORREF color);

// Late-bound property get; fails the test on error.
VARIANT get_property(IDispatch* object, const wchar_t* name);
// Late-bound property put (or putref for objects).
HRESULT put_property(IDispatch* object, const wchar_t* name, const VARIANT& value, bool by_ref = false);
// A BSTR variant.
VARIANT text_variant(const std::wstring& text);
// The text of a variant converted to a string.
std::wstring variant_text(const VARIANT& value);

}  // namespace qs::hosts

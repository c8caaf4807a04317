// A modal property frame of our own: one tab per page that can be created
// (a page whose class is missing is skipped and logged), OK, Cancel and
// Apply. Apply is enabled while a page reports itself dirty; OK and Apply
// apply every dirty page to the objects.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

namespace qs::container {

class PropertyFrame {
 public:
  // Creates the pages and gives them the objects; nothing shows yet.
  PropertyFrame(HWND owner, std::wstring caption, std::vector<IUnknown*> objects,
                const std::vector<CLSID>& pages, std::function<void(const std::wstring&)> log);
  ~PropertyFrame();
  PropertyFrame(const PropertyFrame&) = delete;
  PropertyFrame& operator=(const PropertyFrame&) = delete;

  // Shows the frame and runs its modal loop; `on_shown` runs once with the
  // frame's window after it shows. Returns IDOK or IDCANCEL.
  int run(const std::function<void(HWND frame)>& on_shown = {});

  // The tab captions of the pages created.
  std::vector<std::wstring> tabs() const;
  // The frame's window while it runs (null otherwise).
  HWND window() const { return window_; }
  // The command id of the Apply button.
  static constexpr int kApply = 0x3021;

 private:
  class Site;
  struct Page {
    Microsoft::WRL::ComPtr<IPropertyPage> page;
    Site* site = nullptr;
    std::wstring title;
    SIZE size{};
  };

  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT msg, WPARAM wparam, LPARAM lparam);
  void create_window();
  void select(int index);
  // Applies every dirty page; false when one of them failed.
  bool apply();
  void page_changed();
  void close(int result);
  RECT page_rect() const;

  HWND owner_;
  std::wstring caption_;
  std::vector<IUnknown*> objects_;
  std::function<void(const std::wstring&)> log_;
  std::vector<Page> pages_;
  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  HWND apply_ = nullptr;
  int active_ = -1;
  int result_ = 0;
};

}  // namespace qs::container

// A fresh, initialised Dirtext on the rig's platform, 3000 x 300 twips,
// with a recording host, and helpers that answer the open-file dialog.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controls/dirtext/dirtext.h"
#include "core/runtime_error.h"
#include "platform/open_file_record.h"
#include "tests/support/error_of.h"
#include "tests/support/recording_host.h"
#include "tests/support/rig.h"

namespace qs::test {

using Texts = std::vector<std::u16string>;

class DirtextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctl = make_control();
    ctl->InitProperties();
    driver().resize(ctl->surface(), 3000, 300);
    host.reset();
  }

  void TearDown() override { driver().on_open_file(nullptr); }

  std::unique_ptr<Dirtext> make_control() {
    return std::make_unique<Dirtext>(rig->platform().create_surface(), host);
  }

  Driver& driver() { return rig->driver(); }

  Texts entries(Dirtext& c) {
    Texts t;
    for (int16_t i = 0; i < c.ListCount(); ++i) t.push_back(c.List(i));
    return t;
  }

  // Answers the next dialogs by confirming with `answer` (the result buffer
  // in the dialog's format, NULs included), after keeping a copy of the
  // request; an answer longer than the buffer fails as the dialog does.
  void answer_with(std::string answer) {
    driver().on_open_file([this, answer](OpenFileRecord& r) {
      seen.push_back(r);
      filters.push_back(block_of(r.lpstrFilter));
      titles.push_back(r.lpstrTitle ? r.lpstrTitle : "<null>");
      initial_dirs.push_back(r.lpstrInitialDir ? r.lpstrInitialDir : "<null>");
      buffers_clear.push_back(all_nul(r.lpstrFile, r.nMaxFile + 1) &&
                              all_nul(r.lpstrFileTitle, r.nMaxFileTitle + 1) &&
                              r.lpstrFile != r.lpstrFileTitle);
      if (answer.size() > r.nMaxFile) return false;
      std::memcpy(r.lpstrFile, answer.data(), answer.size());
      return true;
    });
  }
  void cancel_dialogs() {
    driver().on_open_file([this](OpenFileRecord& r) {
      seen.push_back(r);
      return false;
    });
  }

  // A filter block up to and including its closing pair of NULs.
  static std::string block_of(const char* p) {
    if (p == nullptr) return "<null>";
    std::string s;
    while (!(p[0] == '\0' && p[1] == '\0')) s.push_back(*p++);
    return s + std::string(2, '\0');
  }

  static bool all_nul(const char* p, size_t n) {
    if (p == nullptr) return false;
    for (size_t i = 0; i < n; ++i)
      if (p[i] != '\0') return false;
    return true;
  }

  std::unique_ptr<Rig> rig = make_rig();
  RecordingHost host;
  std::unique_ptr<Dirtext> ctl;
  std::vector<OpenFileRecord> seen;
  std::vector<std::string> filters;
  std::vector<std::string> titles;
  std::vector<std::string> initial_dirs;
  std::vector<bool> buffers_clear;
};

}  // namespace qs::test

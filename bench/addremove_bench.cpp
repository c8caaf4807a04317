// Cost of AddRemove's whole-list work on the headless platform: loading a
// list text, capturing both lists, and moving every item across.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "controls/addremove/addremove.h"
#include "controls/addremove/list_text.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_platform.h"

namespace qs {
namespace {

struct Bench {
  Bench() {
    ctl = std::make_unique<AddRemove>(platform.create_surface(), host);
    ctl->InitProperties();
    driver.resize(ctl->surface(), 4800, 3600);
    ctl->set_RightList(Variant(u""));
  }

  HeadlessPlatform platform;
  HeadlessDriver driver{platform};
  NullHost host;
  std::unique_ptr<AddRemove> ctl;
};

// A list text of n items "item0" ... and the matching item-data text.
std::u16string items_text(int64_t n) {
  ListTextWriter w;
  for (int64_t i = 0; i < n; ++i) w.add(u"item" + utf16(std::to_string(i)));
  return std::move(w.text());
}

std::u16string data_text(int64_t n) {
  ListTextWriter w;
  for (int64_t i = 0; i < n; ++i) w.add(static_cast<int32_t>(i * 7 - n));
  return std::move(w.text());
}

// Assigning LeftList: the left items and item data are loaded.
void BM_LoadLeftList(benchmark::State& state) {
  Bench b;
  const Variant items(items_text(state.range(0)));
  b.ctl->set_LeftListItemData(Variant(data_text(state.range(0))));
  for (auto _ : state) b.ctl->set_LeftList(items);
  if (b.ctl->List1().list_count() != state.range(0)) state.SkipWithError("wrong item count");
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadLeftList)->Arg(1'000)->Arg(100'000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Save_Lists with every item in the left list.
void BM_SaveLists(benchmark::State& state) {
  Bench b;
  b.ctl->set_LeftListItemData(Variant(data_text(state.range(0))));
  b.ctl->set_LeftList(Variant(items_text(state.range(0))));
  for (auto _ : state) b.ctl->Save_Lists();
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveLists)->Arg(1'000)->Arg(100'000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// ">>" moving every left item to the right list.
void BM_MoveAllRight(benchmark::State& state) {
  Bench b;
  const Variant items(items_text(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    // Reload, then one "<" so that ">>" is enabled as a user would find it.
    b.ctl->set_RightList(Variant(u"R"));
    b.ctl->set_LeftList(items);
    b.driver.click_item(b.ctl->List2(), 0);
    b.driver.click(b.ctl->cmdAdd());
    state.ResumeTiming();
    b.driver.click(b.ctl->cmdRemoveAll());
  }
  if (b.ctl->List2().list_count() != state.range(0) + 1) state.SkipWithError("not all moved");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MoveAllRight)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qs

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "model/PageChanges.h"

namespace {

// A window whose pages ask for another page while they are left or entered, as the wizard
// does when leaving its page applies its result, which shows the parameters page.
struct Window {
  PageChanges changes{[this](Page page) { Switch(page); }};
  std::optional<Page> askWhileLeaving;
  std::optional<Page> askWhileEntering;
  std::vector<Page> entered;
  int depth = 0;
  int deepest = 0;

  void Switch(Page target) {
    deepest = std::max(deepest, ++depth);
    if (const auto asked = std::exchange(askWhileLeaving, std::nullopt)) changes.Request(*asked);
    target = changes.Destination(target);
    entered.push_back(target);
    if (const auto asked = std::exchange(askWhileEntering, std::nullopt)) changes.Request(*asked);
    --depth;
  }
};

TEST(PageChanges, aChangeAskedForDuringAnotherRunsAfterItNeverInsideIt) {
  struct Case {
    const char* name;
    Page requested;
    std::optional<Page> whileLeaving;
    std::optional<Page> whileEntering;
    std::vector<Page> entered;
  };
  const Case cases[] = {
      {"plain change", Page::Map, {}, {}, {Page::Map}},
      {"applied on the way to the set-up page", Page::Setup, Page::Parameters, {}, {Page::Parameters}},
      {"applied on the way to the map page", Page::Map, Page::Parameters, {}, {Page::Map}},
      {"applied on the way to the firmware page", Page::Firmware, Page::Parameters, {}, {Page::Firmware}},
      {"asked while entering", Page::Map, {}, Page::Setup, {Page::Map, Page::Setup}},
      {"asked while leaving and entering",
       Page::Setup,
       Page::Parameters,
       Page::Firmware,
       {Page::Parameters, Page::Firmware}},
  };
  for (const Case& c : cases) {
    Window w;
    w.askWhileLeaving = c.whileLeaving;
    w.askWhileEntering = c.whileEntering;
    w.changes.Request(c.requested);
    EXPECT_EQ(w.entered, c.entered) << c.name;
    EXPECT_EQ(w.deepest, 1) << c.name;
    EXPECT_FALSE(w.changes.UnderWay()) << c.name;
  }
}

TEST(PageChanges, ofSeveralAskedForDuringAChangeTheLatestRunsAfterIt) {
  Window w;
  w.changes = PageChanges([&w](Page page) {
    w.entered.push_back(w.changes.Destination(page));
    if (w.entered.size() == 1) {
      w.changes.Request(Page::Map);
      w.changes.Request(Page::Port);
    }
  });
  w.changes.Request(Page::Parameters);
  EXPECT_EQ(w.entered, (std::vector<Page>{Page::Parameters, Page::Port}));
  // The next change after the queue ran starts at once.
  w.changes.Request(Page::Setup);
  EXPECT_EQ(w.entered.back(), Page::Setup);
}

}  // namespace

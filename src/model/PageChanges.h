#pragma once

#include <functional>
#include <optional>

#include "model/PageAndMode.h"

// Page changes one after another, never one nested inside another. A change asked for while
// one is under way (the wizard applying its result while its page is left, a lost link
// during a question) is recorded and runs after it; of several, the latest asked for.
class PageChanges {
 public:
  using Change = std::function<void(Page)>;
  explicit PageChanges(Change change) : change_(std::move(change)) {}

  // Runs the change to `page` now, or records it while a change is under way.
  void Request(Page page);
  bool UnderWay() const { return underWay_; }

  // Where the change under way goes once the old page has left. A change asked for while it
  // was leaving replaces one to the set-up page: a connection made meanwhile shows its own
  // page, as on every connection. Any other page the fitter asked for stays, and the request
  // made while leaving is dropped.
  Page Destination(Page target);

 private:
  Change change_;
  bool underWay_ = false;
  std::optional<Page> asked_;
};

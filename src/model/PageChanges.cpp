#include "model/PageChanges.h"

void PageChanges::Request(Page page) {
  if (underWay_) {
    asked_ = page;
    return;
  }
  struct UnderWay {
    bool& flag;
    explicit UnderWay(bool& f) : flag(f) { flag = true; }
    ~UnderWay() { flag = false; }
  } underWay(underWay_);
  std::optional<Page> next = page;
  while (next) {
    const Page now = *next;
    asked_.reset();
    change_(now);
    next = asked_;
  }
}

Page PageChanges::Destination(Page target) {
  const std::optional<Page> asked = asked_;
  asked_.reset();
  return asked && target == Page::Setup ? *asked : target;
}

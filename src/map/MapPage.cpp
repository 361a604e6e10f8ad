#include "map/MapPage.h"

void MapPage::Enter(Page) {
  timer_.SetTxInterval(kPollIntervalMs);
  link_.PollMap();
  window_.closeMagnifier();
}

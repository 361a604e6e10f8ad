#include "map/MapPage.h"

void MapPage::Enter(Page) { window_.closeMagnifier(); }

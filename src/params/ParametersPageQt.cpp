#include "params/ParametersPageQt.h"

#include <QTableWidget>

#include "params/ParameterEditorQt.h"

void ParametersPageQt::Enter(Page) {
  timer_.SetTxInterval(kPollIntervalMs);
  link_.PollWith(link_state::kParameterPoll);
}

void ParametersPageQt::Layout() { view_.RebuildEditor(); }

void ParametersPageQt::Shown() { grid_->setFocus(); }

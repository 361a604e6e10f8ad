#include "params/ParametersPageQt.h"

#include <QTableWidget>

#include "params/ParameterEditorQt.h"

void ParametersPageQt::Enter(Page) {}

void ParametersPageQt::Layout() { view_.RebuildEditor(); }

void ParametersPageQt::Shown() { grid_->setFocus(); }

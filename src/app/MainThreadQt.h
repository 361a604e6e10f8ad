#pragma once

#include "link/TVaComm.h"

class QObject;

// Posts the serial component's events to the thread of context (the main window), queued
// behind whatever that thread is doing. context must outlive the component using it.
TVaComm::Dispatcher MakeQtMainThreadDispatcher(QObject* context);

#include "app/MainThreadQt.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

TVaComm::Dispatcher MakeQtMainThreadDispatcher(QObject* context) {
  return [context](std::function<void()> fn) {
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
  };
}

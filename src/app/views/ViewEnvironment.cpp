#include "ViewEnvironment.h"

#include "AppState.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace dictaro::ViewEnvironment {

namespace {
constexpr const char* propertyName = "dictaro.appState";
}

void setAppState(QWidget* root, AppState* state)
{
    root->setProperty(propertyName, QVariant::fromValue(QPointer<QObject>(state)));
}

AppState* appState(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant value = w->property(propertyName);
        if (value.isValid())
            return qobject_cast<AppState*>(value.value<QPointer<QObject>>().data());
    }
    return nullptr;
}

} // namespace dictaro::ViewEnvironment

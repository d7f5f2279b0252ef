#pragma once

class QWidget;

namespace dictaro {

class AppState;

// Hands the one AppState to every view of a window without passing it through each layer: the
// window stores it once, and any widget below finds it by walking up its parents.
namespace ViewEnvironment {

void setAppState(QWidget* root, AppState* state);
// The AppState of the nearest ancestor (or the widget itself) that has one; null if none does.
AppState* appState(const QWidget* widget);

} // namespace ViewEnvironment
} // namespace dictaro

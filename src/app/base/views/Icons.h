#pragma once

#include <QIcon>
#include <QString>

namespace dictaro {

// The application's bundled symbols (resources/icons/<name>.svg, embedded as :/icons/<name>.svg).
//
// Symbols are drawn in the application palette's window text colour (its disabled and
// highlighted-text colours for those icon modes), read each time they are drawn, so they follow
// light and dark themes. Names: play, pause, skip-back, skip-forward, slower, faster, back,
// insert-timestamp, waveform, audio-file, folder, trash, warning.
namespace Icons {

// A symbol by name; a null icon for an unknown name.
QIcon get(const QString& name);
// The skip symbols with the number of whole seconds written inside the arrow.
QIcon skipBack(double seconds);
QIcon skipForward(double seconds);
// The application's own icon, in its own colours.
QIcon application();

} // namespace Icons
} // namespace dictaro

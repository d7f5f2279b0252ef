#pragma once

#include <QFont>

class QWidget;

namespace dictaro {

// The few text roles the screens use, derived from the application font so that they follow
// the user's font size.
namespace Appearance {

enum class TextStyle {
    LargeTitle, // the welcome title: twice the body size, bold
    Headline,   // list and section headings: body size, bold
    Body,       // the application font
    Caption,    // notes and second lines: a little smaller than body
};

QFont font(TextStyle style, const QFont& base);
// Gives `widget` the font of `style`, derived from its current font.
void setTextStyle(QWidget* widget, TextStyle style);
// Draws the widget's text in the dimmed secondary colour of its palette (the placeholder-text
// role), which follows palette changes.
void makeSecondary(QWidget* widget);

// `base` zoomed by `steps` (the transcript zoom: each step 10 % larger, negative ones smaller).
QFont zoomedFont(const QFont& base, int steps);
// Zooms `editor`'s current font by the shared settings' transcript zoom, now and whenever it
// changes.
void followTranscriptZoom(QWidget* editor);

} // namespace Appearance
} // namespace dictaro

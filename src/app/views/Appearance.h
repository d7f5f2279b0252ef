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

} // namespace Appearance
} // namespace dictaro

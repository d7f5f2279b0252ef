#include "Appearance.h"

#include "AppSettings.h"

#include <QWidget>

#include <cmath>

namespace dictaro::Appearance {

namespace {

QFont scaled(const QFont& base, qreal factor)
{
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * factor);
    else if (base.pixelSize() > 0)
        font.setPixelSize(qRound(base.pixelSize() * factor));
    return font;
}

} // namespace

QFont font(TextStyle style, const QFont& base)
{
    QFont font = base;
    switch (style) {
    case TextStyle::LargeTitle:
        font = scaled(base, 2.0);
        font.setBold(true);
        break;
    case TextStyle::Headline: font.setBold(true); break;
    case TextStyle::Body: break;
    case TextStyle::Caption: font = scaled(base, 0.85); break;
    }
    return font;
}

void setTextStyle(QWidget* widget, TextStyle style)
{
    widget->setFont(font(style, widget->font()));
}

void makeSecondary(QWidget* widget)
{
    widget->setForegroundRole(QPalette::PlaceholderText);
}

QFont zoomedFont(const QFont& base, int steps)
{
    return scaled(base, std::pow(1.1, steps));
}

void followTranscriptZoom(QWidget* editor)
{
    const QFont base = editor->font();
    const auto apply = [editor, base](int steps) { editor->setFont(zoomedFont(base, steps)); };
    apply(AppSettings::shared().transcriptZoom());
    QObject::connect(&AppSettings::shared(), &AppSettings::transcriptZoomChanged, editor, apply);
}

} // namespace dictaro::Appearance

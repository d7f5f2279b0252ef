#include "Icons.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <memory>

namespace dictaro::Icons {

namespace {

QString resourcePath(const QString& name)
{
    return QStringLiteral(":/icons/%1.svg").arg(name);
}

// Renders one SVG at any size, optionally recoloured with the palette colour of the icon mode
// (the SVG's own colour only provides the shape's coverage) and with a short label drawn in
// the middle.
class SvgIconEngine final : public QIconEngine
{
public:
    SvgIconEngine(QString path, bool tinted, QString label)
        : m_path(std::move(path)), m_tinted(tinted), m_label(std::move(label)),
          m_renderer(std::make_shared<QSvgRenderer>(m_path))
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        if (size.isEmpty() || !m_renderer->isValid())
            return {};
        const QSize pixels = (QSizeF(size) * scale).toSize();
        const QColor color = m_tinted ? tintColor(mode) : QColor();
        const QString cacheKey = QStringLiteral("%1x%2/%3/%4")
                                     .arg(pixels.width())
                                     .arg(pixels.height())
                                     .arg(color.isValid() ? color.rgba() : 0u)
                                     .arg(int(mode));
        if (const auto cached = m_cache.constFind(cacheKey); cached != m_cache.constEnd())
            return *cached;

        QPixmap pixmap(pixels);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            // Keep the square symbol square inside a non-square request.
            const int side = std::min(pixels.width(), pixels.height());
            const QRect target((pixels.width() - side) / 2, (pixels.height() - side) / 2, side,
                               side);
            m_renderer->render(&painter, target);
            if (!m_label.isEmpty())
                drawLabel(painter, target);
            if (color.isValid()) {
                painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
                painter.fillRect(pixmap.rect(), color);
            }
            if (!m_tinted && mode == QIcon::Disabled) {
                painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
                painter.fillRect(pixmap.rect(), QColor(0, 0, 0, 110));
            }
        }
        pixmap.setDevicePixelRatio(scale);
        if (m_cache.size() > 64)
            m_cache.clear();
        m_cache.insert(cacheKey, pixmap);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new SvgIconEngine(*this); }
    QString key() const override { return QStringLiteral("dictaro.svg"); }
    bool isNull() override { return !m_renderer->isValid(); }

private:
    static QColor tintColor(QIcon::Mode mode)
    {
        const QPalette palette = QGuiApplication::palette();
        switch (mode) {
        case QIcon::Disabled: return palette.color(QPalette::Disabled, QPalette::WindowText);
        case QIcon::Selected: return palette.color(QPalette::Active, QPalette::HighlightedText);
        case QIcon::Normal:
        case QIcon::Active: break;
        }
        return palette.color(QPalette::Active, QPalette::WindowText);
    }

    // The label fills the inside of the skip arrows (a circle of radius 8 around (12, 13) in
    // the 24-unit design grid).
    void drawLabel(QPainter& painter, const QRect& target) const
    {
        const qreal unit = target.width() / 24.0;
        QFont font = QGuiApplication::font();
        font.setBold(true);
        font.setPixelSize(std::max(1, int(std::lround((m_label.size() > 1 ? 7.5 : 8.5) * unit))));
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRectF box(target.left() + 5 * unit, target.top() + 7 * unit, 14 * unit, 12 * unit);
        painter.drawText(box, Qt::AlignCenter, m_label);
    }

    QString m_path;
    bool m_tinted;
    QString m_label;
    std::shared_ptr<QSvgRenderer> m_renderer;
    QHash<QString, QPixmap> m_cache;
};

QIcon makeIcon(const QString& name, bool tinted, const QString& label = {})
{
    const QString path = resourcePath(name);
    if (!QFile::exists(path))
        return {};
    return QIcon(new SvgIconEngine(path, tinted, label));
}

QString wholeSeconds(double seconds)
{
    return std::isfinite(seconds) ? QString::number(std::lround(std::max(0.0, seconds)))
                                  : QString();
}

} // namespace

QIcon get(const QString& name)
{
    return makeIcon(name, true);
}

QIcon skipBack(double seconds)
{
    return makeIcon(QStringLiteral("skip-back"), true, wholeSeconds(seconds));
}

QIcon skipForward(double seconds)
{
    return makeIcon(QStringLiteral("skip-forward"), true, wholeSeconds(seconds));
}

QIcon application()
{
    return makeIcon(QStringLiteral("dictaro"), false);
}

} // namespace dictaro::Icons

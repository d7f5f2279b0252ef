#include "WaveformStrip.h"

#include "AppSettings.h"
#include "Localization.h"
#include "PlaybackEngine.h"
#include "StampIndex.h"
#include "TimestampFormatter.h"
#include "WaveformPeaks.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace dictaro {

namespace {

// The strip lines up with the player bar's margins.
constexpr int sideMargin = 16;
constexpr int verticalMargin = 4;
constexpr int buttonSize = 22;
constexpr int buttonGap = 8;
constexpr int stripHeight = 64;
constexpr int cornerRadius = 4;
// How near (in pixels) to a marker the mouse counts as on it.
constexpr double markerReach = 4.0;
// Where the playhead is on a new page: a tenth of the way in, so that what it has just played
// is still in view.
constexpr double pageLead = 0.1;
constexpr double zoomStep = 2.0;
// One notch of the wheel.
constexpr double wheelZoomStep = 1.25;

const QColor markerColor(255, 149, 0);

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

QToolButton* makeZoomButton(QWidget* parent, const QString& objectName, const QString& text,
                            const QString& help)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(text);
    button->setAutoRaise(true);
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(buttonSize, buttonSize);
    return button;
}

} // namespace

WaveformStrip::WaveformStrip(PlaybackEngine* engine, WaveformPeaks* peaks,
                             QTextDocument* transcript, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_peaks(peaks),
      m_stamps(transcript ? new StampIndex(transcript) : nullptr)
{
    Q_ASSERT(engine && peaks);
    setObjectName(QStringLiteral("waveformStrip"));
    setAccessibleName(Localization::tr("Waveform"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMouseTracking(true);
    // Opaque, so that drawing the playhead's columns again does not draw what lies behind.
    setAutoFillBackground(true);

    m_zoomInButton = makeZoomButton(this, QStringLiteral("zoomInButton"), QStringLiteral("+"),
                                    Localization::tr("Zoom In (Ctrl+Wheel)"));
    m_zoomOutButton =
        makeZoomButton(this, QStringLiteral("zoomOutButton"), QStringLiteral("\u2212"),
                       Localization::tr("Zoom Out (Ctrl+Wheel)"));
    connect(m_zoomInButton, &QToolButton::clicked, this, &WaveformStrip::zoomIn);
    connect(m_zoomOutButton, &QToolButton::clicked, this, &WaveformStrip::zoomOut);

    connect(engine, &PlaybackEngine::currentTimeChanged, this, &WaveformStrip::followPlayhead);
    connect(engine, &PlaybackEngine::durationChanged, this, [this] {
        updateZoomButtons();
        update();
    });
    connect(engine, &PlaybackEngine::loopChanged, this, qOverload<>(&QWidget::update));
    connect(peaks, &WaveformPeaks::statusChanged, this, [this] {
        updateVisibility();
        followPlayhead();
    });
    connect(peaks, &WaveformPeaks::peaksArrived, this, [this](qsizetype first, qsizetype end) {
        const Window shown = window();
        const double from = double(first) / WaveformPeaks::bucketsPerSecond;
        const double to = double(end) / WaveformPeaks::bucketsPerSecond;
        if (first == end || (from <= shown.start + shown.length && to >= shown.start))
            update();
    });
    connect(&AppSettings::shared(), &AppSettings::showWaveformChanged, this,
            &WaveformStrip::updateVisibility);
    if (transcript)
        connect(transcript, &QTextDocument::contentsChanged, this, &WaveformStrip::markersChanged);

    updateZoomButtons();
    updateVisibility();
}

WaveformStrip::~WaveformStrip()
{
    m_rescan.cancel();
}

double WaveformStrip::duration() const
{
    if (m_engine && m_engine->duration() > 0.0)
        return m_engine->duration();
    return m_peaks ? double(m_peaks->peaks().size()) / WaveformPeaks::bucketsPerSecond : 0.0;
}

double WaveformStrip::visibleSeconds() const
{
    const double whole = duration();
    return whole > 0.0 ? std::min(m_visibleSeconds, std::max(whole, minVisibleSeconds))
                       : m_visibleSeconds;
}

void WaveformStrip::setVisibleSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    const double whole = duration();
    seconds = std::max(seconds, minVisibleSeconds);
    if (whole > 0.0)
        seconds = std::min(seconds, std::max(whole, minVisibleSeconds));
    if (seconds == m_visibleSeconds)
        return;
    m_visibleSeconds = seconds;
    updateZoomButtons();
    followPlayhead();
}

void WaveformStrip::zoomIn()
{
    setVisibleSeconds(visibleSeconds() / zoomStep);
}

void WaveformStrip::zoomOut()
{
    setVisibleSeconds(visibleSeconds() * zoomStep);
}

void WaveformStrip::updateZoomButtons()
{
    const double shown = visibleSeconds();
    m_zoomInButton->setEnabled(shown > minVisibleSeconds);
    m_zoomOutButton->setEnabled(duration() > 0.0 && shown < duration());
}

WaveformStrip::Window WaveformStrip::window() const
{
    if (m_heldWindow)
        return *m_heldWindow;
    const double length = visibleSeconds();
    const double playhead = m_engine ? m_engine->currentTime() : 0.0;
    const double latest = std::max(0.0, duration() - length);
    const int width = waveRect().width();
    if (width <= 0 || length <= 0.0)
        return {std::clamp(playhead - length * pageLead, 0.0, latest), length};
    const double pixels = width / length;
    // The page stays while the playhead is on it, its line whole inside the wave.
    double start = std::min(m_pageStart, latest);
    if (!(playhead >= start && playhead < start + length - 2.0 / pixels))
        start = std::clamp(playhead - length * pageLead, 0.0, latest);
    // On a whole pixel, so that the page and the playhead's columns are drawn to match.
    return {std::round(start * pixels) / pixels, length};
}

QRect WaveformStrip::waveRect() const
{
    return rect().adjusted(sideMargin, verticalMargin, -(sideMargin + buttonSize + buttonGap),
                           -verticalMargin);
}

double WaveformStrip::secondsAt(double x, const Window& window) const
{
    const QRect area = waveRect();
    const double fraction = std::clamp((x - area.left()) / std::max(1, area.width()), 0.0, 1.0);
    return window.start + fraction * window.length;
}

double WaveformStrip::xAt(double seconds, const Window& window) const
{
    const QRect area = waveRect();
    return area.left() + (seconds - window.start) / window.length * area.width();
}

int WaveformStrip::xForSeconds(double seconds) const
{
    return int(std::lround(xAt(seconds, window())));
}

std::optional<double> WaveformStrip::markerNear(double x) const
{
    const Window shown = window();
    const double from = secondsAt(x - markerReach, shown);
    const double to = secondsAt(x + markerReach, shown);
    std::optional<double> nearest;
    for (auto it = std::lower_bound(m_markers.cbegin(), m_markers.cend(), from);
         it != m_markers.cend() && *it <= to; ++it) {
        if (!nearest || std::abs(xAt(*it, shown) - x) < std::abs(xAt(*nearest, shown) - x))
            nearest = *it;
    }
    return nearest;
}

void WaveformStrip::seekTo(double seconds)
{
    if (!m_engine || !(m_engine->duration() > 0.0))
        return;
    // Whole milliseconds, as the position slider seeks.
    m_engine->seek(std::round(std::clamp(seconds, 0.0, m_engine->duration()) * 1000.0) / 1000.0);
}

void WaveformStrip::followPlayhead()
{
    if (!isVisible() || QWidget::window()->isMinimized())
        return;
    if (m_engine && m_peaks)
        m_peaks->prioritize(m_engine->currentTime());
    // Called for every position while playing: only what moved is drawn again, which on the
    // same page is the playhead's old and new column.
    const Painted now = painted();
    if (now == m_painted)
        return;
    if (now.start != m_painted.start || now.length != m_painted.length ||
        now.width != m_painted.width) {
        update();
    } else {
        if (isPacedStep())
            return;
        for (const int x : {m_painted.playhead, now.playhead})
            update(QRect(x - 2, 0, 5, height()));
    }
    m_painted = now;
    m_paintedTime = m_engine ? m_engine->currentTime() : 0.0;
    keepPage();
}

// Playing faster than normal, the playhead moves on the page about four times a second, as it
// does at normal speed: at 2x every half second of the recording (with the elapsed time shown
// beside it), at 3x every 0.75 s. Every other move (a seek, a pause) is shown at once.
bool WaveformStrip::isPacedStep() const
{
    if (!m_engine || !m_engine->isPlaying())
        return false;
    const double time = m_engine->currentTime();
    const double pace = PlaybackEngine::tickInterval * std::max(1.0, std::round(m_engine->rate()));
    return time >= m_paintedTime && std::floor(time / pace) == std::floor(m_paintedTime / pace);
}

void WaveformStrip::keepPage()
{
    if (!m_heldWindow)
        m_pageStart = window().start;
}

WaveformStrip::Painted WaveformStrip::painted() const
{
    const Window shown = window();
    const QRect area = waveRect();
    const double pixels = shown.length > 0.0 ? area.width() / shown.length : 0.0;
    return {std::llround(shown.start * pixels), shown.length, area.width(),
            m_engine ? int(std::lround(xAt(m_engine->currentTime(), shown))) : -1};
}

void WaveformStrip::updateVisibility()
{
    const bool available = m_peaks && (m_peaks->status() == WaveformPeaks::Status::Computing ||
                                       m_peaks->status() == WaveformPeaks::Status::Complete);
    const bool show = available && AppSettings::shared().showWaveform();
    if (!show)
        hide();
    else if (parentWidget()) // a widget without a parent would become a window of its own
        setVisible(true);
}

void WaveformStrip::markersChanged()
{
    m_markersStale = true;
    if (isVisible())
        m_rescan.schedule([this] { rescanMarkers(); });
}

void WaveformStrip::rescanMarkers()
{
    m_markersStale = false;
    m_markers.clear();
    if (m_stamps) {
        for (const StampIndex::Stamp& stamp : m_stamps->stamps())
            m_markers.append(stamp.seconds);
    }
    std::sort(m_markers.begin(), m_markers.end());
    m_markers.erase(std::unique(m_markers.begin(), m_markers.end()), m_markers.end());
    update();
}

QSize WaveformStrip::sizeHint() const
{
    return {400, stripHeight};
}

QSize WaveformStrip::minimumSizeHint() const
{
    return {2 * sideMargin + buttonSize + buttonGap + 40, stripHeight};
}

bool WaveformStrip::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const auto marker = markerNear(help->pos().x()))
            QToolTip::showText(help->globalPos(), TimestampFormatter::stringFromSeconds(*marker),
                               this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void WaveformStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int x = width() - sideMargin - buttonSize;
    const int middle = height() / 2;
    m_zoomInButton->move(x, middle - buttonSize);
    m_zoomOutButton->move(x, middle);
}

void WaveformStrip::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_markersStale)
        rescanMarkers();
    followPlayhead();
}

void WaveformStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const double x = event->position().x();
    m_heldWindow = window();
    m_pressX = x;
    m_dragged.reset();
    // A click on a marker goes to its timestamp exactly.
    seekTo(markerNear(x).value_or(secondsAt(x, *m_heldWindow)));
    update();
}

void WaveformStrip::mouseMoveEvent(QMouseEvent* event)
{
    const double x = event->position().x();
    if (m_heldWindow && (event->buttons() & Qt::LeftButton)) {
        // Past the drag distance the press becomes the start of a stretch.
        if (m_dragged || std::abs(x - m_pressX) >= QApplication::startDragDistance()) {
            m_dragged = std::pair(secondsAt(m_pressX, *m_heldWindow), secondsAt(x, *m_heldWindow));
            update();
        }
        return;
    }
    setCursor(markerNear(x) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void WaveformStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_heldWindow) {
        if (const auto dragged = std::exchange(m_dragged, std::nullopt); dragged && m_engine) {
            m_engine->setLoop(dragged->first, dragged->second);
            // Playback goes on from the start of the stretch, whichever way it was dragged.
            if (m_engine->isLooping())
                seekTo(*m_engine->loopStart());
        }
        m_heldWindow.reset();
        followPlayhead();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void WaveformStrip::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    const double notches = event->angleDelta().y() / 120.0;
    setVisibleSeconds(visibleSeconds() * std::pow(wheelZoomStep, -notches));
    event->accept();
}

void WaveformStrip::paintEvent(QPaintEvent* event)
{
    m_painted = painted();
    m_paintedTime = m_engine ? m_engine->currentTime() : 0.0;
    keepPage();
    QPainter painter(this);
    const QRect area = waveRect();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const QColor ink = palette().color(QPalette::WindowText);
    // The background's round ends are drawn only where they are repainted: a round rectangle
    // is costly to draw even where almost all of it is clipped away.
    const QRect background = area.adjusted(-cornerRadius, 0, cornerRadius, 0);
    const QRect repainted = event->region().boundingRect();
    if (repainted.left() < area.left() + cornerRadius ||
        repainted.right() > area.right() - cornerRadius) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(ink, 0.05));
        painter.drawRoundedRect(QRectF(background), cornerRadius, cornerRadius);
        painter.setRenderHint(QPainter::Antialiasing, false);
    } else {
        painter.fillRect(background & repainted, withAlpha(ink, 0.05));
    }

    const Window shown = window();
    const double whole = duration();
    const QList<WaveformPeaks::Peak> noPeaks;
    const QList<WaveformPeaks::Peak>& peaks = m_peaks ? m_peaks->peaks() : noPeaks;
    const double middle = area.top() + area.height() / 2.0;
    const double halfHeight = area.height() / 2.0 - 1.0;
    const double secondsPerPixel = shown.length / area.width();
    const qint64 lastBucket = qint64(std::ceil(whole * WaveformPeaks::bucketsPerSecond));

    // Per column: the extremes of its buckets, or the neutral band while none is computed. Only
    // the columns being repainted (while playing, the playhead's) are looked at and drawn.
    std::vector<bool> wanted(std::size_t(area.width()), false);
    for (const QRect& part : event->region()) {
        const int end = std::min(area.width(), part.right() - area.left() + 2);
        for (int column = std::max(0, part.left() - area.left() - 1); column < end; ++column)
            wanted[std::size_t(column)] = true;
    }
    std::vector<QLineF> lines;
    QList<QRectF> pending;
    const double bandHalf = std::max(2.0, halfHeight * 0.12);
    for (int column = 0; column < area.width(); ++column) {
        if (!wanted[std::size_t(column)])
            continue;
        const double from = shown.start + column * secondsPerPixel;
        qint64 first = qint64(std::floor(from * WaveformPeaks::bucketsPerSecond));
        qint64 end = qint64(std::floor((from + secondsPerPixel) * WaveformPeaks::bucketsPerSecond));
        end = std::min(std::max(end, first + 1), lastBucket);
        if (first >= end)
            continue;
        int low = 127;
        int high = -127;
        bool computed = false;
        for (qint64 b = first; b < std::min<qint64>(end, peaks.size()); ++b) {
            if (!peaks[b].isComputed())
                continue;
            computed = true;
            low = std::min<int>(low, peaks[b].min);
            high = std::max<int>(high, peaks[b].max);
        }
        const double x = area.left() + column + 0.5;
        if (!computed) {
            if (!pending.isEmpty() && pending.last().right() >= x - 1.0)
                pending.last().setRight(x + 0.5);
            else
                pending.append(QRectF(x - 0.5, middle - bandHalf, 1.0, 2 * bandHalf));
            continue;
        }
        lines.emplace_back(x, middle - high / 127.0 * halfHeight, x,
                           middle - low / 127.0 * halfHeight + 1.0);
    }
    for (const QRectF& band : pending)
        painter.fillRect(band, withAlpha(ink, 0.12));
    painter.setPen(QPen(withAlpha(ink, 0.15), 1));
    painter.drawLine(QPointF(area.left(), middle), QPointF(area.right(), middle));
    painter.setPen(QPen(withAlpha(ink, 0.6), 1));
    painter.drawLines(lines.data(), int(lines.size()));

    // The loop stretch (or the one being dragged), shaded; a lone mark as a line.
    if (m_engine) {
        const std::optional<double> a =
            m_dragged ? std::optional(std::min(m_dragged->first, m_dragged->second))
                      : m_engine->loopStart();
        const std::optional<double> b =
            m_dragged ? std::optional(std::max(m_dragged->first, m_dragged->second))
                      : m_engine->loopEnd();
        const QColor loopColor = palette().color(QPalette::Highlight);
        const auto clampedX = [&](double seconds) {
            return std::clamp(xAt(seconds, shown), double(area.left()), double(area.right() + 1));
        };
        if (a && b) {
            painter.fillRect(
                QRectF(QPointF(clampedX(*a), area.top()), QPointF(clampedX(*b), area.bottom() + 1)),
                withAlpha(loopColor, 0.22));
        }
        painter.setPen(QPen(withAlpha(loopColor, 0.9), 1));
        for (const std::optional<double>& mark : {a, b}) {
            if (mark && *mark >= shown.start && *mark <= shown.start + shown.length) {
                const double x = std::round(xAt(*mark, shown)) + 0.5;
                painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
            }
        }
    }

    // Timestamp markers: a line with a small flag at the top.
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (auto it = std::lower_bound(m_markers.cbegin(), m_markers.cend(), shown.start);
         it != m_markers.cend() && *it <= shown.start + shown.length; ++it) {
        const double x = std::round(xAt(*it, shown)) + 0.5;
        painter.setPen(QPen(withAlpha(markerColor, 0.8), 1));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(Qt::NoPen);
        painter.setBrush(markerColor);
        const QPointF flag[3] = {
            {x - 4, double(area.top())}, {x + 4, double(area.top())}, {x, area.top() + 6.0}};
        painter.drawPolygon(flag, 3);
    }

    // The playhead.
    if (m_engine && whole > 0.0) {
        const double x = std::round(xAt(m_engine->currentTime(), shown)) + 0.5;
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawLine(QPointF(x, area.top() - 2.0), QPointF(x, area.bottom() + 2.0));
    }
}

} // namespace dictaro

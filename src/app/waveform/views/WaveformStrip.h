#pragma once

#include "Debouncer.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>

class QTextDocument;
class QToolButton;

namespace dictaro {

class PlaybackEngine;
class StampIndex;
class WaveformPeaks;

// The waveform around the playhead, under the player bar: about 30 seconds by default, zoomed
// from 5 seconds to the whole file with Ctrl+wheel or its two buttons. It shows a page that
// stands still while the playhead crosses it, and turns to the next once the playhead leaves it
// (by playing on or by a seek), with the playhead a little way in. It shows the playhead,
// the transcript's timestamps as markers (hover shows the timestamp, a click seeks to it), and
// a neutral band where the peaks are not computed yet, and the engine's loop stretch shaded.
// A click seeks like the position slider; a drag marks the stretch dragged over as the loop.
// Shown while the "showWaveform" setting is on and the peaks are available.
class WaveformStrip : public QWidget
{
    Q_OBJECT

public:
    static constexpr double defaultVisibleSeconds = 30.0;
    static constexpr double minVisibleSeconds = 5.0;

    // Timestamps are read from `transcript` (if any) a moment after it changes.
    WaveformStrip(PlaybackEngine* engine, WaveformPeaks* peaks, QTextDocument* transcript,
                  QWidget* parent = nullptr);
    ~WaveformStrip() override;

    // The length of media time across the strip, 5 s to the whole file.
    double visibleSeconds() const;
    void setVisibleSeconds(double seconds);
    void zoomIn();
    void zoomOut();

    // The horizontal position of a media time in the strip as it is now drawn.
    int xForSeconds(double seconds) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The media time across the strip: [start, start + length).
    struct Window
    {
        double start = 0.0;
        double length = 0.0;
    };
    // What the strip shows, to the pixel: where the stretch shown starts (in pixels from the
    // recording's start), its length and width, and the playhead's column.
    struct Painted
    {
        qint64 start = -1;
        double length = 0.0;
        int width = 0;
        int playhead = -1;
        bool operator==(const Painted&) const = default;
    };
    Painted painted() const;

    double duration() const;
    Window window() const;
    QRect waveRect() const;
    double secondsAt(double x, const Window& window) const;
    double xAt(double seconds, const Window& window) const;
    std::optional<double> markerNear(double x) const;
    void seekTo(double seconds);

    void followPlayhead();
    // Keeps the page now shown for the positions to come.
    void keepPage();
    // Whether the position, a step of playing on, is left to a later step.
    bool isPacedStep() const;
    void updateVisibility();
    void updateZoomButtons();
    void markersChanged();
    void rescanMarkers();

    QPointer<PlaybackEngine> m_engine;
    QPointer<WaveformPeaks> m_peaks;
    // The transcript's timestamps; it belongs to the transcript and goes with it.
    QPointer<StampIndex> m_stamps;
    QToolButton* m_zoomInButton = nullptr;
    QToolButton* m_zoomOutButton = nullptr;
    double m_visibleSeconds = defaultVisibleSeconds;
    QList<double> m_markers;
    bool m_markersStale = true;
    Debouncer m_rescan{0.4};
    // While the mouse is held down the strip stands still, so what is under it stays put.
    std::optional<Window> m_heldWindow;
    // Where the page shown starts, in seconds.
    double m_pageStart = 0.0;
    // What the last paint showed, and the position it showed.
    Painted m_painted;
    double m_paintedTime = 0.0;
    // Where the press was, and the stretch dragged over since (once the drag has begun).
    double m_pressX = 0.0;
    std::optional<std::pair<double, double>> m_dragged;
};

} // namespace dictaro

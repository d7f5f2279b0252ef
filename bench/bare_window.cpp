// The floor for a Qt Widgets application that plays audio with libmpv: a window with a label and
// a started libmpv, nothing else. bench_startup measures Dictaro against it. With
// DICTARO_STARTUP_TRACE set it prints its first frame as Dictaro does; it runs until it is ended.
//   bare_window [AUDIO [RATE]]   (loads the file, paused, as an open project does; with RATE it
//                                 plays at that speed on the silent output, for bench_playing)
#include "StartupTrace.h"

#include <mpv/client.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <clocale>

namespace {

class Window : public QMainWindow
{
public:
    Window()
    {
        setCentralWidget(new QLabel(QStringLiteral("Open an audio file"), this));
        resize(900, 640);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QMainWindow::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, [] { dictaro::StartupTrace::mark("first frame"); });
        }
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return 1;
    // The options Dictaro starts libmpv with that make its start cheaper, for a fair floor.
    for (const char* name : {"config", "terminal", "load-scripts", "ytdl"})
        mpv_set_option_string(mpv, name, "no");
    mpv_set_option_string(mpv, "idle", "yes");
    mpv_set_option_string(mpv, "vid", "no");
    // As Dictaro does: with no sound device (as under Xvfb) the file stays loaded, on the silent
    // output, instead of being dropped at once; a floor without the file would be no floor.
    mpv_set_option_string(mpv, "audio-fallback-to-null", "yes");
    const bool playing = argc > 2;
    mpv_set_option_string(mpv, "pause", playing ? "no" : "yes");
    if (playing) {
        // Dictaro's silent output, and its speed.
        mpv_set_option_string(mpv, "ao", "null");
        mpv_set_option_string(mpv, "ao-null-buffer", "0.02");
        mpv_set_option_string(mpv, "speed", argv[2]);
    }
    if (mpv_initialize(mpv) < 0)
        return 1;
    if (argc > 1) {
        const char* command[] = {"loadfile", argv[1], nullptr};
        mpv_command(mpv, command);
    }
    Window window;
    window.show();
    const int code = QApplication::exec();
    mpv_terminate_destroy(mpv);
    return code;
}

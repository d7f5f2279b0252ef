#pragma once

#include <QOpenGLWidget>

#include <atomic>

struct mpv_render_context;

namespace dictaro {

class MpvBackend;

// Draws the open file's picture through libmpv's render API into an OpenGL widget, keeping its
// aspect ratio (the rest is black). The picture is decoded only while a surface exists and has
// its OpenGL context: the render context is made with the OpenGL context and freed before that
// goes (also when the widget moves to another window, which replaces its OpenGL context).
//
// The render API rather than embedding libmpv's own window (its "wid" option): the picture is
// then an ordinary widget that a splitter can resize, that can move into a window of its own and
// back, and that works alike on X11 and Wayland, where a foreign child window cannot be embedded.
class VideoSurface : public QOpenGLWidget
{
    Q_OBJECT

public:
    // `backend` must outlive the surface.
    explicit VideoSurface(MpvBackend& backend, QWidget* parent = nullptr);
    ~VideoSurface() override;

    VideoSurface(const VideoSurface&) = delete;
    VideoSurface& operator=(const VideoSurface&) = delete;

    // Whether the platform has OpenGL at all (the offscreen platform has not): a surface must
    // not be made without it, since its window could then not be drawn. Asked once.
    static bool isAvailable();

    // Whether libmpv draws here now (an OpenGL context exists and the render context was made).
    bool isRendering() const { return m_render != nullptr; }

signals:
    // A new frame was drawn.
    void frameDrawn();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onUpdate(void* context);
    void takeUpdate();
    void freeRender();

    MpvBackend& m_backend;
    mpv_render_context* m_render = nullptr;
    std::atomic_bool m_updateQueued{false};
};

} // namespace dictaro

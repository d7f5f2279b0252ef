#include "VideoSurface.h"

#include "MpvBackend.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <mpv/render_gl.h>

namespace dictaro {

namespace {

void* procAddress(void* /*context*/, const char* name)
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current ? reinterpret_cast<void*>(current->getProcAddress(name)) : nullptr;
}

} // namespace

bool VideoSurface::isAvailable()
{
    // The offscreen and minimal platforms may make an OpenGL context but cannot show an OpenGL
    // widget in a window.
    static const bool available = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
        QOpenGLContext probe;
        return probe.create();
    }();
    return available;
}

VideoSurface::VideoSurface(MpvBackend& backend, QWidget* parent)
    : QOpenGLWidget(parent), m_backend(backend)
{
    setObjectName(QStringLiteral("videoSurface"));
    setMinimumSize(64, 36);
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
        if (m_render)
            mpv_render_context_report_swap(m_render);
    });
}

VideoSurface::~VideoSurface()
{
    // The OpenGL context goes with the widget; the render context must go first, with the
    // OpenGL context current.
    if (m_render) {
        makeCurrent();
        freeRender();
        doneCurrent();
    }
    // The base class destroys the context after this object is gone: its last signal must not
    // reach this object any more.
    if (QOpenGLContext* gl = context())
        disconnect(gl, nullptr, this, nullptr);
}

void VideoSurface::initializeGL()
{
    freeRender();
    mpv_handle* mpv = m_backend.handle();
    if (!mpv)
        return;
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, mpv, params) < 0) {
        m_render = nullptr;
        qWarning("The video picture cannot be drawn: libmpv found no usable OpenGL");
        return;
    }
    mpv_render_context_set_update_callback(m_render, &VideoSurface::onUpdate, this);
    // Moving to another window replaces the OpenGL context; it is current while this runs.
    connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            makeCurrent();
            freeRender();
            doneCurrent();
        },
        Qt::DirectConnection);
    m_backend.setVideoEnabled(true);
}

void VideoSurface::paintGL()
{
    if (!m_render) {
        context()->functions()->glClearColor(0, 0, 0, 1);
        context()->functions()->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio),
                       0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, params);
    emit frameDrawn();
}

// Called by libmpv from any of its threads: it must not call libmpv, only post one update to
// the GUI thread. mpv_render_context_free waits for a running callback and stops further ones.
void VideoSurface::onUpdate(void* context)
{
    auto* self = static_cast<VideoSurface*>(context);
    if (!self->m_updateQueued.exchange(true))
        QMetaObject::invokeMethod(self, &VideoSurface::takeUpdate, Qt::QueuedConnection);
}

void VideoSurface::takeUpdate()
{
    m_updateQueued.store(false);
    if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME))
        update();
}

// The video output leaves the render context before the context is freed: freeing it while in
// use would stop the picture for good, and a file without sound with it.
void VideoSurface::freeRender()
{
    if (!m_render)
        return;
    m_backend.setVideoEnabled(false);
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
    m_render = nullptr;
}

} // namespace dictaro

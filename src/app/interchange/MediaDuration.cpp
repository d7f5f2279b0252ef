#include "MediaDuration.h"

#include <QFileInfo>

extern "C" {
#include <libavformat/avformat.h>
}

namespace dictaro::MediaDuration {

double of(const QString& path)
{
    // Only regular files: a FIFO or a device would block the open.
    if (!QFileInfo(path).isFile())
        return 0.0;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return 0.0;
    double seconds = 0.0;
    if (avformat_find_stream_info(context, nullptr) >= 0 && context->duration > 0)
        seconds = double(context->duration) / AV_TIME_BASE;
    avformat_close_input(&context);
    return seconds;
}

} // namespace dictaro::MediaDuration

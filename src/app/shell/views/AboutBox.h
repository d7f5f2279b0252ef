#pragma once

#include <QString>

class QWidget;

namespace dictaro {

// The About Dictaro box: what the program is, its version, its licence and the versions of the
// libraries it runs on.
class AboutBox
{
public:
    // The box's text (rich text).
    static QString text();
    // The version of the playback library in use.
    static QString playbackLibraryVersion();
    static void show(QWidget* parent);
};

} // namespace dictaro

#pragma once

#include <QList>
#include <QString>

namespace dictaro {

// One caption as shown on screen: its time, at most two lines of text, and the speaker whose
// turn it belongs to ("" for none). The first caption of a turn shows the speaker's "Name: " in
// its text, as the transcript does.
struct Caption
{
    double start = 0.0;
    double end = 0.0;
    QString speaker;
    QStringList lines;
    bool opensTurn = false; // the first caption of the speaker's turn

    friend bool operator==(const Caption&, const Caption&) = default;
};

// Builds SubRip and WebVTT captions from a transcript. Each timestamp starts a caption that runs
// to the next timestamp, or to the recording's end; text before the first timestamp starts at
// 0. Long stretches are split at sentence ends (or, failing that, between words) into captions
// of at most maxCueSeconds and maxLines lines of at most maxLineLength characters, the time
// shared out by characters. A stretch that starts with "Name: " is that speaker's turn.
namespace CaptionExporter {

constexpr double maxCueSeconds = 7.0;
constexpr qsizetype maxLineLength = 42;
constexpr int maxLines = 2;

// The captions of `transcript` over a recording of `duration` seconds (0 or less when unknown:
// the last caption then lasts as long as its text takes to read), in order of start.
QList<Caption> captions(const QString& transcript, double duration);

QString subRip(const QList<Caption>& captions);
QString webVtt(const QList<Caption>& captions);

} // namespace CaptionExporter
} // namespace dictaro

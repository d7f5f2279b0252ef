#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <utility>

class QListWidget;

namespace dictaro {

// The sheet that edits an open project's speakers: their names and order (the first nine are
// the "Speaker 1" ... "Speaker 9" commands). Renaming one renames its labels in the transcript
// when the sheet is confirmed.
class SpeakersSheet : public QDialog
{
    Q_OBJECT

public:
    explicit SpeakersSheet(const QStringList& speakers, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    // The names as edited, in their order (cleaned, without empty ones and repeats).
    QStringList speakers() const;
    // Each speaker of the list given that is now called otherwise: old name, new name.
    QList<std::pair<QString, QString>> renames() const;

private:
    void addSpeaker();
    void move(int by);

    QListWidget* m_list = nullptr;
};

} // namespace dictaro

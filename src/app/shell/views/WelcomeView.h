#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QListWidget;
class QMimeData;
class QModelIndex;
class QPushButton;
class QSpacerItem;
class QVBoxLayout;

namespace dictaro {

class AppState;
class Banner;
class RecordingLengths;

// What the main window shows while no project is open: opens an audio file as a new project
// (from a dialog or by a drop anywhere on the view) and lists the recent projects, newest
// first, to reopen or delete.
class WelcomeView : public QWidget
{
    Q_OBJECT

public:
    // The data of each row of the recent list (its display text is the project's name).
    enum RecentProjectRole {
        ProjectIdRole = Qt::UserRole, // QUuid
        MediaFileNameRole,            // QString
        ProgressRole,                 // QString: when last edited and how far it has got
    };

    explicit WelcomeView(AppState& state, QWidget* parent = nullptr);

    // The open dialog's filter: the extensions AppState accepts (AudioTypes), and only those.
    static QString audioNameFilter();
    // The file a drop of `data` opens: its first URL, if that is a local file (not a folder)
    // whose extension is one of AppState::supportedExtensions; empty otherwise.
    static QString droppedAudioFile(const QMimeData* data);

public slots:
    // Asks for an audio file (modal dialog) and opens it as a new project; a cancel does
    // nothing.
    void chooseAudioFile();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateRecentProjects();
    // The progress line of each row whose recording is at `mediaPath` (all rows when empty).
    void updateProgress(const QString& mediaPath = {});
    void updateRecoveryBanner();
    void openRecentProject(const QModelIndex& index);
    void showRecentProjectMenu(const QPoint& position);
    bool acceptDrag(QDropEvent* event) const;

    QPointer<AppState> m_state;
    Banner* m_openErrorBanner = nullptr;
    Banner* m_recoveryBanner = nullptr;
    QVBoxLayout* m_column = nullptr;
    QSpacerItem* m_topSpace = nullptr;
    QSpacerItem* m_bottomSpace = nullptr;
    QPushButton* m_openButton = nullptr;
    QWidget* m_divider = nullptr;
    QLabel* m_heading = nullptr;
    QListWidget* m_recentList = nullptr;
    RecordingLengths* m_lengths = nullptr;
};

} // namespace dictaro

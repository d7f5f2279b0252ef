#pragma once

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace dictaro {

class ModelLibrary;
class SpeechModel;

// The Draft page of the settings: the speech models to download (each with its size, what it is
// good at, its progress and Download, Cancel, Use and Delete), a model file of the user's own,
// the language to recognise, and whether unsure words are marked and the spoken word followed.
// It shows the library's models and calls them; the choices go to the settings at once.
class DraftSettingsView : public QWidget
{
    Q_OBJECT

public:
    explicit DraftSettingsView(ModelLibrary& library, QWidget* parent = nullptr);

    // What "Use a model file…" does with the file the user picked: uses it when it looks like a
    // model, else says on the page why not. Returns whether it is now in use.
    bool useModelFile(const QString& path);

private:
    struct Row
    {
        SpeechModel* model = nullptr;
        QLabel* status = nullptr;
        QProgressBar* bar = nullptr;
        QPushButton* download = nullptr;
        QPushButton* cancel = nullptr;
        QPushButton* use = nullptr;
        QPushButton* remove = nullptr;
    };

    QWidget* makeRow(SpeechModel* model);
    void showRow(const Row& row);
    void showChoice();
    void chooseModel(const QString& path);
    void pickModelFile();

    ModelLibrary& m_library;
    std::vector<Row> m_rows;
    QLabel* m_inUse = nullptr;
    QLabel* m_fileMessage = nullptr;
    QComboBox* m_language = nullptr;
    QCheckBox* m_markUnsure = nullptr;
    QCheckBox* m_followAlong = nullptr;
};

} // namespace dictaro

#pragma once

#include <QWidget>

class QTableWidget;

namespace dictaro {

// The Snippets page of the settings window: a table of abbreviations and the texts they expand
// to, with Add, Remove and Restore Defaults. Each change is stored at once (rows whose
// abbreviation cannot be typed are kept in the table but not used).
class SnippetsView : public QWidget
{
    Q_OBJECT

public:
    explicit SnippetsView(QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

private:
    void showSnippets();
    void store();
    void addRow(const QString& abbreviation, const QString& text);

    QTableWidget* m_table = nullptr;
    bool m_showing = false;
};

} // namespace dictaro

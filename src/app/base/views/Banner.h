#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace dictaro {

// A status message across the full width, over its colour at 15 % opacity, with optional
// buttons at the end. Hidden while it has no message.
class Banner final : public QWidget
{
    Q_OBJECT

public:
    static const QColor orange;
    static const QColor red;

    Banner(const QString& objectName, const QColor& color, QWidget* parent);

    QPushButton* addButton(const QString& text, const QString& objectName);
    // Shows `message` (as plain text), or hides the banner for an absent one.
    void showMessage(const std::optional<QString>& message);
    QString message() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    QLabel* m_message = nullptr;
    QHBoxLayout* m_row = nullptr;
};

} // namespace dictaro

#pragma once

#include <QLabel>
#include <QString>

namespace dictaro {

// A one-line label that shortens its text with an ellipsis instead of widening the window, and
// shows the whole text as its tooltip. The text is always plain text.
class ElidedLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return m_fullText; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString m_fullText;
};

} // namespace dictaro

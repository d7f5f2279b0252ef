#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace dictaro {

// The text caret blinks while the user works and rests, shown steadily, once nothing has been
// typed or clicked for a while, as the desktop's own text fields do: a caret that blinks for
// hours while a recording plays wakes the application twice a second for nothing. Any key,
// click or input-method text starts the blinking again at the desktop's own pace. It watches
// the whole application's input; a desktop that does not blink carets is left alone.
class CaretBlink : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultRestAfterMSecs = 10000;

    explicit CaretBlink(int restAfterMSecs = defaultRestAfterMSecs, QObject* parent = nullptr);
    ~CaretBlink() override;

    bool isResting() const { return m_resting; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void noteInput();
    void checkRest();

    const int m_restAfter;
    // The desktop's flash time, given back whenever the caret blinks again.
    int m_flashTime = 0;
    bool m_resting = false;
    QElapsedTimer m_sinceInput;
    QTimer m_restTimer;
};

} // namespace dictaro

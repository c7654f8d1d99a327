#pragma once

#include <QObject>

class QWidget;

// What a browser's screen reader hears of the quiz. Qt 6.4 for WebAssembly has no
// accessibility bridge: the page shows one canvas and nothing more. So what the desktop's
// screen reader is told is written into the page's two live regions, politely as the focus
// and the frame move, assertively for what the quiz itself says.
class PageSpeech : public QObject
{
public:
    enum class Urgency { Polite, Assertive };

    explicit PageSpeech(QWidget *window);

    static void tell(const QString &text, Urgency urgency);

private:
    void focusMoved(QWidget *now);

    QWidget *m_window = nullptr;
    bool m_started = false; // the quiz has had its first focus
    bool m_entered = false; // the pupil has heard how to play since the quiz took the focus
};

#pragma once

#include <QObject>
#include <QPointF>

class QAbstractScrollArea;
class QScrollEvent;
class QScrollPrepareEvent;
class QTouchEvent;

// A finger scrolls a list or a text field as a phone's own do, following it and gliding on
// after a flick. Only a tap (one finger that lifts soon, near where it went down) becomes
// the click a mouse would make, so a swipe never picks a name or selects text. The mouse
// and the keys are left as they are.
class TouchScroll : public QObject
{
public:
    explicit TouchScroll(QAbstractScrollArea *area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void touch(const QTouchEvent *event);
    void prepare(QScrollPrepareEvent *event) const;
    void scroll(const QScrollEvent *event) const;
    double stepPixels() const;
    void tap(qint64 time);

    QAbstractScrollArea *m_area;
    QPointF m_start;
    qint64 m_startTime = 0;
    bool m_tap = false;
    bool m_tapped = false;
    QPointF m_lastTap;
    qint64 m_lastTapTime = 0;
};

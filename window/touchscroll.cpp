#include "touchscroll.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QScrollEvent>
#include <QScroller>
#include <QScrollerProperties>
#include <QStyleHints>

#include <algorithm>
#include <cmath>

TouchScroll::TouchScroll(QAbstractScrollArea *area)
    : QObject(area)
    , m_area(area)
{
    QWidget *viewport = area->viewport();
    viewport->setAttribute(Qt::WA_AcceptTouchEvents);
    viewport->installEventFilter(this);

    // In a window of fixed size the content stops at its ends rather than springing back.
    QScrollerProperties properties;
    const QVariant off = QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff);
    properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy, off);
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy, off);
    // Scrolling starts where a tap ends: at the platform's drag distance, in metres.
    const double dpi = viewport->screen() ? viewport->screen()->physicalDotsPerInchY() : 96.0;
    properties.setScrollMetric(QScrollerProperties::DragStartDistance,
                               QApplication::startDragDistance() * 0.0254 / dpi);
    QScroller::scroller(viewport)->setScrollerProperties(properties);
}

bool TouchScroll::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        // Taken whole, so that Qt makes no mouse press of it.
        touch(static_cast<QTouchEvent *>(event));
        event->accept();
        return true;
    case QEvent::ScrollPrepare:
        prepare(static_cast<QScrollPrepareEvent *>(event));
        return true;
    case QEvent::Scroll:
        scroll(static_cast<QScrollEvent *>(event));
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void TouchScroll::touch(const QTouchEvent *event)
{
    QScroller *scroller = QScroller::scroller(m_area->viewport());
    const QPointF position
            = event->points().isEmpty() ? m_start : event->points().first().position();
    const auto time = qint64(event->timestamp());
    switch (event->type()) {
    case QEvent::TouchBegin:
        // A finger that stops a glide only stops it.
        m_tap = scroller->state() != QScroller::Scrolling;
        m_start = position;
        m_startTime = time;
        scroller->handleInput(QScroller::InputPress, position, time);
        break;
    case QEvent::TouchUpdate:
        if (event->points().size() > 1
            || (position - m_start).manhattanLength() > QApplication::startDragDistance())
            m_tap = false;
        scroller->handleInput(QScroller::InputMove, position, time);
        break;
    case QEvent::TouchEnd:
        scroller->handleInput(QScroller::InputRelease, position, time);
        if (m_tap && time - m_startTime < qint64(qApp->styleHints()->mousePressAndHoldInterval()))
            tap(time);
        m_tap = false;
        break;
    default: // cancelled by the system
        scroller->stop();
        m_tap = false;
        break;
    }
}

// Both controls scroll by whole steps (a list's rows, a text's lines); the scroller counts
// pixels.
void TouchScroll::prepare(QScrollPrepareEvent *event) const
{
    const QScrollBar *bar = m_area->verticalScrollBar();
    event->setViewportSize(m_area->viewport()->size());
    event->setContentPosRange(QRectF(0, 0, 0, bar->maximum() * stepPixels()));
    event->setContentPos(QPointF(0, bar->value() * stepPixels()));
    event->accept();
}

void TouchScroll::scroll(const QScrollEvent *event) const
{
    m_area->verticalScrollBar()->setValue(int(std::lround(event->contentPos().y() / stepPixels())));
}

double TouchScroll::stepPixels() const
{
    const QScrollBar *bar = m_area->verticalScrollBar();
    return std::max(1.0, double(m_area->viewport()->height()) / std::max(1, bar->pageStep()));
}

// A tap is the mouse's left click where the finger went down, and a second tap soon after on
// the same spot its double click, as Qt itself makes them: the controls answer a tap as they
// answer the mouse.
void TouchScroll::tap(qint64 time)
{
    const bool twice
            = m_tapped
              && time - m_lastTapTime < qint64(qApp->styleHints()->mouseDoubleClickInterval())
              && (m_start - m_lastTap).manhattanLength() <= QApplication::startDragDistance();
    const QPointF position = m_start;
    QWidget *viewport = m_area->viewport();
    const QPointF global = viewport->mapToGlobal(position);
    QMouseEvent press(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress,
                      position,
                      global,
                      Qt::LeftButton,
                      Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease,
                        position,
                        global,
                        Qt::LeftButton,
                        Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    m_tapped = !twice; // a third tap is a first again
    m_lastTap = position;
    m_lastTapTime = time;
}

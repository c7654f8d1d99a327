#include "focusmark.h"

#include <QApplication>
#include <QPainter>

FocusMark::FocusMark(QWidget *window)
    : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        follow(now);
    });
}

void FocusMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, thickness, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal half = thickness / 2;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

void FocusMark::follow(QWidget *focused)
{
    if (!focused || focused->parentWidget() != parentWidget()) {
        hide();
        return;
    }
    setGeometry(focused->geometry());
    raise();
    show();
}

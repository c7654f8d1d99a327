#pragma once

#include <QWidget>

// A dark ring drawn over the edge of whichever control of the window has the focus: the
// styles' own focus marks (a border a pixel wider, a pale frame) are hard to see on these
// colours. It never takes the mouse or the focus.
class FocusMark : public QWidget
{
    Q_OBJECT

public:
    explicit FocusMark(QWidget *window);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(QWidget *focused);

    static constexpr qreal thickness = 2;
};

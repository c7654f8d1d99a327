#pragma once

#include <QWidget>

// Says a sentence through the screen reader at once, wherever the focus is, without moving
// it. Qt 6.4 has no announcement event, and its bridge garbles description changes; Orca
// speaks a notification as it appears: its name, a pause, then its description. This one
// draws nothing and takes neither mouse nor keys.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void say(const QString &first, const QString &then = {});
};

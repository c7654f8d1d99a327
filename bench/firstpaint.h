#pragma once

class QWidget;

// Once the window has first been painted: dumps callgrind's count (when run under it),
// prints "painted <CLOCK_MONOTONIC ns> <peak RSS kB>" and quits the application.
void quitAfterFirstPaint(QWidget *window);

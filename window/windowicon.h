#pragma once

#include <QIcon>

// The quiz's icon for its window, from the raw pixels built into the program.
QIcon quizIcon();

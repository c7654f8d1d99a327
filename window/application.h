#pragma once

class QApplication;

// Keeps of the command line only what a desktop passes to say where the window goes
// (-display, -platform, -session, each with its value); Qt's other options would let an
// argument change the window's look or read a file (-reverse, -style, -stylesheet, ...).
// Rearranges argv in place and returns the new argc.
int keepDesktopArguments(int argc, char *argv[]);

// Names the application and makes every word Qt itself shows Bulgarian, whatever the locale.
void setUpApplication(QApplication &app);

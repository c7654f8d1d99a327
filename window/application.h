#pragma once

class QApplication;

// Names the application and makes every word Qt itself shows Bulgarian, whatever the locale.
void setUpApplication(QApplication &app);

// The program's own start, as app/main.cpp has it, ending once the window is painted.
#include "application.h"
#include "firstpaint.h"
#include "quizform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    QuizForm form;
    quitAfterFirstPaint(&form);
    form.show();
    return app.exec();
}

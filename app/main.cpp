#include "application.h"
#include "quizform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    argc = keepDesktopArguments(argc, argv);
    QApplication app(argc, argv);
    setUpApplication(app);
    QuizForm form;
    form.show();
    return app.exec();
}

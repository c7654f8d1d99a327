#include "application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(u"zun-mitologia"_s);
    QApplication::setDesktopFileName(u"org.example.zun_mitologia"_s);
    auto *translator = new QTranslator(&app);
    if (translator->load(u"qtbase_bg"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

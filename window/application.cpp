#include "application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <string_view>

using namespace Qt::StringLiterals;

int keepDesktopArguments(int argc, char *argv[])
{
    constexpr std::array<std::string_view, 3> kept = {"display", "platform", "session"};
    int out = std::min(argc, 1);
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view option = argv[i];
        if (option.starts_with("--"))
            option.remove_prefix(1);
        if (option.starts_with('-')
            && std::find(kept.begin(), kept.end(), option.substr(1)) != kept.end()) {
            argv[out++] = argv[i];
            argv[out++] = argv[++i];
        }
    }
    argv[out] = nullptr;
    return out;
}

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(u"zun-mitologia"_s);
    QApplication::setDesktopFileName(u"org.example.zun_mitologia"_s);
    auto *translator = new QTranslator(&app);
    if (translator->load(u"qtbase_bg"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

#include "pagespeech.h"

#include "listbox.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <emscripten/val.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The words a screen reader puts after a control's name, as Orca says them on the desktop.
QString whatItIs(QWidget *widget)
{
    if (auto *list = qobject_cast<ListBox *>(widget)) {
        if (list->count() < 2)
            return list->count() == 1 ? u"Списък с 1 елемент."_s : u"Празен списък."_s;
        return u"Списък с %1 елемента."_s.arg(list->count());
    }
    if (qobject_cast<QPushButton *>(widget))
        return u"Бутон."_s;
    if (auto *memo = qobject_cast<QPlainTextEdit *>(widget))
        return u"Поле само за четене. "_s + memo->toPlainText().section(u'\n', 0, 0);
    if (qobject_cast<QLineEdit *>(widget))
        return u"Поле само за четене."_s;
    return {};
}

// The page's own words on how to play, which it shows to no one.
QString pageHelp()
{
    using emscripten::val;
    const val help = val::global("document").call<val>("getElementById", std::string("zun-help"));
    return help.as<bool>() ? QString::fromStdString(help["textContent"].as<std::string>())
                           : QString();
}

} // namespace

PageSpeech::PageSpeech(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        focusMoved(now);
    });
    for (ListBox *list : window->findChildren<ListBox *>()) {
        connect(list, &QListWidget::currentItemChanged, this, [list](QListWidgetItem *current) {
            if (list->hasFocus() && current)
                tell(current->text() + u'.', Urgency::Polite);
        });
    }
}

void PageSpeech::tell(const QString &text, Urgency urgency)
{
    using emscripten::val;
    const val document = val::global("document");
    const val region = document.call<val>(
            "getElementById",
            std::string(urgency == Urgency::Polite ? "zun-polite" : "zun-assertive"));
    if (!region.as<bool>())
        return;
    // A new node each time, so that the same words twice are still read twice.
    val line = document.call<val>("createElement", std::string("p"));
    line.set("textContent", text.toStdString());
    region.call<void>("replaceChildren", line);
}

// Entering a control: its name, what it is, and its description (for a list, where the
// frame is and how to pick; for a counter, its value). Entering the quiz, how to play first:
// said here rather than as the page's description, which a screen reader would read again
// with each key. Not with the quiz's first focus, which can come before a browser just
// started has its screen reader listening, but with the first the pupil moves.
void PageSpeech::focusMoved(QWidget *now)
{
    if (!now) {
        m_entered = false;
        return;
    }
    if (now->window() != m_window)
        return;
    const QAccessibleInterface *control = QAccessible::queryAccessibleInterface(now);
    if (!control)
        return;
    QStringList words;
    if (std::exchange(m_started, true) && !std::exchange(m_entered, true))
        words.append(pageHelp());
    words += {control->text(QAccessible::Name) + u'.', whatItIs(now)};
    words.append(control->text(QAccessible::Description));
    tell(words.join(u' ').simplified(), Urgency::Polite);
}

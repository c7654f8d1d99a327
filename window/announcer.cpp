#include "announcer.h"

#include <QAccessibleWidget>

namespace {

class NotificationAccessible : public QAccessibleWidget
{
public:
    explicit NotificationAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Notification)
    {}
};

QAccessibleInterface *notificationFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer") && object->isWidgetType())
        return new NotificationAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *window)
    : QWidget(window)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
}

// Shown anew for every sentence: a screen reader speaks a notification when it appears.
void Announcer::say(const QString &first, const QString &then)
{
    hide();
    setAccessibleName(first);
    setAccessibleDescription(then);
    show();
    [[maybe_unused]] const QString sentence = then.isEmpty() ? first : first + u' ' + then;
#if defined(Q_OS_WIN) && QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.4's UI Automation bridge drops the show, name and description events above; a
    // value change that carries text it raises as one UIA notification, which NVDA and
    // Narrator speak whole. Qt 6.8 brought an announcement event of its own: from there on
    // that is the way, and this must not make a screen reader say everything twice.
    QAccessibleValueChangeEvent notification(this, sentence);
    QAccessible::updateAccessibility(&notification);
#endif
}

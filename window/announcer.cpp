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
}

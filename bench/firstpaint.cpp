#include "firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <valgrind/callgrind.h>

#include <cstdio>
#include <ctime>

namespace {

long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

class FirstPaint : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so it runs once this paint has been flushed to the screen.
            QTimer::singleShot(0, this, &FirstPaint::report);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void report()
    {
        CALLGRIND_DUMP_STATS;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("painted %lld %ld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                    peakResidentKilobytes());
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_seen = false;
};

} // namespace

void quitAfterFirstPaint(QWidget *window)
{
    window->installEventFilter(new FirstPaint(window));
}

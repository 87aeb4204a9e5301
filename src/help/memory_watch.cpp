#include "memory_watch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace tivora {

namespace {

constexpr int kCheckMs = 250;

qint64 residentMemory(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readLine().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The processes the engine started for this program (its zygotes, renderers
// and helpers), read from the kernel's list of each thread's children.
QList<qint64> descendantsOf(qint64 pid)
{
    QList<qint64> found;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks + QLatin1Char('/') + task + QStringLiteral("/children"));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            if (const qint64 childPid = child.trimmed().toLongLong(); childPid > 0) {
                found << childPid;
                found << descendantsOf(childPid);
            }
        }
    }
    return found;
}

}  // namespace

MemoryWatch::MemoryWatch(qint64 bound, QObject* parent) : QObject(parent), bound_(bound), timer_(this)
{
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, &MemoryWatch::check);
}

void MemoryWatch::startOver()
{
    baseline_ = residentMemory(QCoreApplication::applicationPid());
}

void MemoryWatch::watch(bool pageCanRun)
{
    if (!pageCanRun)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

qint64 MemoryWatch::pageMemory() const
{
    const qint64 program = QCoreApplication::applicationPid();
    qint64 used = std::max<qint64>(0, residentMemory(program) - baseline_);
    for (qint64 helper : descendantsOf(program))
        used += residentMemory(helper);
    return used;
}

void MemoryWatch::check()
{
    if (pageMemory() > bound_)
        emit exceeded();
    emit checked();
}

}  // namespace tivora

#ifndef STRATOMARK_BENCH_MEMORY_H
#define STRATOMARK_BENCH_MEMORY_H

#include <QFile>

// What the process holds, from the kernel's own account of it, for the benchmarks' figures.
namespace BenchMemory
{

// A line of /proc/self/status, such as "VmRSS:", in kilobytes.
inline qint64 statusKilobytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Lets VmHWM measure the peak of what follows.
inline void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace BenchMemory

#endif

#ifndef STRATOMARK_BENCHSUPPORT_H
#define STRATOMARK_BENCHSUPPORT_H

#include "testsupport.h"

// What the benchmarks share: what the process holds, from the kernel's own account of it, and
// the steps a user takes before an operation that is timed.
namespace BenchSupport
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

// The date search dialog, open and set to the date of the table's last row.
inline void askForLastDate(FenPrincipale& window)
{
    window.fenetre_chercher_date();
    QDialog* dialog = TestAccess::currentDialog(window);
    const TableModel* model = TestAccess::model(window);
    const QString last = model->labelText(model->rowCount() - 1);
    dialog->findChild<QDateEdit*>()->setDate(
        QDate::fromString(last.left(10), QStringLiteral("dd/MM/yyyy")));
    dialog->findChild<QTimeEdit*>()->setTime(QTime::fromString(last.mid(11)));
}

} // namespace BenchSupport

#endif

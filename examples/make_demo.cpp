// Writes the demo workspace: one year of monthly "wswin_" files and two station histories.
#include "synthetic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace
{

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    using Format::DataFileType;
    const int year = 2023;
    struct Monthly {
        DataFileType type;
        const char* prefix;
        int interval;
    };
    const Monthly monthly[] = {{DataFileType::WswinWD, "WD", 30},
                               {DataFileType::WswinWS, "WS", 30},
                               {DataFileType::WswinWM, "WM", 60}};
    for (const Monthly& m : monthly) {
        for (int month = 1; month <= 12; ++month) {
            const QDate first(year, month, 1);
            const int count = first.daysInMonth() * 24 * 60 / m.interval;
            const QString name = QStringLiteral("%1_%2_%3.DAT")
                                     .arg(QLatin1String(m.prefix))
                                     .arg(month, 2, 10, QLatin1Char('0'))
                                     .arg(year % 100, 2, 10, QLatin1Char('0'));
            const QByteArray bytes =
                Synthetic::stationFile(m.type, QDateTime(first, QTime(0, 0)), m.interval, count);
            if (!writeFile(folder.filePath(name), bytes))
                return 1;
        }
    }
    const QDateTime start(QDate(year, 1, 1), QTime(0, 0));
    if (!writeFile(folder.filePath(QStringLiteral("ws2300.DAT")),
                   Synthetic::stationFile(DataFileType::WS2300, start, 30, 365 * 48)) ||
        !writeFile(folder.filePath(QStringLiteral("ws3600.DAT")),
                   Synthetic::stationFile(DataFileType::WS3600, start, 30, 365 * 48)))
        return 1;
    return 0;
}

// Writes the demo workspace: one year of monthly "wswin_" files and two station histories, with a
// few faults planted for the user to find.
#include "synthetic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <vector>

using Format::DataFileType;

namespace
{

const int year = 2023;

// Written over the clean weather, from a record's date onwards; nothing else in the workspace is
// out of the ordinary.
struct Fault {
    const char* column;
    int month, day, hour, minute;
    int records;
    double value;
    bool added; // to the reading, rather than written over it
};

// In WD_03_23.DAT (wswin_WD, a record every 30 minutes): on 14/03/2023 15:00 a spike 18 °C
// above the outdoor temperature; from 21/03/2023 01:00 to 06:30 the outdoor humidity sensor dead
// (0 %, out of range, 12 records); on 24/03/2023 16:30 a gust of 312.5 km/h, out of range.
const std::vector<Fault> marchFaults = {
    {"Temp. E.", 3, 14, 15, 0, 1, 18.0, true},
    {"Hum. E.", 3, 21, 1, 0, 12, 0, false},
    {"Rafales", 3, 24, 16, 30, 1, 312.5, false},
};

// In ws2300.DAT: three records from 09/02/2023 03:00 with the outdoor sensors out of reach,
// where the station writes its no-data values, 81.1 °C, 110 % and 51.0 m/s (183.6 km/h). The
// type counts seconds in local time, so a machine in another time zone than the one that built
// the demo shows them at another hour.
const std::vector<Fault> ws2300Faults = {
    {"Temp. E.", 2, 9, 3, 0, 3, 81.1, false},
    {"Hum. E.", 2, 9, 3, 0, 3, 110, false},
    {"Vit. Vent", 2, 9, 3, 0, 3, 183.6, false},
};

// In ws3600.DAT: from 15/06/2023 10:00 to 12:00 (5 records) no gust measured, which the
// station writes as 51.0 km/h.
const std::vector<Fault> ws3600Faults = {{"Rafales", 6, 15, 10, 0, 5, 51.0, false}};

bool plant(QByteArray& file, DataFileType type, const QDateTime& start, int intervalMinutes,
           const std::vector<Fault>& faults)
{
    for (const Fault& fault : faults) {
        const QDateTime when(QDate(year, fault.month, fault.day), QTime(fault.hour, fault.minute));
        const int first = int(start.secsTo(when) / (intervalMinutes * 60));
        const QString column = QString::fromUtf8(fault.column);
        for (int record = first; record < first + fault.records; ++record) {
            const double reading = Synthetic::cellValue(file, type, record, column);
            if (!Synthetic::setCellValue(file, type, record, column,
                                         fault.added ? reading + fault.value : fault.value))
                return false;
        }
    }
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool writeMonthlyFiles(const QDir& folder)
{
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
            const QDateTime start(QDate(year, month, 1), QTime(0, 0));
            const int count = start.date().daysInMonth() * 24 * 60 / m.interval;
            const QString name = QStringLiteral("%1_%2_%3.DAT")
                                     .arg(QLatin1String(m.prefix))
                                     .arg(month, 2, 10, QLatin1Char('0'))
                                     .arg(year % 100, 2, 10, QLatin1Char('0'));
            QByteArray bytes = Synthetic::stationFile(m.type, start, m.interval, count);
            const bool faulty = m.type == DataFileType::WswinWD && month == 3;
            if ((faulty && !plant(bytes, m.type, start, m.interval, marchFaults)) ||
                !writeFile(folder.filePath(name), bytes))
                return false;
        }
    }
    return true;
}

bool writeHistory(const QDir& folder, const QString& name, DataFileType type,
                  const std::vector<Fault>& faults)
{
    const QDateTime start(QDate(year, 1, 1), QTime(0, 0));
    QByteArray bytes = Synthetic::stationFile(type, start, 30, 365 * 48);
    return plant(bytes, type, start, 30, faults) && writeFile(folder.filePath(name), bytes);
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
    const bool written =
        writeMonthlyFiles(folder) &&
        writeHistory(folder, QStringLiteral("ws2300.DAT"), DataFileType::WS2300, ws2300Faults) &&
        writeHistory(folder, QStringLiteral("ws3600.DAT"), DataFileType::WS3600, ws3600Faults);
    return written ? 0 : 1;
}

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
    // value over the reading, added to it; the first record's reading taken from each, or kept
    enum How { Written, Added, Lowered, Held };
    const char* column;
    int month, day, hour, minute;
    int records; // toTheEnd: every record from there on
    double value;
    How how = Written;
};
constexpr int toTheEnd = -1;

// In WD_03_23.DAT (wswin_WD, a record every 30 minutes): on 14/03/2023 15:00 a spike 18 °C
// above the outdoor temperature; from 21/03/2023 01:00 to 06:30 the outdoor humidity sensor dead
// (0 %, out of range, 12 records); on 24/03/2023 16:30 a gust of 312.5 km/h, out of range; on
// 27/03/2023 12:00 a gust of 12.0 km/h under a mean wind of 20.0 km/h.
const std::vector<Fault> marchFaults = {
    {"Temp. E.", 3, 14, 15, 0, 1, 18.0, Fault::Added},
    {"Hum. E.", 3, 21, 1, 0, 12, 0},
    {"Rafales", 3, 24, 16, 30, 1, 312.5},
    {"Vit. Vent", 3, 27, 12, 0, 1, 20.0},
    {"Rafales", 3, 27, 12, 0, 1, 12.0},
};

// In ws2300.DAT: three records from 09/02/2023 03:00 with the outdoor sensors out of reach,
// where the station writes its no-data values, 81.1 °C, 110 % and 51.0 m/s (183.6 km/h); on
// 01/07/2023 00:00 the rain counter set back to zero. The type counts seconds in local time, so
// a machine in another time zone than the one that built the demo shows them at another hour.
const std::vector<Fault> ws2300Faults = {
    {"Temp. E.", 2, 9, 3, 0, 3, 81.1},
    {"Hum. E.", 2, 9, 3, 0, 3, 110},
    {"Vit. Vent", 2, 9, 3, 0, 3, 183.6},
    {"Pluie totale", 7, 1, 0, 0, toTheEnd, 0, Fault::Lowered},
};

// In ws3600.DAT: from 10/04/2023 06:00 to 13:30 (16 records) the pressure sensor stuck at its
// 06:00 reading; from 15/06/2023 10:00 to 12:00 (5 records) no gust measured, which the station
// writes as 51.0 km/h. (The three hours missing on 20/08/2023 are cut after these are planted.)
const std::vector<Fault> ws3600Faults = {
    {"Pression Rel.", 4, 10, 6, 0, 16, 0, Fault::Held},
    {"Rafales", 6, 15, 10, 0, 5, 51.0},
};

// The record of a date in a file of records every intervalMinutes from start.
int recordAt(DataFileType type, const QDateTime& start, int intervalMinutes, const QDateTime& when)
{
    const QDateTime first = Synthetic::firstDate(type, start);
    const QDateTime at = Synthetic::firstDate(type, when);
    return int(first.secsTo(at) / (intervalMinutes * 60));
}

bool plant(QByteArray& file, DataFileType type, const QDateTime& start, int intervalMinutes,
           const std::vector<Fault>& faults)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const int count = (file.size() - layout.headerSize - layout.trailerSize) / layout.recordSize;
    for (const Fault& fault : faults) {
        const QDateTime when(QDate(year, fault.month, fault.day), QTime(fault.hour, fault.minute));
        const int first = recordAt(type, start, intervalMinutes, when);
        const int end = fault.records == toTheEnd ? count : first + fault.records;
        const QString column = QString::fromUtf8(fault.column);
        const double base = Synthetic::cellValue(file, type, first, column);
        for (int record = first; record < end; ++record) {
            const double reading = Synthetic::cellValue(file, type, record, column);
            const double value = fault.how == Fault::Added     ? reading + fault.value
                                 : fault.how == Fault::Lowered ? reading - base
                                 : fault.how == Fault::Held    ? base
                                                               : fault.value;
            if (!Synthetic::setCellValue(file, type, record, column, value))
                return false;
        }
    }
    return true;
}

// The logger of WD_10_23.DAT set its clock back an hour at 03:00 on 29/10/2023, as the change to
// winter time does, and so stamped 02:00 and 02:30 twice.
bool setClockBack(QByteArray& file, const QDateTime& start, int intervalMinutes)
{
    const DataFileType type = DataFileType::WswinWD;
    const QDateTime change(QDate(year, 10, 29), QTime(3, 0));
    for (int record = recordAt(type, start, intervalMinutes, change);; ++record) {
        const QDateTime when =
            Synthetic::firstDate(type, start).addSecs(qint64(record) * intervalMinutes * 60 - 3600);
        if (!Synthetic::setRecordDate(file, type, record, when))
            return true;
    }
}

// The three hours of WS3600 records from 20/08/2023 09:00 that never reached the file.
void cutGap(QByteArray& file, const QDateTime& start, int intervalMinutes)
{
    const DataFileType type = DataFileType::WS3600;
    const Format::RecordLayout& layout = Format::layout(type);
    const int first =
        recordAt(type, start, intervalMinutes, QDateTime(QDate(year, 8, 20), QTime(9, 0)));
    file.remove(layout.headerSize + first * layout.recordSize, 6 * layout.recordSize);
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
            const bool wd = m.type == DataFileType::WswinWD;
            if ((wd && month == 3 && !plant(bytes, m.type, start, m.interval, marchFaults)) ||
                (wd && month == 10 && !setClockBack(bytes, start, m.interval)) ||
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
    if (!plant(bytes, type, start, 30, faults))
        return false;
    if (type == DataFileType::WS3600)
        cutGap(bytes, start, 30);
    return writeFile(folder.filePath(name), bytes);
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

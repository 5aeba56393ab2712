#include "synthetic.h"

#include "app/fenprincipale.h"

#include <QtEndian>
#include <QtMath>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>

namespace Synthetic
{
namespace
{

struct Reading {
    double tempIn = 20;
    double tempOut = 10;
    double tempMin = 10; // lowest and highest of the interval
    double tempMax = 10;
    double humIn = 45;
    double humOut = 75;
    double pressureSea = 1013;
    double pressureStation = 1001;
    double ground = 10;
    double rain = 0;
    double rainTotal = 0;
    double wind = 6;
    double gust = 12;
    double direction = 225;
    double uv = 0;
    double solar = 0;
};

// The state that carries from one reading to the next.
struct Weather {
    explicit Weather(quint32 seed) : random(seed) {}
    std::mt19937 random;
    Reading now;
    double warmthDrift = 0;
    int showerMinutesLeft = 0;
    double showerRate = 0; // mm per hour
};

double noise(Weather& w, double spread)
{
    return std::normal_distribution<double>(0.0, spread)(w.random);
}

double sunElevation(const QDateTime& when)
{
    const double day = when.date().dayOfYear();
    const double hour = when.time().hour() + when.time().minute() / 60.0;
    const double declination = 23.4 * qSin(2 * M_PI * (day - 81) / 365);
    const double latitude = 46.0;
    const double hourAngle = 15 * (hour - 13);
    const double elevation =
        qAsin(qSin(qDegreesToRadians(latitude)) * qSin(qDegreesToRadians(declination)) +
              qCos(qDegreesToRadians(latitude)) * qCos(qDegreesToRadians(declination)) *
                  qCos(qDegreesToRadians(hourAngle)));
    return qRadiansToDegrees(elevation);
}

void advance(Weather& w, const QDateTime& when, int minutes)
{
    Reading& r = w.now;
    const double day = when.date().dayOfYear();
    const double hour = when.time().hour() + when.time().minute() / 60.0;
    w.warmthDrift = std::clamp(w.warmthDrift + noise(w, 0.05 * minutes / 10.0), -4.0, 4.0);
    const double seasonal = 11 + 9 * qSin(2 * M_PI * (day - 110) / 365);
    const double daily = 5 * qSin(2 * M_PI * (hour - 9) / 24);
    r.tempOut = seasonal + daily + w.warmthDrift + noise(w, 0.1);
    r.tempMin = r.tempOut - std::abs(noise(w, 0.3));
    r.tempMax = r.tempOut + std::abs(noise(w, 0.3));
    r.tempIn = 20.5 + 0.15 * (r.tempOut - seasonal) + noise(w, 0.05);
    r.ground = seasonal + 0.3 * w.warmthDrift;
    r.pressureSea = std::clamp(r.pressureSea + noise(w, 0.08 * minutes / 10.0), 985.0, 1035.0);
    r.pressureStation = r.pressureSea - 11.8;

    if (w.showerMinutesLeft <= 0 &&
        std::uniform_real_distribution<>(0, 1)(w.random) < 0.0006 * minutes) {
        w.showerMinutesLeft = std::uniform_int_distribution<>(30, 240)(w.random);
        w.showerRate = std::uniform_real_distribution<>(0.2, 4.0)(w.random);
    }
    r.rain = 0;
    if (w.showerMinutesLeft > 0) {
        r.rain = w.showerRate * minutes / 60.0;
        w.showerMinutesLeft -= minutes;
    }
    r.rainTotal += r.rain;
    const double wet = w.showerMinutesLeft > 0 ? 15 : 0;
    r.humOut = std::clamp(72 - 3 * daily - 1.5 * w.warmthDrift + wet + noise(w, 1), 18.0, 100.0);
    r.humIn = std::clamp(45 + 0.2 * (r.humOut - 70) + noise(w, 0.5), 25.0, 70.0);

    // Wind keeps coming back to a calm mean of a few km/h, a little windier in winter.
    const double meanWind = 7 + 2 * qCos(2 * M_PI * (day - 15) / 365);
    const double pull = std::min(1.0, 0.1 * minutes / 30.0);
    r.wind = std::max(0.0, r.wind + pull * (meanWind - r.wind) + noise(w, 1.0));
    r.gust = r.wind * 1.4 + std::abs(noise(w, 3));
    if (std::uniform_real_distribution<>(0, 1)(w.random) < 0.05)
        r.direction = std::fmod(r.direction + 22.5 * (noise(w, 1) > 0 ? 1 : 15), 360.0);
    const double sun = std::max(0.0, sunElevation(when));
    r.solar = 1000 * qSin(qDegreesToRadians(sun)) * (w.showerMinutesLeft > 0 ? 0.3 : 1.0);
    r.uv = std::round(r.solar / 110);
}

// What a column of the demo station reads: its own sensor for the named columns; for the other
// channels of a quantity, a second sensor a little apart from the first (offset picks how far),
// so that every column measuring something reads plausibly.
double columnValue(const Reading& r, const Format::Field& field, const QString& name, int offset)
{
    struct Named {
        const char* name;
        double Reading::*value;
    };
    static const Named named[] = {
        {"Temp. I.", &Reading::tempIn},
        {"Temp. E.", &Reading::tempOut},
        {"Temp. E. Min", &Reading::tempMin},
        {"Temp. E. Max", &Reading::tempMax},
        {"Hum. I.", &Reading::humIn},
        {"Hum. E.", &Reading::humOut},
        {"Hum.", &Reading::humOut},
        {"Press. Rel.", &Reading::pressureSea},
        {"Pression Rel.", &Reading::pressureSea},
        {"Press. Abs.", &Reading::pressureStation},
        {"Pression Abs", &Reading::pressureStation},
        {"Pluie", &Reading::rain},
        {"Pluie totale", &Reading::rainTotal},
        {"Vit. Vent", &Reading::wind},
        {"Rafales", &Reading::gust},
        {"Direction", &Reading::direction},
        {"Index UV", &Reading::uv},
        {"Ray. Sol.", &Reading::solar},
    };
    for (const Named& n : named) {
        if (name == QLatin1String(n.name))
            return r.*(n.value);
    }
    switch (field.quantity) {
    case Format::Quantity::OutdoorTemperature:
        return r.tempOut + 0.4 * offset;
    case Format::Quantity::GroundTemperature:
        return r.ground - 0.5 * offset;
    case Format::Quantity::Humidity:
        return std::clamp(r.humOut + 3.0 * offset, 5.0, 100.0);
    default:
        return name == QLatin1String("ISS Réception") ? 100.0 : 0.0;
    }
}

template <typename T> void put(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

void putField(QByteArray& record, const Format::Field& field, double shown)
{
    using Format::CellRule;
    using Format::FieldType;
    const int divisor = Format::ruleDivisor(field.rule);
    const int decimals = Format::ruleDecimals(field.rule);
    const double scale = decimals > 0 ? std::pow(10.0, decimals) : 1.0;
    const double tidy = std::round(shown * scale) / scale;
    switch (field.type) {
    case FieldType::U8:
        put<quint8>(record, field.offset,
                    quint8(std::clamp(std::lround(tidy * divisor), 0L, 255L)));
        break;
    case FieldType::S16:
        put<qint16>(record, field.offset,
                    qint16(std::clamp(std::lround(tidy * divisor), -32768L, 32767L)));
        break;
    case FieldType::U16:
        put<quint16>(record, field.offset, quint16(std::lround(tidy)));
        break;
    case FieldType::U32:
        put<quint32>(record, field.offset,
                     field.rule == CellRule::DirectionCode ? quint32(std::lround(tidy / 22.5) % 16)
                                                           : quint32(std::lround(tidy)));
        break;
    case FieldType::F32:
        put<float>(record, field.offset,
                   float(field.rule == CellRule::MetresPerSecond ? tidy / 3.6 : tidy));
        break;
    case FieldType::F64:
        put<double>(record, field.offset, tidy);
        break;
    }
}

// The WS2300 counts the seconds that passed, on the local clock; the other types store the clock
// reading as it was, a plain date and time.
void putTimestamp(QByteArray& record, Format::Timestamp stamp, const QDateTime& when)
{
    const QString text = when.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
    switch (stamp) {
    case Format::Timestamp::DosWords: {
        DosDateTime words;
        FenPrincipale::textToDosDateTime(words, text);
        put<quint16>(record, 0, words.time);
        put<quint16>(record, 2, words.date);
        break;
    }
    case Format::Timestamp::Seconds: {
        const QDateTime anchor(QDate(2000, 1, 1), QTime(12, 0));
        put<quint32>(record, 4,
                     quint32(FenPrincipale::textToSeconds(
                                 anchor.toString(QStringLiteral("dd/MM/yyyy hh:mm"))) +
                             anchor.secsTo(when)));
        break;
    }
    case Format::Timestamp::DayNumber:
        put<double>(record, 0, FenPrincipale::textToDayNumber(text));
        break;
    }
}

const Format::Field* fieldNamed(const Format::RecordLayout& layout, const QString& column)
{
    for (int c = 0; c < layout.columnCount; ++c) {
        if (FenPrincipale::shortColumnName(QString::fromUtf8(layout.fields[c].header)) == column)
            return &layout.fields[c];
    }
    return nullptr;
}

// Where record starts in file; -1 past the records.
qint64 recordOffset(const QByteArray& file, const Format::RecordLayout& layout, int record)
{
    const qint64 offset = layout.headerSize + qint64(record) * layout.recordSize;
    const bool inside =
        record >= 0 && offset + layout.recordSize <= file.size() - layout.trailerSize;
    return inside ? offset : -1;
}

} // namespace

QDateTime firstDate(Format::DataFileType type, const QDateTime& start)
{
    return Format::layout(type).timestamp == Format::Timestamp::Seconds
               ? start
               : QDateTime(start.date(), start.time(), Qt::UTC);
}

bool setRecordDate(QByteArray& file, Format::DataFileType type, int record, const QDateTime& when)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const qint64 offset = recordOffset(file, layout, record);
    if (offset < 0)
        return false;
    QByteArray bytes = file.mid(int(offset), layout.recordSize);
    putTimestamp(bytes, layout.timestamp, when);
    file.replace(int(offset), layout.recordSize, bytes);
    return true;
}

QByteArray stationFile(Format::DataFileType type, const QDateTime& start, int intervalMinutes,
                       int count)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QStringList names;
    for (int c = 0; c < layout.columnCount; ++c)
        names << FenPrincipale::shortColumnName(QString::fromUtf8(layout.fields[c].header));

    QByteArray file;
    file.reserve(layout.headerSize + count * layout.recordSize + layout.trailerSize);
    file += QByteArray("Stratomark demo\0\0\0", layout.headerSize);

    // Each file its own weather, the same on every run.
    Weather weather(quint32(start.date().toJulianDay()));
    weather.now.pressureSea = 1013 + noise(weather, 8);
    QByteArray record(layout.recordSize, '\0');
    const QDateTime first = firstDate(type, start);
    for (int i = 0; i < count; ++i) {
        const QDateTime when = first.addSecs(qint64(i) * intervalMinutes * 60);
        advance(weather, when, intervalMinutes);
        record.fill('\0');
        putTimestamp(record, layout.timestamp, when);
        for (int c = 0; c < layout.columnCount; ++c)
            putField(record, layout.fields[c],
                     columnValue(weather.now, layout.fields[c], names.at(c), c % 3 - 1));
        file += record;
    }

    if (layout.trailerSize > 0) {
        QByteArray trailer(layout.trailerSize, '\0');
        put<quint32>(trailer, 16, quint32(count));
        const int first = layout.headerSize + 4;
        const int last = layout.headerSize + (count - 1) * layout.recordSize + 4;
        if (count > 0) {
            put<quint32>(trailer, 20, qFromLittleEndian<quint32>(file.constData() + first));
            put<quint32>(trailer, 24, qFromLittleEndian<quint32>(file.constData() + last));
        }
        file += trailer;
    }
    return file;
}

double cellValue(const QByteArray& file, Format::DataFileType type, int record,
                 const QString& column)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const Format::Field* field = fieldNamed(layout, column);
    const qint64 offset = recordOffset(file, layout, record);
    if (!field || offset < 0)
        return std::numeric_limits<double>::quiet_NaN();
    return FenPrincipale::fieldText(*field, file.constData() + offset).toDouble();
}

bool setCellValue(QByteArray& file, Format::DataFileType type, int record, const QString& column,
                  double shown)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const Format::Field* field = fieldNamed(layout, column);
    const qint64 offset = recordOffset(file, layout, record);
    if (!field || offset < 0)
        return false;
    QByteArray bytes = file.mid(int(offset), layout.recordSize);
    putField(bytes, *field, shown);
    file.replace(int(offset), layout.recordSize, bytes);
    return true;
}

} // namespace Synthetic

#include "data/textformat.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <iterator>

namespace TextFormat
{

namespace
{

constexpr int longestMantissa = 15;
constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr quint64 wholePowersOfTen[] = {1, 10, 100, 1000};
constexpr qint64 secondsPerDay = 86400;

qint64 floorDivide(qint64 value, qint64 divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// The magnitude of value x 10^decimals rounded half away from zero, as QString::number rounds
// the exact value of a double; false when it has more digits than the table's texts are read
// by, or none. The product is exact: a binary32 has 24 significant bits, and 10^3 needs 10.
bool shownDigits(float value, int decimals, quint64& digits)
{
    if (decimals < 0 || decimals > 3)
        return false;
    const double magnitude = std::abs(double(value) * powersOfTen[decimals]);
    if (!(magnitude < powersOfTen[longestMantissa]))
        return false;
    double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.5)
        whole += 1;
    digits = quint64(whole);
    return true;
}

} // namespace

void Chars::appendTwoDigits(unsigned value)
{
    if (value >= 100) {
        appendDigits(value);
        return;
    }
    data[length++] = char16_t(u'0' + value / 10);
    data[length++] = char16_t(u'0' + value % 10);
}

void Chars::appendFixed(quint64 digits, int decimals)
{
    char16_t reversed[24];
    int count = 0;
    for (int i = 0; i < decimals; ++i) {
        reversed[count++] = char16_t(u'0' + digits % 10);
        digits /= 10;
    }
    if (decimals > 0)
        reversed[count++] = u'.';
    do {
        reversed[count++] = char16_t(u'0' + digits % 10);
        digits /= 10;
    } while (digits > 0);
    while (count > 0)
        data[length++] = reversed[--count];
}

void Chars::assign(const QString& text)
{
    length = qMin(text.size(), int(std::size(data)));
    std::copy_n(text.utf16(), length, data);
}

void scaled(Chars& out, int value, int divisor)
{
    int decimals = 0;
    while (decimals < 3 && int(wholePowersOfTen[decimals]) != divisor)
        ++decimals;
    if (int(wholePowersOfTen[decimals]) != divisor) {
        out.assign(QString::number(double(value) / divisor, 'f', 1));
        return;
    }
    if (value < 0)
        out.append('-');
    out.appendFixed(quint64(std::abs(qint64(value))), decimals);
}

void real(Chars& out, float value, int decimals)
{
    quint64 digits = 0;
    if (!shownDigits(value, decimals, digits)) {
        out.assign(QString::number(double(value), 'f', decimals));
        return;
    }
    // A negative zero has no sign in Qt's text, any other negative value has one.
    if (value < 0)
        out.append('-');
    out.appendFixed(digits, decimals);
}

void integer(Chars& out, quint64 value)
{
    out.appendDigits(value);
}

double number(QStringView text, bool* isNumber)
{
    const QChar* c = text.data();
    const int size = int(text.size());
    int i = size > 0 && c[0] == QLatin1Char('-') ? 1 : 0;
    const bool negative = i == 1;
    qint64 mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (; i < size; ++i) {
        const ushort u = c[i].unicode();
        if (u >= '0' && u <= '9' && digits < longestMantissa) {
            mantissa = mantissa * 10 + (u - '0');
            ++digits;
            decimals += decimals >= 0 ? 1 : 0;
        } else if (u == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (i == size && digits > 0) {
        *isNumber = true;
        const double value = double(mantissa) / powersOfTen[qMax(0, decimals)];
        return negative ? -value : value;
    }
    const double value = text.toString().toDouble(isNumber);
    *isNumber = *isNumber && std::isfinite(value);
    return value;
}

double scaledNumber(int value, int divisor)
{
    if (divisor == 1 || divisor == 10 || divisor == 100 || divisor == 1000)
        return double(value) / divisor;
    Chars text;
    scaled(text, value, divisor);
    bool isNumber = false;
    return number(text.view(), &isNumber);
}

double realNumber(float value, int decimals, bool* isNumber)
{
    quint64 digits = 0;
    if (!shownDigits(value, decimals, digits)) {
        Chars text;
        real(text, value, decimals);
        return number(text.view(), isNumber);
    }
    *isNumber = true;
    const double shown = double(digits) / powersOfTen[decimals];
    return value < 0 ? -shown : shown;
}

Clock dosClock(quint16 time, quint16 date)
{
    Clock reading;
    reading.day = date & 0x1F;
    reading.month = (date >> 5) & 0x0F;
    reading.year = (date >> 9) + 1980;
    reading.hour = time >> 11;
    reading.minute = (time >> 5) & 0x3F;
    return reading;
}

// The civil date of a day count from 1970, by the proleptic Gregorian calendar in eras of 400
// years that begin on 1 March.
Clock plainClock(qint64 secondsSince1970)
{
    const qint64 days = floorDivide(secondsSince1970, secondsPerDay);
    const qint64 secondOfDay = secondsSince1970 - days * secondsPerDay;
    const qint64 shifted = days + 719468;
    const qint64 era = floorDivide(shifted, 146097);
    const qint64 dayOfEra = shifted - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    Clock reading;
    reading.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    reading.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    reading.year = int(yearOfEra + era * 400 + (reading.month <= 2 ? 1 : 0));
    reading.hour = int(secondOfDay / 3600);
    reading.minute = int(secondOfDay % 3600 / 60);
    return reading;
}

Clock localClock(qint64 secondsSince1970)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(secondsSince1970);
    return plainClock(secondsSince1970 + local.offsetFromUtc());
}

qint64 LocalClock::localSeconds(qint64 secondsSince1970)
{
    if (secondsSince1970 < from || secondsSince1970 > to) {
        const auto offsetAt = [](qint64 moment) {
            return QDateTime::fromSecsSinceEpoch(moment).offsetFromUtc();
        };
        offset = offsetAt(secondsSince1970);
        const qint64 dayStart = floorDivide(secondsSince1970, secondsPerDay) * secondsPerDay;
        const qint64 dayEnd = dayStart + secondsPerDay - 1;
        const bool wholeDay = offsetAt(dayStart) == offset && offsetAt(dayEnd) == offset;
        from = wholeDay ? dayStart : secondsSince1970;
        to = wholeDay ? dayEnd : secondsSince1970;
    }
    return secondsSince1970 + offset;
}

void clock(Chars& out, const Clock& reading)
{
    out.appendTwoDigits(unsigned(reading.day));
    out.append('/');
    out.appendTwoDigits(unsigned(reading.month));
    out.append('/');
    if (reading.year < 0)
        out.append('-');
    out.appendDigits(quint64(std::abs(qint64(reading.year))));
    out.append(' ');
    out.appendTwoDigits(unsigned(reading.hour));
    out.append(':');
    out.appendTwoDigits(unsigned(reading.minute));
}

qint64 minuteKey(const Clock& reading)
{
    if (!QDate::isValid(reading.year, reading.month, reading.day) ||
        !QTime::isValid(reading.hour, reading.minute, 0))
        return -1;
    return QDate(reading.year, reading.month, reading.day).toJulianDay() * 24 * 60 +
           reading.hour * 60 + reading.minute;
}

qint64 plainMinuteKey(qint64 secondsSince1970)
{
    constexpr qint64 julianDayOf1970 = 2440588;
    return julianDayOf1970 * 24 * 60 + floorDivide(secondsSince1970, 60);
}

// Read by position: a station's decade of dates is read and checked in an import, where a general
// date parser on every row would cost seconds.
bool readLabel(QStringView text, Clock& reading)
{
    if (text.size() != 16 || text.at(2) != QLatin1Char('/') || text.at(5) != QLatin1Char('/') ||
        text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':'))
        return false;
    bool digitsOnly = true;
    const auto number = [&](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const ushort c = text.at(i).unicode();
            digitsOnly = digitsOnly && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        return value;
    };
    reading.day = number(0, 2);
    reading.month = number(3, 2);
    reading.year = number(6, 4);
    reading.hour = number(11, 2);
    reading.minute = number(14, 2);
    return digitsOnly;
}

qint64 labelKey(QStringView text)
{
    Clock reading;
    return readLabel(text, reading) ? minuteKey(reading) : -1;
}

} // namespace TextFormat

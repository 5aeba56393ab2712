#ifndef STRATOMARK_TEXTFORMAT_H
#define STRATOMARK_TEXTFORMAT_H

#include <QString>
#include <QStringView>

#include <array>

// The texts the table shows for numbers and dates, and the numbers those texts read as, written
// digit by digit: a station's decade is millions of cells, and whatever reads the table makes
// their texts as it reads them. They are the texts QString::number gives, byte for byte.
namespace TextFormat
{

// A text of at most a few dozen Latin-1 characters, made without touching the heap.
class Chars
{
public:
    void append(char c) { data[length++] = char16_t(uchar(c)); }
    void appendTwoDigits(unsigned value);
    void appendDigits(quint64 value) { appendFixed(value, 0); }
    // digits with a decimal point before the last decimals of them, at least one before it.
    void appendFixed(quint64 digits, int decimals);
    void assign(const QString& text);
    int size() const { return length; }
    QStringView view() const { return QStringView(data, length); }
    QString toString() const { return QString(reinterpret_cast<const QChar*>(data), length); }

private:
    // A binary32 written in full with its decimals, the longest text made, takes 44. Left
    // unset: millions are made and read at once.
    char16_t data[64];
    int length = 0;
};

void scaled(Chars& out, int value, int divisor);
void real(Chars& out, float value, int decimals);
void integer(Chars& out, quint64 value);

// The number a text of the table reads as: the digits it shows, for the plain decimal texts the
// table writes, read far faster than by a general parser; anything else by the general one.
double number(QStringView text, bool* isNumber);
double scaledNumber(int value, int divisor);
double realNumber(float value, int decimals, bool* isNumber);

// A date and time as a row label shows them, whether or not they are a real date.
struct Clock {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

Clock dosClock(quint16 time, quint16 date);
// The clock reading secondsSince1970 seconds after 1970-01-01 00:00, as a plain reading.
Clock plainClock(qint64 secondsSince1970);
// The reading of the local clock at that moment, asked of the system.
Clock localClock(qint64 secondsSince1970);

// The local clock readings of many moments, as the WS2300 labels show them. The offset from UTC
// is asked of the system once for a whole UTC day whose two ends share it with the moment asked
// for: no time zone changes its offset twice within a day. The moments of a day with a clock
// change are each asked for.
class LocalClock
{
public:
    Clock at(qint64 secondsSince1970) { return plainClock(localSeconds(secondsSince1970)); }
    // The local clock reading as seconds of a plain clock from 1970.
    qint64 localSeconds(qint64 secondsSince1970);

private:
    qint64 from = 1;
    qint64 to = 0;
    int offset = 0;
};
void clock(Chars& out, const Clock& reading);
// Minutes from the start of the Julian days, a key that orders dates and whose differences are
// durations; -1 for a reading that is no real date and time.
qint64 minuteKey(const Clock& reading);
// The minute key of a plain clock reading secondsSince1970, which is always a real date.
qint64 plainMinuteKey(qint64 secondsSince1970);
// The key of a row label "dd/MM/yyyy hh:mm", or -1 for any other text.
qint64 labelKey(QStringView text);
bool readLabel(QStringView text, Clock& reading);

} // namespace TextFormat

#endif

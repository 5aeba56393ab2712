#include "app/fenprincipale.h"

#include <QtEndian>

#include <array>
#include <cmath>
#include <cstring>

namespace
{

// The product is formatted with six significant digits before the integer parse, so that a
// value a hair off a whole number (21.3f x 10 = 212.99999...) lands on it, while a value with
// more decimals than the column keeps a fraction that the parse refuses.
QString scaledProduct(const QString& text, int factor)
{
    return QString::number(double(text.toFloat()) * factor, 'g', 6);
}

} // namespace

void FenPrincipale::writeField(const Format::Field& field, char* record, const QString& text)
{
    using Format::WriteKind;
    char* target = record + field.offset;
    const int divisor = Format::ruleDivisor(field.rule);
    switch (field.write) {
    case WriteKind::ScaledSigned:
        qToLittleEndian<qint16>(scaledProduct(text, divisor).toShort(nullptr, 10), target);
        break;
    case WriteKind::ScaledUnsigned:
        qToLittleEndian<quint16>(scaledProduct(text, divisor).toUShort(nullptr, 10), target);
        break;
    case WriteKind::Word:
        qToLittleEndian<quint16>(text.toUShort(nullptr, 10), target);
        break;
    case WriteKind::Byte:
        *target = char(quint8(text.toUShort(nullptr, 10)));
        break;
    case WriteKind::Float:
        qToLittleEndian<float>(text.toFloat(), target);
        break;
    case WriteKind::FloatFromKmh:
        qToLittleEndian<float>(
            kmhToMetresPerSecond(text.toFloat(), Format::ruleDecimals(field.rule)), target);
        break;
    case WriteKind::U32:
        qToLittleEndian<quint32>(text.toUInt(nullptr, 10), target);
        break;
    case WriteKind::U32Low16:
        qToLittleEndian<quint16>(quint16(text.toUInt(nullptr, 10)), target);
        break;
    case WriteKind::Direction:
        qToLittleEndian<quint32>(quint32(std::lround(text.toFloat() / 22.5)), target);
        break;
    }
}

// The timestamp of a record, from a row label text in the encoding of its type.
void FenPrincipale::writeTimestamp(Format::Timestamp stamp, char* record, const QString& text)
{
    char* target = record + Format::timestampOffset(stamp);
    switch (stamp) {
    case Format::Timestamp::DosWords: {
        DosDateTime words;
        textToDosDateTime(words, text);
        qToLittleEndian<quint16>(words.time, target);
        qToLittleEndian<quint16>(words.date, target + 2);
        break;
    }
    case Format::Timestamp::Seconds:
        qToLittleEndian<quint32>(textToSeconds(text), target);
        break;
    case Format::Timestamp::DayNumber:
        qToLittleEndian<double>(textToDayNumber(text), target);
        break;
    }
}

char* FenPrincipale::documentRecord(int row) const
{
    char* buffer = recordBuffers[int(documentType)];
    if (!buffer || row < 0 || row >= recordCount)
        return nullptr;
    const qint64 record = row < holeRow ? row : row + holeSize;
    return buffer + record * Format::layout(documentType).recordSize;
}

// A text is only worth storing when its field, written and read back, holds the very number
// that was typed, trailing zeros aside ("21.30" is 21.3): otherwise the file would silently get a
// value the user never saw, such as 0 for "0.04" in a tenths field or 22.5 for "22.54" in a
// direction. A binary32 field keeps more decimals than it shows up to some thousands, but a rain
// counter grows past where it keeps even those: there it must come within half a shown unit.
bool FenPrincipale::fieldHolds(const Format::RecordLayout& layout, int column, const QString& text)
{
    using Format::WriteKind;
    const Format::Field& field = layout.fields[column];
    std::array<char, Format::largestRecordSize> scratch{};
    writeField(field, scratch.data(), text);
    if (field.write == WriteKind::Float || field.write == WriteKind::FloatFromKmh) {
        const double halfUnit = 0.5 / std::pow(10.0, Format::ruleDecimals(field.rule));
        return std::abs(double(fieldValue(field, scratch.data()).real) - text.toDouble()) <=
               halfUnit;
    }
    return fieldText(field, scratch.data()).toDouble() == text.toDouble();
}

#include "app/fenprincipale.h"

#include <QtEndian>

#include <cmath>

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
        qToLittleEndian<float>(float(text.toFloat() / 3.6), target);
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

char* FenPrincipale::documentRecord(int row) const
{
    char* buffer = recordBuffers[int(documentType)];
    if (!buffer || row < 0 || row >= recordCount)
        return nullptr;
    return buffer + qint64(row) * Format::layout(documentType).recordSize;
}

void FenPrincipale::writeCellToRecord(int row, int column, const QString& text)
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    char* record = documentRecord(row);
    if (!record || column < 0 || column >= layout.columnCount)
        return;
    writeField(layout.fields[column], record, text);
}

// A text is only worth storing when the field, written and read back, shows the number that
// was typed: otherwise the file would silently get a value the user never saw. The float
// columns hold any number of the accepted range.
bool FenPrincipale::fieldHolds(const Format::RecordLayout& layout, int column, const QString& text)
{
    using Format::WriteKind;
    const Format::Field& field = layout.fields[column];
    if (field.write == WriteKind::Float || field.write == WriteKind::FloatFromKmh)
        return true;
    QByteArray scratch(layout.recordSize, '\0');
    writeField(field, scratch.data(), text);
    const double stored = fieldText(field, scratch.constData()).toDouble();
    const int decimals = qMax(0, Format::ruleDecimals(field.rule));
    const double typed = QString::number(double(text.toFloat()), 'f', decimals).toDouble();
    return stored == typed;
}

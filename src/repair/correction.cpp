#include "repair/correction.h"

#include <cmath>

namespace
{

using Format::Field;
using Format::Quantity;
using Result = Correction::Result;

constexpr double fullTurn = 360;
// What a WS2300 or WS3600 vane stores: one of sixteen compass points.
constexpr double compassStep = 22.5;

enum class TimeFault { None, Undated, OutOfOrder };

QString columnName(const Field& field)
{
    return QString::fromUtf8(field.header).section(QLatin1Char('\n'), 0, 0);
}

Result refusal(const QString& reason)
{
    Result result;
    result.reason = reason;
    return result;
}

// A number as the cell editor takes it, "12,5" the French way included; "nan" and "inf" read as
// numbers but are none.
bool readNumber(const QString& text, double* value)
{
    QString plain = text.trimmed();
    if (plain.count(QLatin1Char(',')) == 1 && !plain.contains(QLatin1Char('.')))
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool isNumber = false;
    *value = plain.toDouble(&isNumber);
    return isNumber && std::isfinite(*value);
}

int keptDecimals(const Field& field)
{
    return qMax(0, Format::ruleDecimals(field.rule));
}

// Without a negative zero, which a cell would show as "-0.0".
double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double kept = std::round(value * scale) / scale;
    return kept == 0 ? 0.0 : kept;
}

bool hasNoData(const Field& field)
{
    return !std::isnan(field.noData);
}

bool isNoData(const Field& field, double value)
{
    const int decimals = keptDecimals(field);
    return hasNoData(field) && rounded(value, decimals) == rounded(field.noData, decimals);
}

bool isDirection(const Field& field)
{
    return field.quantity == Quantity::Direction;
}

// A direction is an angle: 350° and 10° lie 20° apart across the north, and 370° is 10°.
double turned(const Field& field, double value)
{
    if (!isDirection(field))
        return value;
    const double angle = std::fmod(value, fullTurn);
    return angle < 0 ? angle + fullTurn : angle;
}

QString valueText(const Field& field, double value)
{
    const int decimals = keptDecimals(field);
    double kept = rounded(value, decimals);
    if (isDirection(field) && kept == fullTurn)
        kept = 0;
    return QString::number(kept, 'f', decimals);
}

// Where each row's date lies from start (0) to end (1); every date is needed, and every one of
// them between the two.
TimeFault timeFractions(qint64 start, qint64 end, const QVector<qint64>& keys,
                        QVector<double>& fractions)
{
    if (start < 0 || end < 0)
        return TimeFault::Undated;
    fractions.resize(keys.size());
    for (int row = 0; row < keys.size(); ++row) {
        const qint64 key = keys.at(row);
        if (key < 0)
            return TimeFault::Undated;
        if (key < start || key > end || end <= start)
            return TimeFault::OutOfOrder;
        fractions[row] = double(key - start) / double(end - start);
    }
    return TimeFault::None;
}

// Quoted as the editing gate quotes a value: a page pasted by mistake would fill the dialog.
QString notANumber(const QString& typed)
{
    const int longest = 40;
    const QString text = typed.trimmed();
    return QStringLiteral("« %1 » n'est pas un nombre.")
        .arg(text.size() > longest ? text.left(longest) + QStringLiteral("…") : text);
}

// A typed value, or why there is none.
QString typedValue(const QString& typed, const QString& missing, double* value)
{
    if (typed.trimmed().isEmpty())
        return missing;
    return readNumber(typed, value) ? QString() : notANumber(typed);
}

// The value of a neighbour's cell that an interpolation can start from or lead to, or why it
// cannot.
QString neighbourValue(const Correction::Neighbour& neighbour, const Field& field, int column,
                       const QString& side, double* value)
{
    const QString& text = neighbour.texts.at(column);
    if (!readNumber(text, value))
        return QStringLiteral("%1 : la valeur juste %2 de la sélection (%3) n'est pas un nombre : "
                              "« %4 ».")
            .arg(columnName(field), side, neighbour.label, text);
    if (isNoData(field, *value))
        return QStringLiteral("%1 : la valeur juste %2 de la sélection (%3) est la valeur "
                              "absente de la station, %4.")
            .arg(columnName(field), side, neighbour.label, text);
    return QString();
}

QString interpolatedText(const Field& field, double from, double to, double fraction)
{
    double step = to - from;
    if (isDirection(field))
        step = std::remainder(step, fullTurn);
    double value = turned(field, from + step * fraction);
    if (field.rule == Format::CellRule::DirectionCode)
        value = std::round(value / compassStep) * compassStep;
    return valueText(field, value);
}

QString interpolationFault(const Correction::Block& block)
{
    if (block.above.texts.isEmpty() || block.below.texts.isEmpty())
        return QStringLiteral("Interpoler demande une valeur juste au-dessus et juste au-dessous "
                              "de la sélection : elle ne peut toucher ni la première ni la "
                              "dernière ligne du tableau.");
    for (const Field& field : block.fields) {
        if (field.quantity == Quantity::RainPerRecord)
            return QStringLiteral("%1 : interpoler la pluie de chaque enregistrement inventerait "
                                  "de la pluie. « Mettre à zéro » la retire.")
                .arg(columnName(field));
    }
    return QString();
}

Result interpolation(const Correction::Block& block)
{
    const QString fault = interpolationFault(block);
    if (!fault.isNull())
        return refusal(fault);
    QVector<double> fractions;
    switch (timeFractions(block.above.dateKey, block.below.dateKey, block.dateKeys, fractions)) {
    case TimeFault::None:
        break;
    case TimeFault::Undated:
        return refusal(QStringLiteral("Une ligne de la sélection, ou l'une des deux qui "
                                      "l'entourent, n'a pas de date : l'interpolation suit les "
                                      "dates des lignes."));
    case TimeFault::OutOfOrder:
        return refusal(QStringLiteral("Les dates de la sélection doivent aller de celle de la "
                                      "ligne juste au-dessus (%1) à celle de la ligne juste "
                                      "au-dessous (%2), plus tardive.")
                           .arg(block.above.label, block.below.label));
    }
    const int columns = block.columnCount();
    Result result;
    result.texts.resize(block.texts.size());
    for (int column = 0; column < columns; ++column) {
        const Field& field = block.fields.at(column);
        double from = 0;
        double to = 0;
        QString reason =
            neighbourValue(block.above, field, column, QStringLiteral("au-dessus"), &from);
        if (reason.isNull())
            reason = neighbourValue(block.below, field, column, QStringLiteral("au-dessous"), &to);
        if (!reason.isNull())
            return refusal(reason);
        for (int row = 0; row < block.rowCount(); ++row)
            result.texts[row * columns + column] =
                interpolatedText(field, from, to, fractions.at(row));
    }
    result.changed = result.texts.size();
    return result;
}

// The offset of each row, growing with time from first at the block's first row to last at its
// last, or why it cannot.
QString rowOffsets(const Correction::Block& block, double first, double last,
                   QVector<double>& offsets)
{
    offsets.fill(first, block.rowCount());
    if (last == first)
        return QString();
    QVector<double> fractions;
    switch (
        timeFractions(block.dateKeys.first(), block.dateKeys.last(), block.dateKeys, fractions)) {
    case TimeFault::None:
        break;
    case TimeFault::Undated:
        return QStringLiteral("Une ligne de la sélection n'a pas de date : la dérive suit les "
                              "dates des lignes.");
    case TimeFault::OutOfOrder:
        return QStringLiteral("Pour une dérive, la dernière ligne de la sélection doit être "
                              "datée après la première, et les autres entre les deux.");
    }
    for (int row = 0; row < offsets.size(); ++row)
        offsets[row] = first + (last - first) * fractions.at(row);
    return QString();
}

// A cell that holds no reading, a placeholder or the station's no-data value, keeps it: an
// offset corrects readings.
Result offset(const Correction::Block& block, const QString& typed, const QString& typedLast)
{
    double first = 0;
    QString reason = typedValue(typed, QStringLiteral("Tapez le décalage."), &first);
    double last = first;
    if (reason.isNull() && !typedLast.trimmed().isEmpty() && !readNumber(typedLast, &last))
        reason = notANumber(typedLast);
    QVector<double> offsets;
    if (reason.isNull())
        reason = rowOffsets(block, first, last, offsets);
    if (!reason.isNull())
        return refusal(reason);
    const int columns = block.columnCount();
    Result result;
    result.texts.resize(block.texts.size());
    for (int row = 0; row < block.rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const Field& field = block.fields.at(column);
            double value = 0;
            if (!readNumber(block.text(row, column), &value) || isNoData(field, value))
                continue;
            result.texts[row * columns + column] =
                valueText(field, turned(field, value + offsets.at(row)));
            ++result.changed;
        }
    }
    return result;
}

// The same value in every cell of the columns that valueOf gives one, NaN standing for none.
template <typename ValueOf> Result sameValue(const Correction::Block& block, ValueOf valueOf)
{
    const int columns = block.columnCount();
    Result result;
    result.texts.resize(block.texts.size());
    for (int column = 0; column < columns; ++column) {
        const Field& field = block.fields.at(column);
        const double value = valueOf(field);
        if (std::isnan(value))
            continue;
        const QString text = valueText(field, value);
        for (int row = 0; row < block.rowCount(); ++row)
            result.texts[row * columns + column] = text;
        result.changed += block.rowCount();
    }
    return result;
}

Result replacement(const Correction::Block& block, const QString& typed)
{
    double value = 0;
    const QString reason = typedValue(typed, QStringLiteral("Tapez la valeur."), &value);
    if (!reason.isNull())
        return refusal(reason);
    return sameValue(block, [value](const Field&) { return value; });
}

// A cell that would show the text it shows is left alone: a float field rewritten from its text
// could change bytes that no one sees, and the count tells what the correction really changes.
Result withoutUnchanged(const Correction::Block& block, Result result)
{
    for (int cell = 0; cell < result.texts.size(); ++cell) {
        QString& text = result.texts[cell];
        if (!text.isNull() && text == block.texts.at(cell)) {
            text = QString();
            --result.changed;
        }
    }
    return result;
}

Result computed(Correction::Kind kind, const Correction::Block& block, const QString& value,
                const QString& lastOffset)
{
    using Kind = Correction::Kind;
    switch (kind) {
    case Kind::Interpolate:
        return interpolation(block);
    case Kind::Offset:
        return offset(block, value, lastOffset);
    case Kind::Replace:
        return replacement(block, value);
    case Kind::NoData:
        return sameValue(block, [](const Field& field) { return field.noData; });
    case Kind::Zero:
        return sameValue(block, [](const Field& field) {
            return field.quantity == Quantity::RainPerRecord ? 0.0 : std::nan("");
        });
    }
    return Result();
}

QString counted(int cells, const QString& one, const QString& many)
{
    return cells == 1 ? one : many.arg(cells);
}

} // namespace

QVector<Correction::Kind> Correction::offeredKinds(const Block& block)
{
    QVector<Kind> kinds{Kind::Interpolate, Kind::Offset, Kind::Replace};
    bool noData = false;
    bool rain = false;
    for (const Field& field : block.fields) {
        noData = noData || hasNoData(field);
        rain = rain || field.quantity == Quantity::RainPerRecord;
    }
    if (noData)
        kinds.append(Kind::NoData);
    if (rain)
        kinds.append(Kind::Zero);
    return kinds;
}

Correction::Result Correction::compute(Kind kind, const Block& block, const QString& value,
                                       const QString& lastOffset)
{
    return withoutUnchanged(block, computed(kind, block, value, lastOffset));
}

QString Correction::operationName(Kind kind, int cells)
{
    switch (kind) {
    case Kind::Interpolate:
        return counted(cells, QStringLiteral("interpolation d'une cellule"),
                       QStringLiteral("interpolation de %1 cellules"));
    case Kind::Offset:
        return counted(cells, QStringLiteral("décalage d'une cellule"),
                       QStringLiteral("décalage de %1 cellules"));
    case Kind::Replace:
        return counted(cells, QStringLiteral("remplacement d'une cellule"),
                       QStringLiteral("remplacement de %1 cellules"));
    case Kind::NoData:
        return counted(cells, QStringLiteral("valeur absente dans une cellule"),
                       QStringLiteral("valeur absente dans %1 cellules"));
    case Kind::Zero:
        return counted(cells, QStringLiteral("mise à zéro d'une cellule"),
                       QStringLiteral("mise à zéro de %1 cellules"));
    }
    return QString();
}

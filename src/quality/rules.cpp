#include "quality/rules.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace Quality
{
namespace
{

using Format::Quantity;

// Away from both neighbours, on the same side, by more than jump.
bool isSpike(double value, double before, double after, double jump)
{
    return (value - before > jump && value - after > jump) ||
           (before - value > jump && after - value > jump);
}

qint32 thousandths(double millimetres)
{
    return qint32(std::llround(std::min(millimetres, 2e6) * 1000));
}

// The minutes from the first dated row to the last dated row of first..last; -1 when fewer
// than two are dated.
qint64 datedSpan(const QVector<qint64>& times, int first, int last)
{
    while (first < last && times.at(first) < 0)
        ++first;
    while (last > first && times.at(last) < 0)
        --last;
    return first < last ? times.at(last) - times.at(first) : -1;
}

class ColumnExamination
{
public:
    ColumnExamination(const Format::Field& field, const Stretch& stretch,
                      const QVector<qint64>& times)
        : field(field), range(Format::plausibleRange(field.quantity)), s(stretch), times(times)
    {
    }

    QVector<Finding> run(int from, int to)
    {
        QVector<Finding> found;
        for (int row = from; row <= to; ++row) {
            const qint32 detail = persistence(row);
            const Rule rule = firstRule(row, detail);
            if (rule == Rule::Undated)
                continue;
            const bool counter = rule == Rule::CounterFall || rule == Rule::CounterJump;
            found.append({row, rule,
                          rule == Rule::Persistence ? detail
                          : counter                 ? counterDetail
                                                    : 0});
        }
        return found;
    }

private:
    Kind kind(int row) const
    {
        const int i = row - s.firstRow;
        return i >= 0 && i < s.kinds.size() ? s.kinds.at(i) : Kind::NotANumber;
    }
    double value(int row) const { return s.values.at(row - s.firstRow); }

    // The rule that marks row, Undated standing for none: no cell rule marks a row so.
    Rule firstRule(int row, qint32 persistent)
    {
        if (kind(row) == Kind::NoData)
            return Rule::NoData;
        if (kind(row) != Kind::Reading)
            return Rule::Undated;
        const double v = value(row);
        if (v < range.lowest || v > range.highest)
            return Rule::Range;
        if (range.jump > 0 && kind(row - 1) == Kind::Reading && kind(row + 1) == Kind::Reading &&
            isSpike(v, value(row - 1), value(row + 1), range.jump))
            return Rule::Spike;
        if (field.quantity == Quantity::Gust && !s.winds.isEmpty()) {
            const int i = row - s.firstRow;
            if (s.windKinds.at(i) == Kind::Reading && v < s.winds.at(i))
                return Rule::GustBelowWind;
        }
        if (field.quantity == Quantity::RainTotal && kind(row - 1) == Kind::Reading) {
            const double rise = v - value(row - 1);
            counterDetail = thousandths(std::abs(rise));
            if (rise < 0)
                return Rule::CounterFall;
            if (rise > counterJump)
                return Rule::CounterJump;
        }
        return persistent >= 0 ? Rule::Persistence : Rule::Undated;
    }

    // The minutes of the run of equal readings that row belongs to when they make a dead
    // sensor, -1 otherwise; a run's bounds are found once for all its rows.
    qint32 persistence(int row)
    {
        if (!watchesPersistence(field) || kind(row) != Kind::Reading)
            return -1;
        if (row > runLast) {
            runFirst = row;
            runLast = row;
            const double v = value(row);
            while (kind(runFirst - 1) == Kind::Reading && value(runFirst - 1) == v)
                --runFirst;
            while (kind(runLast + 1) == Kind::Reading && value(runLast + 1) == v)
                ++runLast;
            const bool saturated =
                field.quantity == Quantity::OutdoorHumidity && v >= saturatedHumidity;
            const qint64 span = saturated ? -1 : datedSpan(times, runFirst, runLast);
            runMinutes = span >= persistenceMinutes ? qint32(std::min<qint64>(span, INT_MAX)) : -1;
        }
        return runMinutes;
    }

    const Format::Field& field;
    const Format::PlausibleRange& range;
    const Stretch& s;
    const QVector<qint64>& times;
    int runFirst = -1;
    int runLast = -1;
    qint32 runMinutes = -1;
    qint32 counterDetail = 0;
};

QString millimetres(qint32 thousandths)
{
    return QString::number(thousandths / 1000.0, 'f', 3);
}

} // namespace

// A pressure read to the whole hectopascal holds still for hours on any calm day: only a finer
// one tells a dead sensor.
bool watchesPersistence(const Format::Field& field)
{
    return field.quantity == Quantity::OutdoorTemperature ||
           field.quantity == Quantity::OutdoorHumidity ||
           (field.quantity == Quantity::Pressure && Format::ruleDecimals(field.rule) >= 1);
}

QVector<Finding> examineColumn(const Format::Field& field, const Stretch& stretch, int from, int to,
                               const QVector<qint64>& times)
{
    return ColumnExamination(field, stretch, times).run(from, to);
}

QVector<Finding> examineDates(const QVector<qint64>& times, int from, int to, qint64 usual)
{
    QVector<Finding> found;
    qint64 previous = undated;
    for (int row = from - 1; row >= 0 && previous < 0; --row)
        previous = times.at(row);
    const qint64 longest = std::max(gapFactor * usual, shortestGap);
    for (int row = from; row <= to; ++row) {
        const qint64 time = times.at(row);
        if (time == undated)
            found.append({row, Rule::Undated, 0});
        if (time < 0)
            continue;
        if (previous >= 0) {
            const qint64 step = time - previous;
            const qint32 minutes = qint32(std::min<qint64>(std::abs(step), INT_MAX));
            if (step < 0)
                found.append({row, Rule::DateBefore, minutes});
            else if (step == 0)
                found.append({row, Rule::DateRepeated, 0});
            else if (step > longest)
                found.append({row, Rule::DateGap, minutes});
        }
        previous = time;
    }
    return found;
}

qint64 usualInterval(const QVector<qint64>& times)
{
    QHash<qint64, int> steps;
    qint64 previous = -1;
    for (const qint64 time : times) {
        if (time < 0)
            continue;
        if (previous >= 0 && time > previous)
            ++steps[time - previous];
        previous = time;
    }
    return mostFrequentStep(steps);
}

qint64 mostFrequentStep(const QHash<qint64, int>& steps)
{
    qint64 usual = 0;
    int most = 0;
    for (auto step = steps.cbegin(); step != steps.cend(); ++step) {
        if (step.value() > most || (step.value() == most && step.key() < usual)) {
            usual = step.key();
            most = step.value();
        }
    }
    return usual;
}

// "45 min", "7 h 20", "3 j 4 h": to the minute below two days, to the hour beyond.
QString durationText(qint64 minutes)
{
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    if (minutes < 48 * 60) {
        const qint64 rest = minutes % 60;
        return rest == 0
                   ? QStringLiteral("%1 h").arg(minutes / 60)
                   : QStringLiteral("%1 h %2").arg(minutes / 60).arg(rest, 2, 10, QLatin1Char('0'));
    }
    const qint64 hours = minutes % (24 * 60) / 60;
    return hours == 0 ? QStringLiteral("%1 j").arg(minutes / (24 * 60))
                      : QStringLiteral("%1 j %2 h").arg(minutes / (24 * 60)).arg(hours);
}

QString ruleTitle(Rule rule)
{
    switch (rule) {
    case Rule::NoData:
        return QStringLiteral("Valeurs absentes de la station");
    case Rule::Range:
        return QStringLiteral("Hors des valeurs plausibles");
    case Rule::Spike:
        return QStringLiteral("Pics isolés");
    case Rule::GustBelowWind:
        return QStringLiteral("Rafale sous le vent moyen");
    case Rule::CounterFall:
        return QStringLiteral("Compteur de pluie en baisse");
    case Rule::CounterJump:
        return QStringLiteral("Compteur de pluie en hausse de plus de 50 mm");
    case Rule::Persistence:
        return QStringLiteral("Valeur inchangée 6 h ou plus");
    case Rule::DateBefore:
        return QStringLiteral("Date antérieure à la précédente");
    case Rule::DateRepeated:
        return QStringLiteral("Date répétée");
    case Rule::DateGap:
        return QStringLiteral("Trou dans les dates");
    case Rule::Undated:
        return QStringLiteral("Lignes sans date");
    }
    return QString();
}

QString reason(const Finding& finding, const Format::Field* field)
{
    const Format::PlausibleRange& range =
        Format::plausibleRange(field ? field->quantity : Quantity::None);
    switch (finding.rule) {
    case Rule::NoData:
        return QStringLiteral("Valeur absente de la station");
    case Rule::Range:
        return QStringLiteral("Hors des valeurs plausibles (de %1 à %2)")
            .arg(range.lowest)
            .arg(range.highest);
    case Rule::Spike:
        return QStringLiteral("Pic : plus de %1 d'écart avec ses deux voisins").arg(range.jump);
    case Rule::GustBelowWind:
        return QStringLiteral("Rafale plus faible que le vent moyen du même enregistrement");
    case Rule::CounterFall:
        return QStringLiteral("Compteur de pluie en baisse de %1 mm (remis à zéro ?)")
            .arg(millimetres(finding.detail));
    case Rule::CounterJump:
        return QStringLiteral("Compteur de pluie en hausse de %1 mm en un enregistrement")
            .arg(millimetres(finding.detail));
    case Rule::Persistence:
        return QStringLiteral("Valeur inchangée depuis %1").arg(durationText(finding.detail));
    case Rule::DateBefore:
        return QStringLiteral("Daté %1 avant l'enregistrement précédent")
            .arg(durationText(finding.detail));
    case Rule::DateRepeated:
        return QStringLiteral("Même date que l'enregistrement précédent");
    case Rule::DateGap:
        return QStringLiteral("Trou de %1 avant cet enregistrement")
            .arg(durationText(finding.detail));
    case Rule::Undated:
        return QStringLiteral("Ligne sans date");
    }
    return QString();
}

} // namespace Quality

#ifndef STRATOMARK_RULES_H
#define STRATOMARK_RULES_H

#include "data/formats.h"

#include <QHash>
#include <QString>
#include <QVector>

// The quality rules of station data: what makes a reading, or a record's date, worth a second
// look, by what its column measures. They read plain arrays, so that they run over a decade of
// records at once or over the few rows around a change alike.
namespace Quality
{

// In the order a cell's findings give way to one another: a cell shows only its first.
enum class Rule : quint8 {
    NoData,        // the value the station writes when it has no reading
    Range,         // outside the quantity's plausible readings
    Spike,         // away from both neighbours and back
    GustBelowWind, // a gust weaker than the mean wind of its record
    CounterFall,   // a rain counter that went down: a reset
    CounterJump,   // a rain counter that rose by more than counterJump in one record
    Persistence,   // a dead sensor: one value for persistenceMinutes or more
    DateBefore,    // a record dated before the dated record above it
    DateRepeated,  // the same date as the dated record above it
    DateGap,       // records missing before this one
    Undated,       // a row without a date
};
constexpr int ruleCount = int(Rule::Undated) + 1;

constexpr bool isDateRule(Rule rule)
{
    return rule >= Rule::DateBefore;
}

// What the cell's text is to the rules.
enum class Kind : quint8 { NotANumber, Reading, NoData };

// A finding of a rule at a row; detail is what its reason quotes: minutes for a duration, a gap
// or a date moved back, thousandths of a millimetre for a rain counter.
struct Finding {
    int row;
    Rule rule;
    qint32 detail;
};

// Minutes along the records' time, by row; undated for a row without a date, noRecord for the
// row of an empty file, which holds no record.
constexpr qint64 undated = -1;
constexpr qint64 noRecord = -2;

constexpr qint64 persistenceMinutes = 6 * 60;
constexpr double saturatedHumidity = 98; // fog holds humidity there for days
constexpr double counterJump = 50;       // mm
constexpr int gapFactor = 3;             // times the usual interval
constexpr qint64 shortestGap = 60;       // minutes

// The readings of one column over consecutive rows, with the mean wind of each record for a
// gust column.
struct Stretch {
    int firstRow = 0; // the row of values[0]
    QVector<double> values;
    QVector<Kind> kinds;
    QVector<double> winds;
    QVector<Kind> windKinds;
};

bool watchesPersistence(const Format::Field& field);

// The findings of rows from to to of a column, in row order. The stretch holds the row before
// and the row after where the table has them, and every row of a run of equal values that
// reaches into from..to; times holds every row of the table.
QVector<Finding> examineColumn(const Format::Field& field, const Stretch& stretch, int from, int to,
                               const QVector<qint64>& times);

// The date findings of rows from to to, each measured against the dated row above it.
QVector<Finding> examineDates(const QVector<qint64>& times, int from, int to, qint64 usual);

// The step between dated records found most often (the shortest of equals); 0 when none.
qint64 usualInterval(const QVector<qint64>& times);
// The same of steps already counted, by length.
qint64 mostFrequentStep(const QHash<qint64, int>& steps);

QString durationText(qint64 minutes);
QString ruleTitle(Rule rule);
QString reason(const Finding& finding, const Format::Field* field);

} // namespace Quality

#endif

#ifndef STRATOMARK_SYNTHETIC_H
#define STRATOMARK_SYNTHETIC_H

#include "data/formats.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Plausible, reproducible station files for the demo workspace and the benchmark: a daily and
// yearly temperature cycle, humidity that follows it, drifting pressure, showers and wind.
namespace Synthetic
{

// A whole file of the given type: header or trailer included, count records every
// intervalMinutes from start. The WS2300's records follow the local clock, over its changes as a
// station does; the other types' plain dates follow each other at even steps.
QByteArray stationFile(Format::DataFileType type, const QDateTime& start, int intervalMinutes,
                       int count);

// The value that a cell of such a file shows, and writing another over it: how the demo plants
// its faults. column is the column's short name, such as "Temp. E."; NaN, or false, for a
// column or a record that the file does not have.
double cellValue(const QByteArray& file, Format::DataFileType type, int record,
                 const QString& column);
bool setCellValue(QByteArray& file, Format::DataFileType type, int record, const QString& column,
                  double shown);

// The date of the first record of a file from start, in the time its type steps along.
QDateTime firstDate(Format::DataFileType type, const QDateTime& start);
// Stamps a record with another date; false for a record that the file does not have.
bool setRecordDate(QByteArray& file, Format::DataFileType type, int record, const QDateTime& when);

} // namespace Synthetic

#endif

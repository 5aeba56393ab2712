#ifndef STRATOMARK_SYNTHETIC_H
#define STRATOMARK_SYNTHETIC_H

#include "data/formats.h"

#include <QByteArray>
#include <QDateTime>

// Plausible, reproducible station files for the demo workspace and the benchmark: a daily and
// yearly temperature cycle, humidity that follows it, drifting pressure, showers and wind.
namespace Synthetic
{

// A whole file of the given type: header or trailer included, count records every
// intervalMinutes from start.
QByteArray stationFile(Format::DataFileType type, const QDateTime& start, int intervalMinutes,
                       int count);

} // namespace Synthetic

#endif

#ifndef STRATOMARK_CELLSTATE_H
#define STRATOMARK_CELLSTATE_H

#include <QtGlobal>

// What a cell's text says of the station: a plausible reading, a reading worth a second look
// (outside its quantity's plausible range, or a spike away from both neighbours), or the value
// the station writes when it has no reading, which is no reading at all.
enum class CellState : quint8 { Reading, Suspect, NoData };

#endif

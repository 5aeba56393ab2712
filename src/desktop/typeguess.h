#ifndef STRATOMARK_TYPEGUESS_H
#define STRATOMARK_TYPEGUESS_H

#include "data/formats.h"

#include <QString>

#include <optional>

// The type of a station file, from what its name and size can tell: a monthly name gives its
// wswin type; otherwise a size that only one of the two station histories can have gives that
// one. Nothing when both fit, or neither: the user chooses then.
namespace TypeGuess
{
std::optional<Format::DataFileType> of(const QString& fileName, qint64 size);
}

#endif

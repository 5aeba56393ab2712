#include "workspace/monthlyname.h"

#include <QFileInfo>
#include <QStringList>

namespace
{

// Longer year fields cannot be years; they read as 0, like an unreadable one, which also keeps
// the century arithmetic far from overflowing.
constexpr int longestYearField = 4;

} // namespace

MonthlyName MonthlyName::of(const QFileInfo& file)
{
    const QStringList fields =
        file.baseName().section(QLatin1Char('-'), 0, 0).split(QLatin1Char('_'));
    if (fields.size() != 3 || fields.at(0).isEmpty())
        return {};
    const QString& yearField = fields.at(2);
    const int twoDigits = yearField.size() > longestYearField ? 0 : yearField.toInt();
    return {fields.at(0), fields.at(1), twoDigits > 90 ? 1900 + twoDigits : 2000 + twoDigits};
}

#include "desktop/typeguess.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace
{

// A name read as monthly must say a month and a year, so that a history exported as
// "WS_2300_export.DAT" is not taken for one; a card may show it in lower case.
std::optional<Format::DataFileType> monthlyType(const QString& fileName)
{
    static const QRegularExpression monthly(
        QStringLiteral("^W([SDM])_(0[1-9]|1[0-2])_[0-9]{2}(-.*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = monthly.match(QFileInfo(fileName).baseName());
    if (!match.hasMatch())
        return std::nullopt;
    return Format::typeNamed(
        (QStringLiteral("wswin_W") + match.captured(1).toUpper()).toStdString());
}

// Whole records and the layout's header and trailer, with something in them.
bool sizeFits(Format::DataFileType type, qint64 size)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const qint64 payload = size - layout.headerSize - layout.trailerSize;
    return size > 0 && payload >= 0 && payload % layout.recordSize == 0;
}

} // namespace

std::optional<Format::DataFileType> TypeGuess::of(const QString& fileName, qint64 size)
{
    if (const auto monthly = monthlyType(fileName))
        return monthly;
    const bool ws2300 = sizeFits(Format::DataFileType::WS2300, size);
    const bool ws3600 = sizeFits(Format::DataFileType::WS3600, size);
    if (ws2300 == ws3600)
        return std::nullopt;
    return ws2300 ? Format::DataFileType::WS2300 : Format::DataFileType::WS3600;
}

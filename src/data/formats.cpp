#include "app/fenprincipale.h"

QStringList FenPrincipale::headerList(Format::DataFileType type)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QStringList headers;
    headers.reserve(layout.columnCount);
    for (int column = 0; column < layout.columnCount; ++column)
        headers.append(QString::fromUtf8(layout.fields[column].header));
    return headers;
}

// Settings keys, the sensor dialog and printing name a column by its header's first line.
QString FenPrincipale::shortColumnName(const QString& header)
{
    return header.section(QLatin1Char('\n'), 0, 0);
}

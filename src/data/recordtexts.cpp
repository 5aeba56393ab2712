#include "data/recordtexts.h"

#include "app/fenprincipale.h"

RecordTexts::RecordTexts(const FenPrincipale& window, Format::DataFileType type)
    : window(window), layout(Format::layout(type))
{
}

const char* RecordTexts::recordOf(int row) const
{
    return window.documentRecord(row);
}

TextFormat::Clock RecordTexts::clockOf(const char* record) const
{
    return FenPrincipale::timestampClock(layout.timestamp, record, &localClock);
}

void RecordTexts::cellChars(int row, int column, TextFormat::Chars& text) const
{
    const char* record = recordOf(row);
    if (record && column >= 0 && column < layout.columnCount)
        FenPrincipale::fieldChars(layout.fields[column], record, text);
}

void RecordTexts::labelChars(int row, TextFormat::Chars& text) const
{
    if (const char* record = recordOf(row))
        TextFormat::clock(text, clockOf(record));
}

void RecordTexts::readLabelKeys(int firstRow, int count, qint64* keys) const
{
    for (int i = 0; i < count; ++i) {
        const char* record = recordOf(firstRow + i);
        keys[i] = record ? FenPrincipale::timestampKey(layout.timestamp, record, localClock) : -1;
    }
}

void RecordTexts::readNumbers(int column, int firstRow, int count, double* numbers,
                              bool* isNumber) const
{
    const bool isField = column >= 0 && column < layout.columnCount;
    for (int i = 0; i < count; ++i) {
        const char* record = isField ? recordOf(firstRow + i) : nullptr;
        isNumber[i] = false;
        numbers[i] =
            record ? FenPrincipale::fieldNumber(layout.fields[column], record, &isNumber[i]) : 0.0;
    }
}

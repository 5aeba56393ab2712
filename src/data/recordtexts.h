#ifndef STRATOMARK_RECORDTEXTS_H
#define STRATOMARK_RECORDTEXTS_H

#include "data/formats.h"
#include "table/tablemodel.h"

#include <functional>

// The texts of a document's records as the table shows them, made when a cell or label is asked
// for: the records are the only copy of the readings the table holds.
class RecordTexts final : public TableModel::Source
{
public:
    // The record of a table row, or null for a row that holds none.
    using RecordOf = std::function<const char*(int row)>;

    RecordTexts(Format::DataFileType type, RecordOf recordOf);

    void cellChars(int row, int column, TextFormat::Chars& text) const override;
    void labelChars(int row, TextFormat::Chars& text) const override;
    void readLabelKeys(int firstRow, int count, qint64* keys) const override;
    void readNumbers(int column, int firstRow, int count, double* numbers,
                     bool* isNumber) const override;

private:
    TextFormat::Clock clockOf(const char* record) const;

    const Format::RecordLayout& layout;
    RecordOf recordOf;
    mutable TextFormat::LocalClock localClock;
};

#endif

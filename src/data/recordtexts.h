#ifndef STRATOMARK_RECORDTEXTS_H
#define STRATOMARK_RECORDTEXTS_H

#include "data/formats.h"
#include "table/tablemodel.h"

class FenPrincipale;

// The texts of a document's records as the table shows them, made when a cell or label is asked
// for: the records are the only copy of the readings the table holds.
class RecordTexts final : public TableModel::Source
{
public:
    RecordTexts(const FenPrincipale& window, Format::DataFileType type);

    void cellChars(int row, int column, TextFormat::Chars& text) const override;
    void labelChars(int row, TextFormat::Chars& text) const override;
    void readLabelKeys(int firstRow, int count, qint64* keys) const override;
    void readNumbers(int column, int firstRow, int count, double* numbers,
                     bool* isNumber) const override;

private:
    TextFormat::Clock clockOf(const char* record) const;
    // The record of a table row, or null for a row that holds none.
    const char* recordOf(int row) const;

    const FenPrincipale& window;
    const Format::RecordLayout& layout;
    mutable TextFormat::LocalClock localClock;
};

#endif

#include "app/fenprincipale.h"
#include "table/tablemodel.h"

void FenPrincipale::fenModifDate(int) {}

void FenPrincipale::set_verticalheader_item() {}

// Gives row the date and time of text, in its label and in its record's timestamp, both or
// neither: false when the row has no record or its timestamp cannot hold that date.
bool FenPrincipale::setRowDate(int row, const QString& text)
{
    char* record = documentRecord(row);
    const Format::Timestamp stamp = Format::layout(documentType).timestamp;
    if (!record || !timestampHolds(stamp, text))
        return false;
    writeTimestamp(stamp, record, text);
    model->setHeaderData(row, Qt::Vertical, text, Qt::EditRole);
    return true;
}

#include "app/fenprincipale.h"
#include "data/recordtexts.h"
#include "desktop/windowmemory.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QTableView>
#include <QtEndian>

namespace
{

template <typename T> T fieldAt(const char* record, int offset)
{
    return qFromLittleEndian<T>(record + offset);
}

} // namespace

QString FenPrincipale::timestampText(Format::Timestamp stamp, const char* record)
{
    TextFormat::Chars text;
    TextFormat::clock(text, timestampClock(stamp, record));
    return text.toString();
}

FenPrincipale::CellValue FenPrincipale::fieldValue(const Format::Field& field, const char* record)
{
    using Format::CellRule;
    using Format::FieldType;
    CellValue cell;
    switch (field.type) {
    case FieldType::U8:
        cell.scaled = quint8(record[field.offset]);
        break;
    case FieldType::S16:
        cell.scaled = fieldAt<qint16>(record, field.offset);
        break;
    case FieldType::U16:
        cell.integer = fieldAt<quint16>(record, field.offset);
        break;
    case FieldType::U32:
        cell.integer = fieldAt<quint32>(record, field.offset);
        break;
    case FieldType::F32:
        cell.real = fieldAt<float>(record, field.offset);
        break;
    case FieldType::F64:
        cell.real = float(fieldAt<double>(record, field.offset));
        break;
    }
    cell.isScaled = field.type == FieldType::U8 || field.type == FieldType::S16;
    cell.divisor = Format::ruleDivisor(field.rule);
    cell.decimals = Format::ruleDecimals(field.rule);
    if (field.rule == CellRule::MetresPerSecond)
        cell.real = metresPerSecondToKmh(cell.real);
    else if (field.rule == CellRule::DirectionCode)
        cell.real = float(cell.integer * 22.5);
    return cell;
}

void FenPrincipale::fieldChars(const Format::Field& field, const char* record,
                               TextFormat::Chars& text)
{
    const CellValue cell = fieldValue(field, record);
    if (cell.isScaled)
        TextFormat::scaled(text, cell.scaled, cell.divisor);
    else if (cell.decimals < 0)
        TextFormat::integer(text, cell.integer);
    else
        TextFormat::real(text, cell.real, cell.decimals);
}

QString FenPrincipale::fieldText(const Format::Field& field, const char* record)
{
    TextFormat::Chars text;
    fieldChars(field, record, text);
    return text.toString();
}

// The number the field's text reads as, without the text.
double FenPrincipale::fieldNumber(const Format::Field& field, const char* record, bool* isNumber)
{
    const CellValue cell = fieldValue(field, record);
    if (cell.isScaled || cell.decimals < 0) {
        *isNumber = true;
        return cell.isScaled ? TextFormat::scaledNumber(cell.scaled, cell.divisor)
                             : double(cell.integer);
    }
    return TextFormat::realNumber(cell.real, cell.decimals, isNumber);
}

// The table shows the records as they are asked for: building it reads none of them.
void FenPrincipale::buildTable()
{
    if (!recordBuffers[int(documentType)])
        return;
    enableDocumentActions(false);

    const Format::RecordLayout& layout = Format::layout(documentType);
    // The model lets go of the texts it showed before they go.
    auto texts = std::make_unique<RecordTexts>(*this, documentType);
    model->resetTable(recordCount, layout.columnCount, texts.get());
    recordTexts = std::move(texts);
    model->setHeaderLabels(Qt::Horizontal, headerLists[int(documentType)], Qt::EditRole);

    connect(model, &TableModel::dataChanged, this, &FenPrincipale::modif_donnees,
            Qt::UniqueConnection);
    connect(tableView, &QTableView::clicked, this, &FenPrincipale::cell_select,
            Qt::UniqueConnection);
    AppSettings(ApplyColumnVisibility);
    // Measuring a hundred rows of texts costs more than the rest of a small file's loading: only
    // columns without a width of their own are measured.
    for (int column : windowMemory->restoreColumns(documentType))
        tableView->resizeColumnToContents(column);
    enableDocumentActions(true);
    review->attach(model, documentType, [this](int row) { return rowTime(row); });
    updateWindowTitle();
    documentOpened();
}

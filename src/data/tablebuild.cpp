#include "app/fenprincipale.h"
#include "desktop/windowmemory.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QPointer>
#include <QProgressDialog>
#include <QTableView>
#include <QtEndian>

#include <cstring>

namespace
{

template <typename T> T fieldAt(const char* record, int offset)
{
    return qFromLittleEndian<T>(record + offset);
}

// Enough progress steps for a smooth bar and a prompt "Annuler", without running the event
// loop for each of hundreds of thousands of rows.
constexpr int progressSteps = 1000;

} // namespace

QString FenPrincipale::timestampText(Format::Timestamp stamp, const char* record)
{
    switch (stamp) {
    case Format::Timestamp::DosWords:
        return dosDateTimeToText(fieldAt<quint16>(record, 0), fieldAt<quint16>(record, 2));
    case Format::Timestamp::Seconds:
        return secondsToText(fieldAt<quint32>(record, 4));
    case Format::Timestamp::DayNumber:
        return dayNumberToText(fieldAt<double>(record, 0));
    }
    return QString();
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

QString FenPrincipale::fieldText(const Format::Field& field, const char* record)
{
    const CellValue cell = fieldValue(field, record);
    return cell.isScaled ? scaledText(cell.scaled, cell.divisor)
                         : floatText(cell.real, cell.integer, cell.decimals);
}

void FenPrincipale::setCellFromField(int row, int column, const Format::Field& field,
                                     const char* record)
{
    const CellValue cell = fieldValue(field, record);
    if (cell.isScaled)
        setScaledCell(row, column, cell.scaled, cell.divisor);
    else
        setFloatCell(row, column, cell.real, cell.integer, cell.decimals);
}

void FenPrincipale::buildTable()
{
    // Whatever ran since the file was read may have cleared the document; there is nothing left
    // to build then.
    if (!recordBuffers[int(documentType)])
        return;
    enableDocumentActions(false);
    delete model;

    const int type = int(documentType);
    const Format::RecordLayout& layout = Format::layout(documentType);
    model = new TableModel(recordCount, layout.columnCount, nullptr);
    model->setHeaderLabels(Qt::Horizontal, headerLists[type], Qt::EditRole);
    // Any event pass, from the one that shows the dialog on, may clear the document, which
    // deletes this model, and may even load another file: the build then stops at once and
    // leaves the window to whatever cleared it.
    const QPointer<TableModel> building(model);
    const auto progress =
        showProgress(QStringLiteral("Création du tableau"), QStringLiteral("Annuler"), recordCount);

    const int step = qMax(1, recordCount / progressSteps);
    for (int row = 0; row < recordCount; ++row) {
        if (row % step == 0) {
            progress->setValue(row);
            if (!building || progress->wasCanceled()) {
                cellTexts.clear();
                if (building)
                    clearTable();
                return;
            }
        }
        const char* record = recordBuffers[type] + qint64(row) * layout.recordSize;
        model->setHeaderData(row, Qt::Vertical, timestampText(layout.timestamp, record),
                             Qt::EditRole);
        for (int column = 0; column < layout.columnCount; ++column)
            setCellFromField(row, column, layout.fields[column], record);
    }
    cellTexts.clear();

    installModel(model);
    connect(model, &TableModel::dataChanged, this, &FenPrincipale::modif_donnees);
    connect(tableView, &QTableView::clicked, this, &FenPrincipale::cell_select,
            Qt::UniqueConnection);
    AppSettings(ApplyColumnVisibility);
    tableView->resizeColumnsToContents();
    windowMemory->restoreColumns(documentType);
    enableDocumentActions(true);
    review->attach(model, documentType, [this](int row) { return rowTime(row); });
    updateWindowTitle();
    documentOpened();
}

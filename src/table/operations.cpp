#include "table/operations.h"

#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <array>
#include <climits>
#include <cstring>

RecordChange::RecordChange(FenPrincipale& window, const QString& text)
    : QUndoCommand(text), window(window), recordSize(Format::layout(window.documentType).recordSize)
{
}

// A cell that shows its record's own text keeps none before the change.
void RecordChange::change(int row, int column, const QString& text)
{
    const QString* put = window.model->putAt(row, modelColumn(column));
    change(row, column, text, put ? *put : QString());
}

void RecordChange::change(int row, int column, const QString& text, const QString& shown)
{
    const int record = recordIndex(row);
    if (record < 0)
        return;
    char* changed = after.data() + qint64(record) * recordSize;
    const Format::RecordLayout& layout = Format::layout(window.documentType);
    if (column == labelColumn)
        FenPrincipale::writeTimestamp(layout.timestamp, changed, text);
    else
        writeField(layout.fields[column], column, changed, text);
    const bool isOwn = shown.isNull() || window.model->sourceShows(row, modelColumn(column), shown);
    cells.append({record, column, isOwn ? QString() : shown, text});
}

int RecordChange::modelColumn(int column)
{
    return column == labelColumn ? TableModel::Put::labelColumn : column;
}

// A text that many cells share, as an import's are, is written into its field once: the bytes
// are kept by the text's own characters, which the cells keep alive while the change is built.
void RecordChange::writeField(const Format::Field& field, int column, char* record,
                              const QString& text)
{
    const int size = Format::fieldSize(field.type);
    const auto key = qMakePair(column, text.constData());
    auto written = fieldBytes.constFind(key);
    if (written == fieldBytes.cend()) {
        std::array<char, Format::largestRecordSize> scratch{};
        FenPrincipale::writeField(field, scratch.data(), text);
        quint64 bytes = 0;
        std::memcpy(&bytes, scratch.data() + field.offset, size_t(size));
        written = fieldBytes.insert(key, bytes);
    }
    std::memcpy(record + field.offset, &written.value(), size_t(size));
}

// The index of row's record among those changed, its bytes kept on its first change; -1 for a
// row that holds no record.
int RecordChange::recordIndex(int row)
{
    if (!rows.isEmpty() && rows.last() == row)
        return rows.size() - 1;
    const auto known = indexOfRow.constFind(row);
    if (known != indexOfRow.cend())
        return known.value();
    const char* record = window.documentRecord(row);
    if (!record)
        return -1;
    rows.append(row);
    indexOfRow.insert(row, rows.size() - 1);
    before.append(record, recordSize);
    after.append(record, recordSize);
    return rows.size() - 1;
}

void RecordChange::undo()
{
    apply(false);
    window.showChangedCell(rows.at(cells.first().record), cells.first().column);
}

// The first time is the operation being done, with the user's selection left as it is; after
// that, the cell it changed first is made current, as for an undo.
void RecordChange::redo()
{
    apply(true);
    if (redone)
        window.showChangedCell(rows.at(cells.first().record), cells.first().column);
    redone = true;
    indexOfRow = QHash<int, int>();
    fieldBytes = QHash<QPair<int, const QChar*>, quint64>();
}

// Once the records hold what the change writes, the texts they show themselves need not be kept:
// the table makes them again.
void RecordChange::forgetOwnTexts()
{
    for (Cell& cell : cells) {
        if (window.model->sourceShows(rows.at(cell.record), modelColumn(cell.column), cell.after))
            cell.after = QString();
    }
}

// Puts every changed record, cell and label in its state before or after, then tells the
// table's followers once for the block of cells and the run of labels that changed.
void RecordChange::apply(bool toAfter)
{
    const QByteArray& bytes = toAfter ? after : before;
    for (int i = 0; i < rows.size(); ++i)
        std::memcpy(window.documentRecord(rows.at(i)), bytes.constData() + qint64(i) * recordSize,
                    size_t(recordSize));
    TableModel* model = window.model;
    if (toAfter && !redone)
        forgetOwnTexts();
    int firstRow = INT_MAX, lastRow = -1, firstColumn = INT_MAX, lastColumn = -1;
    int firstLabel = INT_MAX, lastLabel = -1;
    QVector<TableModel::Put> texts;
    for (const Cell& cell : cells) {
        const int row = rows.at(cell.record);
        const QString& text = toAfter ? cell.after : cell.before;
        if (!text.isNull() || !model->puts().isEmpty())
            texts.append({row, modelColumn(cell.column), text});
        if (cell.column == labelColumn) {
            firstLabel = qMin(firstLabel, row);
            lastLabel = qMax(lastLabel, row);
        } else {
            firstRow = qMin(firstRow, row);
            lastRow = qMax(lastRow, row);
            firstColumn = qMin(firstColumn, cell.column);
            lastColumn = qMax(lastColumn, cell.column);
        }
    }
    model->putAll(std::move(texts));
    window.recordEdits = false;
    if (lastRow >= 0)
        model->announceCells(firstRow, lastRow, firstColumn, lastColumn);
    if (lastLabel >= 0)
        model->announceLabels(firstLabel, lastLabel);
    window.recordEdits = true;
}

RowInsertion::RowInsertion(FenPrincipale& window, int position)
    : QUndoCommand(QStringLiteral("ajout d'une ligne")), window(window), position(position),
      replacesEmptyRow(window.model->rowCount() != window.recordCount)
{
}

void RowInsertion::undo()
{
    window.removeRecordRows({position});
    if (replacesEmptyRow)
        window.model->insertRowsWith(0, 1, {});
}

void RowInsertion::redo()
{
    window.insertRecordRow(position);
}

RowRemoval::RowRemoval(FenPrincipale& window, const QVector<int>& rows)
    : QUndoCommand(rows.size() == 1 ? QStringLiteral("suppression d'une ligne")
                                    : QStringLiteral("suppression de %1 lignes").arg(rows.size())),
      window(window), rows(rows)
{
    const int recordSize = Format::layout(window.documentType).recordSize;
    records.reserve(rows.size() * recordSize);
    for (const int row : rows)
        records.append(window.documentRecord(row), recordSize);
    puts = window.model->putsOfRows(rows);
}

void RowRemoval::undo()
{
    window.restoreRecordRows(rows, records, puts);
}

void RowRemoval::redo()
{
    window.removeRecordRows(rows);
}

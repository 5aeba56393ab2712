#ifndef STRATOMARK_TABLEMODEL_H
#define STRATOMARK_TABLEMODEL_H

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>

// The grid of texts behind the central table: one row per record, one column per sensor value.
// It knows nothing of records; the window listens to dataChanged to write edits back.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    TableModel(int rows, int columns, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;
    bool insertRows(int position, int count, const QModelIndex& parent) override;
    bool insertColumns(int position, int count, const QModelIndex& parent) override;
    bool removeRows(int position, int count, const QModelIndex& parent) override;
    bool removeColumns(int position, int count, const QModelIndex& parent) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text of a cell inside the table, without the variant that data() wraps it in: what
    // reads every cell of a large table.
    const QString& cellText(int row, int column) const { return text(row, column); }

    // The most rows a table of that many columns can hold: the texts of all its cells share one
    // vector, and Qt keeps a vector in one block of at most INT_MAX bytes.
    static qint64 maximumRows(int columns);

    // Bulk changes for the history: texts and labels put without a signal, then announced once
    // for the block they lie in, so that a change of a hundred thousand cells is one repaint
    // and one re-examination.
    void putText(int row, int column, const QString& text) { this->text(row, column) = text; }
    void putLabel(int row, const QString& text) { setLabel(row, text); }
    void announceCells(int firstRow, int lastRow, int firstColumn, int lastColumn);
    void announceLabels(int firstRow, int lastRow);
    // Inserts rows at position with their labels and their cells' texts, row after row, in place
    // before anyone is told of them.
    bool insertFilledRows(int position, const QStringList& rowLabels,
                          const QVector<QString>& cells);

    // What the row labels show beyond their text (a background, a tooltip), by row and role; none
    // when empty.
    using LabelMarks = std::function<QVariant(int row, int role)>;
    void setLabelMarks(LabelMarks marks) { labelMarks = std::move(marks); }

    bool removeExtraRows();
    bool setHeaderLabels(int orientation, const QVariant& labels, int role);

    // The text that the latest successful setData overwrote; the editing gate puts it back
    // when it refuses a new text.
    QString previousText;

private:
    // A row label of up to sixteen Latin-1 characters, which every date label is, is kept in
    // place; any other lives in longLabels, under its row's slot.
    struct Label {
        std::array<char, 16> latin1{};
        qint8 size = 0; // -1: in longLabels
    };

    bool isCell(const QModelIndex& index) const;
    int slotWidth() const { return horizontalHeaders.size(); }
    QString& text(int row, int column);
    const QString& text(int row, int column) const;
    QString label(int row) const;
    void setLabel(int row, const QString& label);
    int takeSlot();
    void releaseSlot(int slot);

    // A row lives in a slot: its label, and its cells in texts. Rows point at their slots, so
    // that removing or inserting rows moves slot numbers, never the texts, and a table of
    // hundreds of thousands of records loses a thousand scattered rows at once.
    QVector<QString> texts;
    QVector<Label> labels;
    QHash<int, QString> longLabels;
    QVector<int> rowSlots;
    QVector<int> freeSlots;
    QStringList horizontalHeaders;
    LabelMarks labelMarks;
};

#endif

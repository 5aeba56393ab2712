#ifndef STRATOMARK_TABLEMODEL_H
#define STRATOMARK_TABLEMODEL_H

#include "data/textformat.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include <functional>

// The grid of texts behind the central table: one row per record, one column per sensor value.
// A cell shows the text its row's source makes for it when asked, unless a text was put into it;
// only the texts put are kept. The window listens to dataChanged to write edits back.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // What the rows show where nothing was put into them. Rows it has nothing for show empty
    // texts, which read as no number and no date.
    class Source
    {
    public:
        virtual ~Source() = default;
        virtual void cellChars(int row, int column, TextFormat::Chars& text) const = 0;
        virtual void labelChars(int row, TextFormat::Chars& text) const = 0;
        // The minute keys of the labels of rows firstRow to firstRow + count - 1
        // (TextFormat::minuteKey), -1 for a label that is no date.
        virtual void readLabelKeys(int firstRow, int count, qint64* keys) const = 0;
        // The numbers that cells firstRow to firstRow + count - 1 of column read as.
        virtual void readNumbers(int column, int firstRow, int count, double* numbers,
                                 bool* isNumber) const = 0;
    };

    // A text put into a cell, or into a row label (column labelColumn), that its source does not
    // make for it.
    struct Put {
        static constexpr int labelColumn = -1;
        int row = 0;
        int column = 0;
        QString text;
    };

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

    // Starts the table afresh, as a new model of that shape showing the source's rows would: one
    // reset for its views, where installing a new model in each would reconnect them all. The
    // source is the window's, which keeps it alive until the next reset; none gives empty texts.
    // Its columns are those of the model, which then takes no column in or out.
    void resetTable(int rows, int columns, const Source* rowSource);

    // What reads many cells of a large table reads them through these, without a variant per
    // cell, and without a text where a number or a comparison is all it needs.
    QString cellText(int row, int column) const;
    void appendCellText(QString& line, int row, int column) const;
    bool cellShows(int row, int column, QStringView text) const;
    QString labelText(int row) const;
    void appendLabelText(QString& line, int row) const;
    bool labelShows(int row, QStringView text) const;
    qint64 labelKey(int row) const;
    void readLabelKeys(int firstRow, int count, qint64* keys) const;
    // The text put into a cell (or, for labelColumn, a label); null when it shows its source's.
    const QString* putAt(int row, int column) const { return findPut(row, column); }
    void readNumbers(int column, int firstRow, int count, double* numbers, bool* isNumber) const;
    // The texts put, by row and column, labels first.
    const QVector<Put>& puts() const { return putTexts; }
    QVector<Put> putsOfRows(const QVector<int>& rows) const;

    // The most rows a table can hold: the view and the quality rules keep a few bytes per row in
    // single vectors, and Qt keeps a vector in one block of at most INT_MAX bytes.
    static qint64 maximumRows();

    // Whether the row's source makes text for the cell (or, for labelColumn, the label).
    bool sourceShows(int row, int column, QStringView text) const;

    // Bulk changes for the history: texts and labels put without a signal, then announced once
    // for the block they lie in, so that a change of a hundred thousand cells is one repaint
    // and one re-examination. Of texts put twice into a cell, the later one stays; a null text
    // takes back what was put, and the cell shows its source's text again.
    void putAll(QVector<Put> batch);
    void announceCells(int firstRow, int lastRow, int firstColumn, int lastColumn);
    void announceLabels(int firstRow, int lastRow);
    // Inserts count rows at position with the texts put into them (their rows counted in the
    // table once inserted), in place before anyone is told of them.
    bool insertRowsWith(int position, int count, const QVector<Put>& rowPuts);

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
    void shape(int rowCount, int columns);
    bool isCell(const QModelIndex& index) const;
    void sourceChars(int row, int column, TextFormat::Chars& text) const;
    const QString* findPut(int row, int column) const;
    void putText(int row, int column, const QString& text);
    QVector<Put>::iterator putsFrom(int row, int column = Put::labelColumn);
    QVector<Put>::const_iterator putsFrom(int row, int column = Put::labelColumn) const;
    void shiftPuts(int fromRow, int by);

    int rows = 0;
    QStringList horizontalHeaders;
    const Source* source = nullptr;
    QVector<Put> putTexts;
    LabelMarks labelMarks;
};

#endif

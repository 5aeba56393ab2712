#ifndef STRATOMARK_SPREADSHEETBLOCK_H
#define STRATOMARK_SPREADSHEETBLOCK_H

#include <QString>
#include <QVector>

// A block of cells as spreadsheets pass it through the clipboard: a line a row, its fields
// separated by tabs. No cell text or number holds a tab, a line break or a quote worth keeping,
// so fields are never quoted, either way.
class SpreadsheetBlock
{
public:
    // The texts of a block, row after row, columns to a row, as lines that each end with "\n".
    static QString toText(const QVector<QString>& texts, int columns);
    // The block that text holds, its fields without the spaces around them; one that isBlock()
    // says is none when text cannot be a block of values, or has more than mostFields fields.
    static SpreadsheetBlock parse(const QString& text, qint64 mostFields);

    bool isBlock() const { return fault.isNull(); }
    // Why the text is no block, in words for the user.
    const QString& whyNoBlock() const { return fault; }
    int rowCount() const { return rows; }
    int columnCount() const { return columns; }
    const QString& field(int row, int column) const { return fields.at(row * columns + column); }
    // Whether some field is not empty: an empty field changes nothing.
    bool holdsValue() const;

private:
    static SpreadsheetBlock noBlock(const QString& reason);

    int rows = 0;
    int columns = 0;
    QVector<QString> fields;
    QString fault;
};

#endif

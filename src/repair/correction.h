#ifndef STRATOMARK_CORRECTION_H
#define STRATOMARK_CORRECTION_H

#include "data/formats.h"

#include <QString>
#include <QStringList>
#include <QVector>

// A correction of a block of cells, worked out from the block's texts and dates alone: the
// dialog's preview and what the window writes come from the same texts, to the digit.
class Correction
{
public:
    enum class Kind { Interpolate, Offset, Replace, NoData, Zero };

    // A row next to the block, which an interpolation starts from or leads to.
    struct Neighbour {
        QString label;
        qint64 dateKey = -1; // minutes; -1 for an undated row
        // One a column of the block; none where the block touches the end of the table.
        QVector<QString> texts;
    };

    struct Block {
        QVector<Format::Field> fields; // the block's columns
        QStringList labels;            // its rows
        QVector<qint64> dateKeys;      // one a row, in minutes; -1 for an undated row
        QVector<QString> texts;        // row after row
        Neighbour above;
        Neighbour below;

        int rowCount() const { return labels.size(); }
        int columnCount() const { return fields.size(); }
        const QString& text(int row, int column) const
        {
            return texts.at(row * columnCount() + column);
        }
    };

    struct Result {
        // Why the correction cannot be done, in words for the user; null when it can.
        QString reason;
        // Each cell's new text, row after row, rounded to its column's decimals; a null text
        // for a cell left as it is.
        QVector<QString> texts;
        int changed = 0;
    };

    // The no-data value and zeroing only make sense where a column of the block has them.
    static QVector<Kind> offeredKinds(const Block& block);
    // value: the offset or the replacing value, as typed in a cell; lastOffset: the offset of
    // the block's last row, which makes the offset grow with time from the first row's, or
    // empty for the same offset everywhere.
    static Result compute(Kind kind, const Block& block, const QString& value,
                          const QString& lastOffset);
    // The operation's name in the edit history.
    static QString operationName(Kind kind, int cells);
};

#endif

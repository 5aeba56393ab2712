#include "repair/spreadsheetblock.h"

#include <algorithm>

namespace
{

// Spreadsheets on Windows end lines with "\r\n", older ones on the Mac with "\r" alone.
bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Binary data read as text is full of control characters, or of the replacement character where
// its bytes formed no UTF-8; no text copied from a spreadsheet holds either.
bool isNoText(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter;
}

const QString noBlockStart =
    QStringLiteral("Le presse-papiers ne contient pas un bloc de valeurs : ");

} // namespace

QString SpreadsheetBlock::toText(const QVector<QString>& texts, int columns)
{
    int size = texts.size();
    for (const QString& text : texts)
        size += text.size();
    QString block;
    block.reserve(size);
    for (int i = 0; i < texts.size(); ++i) {
        block += texts.at(i);
        block += (i + 1) % columns == 0 ? QLatin1Char('\n') : QLatin1Char('\t');
    }
    return block;
}

// The line breaks that end the text are no rows: a spreadsheet ends its last line, and a text
// editor may add empty lines after it, which would change no cell anyway. Every line must have as
// many fields as the first: a block that is not square would put values beside the cells they
// were copied from. Splitting stops past mostFields, so that a text of mere tabs never fills the
// memory with empty fields.
SpreadsheetBlock SpreadsheetBlock::parse(const QString& text, qint64 mostFields)
{
    SpreadsheetBlock block;
    int end = text.size();
    while (end > 0 && isLineBreak(text.at(end - 1)))
        --end;
    int fieldStart = 0;
    int lineFields = 0;
    for (int i = 0; i <= end && end > 0; ++i) {
        const QChar c = i < end ? text.at(i) : QLatin1Char('\n');
        if (c != QLatin1Char('\t') && !isLineBreak(c)) {
            if (isNoText(c))
                return noBlock(noBlockStart +
                               QStringLiteral("sa ligne %1 contient un caractère qui n'est pas du "
                                              "texte (U+%2).")
                                   .arg(block.rows + 1)
                                   .arg(QString::number(c.unicode(), 16)
                                            .toUpper()
                                            .rightJustified(4, QLatin1Char('0'))));
            continue;
        }
        block.fields.append(text.midRef(fieldStart, i - fieldStart).trimmed().toString());
        if (block.fields.size() > mostFields)
            return noBlock(QStringLiteral("Le presse-papiers contient plus de champs que le "
                                          "tableau n'a de cellules affichées.\nRien n'est collé."));
        ++lineFields;
        if (isLineBreak(c)) {
            if (block.rows == 0)
                block.columns = lineFields;
            else if (lineFields != block.columns)
                return noBlock(noBlockStart +
                               QStringLiteral("sa ligne %1 n'a pas autant de champs que la "
                                              "première (%2 contre %3).")
                                   .arg(block.rows + 1)
                                   .arg(lineFields)
                                   .arg(block.columns));
            ++block.rows;
            lineFields = 0;
            if (c == QLatin1Char('\r') && i + 1 < end && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        }
        fieldStart = i + 1;
    }
    return block;
}

bool SpreadsheetBlock::holdsValue() const
{
    return std::any_of(fields.cbegin(), fields.cend(),
                       [](const QString& field) { return !field.isEmpty(); });
}

SpreadsheetBlock SpreadsheetBlock::noBlock(const QString& reason)
{
    SpreadsheetBlock block;
    block.fault = reason;
    return block;
}

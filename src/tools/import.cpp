#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QTableView>
#include <QTextCodec>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace
{

// No export of a table comes near this many bytes a cell; a spreadsheet's quotes and notes fit in
// the rest, of the file and of a line.
constexpr qint64 importBytesPerCell = 64;
constexpr qint64 importSlack = 1 << 20;
constexpr qint64 importLineSlack = 1 << 16;

const QString lineCountReason =
    QStringLiteral("Le fichier ne contient pas le même nombre de lignes que le tableau");

// A spreadsheet set to commas writes its title line, and every line, with them; a name in quotes
// may hold either.
QChar importSeparator(const QString& title)
{
    bool quoted = false;
    for (const QChar c : title) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char(';') || c == QLatin1Char(',')))
            return c;
    }
    return QLatin1Char(';');
}

// Views of the line's own text, so that a value that the table already shows costs no copy.
QVector<QStringRef> fieldRefs(const QStringList& fields)
{
    QVector<QStringRef> refs;
    refs.reserve(fields.size());
    for (const QString& field : fields)
        refs.append(QStringRef(&field));
    return refs;
}

struct ViewHash {
    std::size_t operator()(QStringView view) const { return qHash(view); }
};

} // namespace

// What the editing gate says of each distinct value of each column, and the text the table keeps
// of it. A decade holds millions of values but a few thousand distinct ones a column: each is
// checked once, and its cells share one text, as a load's do.
struct ImportChecks {
    struct Checked {
        QString raw;
        QString text;
        QString reason;
    };
    // Keys are views of their Checked's raw text.
    std::vector<std::unordered_map<QStringView, Checked, ViewHash>> columns;
    // Only a ";" file can hold French numbers: in a "," file a comma inside a quoted number
    // separates thousands.
    bool decimalComma = false;
};

void FenPrincipale::fenImporter()
{
    if (!hasDocument())
        return;
    commitOpenEditor();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importer un fichier"), exchangeFolder(false),
        QStringLiteral("Fichier CSV (*.csv);;Fichier TXT (*.txt);;*.*"));
    if (path.isEmpty())
        return;
    rememberExchangeFolder(path, false);
    importFile(path);
}

// Values reach the cells, the records and the edit history through the editing gate, and dates
// the labels and timestamps the way a date change writes them. A value or date that a line
// leaves as the table shows it is not written again, so that a file imported unchanged changes
// no byte of the records. A file that is no import of this table changes nothing: one too large
// to be one is refused before it is read, and one with a line too many, or far too long, as soon
// as it comes.
void FenPrincipale::importFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        showError(QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
        return;
    }
    const qint64 largest =
        (qint64(recordCount) + 1) * (model->columnCount() + 2) * importBytesPerCell + importSlack;
    if (file.size() > largest) {
        showError(
            QStringLiteral("Le fichier (%1) est bien plus grand qu'un export de ce tableau :\n")
                .arg(QLocale(QLocale::French)
                         .formattedDataSize(file.size(), 1, QLocale::DataSizeSIFormat)) +
            path);
        return;
    }

    const auto progress =
        showProgress(QStringLiteral("Lecture du fichier à importer"), QString(), recordCount);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QStringList lines;
    const QString unreadable = readImportLines(file, lines);
    file.close();
    if (!unreadable.isNull()) {
        progress->close();
        showError(unreadable);
        return;
    }
    const QChar separator = importSeparator(lines.first());
    const QStringList title = importFields(lines.first(), separator);
    const QVector<int> targets = importTargets(title);
    const QString mismatch = importMismatch(lines, title, targets, separator);
    if (!mismatch.isNull()) {
        progress->close();
        showError(mismatch);
        return;
    }

    progress->setLabelText(QStringLiteral("Import des données..."));
    QVector<CellWrite> writes;
    QVector<RefusedWrite> refused;
    importRows(lines, separator, targets, *progress, writes, refused);
    progress->close();
    if (!refused.isEmpty() && !importDespiteRefusals(refused, !writes.isEmpty()))
        return;
    applyWrites(writes, QStringLiteral("import de « %1 »").arg(QFileInfo(path).fileName()));
}

// Reads the file's lines into lines, a title and then one a row, and says why, in words for the
// user, when they cannot be an export of this table: reading stops at the first line too many or
// far too long, so that a file picked by mistake never fills the memory. Spreadsheets often end a
// file with empty lines, which are no rows.
//
// The export writes ISO 8859-1; a spreadsheet may save the same file as UTF-8, with or without a
// byte-order mark. A file whose bytes do not all form UTF-8 is read again as ISO 8859-1, and
// plain ASCII reads the same either way.
QString FenPrincipale::readImportLines(QFile& file, QStringList& lines) const
{
    const qint64 expected = qint64(recordCount) + 1;
    const qint64 longest = (model->columnCount() + 2) * importBytesPerCell + importLineSlack;
    const QByteArray byteOrderMark("\xEF\xBB\xBF");
    QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
    for (const bool latin1 : {false, true}) {
        lines.clear();
        file.seek(0);
        qint64 emptyLines = 0;
        bool marked = false;
        bool decoded = true;
        while (decoded && !file.atEnd()) {
            QByteArray line = file.readLine(longest);
            if (!line.endsWith('\n') && !file.atEnd())
                return QStringLiteral("La ligne %1 du fichier est bien plus longue qu'une ligne "
                                      "d'export de ce tableau.")
                    .arg(lines.size() + emptyLines + 1);
            if (line.endsWith('\n'))
                line.chop(1);
            if (line.isEmpty()) {
                ++emptyLines;
                continue;
            }
            if (lines.size() + emptyLines >= expected)
                return lineCountReason;
            for (; emptyLines > 0; --emptyLines)
                lines.append(QString());
            if (lines.isEmpty() && line.startsWith(byteOrderMark)) {
                marked = true;
                line.remove(0, byteOrderMark.size());
            }
            QTextCodec::ConverterState state;
            lines.append(latin1 ? QString::fromLatin1(line)
                                : utf8->toUnicode(line.constData(), line.size(), &state));
            decoded = marked || (state.invalidChars == 0 && state.remainingChars == 0);
        }
        if (decoded)
            break;
    }
    return lines.size() == expected ? QString() : lineCountReason;
}

// The fields of a line. A spreadsheet puts a field in double quotes when it likes, doubling the
// quotes inside: they are no part of the field.
QStringList FenPrincipale::importFields(const QString& line, QChar separator)
{
    const QChar quote = QLatin1Char('"');
    if (!line.contains(quote))
        return line.split(separator);
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == quote && quoted && i + 1 < line.size() && line.at(i + 1) == quote) {
            field += quote;
            ++i;
        } else if (c == quote) {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

// Why a file with a line a row is still no import of this table, in words for the user; a null
// text when it is one. A title that names neither the date and the time nor a column, or lines
// not separated as the title, would change nothing (on those lines) and look like success.
QString FenPrincipale::importMismatch(const QStringList& lines, const QStringList& title,
                                      const QVector<int>& targets, QChar separator) const
{
    const bool namesDates = title.size() >= 2 && title.at(0) == QLatin1String("Date") &&
                            title.at(1) == QLatin1String("Heure");
    if (!namesDates && std::all_of(targets.begin(), targets.end(), [](int c) { return c < 0; }))
        return QStringLiteral("Aucune colonne du tableau n'est nommée dans la ligne de titre du "
                              "fichier (séparateur lu : « %1 »).")
            .arg(separator);
    // A line of one field is merely short; one with the other separator is another file's.
    const QChar other = separator == QLatin1Char(';') ? QLatin1Char(',') : QLatin1Char(';');
    int stray = -1;
    bool anySeparated = false;
    for (int i = 1; i < lines.size(); ++i) {
        const bool separated = lines.at(i).contains(separator);
        anySeparated |= separated;
        if (stray < 0 && !separated && lines.at(i).contains(other))
            stray = i;
    }
    if (stray < 0 && !anySeparated && lines.size() > 1)
        stray = 1;
    if (stray < 0)
        return QString();
    return QStringLiteral("La ligne %1 du fichier n'est pas séparée par « %2 » comme sa ligne de "
                          "titre.")
        .arg(stray + 1)
        .arg(separator);
}

// Reads the data lines into the writes they ask for, checked by the editing gate, with the
// document actions off: nothing is written yet.
void FenPrincipale::importRows(const QStringList& lines, QChar separator,
                               const QVector<int>& targets, QProgressDialog& progress,
                               QVector<CellWrite>& writes, QVector<RefusedWrite>& refused)
{
    enableDocumentActions(false);
    ImportChecks checks;
    checks.columns.resize(size_t(model->columnCount()));
    checks.decimalComma = separator == QLatin1Char(';');
    const int step = qMax(1, recordCount / toolProgressSteps);
    for (int row = 0; row < recordCount; ++row) {
        const QString& line = lines.at(row + 1);
        if (line.contains(QLatin1Char('"'))) {
            const QStringList unquoted = importFields(line, separator);
            importLine(row, fieldRefs(unquoted), targets, checks, writes, refused);
        } else {
            importLine(row, line.splitRef(separator), targets, checks, writes, refused);
        }
        if (row % step == 0)
            progress.setValue(row);
    }
    enableDocumentActions(true);
}

// For each field of the title line, the table column it names, or -1: the date and the time,
// and names of no column (a column added in a spreadsheet, a note), are no values. A name that
// two columns share goes to the first of them not yet taken.
QVector<int> FenPrincipale::importTargets(const QStringList& titleFields) const
{
    QVector<int> targets(titleFields.size(), -1);
    QVector<bool> taken(model->columnCount(), false);
    for (int field = 2; field < titleFields.size(); ++field) {
        for (int column = 0; column < model->columnCount(); ++column) {
            if (!taken.at(column) && columnExportName(column) == titleFields.at(field)) {
                targets[field] = column;
                taken[column] = true;
                break;
            }
        }
    }
    return targets;
}

// The writes of one data line into row: its date and values where they differ from what the
// table shows, "12,5" being 12.5 in a ";" file. A field the line does not have, or leaves empty,
// leaves its cell as it is.
void FenPrincipale::importLine(int row, const QVector<QStringRef>& fields,
                               const QVector<int>& targets, ImportChecks& checks,
                               QVector<CellWrite>& writes, QVector<RefusedWrite>& refused) const
{
    if (fields.size() >= 2) {
        const QString date = fields.at(0).trimmed() + QLatin1Char(' ') + fields.at(1).trimmed();
        if (!model->labelShows(row, date))
            sortOut({row, CellWrite::dateColumn, date}, writes, refused);
    }
    const int count = qMin(fields.size(), targets.size());
    for (int field = 2; field < count; ++field) {
        const int column = targets.at(field);
        const QStringRef& raw = fields.at(field);
        if (column < 0 || raw.trimmed().isEmpty())
            continue;
        auto& checked = checks.columns[size_t(column)];
        auto known = checked.find(QStringView(raw));
        if (known == checked.end()) {
            ImportChecks::Checked value{raw.toString(), QString(), QString()};
            value.text = checks.decimalComma ? decimalPoint(value.raw) : value.raw.trimmed();
            value.reason = refusalReason(row, column, value.text);
            known = checked.emplace(QStringView(value.raw), value).first;
        }
        const ImportChecks::Checked& value = known->second;
        if (model->cellShows(row, column, value.text))
            continue;
        if (value.reason.isNull())
            writes.append({row, column, value.text});
        else
            refused.append({{row, column, value.text}, value.reason});
    }
}

// An import is done whole or not at all, unless the user says otherwise: the refused values are
// named, and the others imported only on "Oui". True to import them.
bool FenPrincipale::importDespiteRefusals(const QVector<RefusedWrite>& refused, bool othersLeft)
{
    const QString summary =
        (refused.size() == 1
             ? QStringLiteral("1 valeur du fichier est refusée :")
             : QStringLiteral("%1 valeurs du fichier sont refusées :").arg(refused.size())) +
        QLatin1Char('\n') + refusalList(refused);
    if (!othersLeft) {
        showError(summary);
        return false;
    }
    return askYesNo(summary + QStringLiteral("\n\nImporter les autres valeurs ?"));
}

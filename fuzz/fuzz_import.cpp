// Bytes as a CSV or TXT file imported into the small document: the first byte picks its type,
// the second whether the user imports the other values when some are refused, the others are
// the file. The import changes nothing, or writes in one operation values of their rows' lines
// and dates that the records hold and the editing gate accepts, and nothing else.
#include "fuzzsupport.h"

namespace
{

using Fuzz::Session;

// Line of the file, as the import reads it: ends of line apart, where a value may come from.
QString fileLine(const QByteArray& file, int line)
{
    const QByteArray bytes = file.split('\n').value(line);
    // Whole, a NUL byte included, as the import reads it.
    return QString::fromLatin1(bytes.constData(), bytes.size()).remove(QLatin1Char('\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const auto type = input.type();
    const bool importOthers = input.byte() & 1;
    Session& session = Session::get();
    session.openDocument(type);
    const Fuzz::Snapshot before = Fuzz::snapshot(session);
    const QByteArray file = input.rest();
    const QString path = session.writeFile(QStringLiteral("import.csv"), file);
    session.answerBoxes(importOthers ? QStringList{QStringLiteral("Oui")} : QStringList());
    TestAccess::importFile(session.window(), path);
    const bool declined =
        !importOthers &&
        session.boxes().filter(QStringLiteral("Importer les autres valeurs ?")).size() == 1;
    FUZZ_CHECK(!declined || TestAccess::undoCount(session.window()) == before.history,
               QStringLiteral("imported after \"Non\""));
    // A value comes from its row's line, written with a point or a comma.
    Fuzz::verifyEdit(session, before, [&](int row, int column) {
        const QString line = fileLine(file, row + 1);
        const QString text = session.model()->cellText(row, column);
        return line.contains(text) ||
               line.contains(QString(text).replace(QLatin1Char('.'), QLatin1Char(',')));
    });
    return 0;
}

// Bytes as a station file: the first byte picks its type, the others are the file. It is opened
// as the window opens a file, every cell and label is checked against the record it came from,
// and it is saved: the saved file is the file read, its WS2300 trailer following its records. A
// file that the editor cannot read unchanged is refused.
#include "fuzzsupport.h"

namespace
{

using Fuzz::Session;

// The file as a save of it must write it.
QByteArray savedForm(Format::DataFileType type, QByteArray file, int records)
{
    const Format::RecordLayout& layout = Format::layout(type);
    if (layout.trailerSize == 0)
        return file;
    const auto seconds = [&](int record) {
        return records > 0
                   ? qFromLittleEndian<quint32>(file.constData() + record * layout.recordSize + 4)
                   : 0u;
    };
    const int trailer = file.size() - layout.trailerSize;
    const quint32 first = seconds(0), last = seconds(records - 1);
    TestSupport::put<quint32>(file, trailer + 16, quint32(records));
    TestSupport::put<quint32>(file, trailer + 20, first);
    TestSupport::put<quint32>(file, trailer + 24, last);
    return file;
}

void verifyTable(Session& session, Format::DataFileType type, const QByteArray& file, int records)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const TableModel* model = session.model();
    FUZZ_CHECK(TestAccess::recordCount(session.window()) == records &&
                   model->rowCount() == qMax(records, 1) &&
                   model->columnCount() == layout.columnCount,
               QStringLiteral("%1 rows for %2 records").arg(model->rowCount()).arg(records));
    for (int row = 0; row < records; ++row) {
        const char* record = file.constData() + layout.headerSize + row * layout.recordSize;
        FUZZ_CHECK(model->labelText(row) == Fuzz::referenceLabel(layout.timestamp, record),
                   QStringLiteral("label %1: %2").arg(row).arg(model->labelText(row)));
        for (int column = 0; column < layout.columnCount; ++column)
            FUZZ_CHECK(model->cellText(row, column) ==
                           Fuzz::referenceText(layout.fields[column], record),
                       QStringLiteral("row %1, column %2: %3")
                           .arg(row)
                           .arg(column)
                           .arg(model->cellText(row, column)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const auto type = input.type();
    const QByteArray file = input.rest();
    const Format::RecordLayout& layout = Format::layout(type);
    const qint64 payload = file.size() - layout.headerSize - layout.trailerSize;
    Session& session = Session::get();
    session.answerBoxes();
    session.open(type, file);
    if (payload < 0) {
        FUZZ_CHECK(session.boxes().size() == 1 && session.boxes().first().startsWith(
                                                      QStringLiteral("Le fichier est trop court")),
                   session.boxes().join(QLatin1Char('\n')));
        return 0;
    }
    FUZZ_CHECK(session.boxes().isEmpty(), session.boxes().join(QLatin1Char('\n')));
    const int records = int(payload / layout.recordSize);
    verifyTable(session, type, file, records);

    const QString path = TestAccess::currentFilePath(session.window());
    session.window().enregistrer();
    FUZZ_CHECK(session.boxes().isEmpty(), session.boxes().join(QLatin1Char('\n')));
    FUZZ_CHECK(TestSupport::readFile(path) == savedForm(type, file, records),
               QStringLiteral("the saved file"));
    FUZZ_CHECK(TestSupport::readFile(path + QStringLiteral(".bak")) == file,
               QStringLiteral("the backup"));
    return 0;
}

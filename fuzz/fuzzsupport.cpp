#include "fuzzsupport.h"

#include "synthetic.h"

#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <cstdlib>

// Every target's session is made before its first input, with the application.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::Session::get();
    return 0;
}

namespace Fuzz
{

void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "Invariant broken: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

uint8_t Input::byte()
{
    if (size == 0)
        return 0;
    --size;
    return *data++;
}

QByteArray Input::rest() const
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

namespace
{

// The folder in memory, where there is one: a save's flush to disk would cost more than the
// rest of an input.
QString memoryFolder()
{
    const QString shared = QStringLiteral("/dev/shm");
    return QFileInfo(shared).isWritable() ? shared + QStringLiteral("/stratomark-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/fuzz-XXXXXX");
}

class Filter : public QObject
{
public:
    explicit Filter(std::function<bool(QObject*, QEvent*)> filter) : filter(std::move(filter)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return filter(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> filter;
};

} // namespace

// The settings that every load writes go to the same folder: a home of the run's own.
Session& Session::get()
{
    static int argc = 1;
    static char name[] = "stratomark-fuzz";
    static char* argv[] = {name, nullptr};
    static Session* session = [] {
        static auto* dir = new QTemporaryDir(memoryFolder());
        std::atexit([] { delete dir; });
        qputenv("HOME", QFile::encodeName(dir->path()));
        // The plain event loop: Glib's costs more than a whole input at each of its passes.
        qputenv("QT_NO_GLIB", "1");
        TestSupport::initProcess();
        // Each load names the settings file: millions of lines that say nothing of a fault.
        static const QtMessageHandler defaultHandler = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg)
                    defaultHandler(type, context, message);
            });
        new QApplication(argc, argv);
        return new Session(dir);
    }();
    return *session;
}

Session::Session(QTemporaryDir* folder) : dir(*folder)
{
    filter = std::make_unique<Filter>(
        [this](QObject* watched, QEvent* event) { return eventFilter(watched, event); });
    qApp->installEventFilter(filter.get());
    use(Format::DataFileType::WswinWD);
}

// A window for each type, so that inputs of every type in turn neither turn the type selector,
// which lists the workspace, nor reload the small document.
void Session::use(Format::DataFileType type)
{
    std::unique_ptr<FenPrincipale>& window = windows[std::size_t(type)];
    if (!window) {
        window = std::make_unique<FenPrincipale>();
        // Nobody sees the window: painting it, measuring its headers' texts or sizing its
        // columns to a hundred rows at each load would cost more than the load.
        window->hide();
        QTableView* view = TestAccess::view(*window);
        view->horizontalHeader()->hide();
        view->verticalHeader()->hide();
        view->horizontalHeader()->setResizeContentsPrecision(1);
    }
    w = window.get();
}

// A modal dialog is kept off the screen from its first show, and answered from the event loop it
// runs, once that loop has begun.
bool Session::eventFilter(QObject* watched, QEvent* event)
{
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow())
        return false;
    // Sized before it shows, a dialog is not fitted to its texts when it does.
    if (!dialog->testAttribute(Qt::WA_Resized))
        dialog->resize(400, 300);
    if (event->type() == QEvent::Polish) {
        // Laid out, painted or shown, a dialog would cost more than the rest of an input.
        dialog->setAttribute(Qt::WA_DontShowOnScreen);
        dialog->setUpdatesEnabled(false);
        if (dialog->layout())
            dialog->layout()->setEnabled(false);
    }
    if (event->type() != QEvent::Show || !dialog->testAttribute(Qt::WA_ShowModal) ||
        qobject_cast<QProgressDialog*>(dialog))
        return false;
    QPointer<QDialog> shown(dialog);
    QMetaObject::invokeMethod(
        dialog,
        [this, shown] {
            if (shown && shown->isVisible())
                answer(shown);
        },
        Qt::QueuedConnection);
    // A box's own showing lays out its texts.
    return qobject_cast<QMessageBox*>(dialog) != nullptr;
}

void Session::answer(QDialog* dialog)
{
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (!box) {
        answerDialog ? answerDialog(dialog) : dialog->reject();
        return;
    }
    boxTexts.append(box->text());
    const QString wanted = boxAnswers.isEmpty() ? QString() : boxAnswers.takeFirst();
    QAbstractButton* chosen = box->escapeButton();
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == wanted)
            chosen = button;
    }
    chosen ? chosen->click() : box->reject();
}

QString Session::writeFile(const QString& name, const QByteArray& bytes)
{
    return TestSupport::writeFile(dir.filePath(name), bytes);
}

void Session::open(Format::DataFileType type, const QByteArray& bytes)
{
    use(type);
    TestAccess::load(*w, type, writeFile(QStringLiteral("document-%1.DAT").arg(int(type)), bytes));
}

void Session::openDocument(Format::DataFileType type)
{
    use(type);
    const QByteArray file = document(type);
    const int headerSize = Format::layout(type).headerSize;
    const bool asRead =
        TestAccess::documentType(*w) == type && TestAccess::undoCount(*w) == 0 &&
        TestAccess::records(*w) ==
            file.mid(headerSize, file.size() - headerSize - Format::layout(type).trailerSize);
    if (!asRead)
        open(type, file);
}

void Session::answerBoxes(const QStringList& answers)
{
    boxAnswers = answers;
    boxTexts.clear();
}

QByteArray document(Format::DataFileType type)
{
    static const QDateTime start(QDate(2023, 3, 26), QTime(0, 30));
    static std::array<QByteArray, Format::dataFileTypeCount> made;
    QByteArray& file = made[std::size_t(type)];
    if (file.isEmpty())
        file = Synthetic::stationFile(type, start, 30, 6);
    return file;
}

namespace
{

template <typename T> T fieldAt(const char* record, int offset)
{
    return qFromLittleEndian<T>(record + offset);
}

// The field's value: the whole number it holds and the divisor of its cell, or its float.
struct Decoded {
    bool isReal = false;
    qint64 whole = 0;
    double real = 0;
};

Decoded decode(const Format::Field& field, const char* record)
{
    using Format::FieldType;
    Decoded value;
    switch (field.type) {
    case FieldType::U8:
        value.whole = quint8(record[field.offset]);
        break;
    case FieldType::S16:
        value.whole = fieldAt<qint16>(record, field.offset);
        break;
    case FieldType::U16:
        value.whole = fieldAt<quint16>(record, field.offset);
        break;
    case FieldType::U32:
        value.whole = fieldAt<quint32>(record, field.offset);
        break;
    case FieldType::F32:
        value.isReal = true;
        value.real = double(fieldAt<float>(record, field.offset));
        break;
    case FieldType::F64:
        value.isReal = true;
        value.real = double(float(fieldAt<double>(record, field.offset)));
        break;
    }
    if (field.rule == Format::CellRule::MetresPerSecond)
        value.real = double(FenPrincipale::metresPerSecondToKmh(float(value.real)));
    if (field.rule == Format::CellRule::DirectionCode) {
        value.isReal = true;
        value.real = double(float(double(value.whole) * 22.5));
    }
    return value;
}

// The number a cell shows for the record, and within what the text may differ from it.
double storedNumber(const Format::Field& field, const char* record, double& tolerance)
{
    const Decoded value = decode(field, record);
    const int divisor = Format::ruleDivisor(field.rule);
    tolerance = value.isReal ? 0.5 / std::pow(10.0, qMax(0, Format::ruleDecimals(field.rule))) : 0;
    return value.isReal ? value.real : double(value.whole) / qMax(divisor, 1);
}

QString labelOf(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
}

} // namespace

QString referenceText(const Format::Field& field, const char* record)
{
    const Decoded value = decode(field, record);
    const int decimals = Format::ruleDecimals(field.rule);
    if (value.isReal)
        return QString::number(value.real, 'f', decimals);
    const int divisor = Format::ruleDivisor(field.rule);
    return divisor > 1 ? QString::number(double(value.whole) / divisor, 'f', decimals)
                       : QString::number(value.whole);
}

QString referenceLabel(Format::Timestamp stamp, const char* record)
{
    const char* field = record + Format::timestampOffset(stamp);
    switch (stamp) {
    case Format::Timestamp::DosWords: {
        const unsigned time = fieldAt<quint16>(field, 0);
        const unsigned date = fieldAt<quint16>(field, 2);
        return QString::asprintf("%02u/%02u/%04u %02u:%02u", date & 0x1F, (date >> 5) & 0x0F,
                                 (date >> 9) + 1980, time >> 11, (time >> 5) & 0x3F);
    }
    case Format::Timestamp::Seconds: {
        const quint32 unixSeconds = fieldAt<quint32>(field, 0) - 2208992400u;
        return labelOf(QDateTime::fromSecsSinceEpoch(qint64(unixSeconds)));
    }
    case Format::Timestamp::DayNumber: {
        const double seconds = std::round((fieldAt<double>(field, 0) - 25569.0) * 86400.0);
        const double wrapped =
            std::isfinite(seconds)
                ? std::fmod(std::fmod(seconds, 4294967296.0) + 4294967296.0, 4294967296.0)
                : 0;
        return labelOf(QDateTime::fromSecsSinceEpoch(qint64(wrapped), Qt::UTC));
    }
    }
    return QString();
}

Snapshot snapshot(Session& session)
{
    FenPrincipale& w = session.window();
    const TableModel* model = session.model();
    Snapshot shot;
    shot.records = TestAccess::records(w);
    shot.rows = model->rowCount();
    shot.history = TestAccess::undoCount(w);
    for (int row = 0; row < model->rowCount(); ++row) {
        shot.cells.append(model->labelText(row));
        for (int column = 0; column < model->columnCount(); ++column)
            shot.cells.append(model->cellText(row, column));
    }
    return shot;
}

namespace
{

QString cellName(int row, int column)
{
    return QStringLiteral("row %1, column %2").arg(row).arg(column);
}

// A changed cell shows what its record holds, within the cell's decimals for a float, and what
// the gate lets through.
void verifyChangedCell(Session& session, const char* record, int row, int column,
                       const QString& text)
{
    const Format::Field& field =
        Format::layout(TestAccess::documentType(session.window())).fields[column];
    const QString name = cellName(row, column) + QStringLiteral(": ") + text;
    FUZZ_CHECK(TestAccess::refusalReason(session.window(), row, column, text).isNull(), name);
    bool isNumber = false;
    const double shown = text.toDouble(&isNumber);
    double tolerance = 0;
    const double stored = storedNumber(field, record, tolerance);
    FUZZ_CHECK(isNumber && std::abs(stored - shown) <= tolerance * (1 + 1e-9),
               name + QStringLiteral(" holds ") + QString::number(stored, 'g', 17));
}

// Every byte of the records that changed lies in a field whose cell shows another text, or in
// the timestamp of a row whose label changed.
void verifyChangedBytes(Session& session, const Snapshot& before, const Snapshot& after)
{
    const Format::RecordLayout& layout = Format::layout(TestAccess::documentType(session.window()));
    const int columns = layout.columnCount + 1;
    for (int byte = 0; byte < after.records.size(); ++byte) {
        if (after.records.at(byte) == before.records.at(byte))
            continue;
        const int row = byte / layout.recordSize;
        const int offset = byte % layout.recordSize;
        int cell = -1;
        if (Format::overlaps(offset, 1, Format::timestampOffset(layout.timestamp),
                             Format::timestampSize(layout.timestamp)))
            cell = 0;
        for (int column = 0; column < layout.columnCount; ++column) {
            const Format::Field& field = layout.fields[column];
            if (Format::overlaps(offset, 1, field.offset, Format::fieldSize(field.type)))
                cell = column + 1;
        }
        FUZZ_CHECK(cell >= 0 && after.cells.at(row * columns + cell) !=
                                    before.cells.at(row * columns + cell),
                   QStringLiteral("byte %1 of record %2").arg(offset).arg(row));
    }
}

} // namespace

void verifyEdit(Session& session, const Snapshot& before,
                const std::function<bool(int row, int column)>& mayChange)
{
    FenPrincipale& w = session.window();
    const Snapshot after = snapshot(session);
    FUZZ_CHECK(after.rows == before.rows && after.records.size() == before.records.size(),
               QStringLiteral("%1 rows for %2").arg(after.rows).arg(before.rows));
    if (after.history == before.history) {
        FUZZ_CHECK(after == before, QStringLiteral("a change outside the history"));
        return;
    }
    FUZZ_CHECK(after.history == before.history + 1, QStringLiteral("one operation"));
    const Format::RecordLayout& layout = Format::layout(TestAccess::documentType(w));
    const int columns = layout.columnCount + 1;
    for (int row = 0; row < after.rows; ++row) {
        const char* record = after.records.constData() + row * layout.recordSize;
        const int first = row * columns;
        if (after.cells.at(first) != before.cells.at(first))
            FUZZ_CHECK(after.cells.at(first) == referenceLabel(layout.timestamp, record),
                       cellName(row, -1) + QStringLiteral(": ") + after.cells.at(first));
        for (int column = 0; column < layout.columnCount; ++column) {
            const QString& text = after.cells.at(first + 1 + column);
            if (text == before.cells.at(first + 1 + column))
                continue;
            FUZZ_CHECK(mayChange(row, column), cellName(row, column) + QStringLiteral(": ") + text);
            verifyChangedCell(session, record, row, column, text);
        }
    }
    verifyChangedBytes(session, before, after);
    w.annuler_action();
    FUZZ_CHECK(snapshot(session) == before, QStringLiteral("undone"));
    w.retablir_action();
    FUZZ_CHECK(snapshot(session) == after, QStringLiteral("redone"));
    w.annuler_action();
}

} // namespace Fuzz

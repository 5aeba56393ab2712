#ifndef STRATOMARK_FUZZSUPPORT_H
#define STRATOMARK_FUZZSUPPORT_H

#include "testsupport.h"

#include <cstdint>
#include <functional>

// What the fuzz targets share: windows kept for the whole run, one a type, on which every box and
// dialog is answered before it reaches the screen, and the invariants of a document that an edit of
// any kind must keep.
namespace Fuzz
{

// Ends the run on an input that broke an invariant, so that libFuzzer keeps it.
[[noreturn]] void fail(const char* what, const QString& detail);

#define FUZZ_CHECK(condition, detail) ((condition) ? void() : Fuzz::fail(#condition, (detail)))

// The input's bytes, taken from the front.
class Input
{
public:
    Input(const uint8_t* data, size_t size) : data(data), size(size) {}
    uint8_t byte();
    // A byte as one of the five types.
    Format::DataFileType type() { return Format::DataFileType(byte() % Format::dataFileTypeCount); }
    QByteArray rest() const;
    QString restAsText() const { return QString::fromUtf8(rest()); }

private:
    const uint8_t* data;
    size_t size;
};

class Session
{
public:
    // Made on the first call, with the application: LLVMFuzzerInitialize calls it.
    static Session& get();
    // The window of the type opened last.
    FenPrincipale& window() { return *w; }
    TableModel* model() { return TestAccess::model(*w); }
    // A file of the folder in memory.
    QString writeFile(const QString& name, const QByteArray& bytes);
    // Opens bytes as type through the window's own loading.
    void open(Format::DataFileType type, const QByteArray& bytes);
    // Opens the small document of type, unless it is open as it was read: each edit is undone.
    void openDocument(Format::DataFileType type);
    // Each message box from now on is answered with the next of answers, then its escape button.
    void answerBoxes(const QStringList& answers = {});
    // The texts of the message boxes answered since answerBoxes.
    const QStringList& boxes() const { return boxTexts; }
    // Every other modal dialog is rejected, unless answer takes it.
    std::function<void(QDialog*)> answerDialog;

private:
    explicit Session(QTemporaryDir* folder);
    bool eventFilter(QObject* watched, QEvent* event);
    void answer(QDialog* dialog);

    const QTemporaryDir& dir;
    void use(Format::DataFileType type);

    std::array<std::unique_ptr<FenPrincipale>, Format::dataFileTypeCount> windows;
    FenPrincipale* w = nullptr;
    std::unique_ptr<QObject> filter;
    QStringList boxAnswers;
    QStringList boxTexts;
};

// The small document that the edits are fuzzed on: six records half an hour apart, over the
// night the clocks go forward in spring.
QByteArray document(Format::DataFileType type);

// The text the cell of field shows for record, and the label of its timestamp, written the way
// Qt writes numbers and dates.
QString referenceText(const Format::Field& field, const char* record);
QString referenceLabel(Format::Timestamp stamp, const char* record);

// A document as the user and the file see it.
struct Snapshot {
    QByteArray records;
    QStringList cells; // row after row, each row's label first
    int rows = 0;
    int history = 0;
    bool operator==(const Snapshot& other) const
    {
        return records == other.records && cells == other.cells && rows == other.rows;
    }
};
Snapshot snapshot(Session& session);

// Checks what an edit did to the document: nothing at all, or every changed cell (within the
// cells it may change) showing a value that its record holds and that the editing gate accepts,
// every changed label a date its record holds, no other byte of the records changed, and the
// history able to undo and redo it to the byte. The edit is left undone.
void verifyEdit(Session& session, const Snapshot& before,
                const std::function<bool(int row, int column)>& mayChange);

} // namespace Fuzz

#endif

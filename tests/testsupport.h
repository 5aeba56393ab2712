#ifndef STRATOMARK_TESTSUPPORT_H
#define STRATOMARK_TESTSUPPORT_H

#include "app/fenprincipale.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

// The window's private state, for what the user cannot see (buffers, history) and its dialogs.
struct TestAccess {
    static TableModel* model(FenPrincipale& w) { return w.model; }
    static QTableView* view(FenPrincipale& w) { return w.tableView; }
    static qint32 recordCount(FenPrincipale& w) { return w.recordCount; }
    static void setRecordCount(FenPrincipale& w, qint32 count) { w.recordCount = count; }
    static int undoCount(FenPrincipale& w) { return w.undoStack->index(); }
    static std::array<char*, Format::dataFileTypeCount>& buffers(FenPrincipale& w)
    {
        return w.recordBuffers;
    }
    static QByteArray records(FenPrincipale& w)
    {
        const char* buffer = w.recordBuffers[int(w.documentType)];
        const int size = Format::layout(w.documentType).recordSize;
        return buffer ? QByteArray(buffer, w.recordCount * size) : QByteArray();
    }
    static Format::DataFileType documentType(FenPrincipale& w) { return w.documentType; }
    static QString refusalReason(FenPrincipale& w, int row, int column, const QString& text)
    {
        return w.refusalReason(row, column, text);
    }
    // Imports path, as the import dialog does once it is answered.
    static void importFile(FenPrincipale& w, const QString& path) { w.importFile(path); }
    static QComboBox* fileTypeCombo(FenPrincipale& w) { return w.fileTypeCombo; }
    static QLineEdit* workspaceEdit(FenPrincipale& w) { return w.workspaceEdit; }
    static QComboBox* monthCombo(FenPrincipale& w) { return w.monthCombo; }
    static QComboBox* yearCombo(FenPrincipale& w) { return w.yearCombo; }
    static QPushButton* showButton(FenPrincipale& w) { return w.showButton; }
    static QLabel* fileLabel(FenPrincipale& w) { return w.fileLabel; }
    static QLabel* filesFoundLabel(FenPrincipale& w) { return w.filesFoundLabel; }
    static QStatusBar* statusBar(FenPrincipale& w) { return w.statusBarWidget; }
    static QDialog* currentDialog(FenPrincipale& w) { return w.currentDialog; }
    static ValueReview* review(FenPrincipale& w) { return w.review; }
    static SuspectCells::RowTime rowTime(FenPrincipale& w)
    {
        return [&w](int row) {
            return w.rowTime(row);
        };
    }
    static QList<QCheckBox*> sensorBoxes(FenPrincipale& w) { return w.sensorBoxes(); }
    static QFormLayout* sensorForm(FenPrincipale& w, bool right)
    {
        return right ? w.sensorFormRight : w.sensorFormLeft;
    }
    static QPushButton* selectAllButton(FenPrincipale& w) { return w.selectAllButton; }
    static QComboBox* exportScopeCombo(FenPrincipale& w) { return w.exportScopeCombo; }
    static QComboBox* separatorCombo(FenPrincipale& w) { return w.separatorCombo; }
    static QTextEdit* printTextEdit(FenPrincipale& w) { return w.printTextEdit.data(); }
    static bool buildPrintDocument(FenPrincipale& w) { return w.buildPrintDocument(); }
    static void clearTable(FenPrincipale& w) { w.clearTable(); }
    static void setReadProgressDelay(FenPrincipale& w, int ms) { w.readProgressDelay = ms; }
    static qint64 maximumRecords(Format::DataFileType type)
    {
        return FenPrincipale::maximumRecords(type);
    }
    static QString currentFilePath(FenPrincipale& w) { return w.currentFilePath; }
    static QString settingsPath() { return FenPrincipale::settingsPath(); }
    static QString monthFilePath(const QString& workspace, const QString& type,
                                 const QString& month, const QString& year)
    {
        return FenPrincipale::monthFilePath(workspace, type, month, year);
    }
    static void writeField(const Format::Field& field, char* record, const QString& text)
    {
        FenPrincipale::writeField(field, record, text);
    }
    static void writeTimestamp(Format::Timestamp stamp, char* record, const QString& text)
    {
        FenPrincipale::writeTimestamp(stamp, record, text);
    }
    static QString undatedRowsText(const QVector<int>& rows)
    {
        return FenPrincipale::undatedRowsText(rows);
    }
    // Loads path as the given type, the way the open dialog does.
    static void load(FenPrincipale& w, Format::DataFileType type, const QString& path)
    {
        w.chosenPath = path;
        w.chosenType = type;
        w.Read_Data(3);
    }
};

namespace TestSupport
{

// Declares a data-driven test's columns, one type for each name.
template <typename... T> void columns(std::initializer_list<const char*> names)
{
    const char* const* name = names.begin();
    (QTest::addColumn<T>(*name++), ...);
}

// The current data row's values in the named columns.
template <typename... T, typename... Names> std::tuple<T...> fetch(Names... names)
{
    return {*static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))...};
}

// Before the first QDateTime use: a fixed local zone, offscreen, the application's name, and
// settings in Qt's test location, left by no earlier run.
void initProcess(const char* timeZone = "Europe/Paris");
void setTimeZone(const char* timeZone);

// Offers every modal widget shown from now on to answer, until it returns true or the handle dies.
using ModalWatch = std::unique_ptr<QObject>;
[[nodiscard]] ModalWatch whenModalShown(std::function<bool(QWidget*)> answer);

// The same for the first modal widget of type Widget.
template <typename Widget> [[nodiscard]] ModalWatch whenShown(std::function<void(Widget*)> answer)
{
    return whenModalShown([answer](QWidget* modal) {
        auto* widget = qobject_cast<Widget*>(modal);
        if (widget)
            answer(widget);
        return widget != nullptr;
    });
}

// Answers every message box shown while it lives, with the scripted buttons in turn, then the
// escape button, and keeps its texts: a fault fails an assertion rather than waiting on a box.
class BoxLog
{
public:
    explicit BoxLog(const QStringList& answers = {});
    QStringList texts;
    QStringList explanations;

private:
    QStringList answers;
    ModalWatch watch;
};

// Answers the next file dialog with path, under filter if given; cancels it for an empty path.
[[nodiscard]] ModalWatch chooseFile(const QString& path, const QString& filter = QString());

// Whether action, run from the event loop, asks the application to quit.
bool quitsWhile(const std::function<void()>& action, int timeoutMs = 3000);

// A file of the type: recognisable header or trailer, patterned records every intervalMinutes
// from 01/01/2010 12:00.
QByteArray stationFile(Format::DataFileType type, int records, int intervalMinutes = 10);

template <typename T> void put(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// Runs action with files limited to bytes, so that a write past them fails midway.
void withFileSizeLimit(qint64 bytes, const std::function<void()>& action);

// A window on clean settings, a folder for its files, and the short ways to act on it.
class Editor
{
public:
    Editor();
    FenPrincipale& window() { return *w; }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Writes bytes under name and opens them as type, as the open dialog does.
    QString open(Format::DataFileType type, const QByteArray& bytes,
                 const QString& name = QStringLiteral("f.DAT"));
    QString open(Format::DataFileType type, int records);
    TableModel* model() { return TestAccess::model(*w); }
    QTableView* view() { return TestAccess::view(*w); }
    QString cell(int row, int column);
    QString label(int row);
    // Types text into a cell, as the cell editor does.
    void edit(int row, int column, const QString& text);
    // Opens the cell editor and types text into it, without closing it.
    void typeInEditor(int row, int column, const QString& text);
    QAction* action(const char* text);
    void trigger(const char* text) { action(text)->trigger(); }
    bool enabled(const char* text) { return action(text)->isEnabled(); }
    // Clicks the button of that text in the auxiliary dialog opened last.
    void click(const char* text);
    void clickRowHeader(int row, Qt::KeyboardModifiers modifiers = {}, bool twice = false);
    // The date and time that the date dialog opened last shows, "dd/MM/yyyy hh:mm".
    QString dateDialogShows();
    // Sets the date dialog opened last to date, "dd/MM/yyyy hh:mm", and confirms it; returns the
    // date it opened on.
    QString answerDateDialog(const QString& date);
    void load(Format::DataFileType type, const QString& file) { TestAccess::load(*w, type, file); }
    // No table, no buffer, no file name and no action that needs a document.
    void verifyNoDocument();
    QByteArray records() { return TestAccess::records(*w); }
    QString fileLabel();
    // The table's columns and rows.
    QSize size() { return QSize(model()->columnCount(), model()->rowCount()); }
    // Each row as its label and cells joined by "|", so that whole tables compare at once.
    QStringList grid();

private:
    QTemporaryDir dir;
    std::unique_ptr<FenPrincipale> w;
};

} // namespace TestSupport

#define STRATOMARK_TEST_MAIN(TestObject)                                                           \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestSupport::initProcess();                                                                \
        QApplication app(argc, argv);                                                              \
        Q_INIT_RESOURCE(icons);                                                                    \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#endif

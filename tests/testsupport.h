#ifndef STRATOMARK_TESTSUPPORT_H
#define STRATOMARK_TESTSUPPORT_H

#include "app/fenprincipale.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QScopedPointer>
#include <QTextEdit>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <memory>

// Reaches the window's private state, so that tests can check what the user cannot see
// (record buffers, history) and set up states that later features would produce.
struct TestAccess {
    static TableModel* model(FenPrincipale& w) { return w.model; }
    static QString cell(FenPrincipale& w, int row, int column)
    {
        return w.model->data(w.model->index(row, column), Qt::DisplayRole).toString();
    }
    // Types text into a cell, as the cell editor does.
    static void edit(FenPrincipale& w, int row, int column, const QString& text)
    {
        w.model->setData(w.model->index(row, column), text, Qt::EditRole);
    }
    static QTableView* view(FenPrincipale& w) { return w.tableView; }
    static void installModel(FenPrincipale& w, TableModel* m)
    {
        TableModel* old = w.model;
        w.model = m;
        w.installModel(m);
        delete old;
    }
    static QAction* saveAction(FenPrincipale& w) { return w.saveAction; }
    static std::array<char*, Format::dataFileTypeCount>& buffers(FenPrincipale& w)
    {
        return w.recordBuffers;
    }
    static qint32 recordCount(FenPrincipale& w) { return w.recordCount; }
    static int undoCount(FenPrincipale& w) { return w.undoCount; }
    static QComboBox* fileTypeCombo(FenPrincipale& w) { return w.fileTypeCombo; }
    static QLineEdit* workspaceEdit(FenPrincipale& w) { return w.workspaceEdit; }
    static QLabel* fileLabel(FenPrincipale& w) { return w.fileLabel; }
    static QStatusBar* statusBar(FenPrincipale& w) { return w.statusBarWidget; }
    static QDialog* currentDialog(FenPrincipale& w) { return w.currentDialog; }
    static QComboBox* typeChooserCombo(FenPrincipale& w) { return w.typeChooserCombo; }
    static QComboBox* monthCombo(FenPrincipale& w) { return w.monthCombo; }
    static QComboBox* yearCombo(FenPrincipale& w) { return w.yearCombo; }
    static QPushButton* showButton(FenPrincipale& w) { return w.showButton; }
    static QLabel* filesFoundLabel(FenPrincipale& w) { return w.filesFoundLabel; }
    static Format::DataFileType documentType(FenPrincipale& w) { return w.documentType; }
    static QByteArray ws2300Trailer(FenPrincipale& w)
    {
        return QByteArray(w.ws2300Trailer.data(), int(w.ws2300Trailer.size()));
    }
    static QString monthFilePath(const QString& workspace, const QString& type,
                                 const QString& month, const QString& year)
    {
        return FenPrincipale::monthFilePath(workspace, type, month, year);
    }
    static char* documentRecord(FenPrincipale& w, int row) { return w.documentRecord(row); }
    static void writeCellToRecord(FenPrincipale& w, int row, int column, const QString& text)
    {
        w.writeCellToRecord(row, column, text);
    }
    static void writeField(const Format::Field& field, char* record, const QString& text)
    {
        FenPrincipale::writeField(field, record, text);
    }
    static QString currentFilePath(FenPrincipale& w) { return w.currentFilePath; }
    // Loads path as the given type, the way the open dialog does.
    static void load(FenPrincipale& w, Format::DataFileType type, const QString& path)
    {
        w.fileTypeCombo->setCurrentIndex(int(type));
        w.currentFilePath = path;
        w.Read_Data(3);
    }
    static void setSensorForms(FenPrincipale& w, QFormLayout* left, QFormLayout* right)
    {
        w.sensorFormLeft = left;
        w.sensorFormRight = right;
    }
    static void appSettings(FenPrincipale& w, FenPrincipale::SettingsAction action)
    {
        w.AppSettings(action);
    }
    static void clearTable(FenPrincipale& w) { w.clearTable(); }
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
    static QString settingsPath() { return FenPrincipale::settingsPath(); }
    static void setRecordCount(FenPrincipale& w, qint32 count) { w.recordCount = count; }
    static ValueReview* review(FenPrincipale& w) { return w.review; }
    static void writeTimestamp(Format::Timestamp stamp, char* record, const QString& text)
    {
        FenPrincipale::writeTimestamp(stamp, record, text);
    }
    static QByteArray records(FenPrincipale& w)
    {
        const char* buffer = w.recordBuffers[int(w.documentType)];
        const int size = Format::layout(w.documentType).recordSize;
        return buffer ? QByteArray(buffer, w.recordCount * size) : QByteArray();
    }
    static QString rowLabel(FenPrincipale& w, int row)
    {
        return w.model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    }
};

namespace TestSupport
{

// Prepares the process before the first QDateTime use: fixed local zone, offscreen platform,
// settings in Qt's test location.
void initProcess(const char* timeZone = "Europe/Paris");
void setTimeZone(const char* timeZone);

// Removes the settings file, so the next window starts from the defaults.
void removeSettings();

// A window built on a clean settings file.
std::unique_ptr<FenPrincipale> makeWindow();

// Offers every modal widget shown from now on to answer, until answer returns true (it took
// that widget). The watch also ends when the returned handle goes out of scope, so that it
// cannot answer a later test's box.
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

// Answers the next message box with the button showing buttonText; *seenText receives the
// box's text when a pointer is given.
[[nodiscard]] ModalWatch answerMessageBox(const QString& buttonText, QString* seenText = nullptr);

// Answers the next message boxes in turn, one button text each; their texts are appended to
// *seenTexts when a list is given.
[[nodiscard]] ModalWatch answerMessageBoxes(const QStringList& buttonTexts,
                                            QStringList* seenTexts = nullptr,
                                            QString* lastText = nullptr);

// Runs action from the event loop and reports whether the application was asked to quit
// within timeoutMs.
bool quitsWhile(const std::function<void()>& action, int timeoutMs = 3000);

QAction* actionByText(QWidget& window, const QString& text);

// Answers every message box shown while it lives, with the scripted button texts in turn and then
// with the box's escape button, and keeps the texts shown: a fault then fails an assertion
// instead of waiting on a box that nobody answers.
class BoxLog
{
public:
    explicit BoxLog(const QStringList& answers = {});
    QStringList texts;

private:
    QStringList answers;
    ModalWatch watch;
};

// A whole file of the given type: a recognisable header or trailer, records of patterned bytes
// whose timestamps run from 01/01/2010 12:00 every intervalMinutes.
QByteArray stationFile(Format::DataFileType type, int records, int intervalMinutes = 10);

// Stores value little-endian at offset of bytes.
template <typename T> void put(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// Writes bytes to path (creating the folder) and returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);

} // namespace TestSupport

#define STRATOMARK_TEST_MAIN(TestObject)                                                           \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestSupport::initProcess();                                                                \
        QApplication app(argc, argv);                                                              \
        Q_INIT_RESOURCE(icons);                                                                    \
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.11"));                         \
        QCoreApplication::setApplicationName(QStringLiteral("Stratomark"));                        \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#endif

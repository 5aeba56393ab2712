#ifndef STRATOMARK_TESTSUPPORT_H
#define STRATOMARK_TESTSUPPORT_H

#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopedPointer>
#include <QtTest>

#include <functional>
#include <memory>

// Reaches the window's private state, so that tests can check what the user cannot see
// (record buffers, history) and set up states that later features would produce.
struct TestAccess {
    static TableModel* model(FenPrincipale& w) { return w.model; }
    static QTableView* view(FenPrincipale& w) { return w.tableView; }
    static void installModel(FenPrincipale& w, TableModel* m)
    {
        TableModel* old = w.model;
        w.model = m;
        w.installModel(m);
        delete old;
    }
    static QAction* saveAction(FenPrincipale& w) { return w.saveAction; }
    static void enableDocumentActions(FenPrincipale& w, bool enable)
    {
        w.enableDocumentActions(enable);
    }
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
    static QString settingsPath() { return FenPrincipale::settingsPath(); }
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

// Runs answer(widget) on the next modal widget as soon as it is shown. The watch ends when the
// returned handle goes out of scope, so that it cannot answer a later test's box.
using ModalWatch = std::unique_ptr<QObject>;
[[nodiscard]] ModalWatch whenModalShown(std::function<void(QWidget*)> answer);

// Answers the next message box with the button showing buttonText; *seenText receives the
// box's text when a pointer is given.
[[nodiscard]] ModalWatch answerMessageBox(const QString& buttonText, QString* seenText = nullptr);

// Runs action from the event loop and reports whether the application was asked to quit
// within timeoutMs.
bool quitsWhile(const std::function<void()>& action, int timeoutMs = 3000);

QAction* actionByText(QWidget& window, const QString& text);

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

#include "testsupport.h"

#include "app/appinfo.h"

#include <csignal>
#include <ctime>
#include <sys/resource.h>

namespace TestSupport
{

void setTimeZone(const char* timeZone)
{
    qputenv("TZ", timeZone);
    tzset();
}

namespace
{

void removeSettings()
{
    QFile::remove(TestAccess::settingsPath());
}

} // namespace

void initProcess(const char* timeZone)
{
    setTimeZone(timeZone);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationVersion(QLatin1String(AppInfo::version));
    QCoreApplication::setApplicationName(QLatin1String(AppInfo::name));
    removeSettings();
}

ModalWatch whenModalShown(std::function<bool(QWidget*)> answer)
{
    auto poll = std::make_unique<QTimer>();
    QTimer* timer = poll.get();
    QObject::connect(timer, &QTimer::timeout, [timer, answer]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && answer(modal))
            timer->stop();
    });
    // Polled at every pass of the event loop, so that even a progress dialog that only lets
    // the loop run once is answered there.
    timer->start(0);
    return poll;
}

BoxLog::BoxLog(const QStringList& scripted) : answers(scripted)
{
    watch = whenModalShown([this](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return false;
        texts.append(box->text());
        explanations.append(box->informativeText());
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        QAbstractButton* chosen = box->escapeButton();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == answer)
                chosen = button;
        }
        chosen ? chosen->click() : box->reject();
        return false;
    });
}

ModalWatch chooseFile(const QString& path, const QString& filter)
{
    return whenShown<QFileDialog>([path, filter](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        if (!filter.isEmpty())
            dialog->selectNameFilter(filter);
        dialog->selectFile(path);
        // As if the user had confirmed the dialog's own question about a name that exists.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        static_cast<QDialog*>(dialog)->accept();
    });
}

bool quitsWhile(const std::function<void()>& action, int timeoutMs)
{
    const int timedOut = 17;
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(timedOut); });
    failsafe.start(timeoutMs);
    QTimer::singleShot(0, action);
    return QCoreApplication::exec() != timedOut;
}

QByteArray stationFile(Format::DataFileType type, int records, int intervalMinutes)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes;
    for (int i = 0; i < layout.headerSize; ++i)
        bytes.append(char(0xE0 + i));
    const QDateTime first(QDate(2010, 1, 1), QTime(12, 0));
    for (int r = 0; r < records; ++r) {
        QByteArray record(layout.recordSize, '\0');
        for (int i = 0; i < layout.recordSize; ++i)
            record[i] = char((r * 31 + i * 7 + 3) & 0x7F);
        TestAccess::writeTimestamp(
            layout.timestamp, record.data(),
            first.addSecs(60 * intervalMinutes * r).toString(QStringLiteral("dd/MM/yyyy hh:mm")));
        bytes += record;
    }
    for (int i = 0; i < layout.trailerSize; ++i)
        bytes.append(char(0xA0 + i));
    return bytes;
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void withFileSizeLimit(qint64 bytes, const std::function<void()>& action)
{
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = rlim_t(bytes);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    action();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
}

Editor::Editor()
{
    removeSettings();
    w = std::make_unique<FenPrincipale>();
}

QString Editor::open(Format::DataFileType type, const QByteArray& bytes, const QString& name)
{
    const QString file = writeFile(path(name), bytes);
    TestAccess::load(*w, type, file);
    return file;
}

QString Editor::open(Format::DataFileType type, int records)
{
    return open(type, stationFile(type, records));
}

QString Editor::cell(int row, int column)
{
    return model()->data(model()->index(row, column), Qt::DisplayRole).toString();
}

QString Editor::label(int row)
{
    return model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
}

void Editor::edit(int row, int column, const QString& text)
{
    model()->setData(model()->index(row, column), text, Qt::EditRole);
}

void Editor::typeInEditor(int row, int column, const QString& text)
{
    view()->edit(model()->index(row, column));
    // An editor closed before is hidden until its deletion comes round.
    for (QLineEdit* editor : view()->viewport()->findChildren<QLineEdit*>()) {
        if (!editor->isHidden())
            editor->setText(text);
    }
}

QAction* Editor::action(const char* text)
{
    for (QAction* action : w->findChildren<QAction*>()) {
        if (action->text() == QString::fromUtf8(text))
            return action;
    }
    qFatal("no action %s", text);
    return nullptr;
}

void Editor::click(const char* text)
{
    for (QPushButton* button : TestAccess::currentDialog(*w)->findChildren<QPushButton*>()) {
        if (button->text() == QString::fromUtf8(text))
            return button->click();
    }
    qFatal("no button %s", text);
}

void Editor::clickRowHeader(int row, Qt::KeyboardModifiers modifiers, bool twice)
{
    QHeaderView* header = view()->verticalHeader();
    const QPoint at(5, header->sectionViewportPosition(row) + 5);
    twice ? QTest::mouseDClick(header->viewport(), Qt::LeftButton, modifiers, at)
          : QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
}

QString Editor::dateDialogShows()
{
    QDialog* dialog = TestAccess::currentDialog(*w);
    // Apart, since a local date and time may fall in a clock change's gap.
    return dialog->findChild<QDateEdit*>()->date().toString(QStringLiteral("dd/MM/yyyy ")) +
           dialog->findChild<QTimeEdit*>()->time().toString(QStringLiteral("hh:mm"));
}

QString Editor::answerDateDialog(const QString& date)
{
    QDialog* dialog = TestAccess::currentDialog(*w);
    auto* dateEdit = dialog->findChild<QDateEdit*>();
    auto* timeEdit = dialog->findChild<QTimeEdit*>();
    const QString shown = dateDialogShows();
    dateEdit->setDate(QDate::fromString(date.left(10), QStringLiteral("dd/MM/yyyy")));
    timeEdit->setTime(QTime::fromString(date.mid(11), QStringLiteral("hh:mm")));
    dialog->findChild<QPushButton*>()->click();
    return shown;
}

void Editor::verifyNoDocument()
{
    QCOMPARE(size(), QSize(1, 1));
    QCOMPARE(fileLabel(), QString());
    for (char* buffer : TestAccess::buffers(*w))
        QVERIFY(!buffer);
    for (const char* off :
         {"Enregistrer", "Enregistrer sous...", "&Exporter", "&Importer", "Imprimer...",
          "Rechercher une date...", "Ajouter une ligne", "Supprimer la/les ligne(s)"})
        QVERIFY2(!enabled(off), off);
}

QStringList Editor::grid()
{
    QStringList rows;
    for (int row = 0; row < model()->rowCount(); ++row) {
        rows << label(row);
        for (int column = 0; column < model()->columnCount(); ++column)
            rows.last() += QLatin1Char('|') + cell(row, column);
    }
    return rows;
}

QString Editor::fileLabel()
{
    return TestAccess::fileLabel(*w)->text();
}

} // namespace TestSupport

#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <ctime>

namespace TestSupport
{

void setTimeZone(const char* timeZone)
{
    qputenv("TZ", timeZone);
    tzset();
}

void initProcess(const char* timeZone)
{
    setTimeZone(timeZone);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
}

void removeSettings()
{
    QFile::remove(TestAccess::settingsPath());
}

std::unique_ptr<FenPrincipale> makeWindow()
{
    removeSettings();
    return std::make_unique<FenPrincipale>();
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

ModalWatch answerMessageBox(const QString& buttonText, QString* seenText)
{
    return answerMessageBoxes({buttonText}, nullptr, seenText);
}

ModalWatch answerMessageBoxes(const QStringList& buttonTexts, QStringList* seenTexts,
                              QString* lastText)
{
    auto answered = std::make_shared<int>(0);
    return whenModalShown([=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return false;
        const QString buttonText = buttonTexts.at(*answered);
        if (seenTexts)
            seenTexts->append(box->text());
        if (lastText)
            *lastText = box->text();
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText)
                chosen = button;
        }
        if (!chosen)
            qWarning("no button '%s' in the message box", qPrintable(buttonText));
        ++*answered;
        chosen ? chosen->click() : box->reject();
        return *answered == buttonTexts.size();
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

QAction* actionByText(QWidget& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

BoxLog::BoxLog(const QStringList& scripted) : answers(scripted)
{
    watch = whenModalShown([this](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return false;
        texts.append(box->text());
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

} // namespace TestSupport

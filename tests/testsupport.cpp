#include "testsupport.h"

#include <QAction>
#include <QFile>
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

ModalWatch whenModalShown(std::function<void(QWidget*)> answer)
{
    auto poll = std::make_unique<QTimer>();
    QTimer* timer = poll.get();
    QObject::connect(timer, &QTimer::timeout, [timer, answer]() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            answer(modal);
        }
    });
    timer->start(10);
    return poll;
}

ModalWatch answerMessageBox(const QString& buttonText, QString* seenText)
{
    return whenModalShown([buttonText, seenText](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            qWarning("the modal widget is not a message box");
            modal->close();
            return;
        }
        if (seenText)
            *seenText = box->text();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText) {
                button->click();
                return;
            }
        }
        qWarning("no button '%s' in the message box", qPrintable(buttonText));
        box->reject();
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

} // namespace TestSupport

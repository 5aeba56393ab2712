#include "testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using Format::DataFileType;
using TestSupport::put;

class TestSaving : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveWritesOnlyTheEdit_data();
    void saveWritesOnlyTheEdit();
    void ws2300TrailerIsRefreshed();
    void ws2300WithoutRecords();
    void saveAsSuffix_data();
    void saveAsSuffix();
    void saveAsCancelledKeepsTheMark();
    void loadedFileDeletedBeforeSaving();
    void failedOpenKeepsEverything();
    void failedWriteKeepsThePreviousFile();
    void replacedFileKeepsItsPermissions();
    void quitWithFailingSaveStaysOpen();
    void loadingWhileModifiedAsks_data();
    void loadingWhileModifiedAsks();
    void openDialogAsksBeforeTheTypeChanges();
    void listingKeepsAModifiedDocument();
    void longestNameSaves();
    void openEditorIsCommitted_data();
    void openEditorIsCommitted();

private:
    QByteArray fileOf(DataFileType type, int records, int partialBytes = 0) const;
    QString load(DataFileType type, const QByteArray& bytes, const QString& name = "doc.DAT");
    void edit(int row, int column, const QString& text)
    {
        TestAccess::edit(*window, row, column, text);
    }
    QString cell(int row, int column) const { return TestAccess::cell(*window, row, column); }
    TestSupport::ModalWatch saveAs(const QString& name,
                                   const QString& filter = "Fichier DAT (*.DAT)");
    static QByteArray read(const QString& path);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FenPrincipale> window;
};

void TestSaving::init()
{
    window = TestSupport::makeWindow();
    dir = std::make_unique<QTemporaryDir>();
}

// Patterned records with increasing WS2300 timestamps, behind a recognisable header and in
// front of a recognisable trailer.
QByteArray TestSaving::fileOf(DataFileType type, int records, int partialBytes) const
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes;
    for (int i = 0; i < layout.headerSize; ++i)
        bytes.append(char(0xE0 + i));
    for (int r = 0; r < records; ++r) {
        QByteArray record(layout.recordSize, '\0');
        for (int i = 0; i < layout.recordSize; ++i)
            record[i] = char((r * 31 + i * 7 + 3) & 0x7F);
        if (layout.timestamp == Format::Timestamp::Seconds)
            put<quint32>(record, 4, 3471336000u + 600u * r);
        bytes += record;
    }
    bytes += QByteArray(partialBytes, '\x7E');
    for (int i = 0; i < layout.trailerSize; ++i)
        bytes.append(char(0xA0 + i));
    return bytes;
}

QString TestSaving::load(DataFileType type, const QByteArray& bytes, const QString& name)
{
    const QString path = TestSupport::writeFile(dir->filePath(name), bytes);
    TestAccess::load(*window, type, path);
    return path;
}

TestSupport::ModalWatch TestSaving::saveAs(const QString& name, const QString& filter)
{
    return TestSupport::whenShown<QFileDialog>([name, filter](QFileDialog* dialog) {
        dialog->selectNameFilter(filter);
        dialog->selectFile(name);
        static_cast<QDialog*>(dialog)->accept();
    });
}

QByteArray TestSaving::read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSaving::saveWritesOnlyTheEdit_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wswin_WD") << int(DataFileType::WswinWD) << 33 << "1.250"
                              << QByteArray::fromHex("e204");
    QTest::newRow("wswin_WS") << int(DataFileType::WswinWS) << 0 << "-12.4"
                              << QByteArray::fromHex("84ff");
    QTest::newRow("wswin_WM") << int(DataFileType::WswinWM) << 15 << "97"
                              << QByteArray::fromHex("61");
    QTest::newRow("WS3600") << int(DataFileType::WS3600) << 9 << "270.0"
                            << QByteArray::fromHex("0c000000");
    QTest::newRow("WS2300") << int(DataFileType::WS2300) << 4 << "1013.5"
                            << QByteArray::fromHex("00607d44");
}

void TestSaving::saveWritesOnlyTheEdit()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    const QByteArray original = fileOf(DataFileType(type), 3, layout.recordSize - 1);
    const QString path = load(DataFileType(type), original);
    edit(1, column, text);
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    QVERIFY(!TestAccess::saveAction(*window)->isEnabled());

    QByteArray expected = original;
    expected.remove(layout.headerSize + 3 * layout.recordSize, layout.recordSize - 1);
    expected.replace(layout.headerSize + layout.recordSize + layout.fields[column].offset,
                     bytes.size(), bytes);
    if (layout.trailerSize > 0) {
        const int trailer = expected.size() - layout.trailerSize;
        put<quint32>(expected, trailer + 16, 3);
        put<quint32>(expected, trailer + 20, 3471336000u);
        put<quint32>(expected, trailer + 24, 3471336000u + 1200u);
    }
    QCOMPARE(read(path).toHex(), expected.toHex());

    TestAccess::load(*window, DataFileType(type), path);
    QCOMPARE(cell(1, column), text);
    QCOMPARE(TestAccess::recordCount(*window), 3);
}

void TestSaving::ws2300TrailerIsRefreshed()
{
    const QString path = load(DataFileType::WS2300, fileOf(DataFileType::WS2300, 5));
    edit(0, 0, QStringLiteral("19.5"));
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    const QByteArray trailer = read(path).right(28);
    QCOMPARE(trailer.left(16), fileOf(DataFileType::WS2300, 0).left(16));
    QCOMPARE(qFromLittleEndian<quint32>(trailer.constData() + 16), 5u);
    QCOMPARE(qFromLittleEndian<quint32>(trailer.constData() + 20), 3471336000u);
    QCOMPARE(qFromLittleEndian<quint32>(trailer.constData() + 24), 3471336000u + 2400u);
}

void TestSaving::ws2300WithoutRecords()
{
    load(DataFileType::WS2300, fileOf(DataFileType::WS2300, 0));
    const QString target = dir->filePath(QStringLiteral("empty.DAT"));
    const auto answer = saveAs(target);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer sous..."))->trigger();
    const QByteArray saved = read(target);
    QCOMPARE(saved.size(), 28);
    QCOMPARE(saved.left(16), fileOf(DataFileType::WS2300, 0).left(16));
    QCOMPARE(saved.mid(16), QByteArray(12, '\0'));
}

void TestSaving::saveAsSuffix_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("DAT filter adds the suffix") << "data2"
                                                << "Fichier DAT (*.DAT)"
                                                << "data2.DAT";
    QTest::newRow("lower-case suffix kept") << "data2.dat"
                                            << "Fichier DAT (*.DAT)"
                                            << "data2.dat";
    QTest::newRow("mixed case gets another") << "data2.Dat"
                                             << "Fichier DAT (*.DAT)"
                                             << "data2.Dat.DAT";
    QTest::newRow("any file") << "data2"
                              << "*.*"
                              << "data2";
}

void TestSaving::saveAsSuffix()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    const QByteArray original = fileOf(DataFileType::WS3600, 2);
    load(DataFileType::WS3600, original);
    edit(0, 0, QStringLiteral("5"));
    const auto answer = saveAs(dir->filePath(name), filter);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer sous..."))->trigger();
    const QString target = dir->filePath(written);
    QCOMPARE(read(target).size(), 112);
    QCOMPARE(TestAccess::currentFilePath(*window), target);
    QCOMPARE(TestAccess::fileLabel(*window)->text(),
             QStringLiteral("Fichier \"%1\" : 2 données").arg(written));
    QVERIFY(!TestAccess::saveAction(*window)->isEnabled());
    QCOMPARE(read(dir->filePath(QStringLiteral("doc.DAT"))), original);
}

void TestSaving::saveAsCancelledKeepsTheMark()
{
    load(DataFileType::WswinWM, fileOf(DataFileType::WswinWM, 2));
    edit(0, 0, QStringLiteral("5"));
    const auto cancel =
        TestSupport::whenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer sous..."))->trigger();
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
}

void TestSaving::loadedFileDeletedBeforeSaving()
{
    const QByteArray original = fileOf(DataFileType::WswinWD, 2);
    const QString path = load(DataFileType::WswinWD, original);
    edit(1, 0, QStringLiteral("3.5"));
    QVERIFY(QFile::remove(path));
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    QCOMPARE(read(path).left(18), original.left(18));
    QCOMPARE(read(path).size(), original.size());

    QVERIFY(QFile::remove(path));
    edit(1, 0, QStringLiteral("4.5"));
    const QString copy = dir->filePath(QStringLiteral("copie.DAT"));
    const auto answer = saveAs(copy);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer sous..."))->trigger();
    QCOMPARE(read(copy).left(18), original.left(18));
    QCOMPARE(qFromLittleEndian<qint16>(read(copy).constData() + 18 + 76 + 4), 45);
}

void TestSaving::failedOpenKeepsEverything()
{
    const QString path = load(DataFileType::WswinWS, fileOf(DataFileType::WswinWS, 2));
    edit(0, 1, QStringLiteral("7"));
    const QString nowhere = dir->filePath(QStringLiteral("absent/out.DAT"));
    QString message;
    const auto answer = saveAs(nowhere);
    const auto error = TestSupport::answerMessageBox(QStringLiteral("OK"), &message);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer sous..."))->trigger();
    QCOMPARE(message, QStringLiteral("Erreur lors de l'ouverture de:\n") + nowhere);
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
    QCOMPARE(TestAccess::currentFilePath(*window), path);

    if (geteuid() == 0)
        QSKIP("folder permissions do not stop root");
    QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::ExeOwner);
    const auto again = TestSupport::answerMessageBox(QStringLiteral("OK"), &message);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(message, QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
    QCOMPARE(read(path), fileOf(DataFileType::WswinWS, 2));
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
}

void TestSaving::failedWriteKeepsThePreviousFile()
{
    const QByteArray original = fileOf(DataFileType::WswinWD, 400);
    const QString path = load(DataFileType::WswinWD, original);
    edit(0, 0, QStringLiteral("1.5"));

    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("OK"), &message);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(message, QStringLiteral("Erreur lors de l'écriture de:\n") + path);
    QCOMPARE(read(path), original);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.DAT"});
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
}

void TestSaving::replacedFileKeepsItsPermissions()
{
    const QString path = load(DataFileType::WS3600, fileOf(DataFileType::WS3600, 1));
    const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, permissions));
    edit(0, 0, QStringLiteral("5"));
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    QVERIFY(!TestAccess::saveAction(*window)->isEnabled());
    QCOMPARE(QFileInfo(path).permissions() & 0xF0FF, permissions);
}

void TestSaving::quitWithFailingSaveStaysOpen()
{
    const QString folder = dir->filePath(QStringLiteral("gone"));
    const QString path = TestSupport::writeFile(folder + QStringLiteral("/doc.DAT"),
                                                fileOf(DataFileType::WswinWM, 2));
    TestAccess::load(*window, DataFileType::WswinWM, path);
    edit(1, 2, QStringLiteral("8.5"));
    QVERIFY(QDir(folder).removeRecursively());
    QStringList texts;
    const auto answers =
        TestSupport::answerMessageBoxes({QStringLiteral("Oui"), QStringLiteral("OK")}, &texts);
    QVERIFY(!TestSupport::quitsWhile([this] { window->fermeture_programme(); }, 1500));
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts.at(1), QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
    QCOMPARE(cell(1, 2), QStringLiteral("8.5"));
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
}

void TestSaving::loadingWhileModifiedAsks_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Oui") << "Oui" << true << true;
    QTest::newRow("Non") << "Non" << true << false;
    QTest::newRow("Annuler") << "Annuler" << false << false;
}

void TestSaving::loadingWhileModifiedAsks()
{
    QFETCH(QString, answer);
    QFETCH(bool, loaded);
    QFETCH(bool, saved);
    const QString folder = dir->filePath(QStringLiteral("workspace"));
    const QString march = TestSupport::writeFile(folder + QStringLiteral("/WD_03_15.DAT"),
                                                 fileOf(DataFileType::WswinWD, 2));
    TestSupport::writeFile(folder + QStringLiteral("/WD_04_15.DAT"),
                           fileOf(DataFileType::WswinWD, 3));
    TestAccess::workspaceEdit(*window)->setText(folder);
    TestAccess::monthCombo(*window)->setCurrentText(QStringLiteral("Mars"));
    TestAccess::showButton(*window)->click();
    edit(0, 0, QStringLiteral("2.5"));

    TestAccess::monthCombo(*window)->setCurrentText(QStringLiteral("Avril"));
    QString question;
    const auto reply = TestSupport::answerMessageBox(answer, &question);
    TestAccess::showButton(*window)->click();
    QCOMPARE(question, QStringLiteral("Le document a été modifié.\nVoulez-vous sauvegarder les "
                                      "changements?"));
    QCOMPARE(TestAccess::recordCount(*window), loaded ? 3 : 2);
    QCOMPARE(TestAccess::saveAction(*window)->isEnabled(), !loaded);
    if (!loaded)
        QCOMPARE(cell(0, 0), QStringLiteral("2.5"));
    QCOMPARE(qFromLittleEndian<qint16>(read(march).constData() + 18 + 4) == 25, saved);
}

void TestSaving::openDialogAsksBeforeTheTypeChanges()
{
    load(DataFileType::WswinWD, fileOf(DataFileType::WswinWD, 2));
    edit(0, 0, QStringLiteral("2.5"));
    TestSupport::actionByText(*window, QStringLiteral("&Ouvrir"))->trigger();
    TestAccess::typeChooserCombo(*window)->setCurrentText(QStringLiteral("WS3600"));
    QStringList questions;
    const auto reply = TestSupport::answerMessageBoxes({QStringLiteral("Annuler")}, &questions);
    TestAccess::currentDialog(*window)->findChild<QPushButton*>()->click();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(TestAccess::fileTypeCombo(*window)->currentText(), QStringLiteral("wswin_WD"));
    QCOMPARE(cell(0, 0), QStringLiteral("2.5"));
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
}

void TestSaving::listingKeepsAModifiedDocument()
{
    load(DataFileType::WswinWS, fileOf(DataFileType::WswinWS, 2));
    edit(0, 0, QStringLiteral("2.5"));
    TestAccess::workspaceEdit(*window)->setText(dir->path());
    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WswinWM));
    QCOMPARE(cell(0, 0), QStringLiteral("2.5"));
    QCOMPARE(TestAccess::recordCount(*window), 2);
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
}

void TestSaving::longestNameSaves()
{
    const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".DAT");
    const QByteArray original = fileOf(DataFileType::WswinWM, 2);
    const QString path = load(DataFileType::WswinWM, original, name);
    edit(1, 0, QStringLiteral("-7.5"));
    QString error;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("OK"), &error);
    TestSupport::actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    QCOMPARE(error, QString());
    QCOMPARE(qFromLittleEndian<qint16>(read(path).constData() + 18 + 30 + 4), qint16(-75));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

void TestSaving::openEditorIsCommitted_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("save") << "Enregistrer";
    QTest::newRow("quit") << "&Quitter";
    QTest::newRow("close button") << "";
}

// A value still in the cell editor is the user's latest edit: saving writes it, and quitting
// asks about it.
void TestSaving::openEditorIsCommitted()
{
    QFETCH(QString, action);
    const QString path = load(DataFileType::WS3600, fileOf(DataFileType::WS3600, 2));
    QTableView* view = TestAccess::view(*window);
    view->edit(TestAccess::model(*window)->index(1, 0));
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("12.5"));

    QString question;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("Annuler"), &question);
    if (action.isEmpty())
        window->close();
    else
        TestSupport::actionByText(*window, action)->trigger();
    QCOMPARE(cell(1, 0), QStringLiteral("12.5"));
    if (action == QLatin1String("Enregistrer"))
        QCOMPARE(qFromLittleEndian<float>(read(path).constData() + 56 + 0x24), 12.5f);
    else
        QVERIFY(question.startsWith(QStringLiteral("Le document a été modifié.")));
}

STRATOMARK_TEST_MAIN(TestSaving)
#include "tst_saving.moc"

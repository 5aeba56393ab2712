#include "testsupport.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using Format::DataFileType;
using TestSupport::put;

namespace
{

QByteArray wswinFile(const QByteArray& records)
{
    return QByteArray(18, 'H') + records;
}

QByteArray record(int size)
{
    return QByteArray(size, '\0');
}

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void decodesEveryColumnKind_data();
    void decodesEveryColumnKind();
    void wswinMonthRecord();
    void recordCounts_data();
    void recordCounts();
    void ws2300TrailerIsKept();
    void zeroRecordsShowOneEmptyRow();
    void builtTableIsLive();
    void monthFilePath_data();
    void monthFilePath();
    void loadsByMonth();
    void pathsWithAccentsAndAnyLength();
    void missingFileShowsTheError();
    void recordsThatCannotBeHeld();
    void cancellingTheBuild();
    void documentClearedDuringTheLoad();
    void documentTypeOutlivesTheSelector();
    void openDialogLoadsTheChosenType();
    void openDialogCancelledRestoresTheType();
    void listing();
    void listingStationTypesDisablesMonthControls();

private:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString cell(int row, int column) const { return TestAccess::cell(*window, row, column); }
    QString rowLabel(int row) const;
    QTemporaryDir dir;
    std::unique_ptr<FenPrincipale> window;
};

void TestLoading::initTestCase()
{
    QVERIFY(dir.isValid());
}

void TestLoading::init()
{
    window = TestSupport::makeWindow();
}

QString TestLoading::rowLabel(int row) const
{
    return TestAccess::model(*window)->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
}

void TestLoading::decodesEveryColumnKind_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");

    const auto wswin = [](int size, int offset, auto value) {
        QByteArray r = record(size);
        put<quint16>(r, 0, 0x6000);
        put<quint16>(r, 2, 0x3C21);
        put(r, offset, value);
        return wswinFile(r);
    };
    const QString noon = QStringLiteral("01/01/2010 12:00");
    QTest::newRow("WD s16 minimum")
        << int(DataFileType::WswinWD) << wswin(76, 0x04, qint16(-32768)) << 0 << "-3276.8" << noon;
    QTest::newRow("WD u8 maximum")
        << int(DataFileType::WswinWD) << wswin(76, 0x25, quint8(255)) << 17 << "255" << noon;
    QTest::newRow("WD relative pressure")
        << int(DataFileType::WswinWD) << wswin(76, 0x34, qint16(10132)) << 32 << "1013.2" << noon;
    QTest::newRow("WD rain thousandths")
        << int(DataFileType::WswinWD) << wswin(76, 0x36, qint16(250)) << 33 << "0.250" << noon;
    QTest::newRow("WD solar at odd offset")
        << int(DataFileType::WswinWD) << wswin(76, 0x3F, qint16(-7)) << 38 << "-7" << noon;
    QTest::newRow("WD reception hundredths")
        << int(DataFileType::WswinWD) << wswin(76, 0x43, qint16(9950)) << 40 << "99.50" << noon;
    QTest::newRow("WD last byte") << int(DataFileType::WswinWD) << wswin(76, 0x4B, quint8(3)) << 45
                                  << "3" << noon;
    QTest::newRow("WS whole hectopascals")
        << int(DataFileType::WswinWS) << wswin(72, 0x34, qint16(1013)) << 32 << "1013" << noon;
    QTest::newRow("WS last byte") << int(DataFileType::WswinWS) << wswin(72, 0x47, quint8(200))
                                  << 42 << "200" << noon;
    QTest::newRow("WM odd pressure offset")
        << int(DataFileType::WswinWM) << wswin(30, 0x13, qint16(987)) << 10 << "987" << noon;
    QTest::newRow("WM gusts") << int(DataFileType::WswinWM) << wswin(30, 0x1B, qint16(-35)) << 14
                              << "-3.5" << noon;
    {
        QByteArray r = record(30);
        QTest::newRow("DOS date 0") << int(DataFileType::WswinWM) << wswinFile(r) << 15 << "0"
                                    << "00/00/1980 00:00";
    }

    const auto ws3600 = [](int offset, auto value, double day) {
        QByteArray r = record(56);
        put<double>(r, 0, day);
        put(r, offset, value);
        return r;
    };
    QTest::newRow("3600 relative pressure at 0x0C")
        << int(DataFileType::WS3600) << ws3600(0x0C, 1020.4f, 42199.5) << 4 << "1020.4"
        << "14/07/2015 12:00";
    QTest::newRow("3600 absolute pressure at 0x08")
        << int(DataFileType::WS3600) << ws3600(0x08, 987.6f, 42199.5) << 5 << "987.6"
        << "14/07/2015 12:00";
    QTest::newRow("3600 wind x 3.6")
        << int(DataFileType::WS3600) << ws3600(0x10, 2.5f, 42199.5) << 8 << "9.0"
        << "14/07/2015 12:00";
    QTest::newRow("3600 direction code 16")
        << int(DataFileType::WS3600) << ws3600(0x14, quint32(16), 42199.5) << 9 << "360.0"
        << "14/07/2015 12:00";
    QTest::newRow("3600 direction code 3")
        << int(DataFileType::WS3600) << ws3600(0x14, quint32(3), 42199.5) << 9 << "67.5"
        << "14/07/2015 12:00";
    QTest::newRow("3600 gust as stored")
        << int(DataFileType::WS3600) << ws3600(0x18, 1.0f, 42199.5) << 10 << "1.0"
        << "14/07/2015 12:00";
    QTest::newRow("3600 humidity no decimals")
        << int(DataFileType::WS3600) << ws3600(0x30, 64.6f, 42199.5) << 3 << "65"
        << "14/07/2015 12:00";
    QTest::newRow("3600 unknown u32")
        << int(DataFileType::WS3600) << ws3600(0x34, quint32(4294967295u), 42199.5) << 11
        << "4294967295"
        << "14/07/2015 12:00";
    QTest::newRow("3600 a hair below the minute")
        << int(DataFileType::WS3600) << ws3600(0x24, 21.3f, 42199.5 - 1e-9) << 0 << "21.3"
        << "14/07/2015 12:00";

    const auto ws2300 = [](int offset, auto value) {
        QByteArray r = record(36);
        put<quint32>(r, 4, 3471336000u);
        put(r, offset, value);
        return r + QByteArray(28, 'T');
    };
    QTest::newRow("2300 wind x 3.6")
        << int(DataFileType::WS2300) << ws2300(0x0C, 1.0f) << 6 << "3.6" << noon;
    QTest::newRow("2300 direction")
        << int(DataFileType::WS2300) << ws2300(0x10, quint32(5)) << 7 << "112.5" << noon;
    QTest::newRow("2300 humidity u16")
        << int(DataFileType::WS2300) << ws2300(0x22, quint16(65535)) << 3 << "65535" << noon;
    QTest::newRow("2300 unknown at 0x00")
        << int(DataFileType::WS2300) << ws2300(0x00, quint32(77)) << 8 << "77" << noon;
    QTest::newRow("2300 rain total")
        << int(DataFileType::WS2300) << ws2300(0x14, 1234.5f) << 5 << "1234.500" << noon;
}

void TestLoading::decodesEveryColumnKind()
{
    QFETCH(int, type);
    QFETCH(QByteArray, file);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, label);
    TestAccess::load(*window, DataFileType(type),
                     TestSupport::writeFile(path(QStringLiteral("kind.DAT")), file));
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
    QCOMPARE(TestAccess::model(*window)->columnCount(),
             FenPrincipale::headerList(DataFileType(type)).size());
    QCOMPARE(cell(0, column), text);
    QCOMPARE(rowLabel(0), label);
}

void TestLoading::wswinMonthRecord()
{
    QByteArray r = record(30);
    r.replace(0, 6, QByteArray::fromHex("0060213C9CFF"));
    QByteArray second = record(30);
    put<quint16>(second, 0, 0x6020);
    put<quint16>(second, 2, 0x3C21);
    put<quint8>(second, 0x0F, 81);
    TestAccess::load(*window, DataFileType::WswinWM,
                     TestSupport::writeFile(path(QStringLiteral("WM.DAT")), wswinFile(r + second)));
    QCOMPARE(rowLabel(0), QStringLiteral("01/01/2010 12:00"));
    QCOMPARE(cell(0, 0), QStringLiteral("-10.0"));
    QCOMPARE(rowLabel(1), QStringLiteral("01/01/2010 12:01"));
    QCOMPARE(cell(1, 6), QStringLiteral("81"));
    QCOMPARE(TestAccess::model(*window)->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Temp. I.\n(°C)"));
    QCOMPARE(TestAccess::fileLabel(*window)->text(),
             QStringLiteral("Fichier \"WM.DAT\" : 2 données"));
}

void TestLoading::recordCounts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("records");
    QTest::newRow("WM with a partial record") << int(DataFileType::WswinWM) << 18 + 30 * 5 + 7 << 5;
    QTest::newRow("WD exact") << int(DataFileType::WswinWD) << 18 + 76 * 3 << 3;
    QTest::newRow("WS shorter than its header") << int(DataFileType::WswinWS) << 10 << 0;
    QTest::newRow("WS header only") << int(DataFileType::WswinWS) << 18 << 0;
    QTest::newRow("3600 exact") << int(DataFileType::WS3600) << 560 << 10;
    QTest::newRow("3600 partial") << int(DataFileType::WS3600) << 55 << 0;
    QTest::newRow("2300 trailer only") << int(DataFileType::WS2300) << 28 << 0;
    QTest::newRow("2300 shorter than its trailer") << int(DataFileType::WS2300) << 20 << 0;
    QTest::newRow("2300 with a partial record")
        << int(DataFileType::WS2300) << 28 + 36 * 3 + 35 << 3;
}

void TestLoading::recordCounts()
{
    QFETCH(int, type);
    QFETCH(int, size);
    QFETCH(int, records);
    TestAccess::load(
        *window, DataFileType(type),
        TestSupport::writeFile(path(QStringLiteral("count.DAT")), QByteArray(size, '\1')));
    QCOMPARE(TestAccess::recordCount(*window), records);
    QCOMPARE(TestAccess::model(*window)->rowCount(), qMax(records, 1));
    QCOMPARE(TestAccess::fileLabel(*window)->text(),
             QStringLiteral("Fichier \"count.DAT\" : %1 données").arg(records));
    for (int t = 0; t < Format::dataFileTypeCount; ++t)
        QCOMPARE(TestAccess::buffers(*window)[t] != nullptr, t == type);
}

void TestLoading::ws2300TrailerIsKept()
{
    QByteArray records;
    for (quint32 i = 0; i < 3; ++i) {
        QByteArray r = record(36);
        put<quint32>(r, 4, 3471336000u + 60 * i);
        records += r;
    }
    QByteArray trailer;
    for (int i = 0; i < 28; ++i)
        trailer.append(char(0xA0 + i));
    TestAccess::load(*window, DataFileType::WS2300,
                     TestSupport::writeFile(path(QStringLiteral("2300.DAT")), records + trailer));
    QCOMPARE(TestAccess::ws2300Trailer(*window), trailer);
    QCOMPARE(rowLabel(2), QStringLiteral("01/01/2010 12:02"));
    QCOMPARE(QByteArray(TestAccess::buffers(*window)[int(DataFileType::WS2300)], 108), records);
}

void TestLoading::zeroRecordsShowOneEmptyRow()
{
    TestAccess::load(
        *window, DataFileType::WswinWD,
        TestSupport::writeFile(path(QStringLiteral("empty.DAT")), QByteArray(18, 'H')));
    TableModel* model = TestAccess::model(*window);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->columnCount(), 46);
    QCOMPARE(rowLabel(0), QString());
    QCOMPARE(cell(0, 45), QString());
    QVERIFY(TestSupport::actionByText(*window, QStringLiteral("&Exporter"))->isEnabled());
}

void TestLoading::builtTableIsLive()
{
    QByteArray r = record(56);
    put<double>(r, 0, 42199.5);
    TestAccess::load(*window, DataFileType::WS3600,
                     TestSupport::writeFile(path(QStringLiteral("live.DAT")), r + r));
    QTableView* view = TestAccess::view(*window);
    QCOMPARE(view->model(), TestAccess::model(*window));
    QVERIFY(!view->signalsBlocked());
    for (const char* on :
         {"Imprimer...", "Rechercher une date...", "&Exporter", "&Importer", "Enregistrer sous..."})
        QVERIFY2(TestSupport::actionByText(*window, QString::fromUtf8(on))->isEnabled(), on);
    QVERIFY(!TestAccess::saveAction(*window)->isEnabled());
    QVERIFY(!TestAccess::view(*window)->isColumnHidden(0));
}

void TestLoading::monthFilePath_data()
{
    QTest::addColumn<QString>("workspace");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("path");
    QTest::newRow("March 2015") << "/data"
                                << "wswin_WS"
                                << "Mars"
                                << "2015"
                                << "/data/WS_03_15.DAT";
    QTest::newRow("trailing slash") << "/data/"
                                    << "wswin_WD"
                                    << "Janvier"
                                    << "2015"
                                    << "/data/WD_01_15.DAT";
    QTest::newRow("October 2009") << "/d"
                                  << "wswin_WM"
                                  << "Octobre"
                                  << "2009"
                                  << "/d/WM_10_09.DAT";
    QTest::newRow("2100") << "/d"
                          << "wswin_WM"
                          << "Décembre"
                          << "2100"
                          << "/d/WM_12_00.DAT";
    QTest::newRow("year not a number") << "/d"
                                       << "wswin_WD"
                                       << "Août"
                                       << ""
                                       << "/d/WD_08_00.DAT";
    QTest::newRow("unknown month") << "/d"
                                   << "wswin_WD"
                                   << "Brumaire"
                                   << "1998"
                                   << "/d/WD_98.DAT";
    QTest::newRow("accents") << "/Données météo"
                             << "wswin_WD"
                             << "Février"
                             << "2024"
                             << "/Données météo/WD_02_24.DAT";
}

void TestLoading::monthFilePath()
{
    QFETCH(QString, workspace);
    QFETCH(QString, type);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, path);
    QCOMPARE(TestAccess::monthFilePath(workspace, type, month, year), path);
}

void TestLoading::loadsByMonth()
{
    QByteArray r = record(76);
    put<quint16>(r, 2, 0x466F);
    put<qint16>(r, 0x06, 123);
    const QString folder = path(QStringLiteral("Données météo"));
    TestSupport::writeFile(folder + QStringLiteral("/WD_03_15.DAT"), wswinFile(r));
    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WswinWD));
    TestAccess::workspaceEdit(*window)->setText(folder);
    QCOMPARE(TestAccess::yearCombo(*window)->currentText(), QStringLiteral("2015"));
    TestAccess::monthCombo(*window)->setCurrentText(QStringLiteral("Mars"));
    TestAccess::showButton(*window)->click();
    QCOMPARE(cell(0, 1), QStringLiteral("12.3"));
    QCOMPARE(TestAccess::fileLabel(*window)->text(),
             QStringLiteral("Fichier \"WD_03_15.DAT\" : 1 données"));
}

void TestLoading::pathsWithAccentsAndAnyLength()
{
    QString deep = path(QStringLiteral("Données météo"));
    while (deep.toUtf8().size() < 600)
        deep += QStringLiteral("/répertoire-très-profond");
    QByteArray r = record(56);
    put<float>(r, 0x24, 19.5f);
    TestAccess::load(*window, DataFileType::WS3600,
                     TestSupport::writeFile(deep + QStringLiteral("/Été.DAT"), r));
    QCOMPARE(cell(0, 0), QStringLiteral("19.5"));
    QCOMPARE(TestAccess::fileLabel(*window)->text(),
             QStringLiteral("Fichier \"Été.DAT\" : 1 données"));
}

void TestLoading::missingFileShowsTheError()
{
    const QString missing = path(QStringLiteral("absent/WD_01_15.DAT"));
    QString message;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("OK"), &message);
    TestAccess::load(*window, DataFileType::WswinWD, missing);
    QCOMPARE(message, QStringLiteral("Erreur lors de l'ouverture de:\n") + missing);
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
    QCOMPARE(TestAccess::fileLabel(*window)->text(), QString());
    for (const char* off : {"Imprimer...", "Rechercher une date...", "&Exporter", "&Importer",
                            "Enregistrer sous...", "Enregistrer"})
        QVERIFY2(!TestSupport::actionByText(*window, QString::fromUtf8(off))->isEnabled(), off);
}

void TestLoading::recordsThatCannotBeHeld()
{
    // A sparse file of a terabyte holds more records than a document can count.
    const QString huge = path(QStringLiteral("huge.DAT"));
    {
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(1) << 40));
    }
    QString message;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("OK"), &message);
    TestAccess::load(*window, DataFileType::WswinWD, huge);
    QFile::remove(huge);
    QVERIFY(message.endsWith(QStringLiteral(":\n") + huge));
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
    for (char* buffer : TestAccess::buffers(*window))
        QVERIFY(buffer == nullptr);
    QVERIFY(!TestSupport::actionByText(*window, QStringLiteral("&Exporter"))->isEnabled());
}

void TestLoading::cancellingTheBuild()
{
    QByteArray records;
    for (int i = 0; i < 3000; ++i)
        records += record(36);
    const QString file =
        TestSupport::writeFile(path(QStringLiteral("cancel.DAT")), records + QByteArray(28, 'T'));
    const auto cancel = TestSupport::whenShown<QProgressDialog>(
        [](QProgressDialog* progress) { progress->cancel(); });
    TestAccess::load(*window, DataFileType::WS2300, file);
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
    QCOMPARE(TestAccess::model(*window)->columnCount(), 1);
    QCOMPARE(TestAccess::fileLabel(*window)->text(), QString());
    for (char* buffer : TestAccess::buffers(*window))
        QVERIFY(buffer == nullptr);
    QVERIFY(!TestSupport::actionByText(*window, QStringLiteral("&Exporter"))->isEnabled());

    TestAccess::load(*window, DataFileType::WS2300, file);
    QCOMPARE(TestAccess::model(*window)->rowCount(), 3000);
}

// Whatever runs in the event pass between reading the file and building the table (here the type
// selector turned, which lists the workspace and clears the document) must not make the build
// read a freed buffer.
void TestLoading::documentClearedDuringTheLoad()
{
    QByteArray r = record(76);
    const QString file = TestSupport::writeFile(path(QStringLiteral("WD.DAT")), wswinFile(r + r));
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [this, &turn] {
        if (TestAccess::buffers(*window)[int(DataFileType::WswinWD)]) {
            turn.stop();
            TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WswinWM));
        }
    });
    turn.start(0);
    TestAccess::load(*window, DataFileType::WswinWD, file);
    QVERIFY(!turn.isActive());
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
    QCOMPARE(TestAccess::model(*window)->columnCount(), 1);
    QVERIFY(!TestSupport::actionByText(*window, QStringLiteral("&Exporter"))->isEnabled());
}

void TestLoading::documentTypeOutlivesTheSelector()
{
    QByteArray r = record(76);
    put<qint16>(r, 0x04, 215);
    TestAccess::load(*window, DataFileType::WswinWD,
                     TestSupport::writeFile(path(QStringLiteral("doc.DAT")), wswinFile(r)));
    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WS2300));
    QCOMPARE(cell(0, 0), QStringLiteral("21.5"));
    QCOMPARE(TestAccess::documentType(*window), DataFileType::WswinWD);
    QVERIFY(TestAccess::buffers(*window)[int(DataFileType::WswinWD)] != nullptr);
    QVERIFY(TestAccess::buffers(*window)[int(DataFileType::WS2300)] == nullptr);
}

void TestLoading::openDialogLoadsTheChosenType()
{
    QByteArray r = record(56);
    put<float>(r, 0x28, -4.5f);
    const QString file = TestSupport::writeFile(path(QStringLiteral("open.DAT")), r);
    TestSupport::actionByText(*window, QStringLiteral("&Ouvrir"))->trigger();
    QDialog* chooser = TestAccess::currentDialog(*window);
    QCOMPARE(chooser->windowTitle(), QStringLiteral("Type"));
    QComboBox* types = TestAccess::typeChooserCombo(*window);
    QCOMPARE(types->count(), 5);
    QCOMPARE(types->currentText(), QStringLiteral("wswin_WD"));
    types->setCurrentText(QStringLiteral("WS3600"));
    const auto choose = TestSupport::whenShown<QFileDialog>([file](QFileDialog* dialog) {
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();
    });
    chooser->findChild<QPushButton*>()->click();
    QVERIFY(!chooser->isVisible());
    QCOMPARE(TestAccess::fileTypeCombo(*window)->currentText(), QStringLiteral("WS3600"));
    QCOMPARE(TestAccess::model(*window)->columnCount(), 12);
    QCOMPARE(cell(0, 1), QStringLiteral("-4.5"));
}

void TestLoading::openDialogCancelledRestoresTheType()
{
    TestSupport::actionByText(*window, QStringLiteral("&Ouvrir"))->trigger();
    TestAccess::typeChooserCombo(*window)->setCurrentText(QStringLiteral("wswin_WM"));
    const auto cancel =
        TestSupport::whenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    TestAccess::currentDialog(*window)->findChild<QPushButton*>()->click();
    QCOMPARE(TestAccess::fileTypeCombo(*window)->currentText(), QStringLiteral("wswin_WD"));
}

void TestLoading::listing()
{
    const QString folder = path(QStringLiteral("listing"));
    for (const char* name : {"WS_01_15.DAT", "WS_02_15.dat", "WD_01_15.DAT", "WS_03_91.DAT",
                             "WS_03_90.DAT", "WS_04_15-old.DAT", "WS_03_2015_x.DAT", "ws_05_15.dat",
                             "WS_06_15.txt", "WS_07_15.Dat", "WS_08_2147483000.DAT"})
        TestSupport::writeFile(folder + QLatin1Char('/') + QLatin1String(name),
                               QByteArray(18, 'H'));
    QByteArray r = record(72);
    TestAccess::load(*window, DataFileType::WswinWS,
                     TestSupport::writeFile(path(QStringLiteral("open.DAT")), wswinFile(r + r)));
    QCOMPARE(TestAccess::model(*window)->rowCount(), 2);

    TestAccess::workspaceEdit(*window)->setText(folder);
    QCOMPARE(TestAccess::filesFoundLabel(*window)->text(), QStringLiteral("7 fichiers trouvés"));
    QStringList years;
    for (int i = 0; i < TestAccess::yearCombo(*window)->count(); ++i)
        years << TestAccess::yearCombo(*window)->itemText(i);
    years.sort();
    // The name filters ignore case; a year field too long to be a year reads as 0.
    QCOMPARE(years, (QStringList{"1991", "2000", "2015", "2090"}));
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
    QVERIFY(TestAccess::buffers(*window)[int(DataFileType::WswinWS)] == nullptr);

    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WswinWD));
    QCOMPARE(TestAccess::filesFoundLabel(*window)->text(), QStringLiteral("1 fichiers trouvés"));
    QCOMPARE(TestAccess::yearCombo(*window)->count(), 1);

    TestAccess::workspaceEdit(*window)->setText(path(QStringLiteral("nowhere")));
    QCOMPARE(TestAccess::filesFoundLabel(*window)->text(), QStringLiteral("0 fichiers trouvés"));
    QCOMPARE(TestAccess::yearCombo(*window)->count(), 0);
}

void TestLoading::listingStationTypesDisablesMonthControls()
{
    QByteArray r = record(30);
    TestAccess::load(*window, DataFileType::WswinWM,
                     TestSupport::writeFile(path(QStringLiteral("wm.DAT")), wswinFile(r + r + r)));
    TestAccess::yearCombo(*window)->addItem(QStringLiteral("2015"));
    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WS2300));
    QVERIFY(!TestAccess::showButton(*window)->isEnabled());
    QVERIFY(!TestAccess::yearCombo(*window)->isEnabled());
    QVERIFY(!TestAccess::monthCombo(*window)->isEnabled());
    QCOMPARE(TestAccess::filesFoundLabel(*window)->text(), QString());
    QCOMPARE(TestAccess::yearCombo(*window)->count(), 1);
    QCOMPARE(TestAccess::model(*window)->rowCount(), 3);

    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WswinWM));
    QVERIFY(TestAccess::showButton(*window)->isEnabled());
    QCOMPARE(TestAccess::model(*window)->rowCount(), 1);
}

STRATOMARK_TEST_MAIN(TestLoading)
#include "tst_loading.moc"

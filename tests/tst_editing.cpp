#include "testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using Format::DataFileType;
using TestSupport::put;

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writerConversions_data();
    void writerConversions();
    void writerAndDecoderAgreeOnEveryColumn();
    void writerIgnoresColumnsOutsideTheType();
    void gate_data();
    void gate();
    void editWithoutARecordIsRefused();
    void twentyFiveEditsUndoneAndRedone();
    void twentySixthEditDropsTheOldest();
    void newEditCutsTheRedoChain();
    void refusedUndoTextShowsTheBox();
    void undoRestoresTheExactBytes();
    void kmhReadsBackAsAPlainFloatColumn();

private:
    void loadRecords(DataFileType type, const QList<QByteArray>& records);
    void edit(int row, int column, const QString& text)
    {
        TestAccess::edit(*window, row, column, text);
    }
    QString cell(int row, int column) const { return TestAccess::cell(*window, row, column); }
    QByteArray field(int row, int offset, int size) const;

    QTemporaryDir dir;
    std::unique_ptr<FenPrincipale> window;
};

void TestEditing::init()
{
    window = TestSupport::makeWindow();
}

void TestEditing::loadRecords(DataFileType type, const QList<QByteArray>& records)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes(layout.headerSize, 'H');
    for (const QByteArray& record : records)
        bytes += record;
    bytes += QByteArray(layout.trailerSize, 'T');
    TestAccess::load(*window, type,
                     TestSupport::writeFile(dir.filePath(QStringLiteral("e.DAT")), bytes));
}

QByteArray TestEditing::field(int row, int offset, int size) const
{
    return QByteArray(TestAccess::documentRecord(*window, row) + offset, size);
}

void TestEditing::writerConversions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    const int WD = int(DataFileType::WswinWD), WS = int(DataFileType::WswinWS),
              WM = int(DataFileType::WswinWM), W36 = int(DataFileType::WS3600),
              W23 = int(DataFileType::WS2300);
    QTest::newRow("x10 signed") << WD << 0 << "21.3" << QByteArray::fromHex("d500");
    QTest::newRow("x10 signed, too many decimals")
        << WD << 0 << "21.35" << QByteArray::fromHex("0000");
    QTest::newRow("x10 signed, negative") << WD << 0 << "-5.2" << QByteArray::fromHex("ccff");
    QTest::newRow("x10 unsigned pressure") << WD << 32 << "1013.2" << QByteArray::fromHex("9427");
    QTest::newRow("x10 unsigned, negative") << WS << 36 << "-1.5" << QByteArray::fromHex("0000");
    QTest::newRow("x1000 unsigned rain 40") << WD << 33 << "40" << QByteArray::fromHex("409c");
    QTest::newRow("x1000 signed rain 40") << WS << 33 << "40" << QByteArray::fromHex("0000");
    QTest::newRow("x1000 signed thousandth") << WM << 11 << "0.007" << QByteArray::fromHex("0700");
    QTest::newRow("x100 signed") << WD << 40 << "99.5" << QByteArray::fromHex("de26");
    QTest::newRow("word") << WD << 35 << "270" << QByteArray::fromHex("0e01");
    QTest::newRow("word, negative") << WD << 35 << "-5" << QByteArray::fromHex("0000");
    QTest::newRow("byte") << WM << 5 << "65" << QByteArray::fromHex("41");
    QTest::newRow("byte, fraction") << WM << 5 << "65.5" << QByteArray::fromHex("00");
    QTest::newRow("byte, low 8 bits") << WM << 5 << "300" << QByteArray::fromHex("2c");
    QTest::newRow("float") << W23 << 1 << "21.3" << QByteArray::fromHex("6666aa41");
    QTest::newRow("float from km/h") << W36 << 8 << "9.0" << QByteArray::fromHex("00002040");
    QTest::newRow("direction") << W36 << 9 << "67.5" << QByteArray::fromHex("03000000");
    QTest::newRow("u32") << W36 << 11 << "4294967295" << QByteArray::fromHex("ffffffff");
    QTest::newRow("u32 low 16") << W23 << 2 << "70000" << QByteArray::fromHex("7011");
    QTest::newRow("not a number") << WD << 0 << "abc" << QByteArray::fromHex("0000");
}

void TestEditing::writerConversions()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    const Format::Field& target = layout.fields[column];
    QByteArray record(layout.recordSize, '\x5A');
    TestAccess::writeField(target, record.data(), text);
    QCOMPARE(record.mid(target.offset, stored.size()).toHex(), stored.toHex());
    QByteArray untouched = record;
    untouched.replace(target.offset, stored.size(), QByteArray(stored.size(), '\x5A'));
    QCOMPARE(untouched, QByteArray(layout.recordSize, '\x5A'));
}

// A value written into any column and read back shows the same text: the writer and the
// decoder address the same bytes in the same way.
void TestEditing::writerAndDecoderAgreeOnEveryColumn()
{
    for (const Format::RecordLayout& layout : Format::layouts) {
        for (int column = 0; column < layout.columnCount; ++column) {
            const Format::Field& f = layout.fields[column];
            const int decimals = Format::ruleDecimals(f.rule);
            const QString text = f.rule == Format::CellRule::DirectionCode
                                     ? QStringLiteral("202.5")
                                     : QString::number(12.0 + column / 8.0, 'f', qMax(decimals, 0));
            QByteArray record(layout.recordSize, '\0');
            TestAccess::writeField(f, record.data(), text);
            QCOMPARE(FenPrincipale::fieldText(f, record.constData()), text);
        }
    }
}

void TestEditing::writerIgnoresColumnsOutsideTheType()
{
    loadRecords(DataFileType::WswinWD, {QByteArray(76, '\x11')});
    TestAccess::writeCellToRecord(*window, 0, 46, QStringLiteral("1"));
    TestAccess::writeCellToRecord(*window, 0, -1, QStringLiteral("1"));
    TestAccess::writeCellToRecord(*window, 1, 0, QStringLiteral("1"));
    QCOMPARE(field(0, 0, 76), QByteArray(76, '\x11'));
}

void TestEditing::gate_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("reason"); // the box's explanation; empty when no box shows
    const int WD = int(DataFileType::WswinWD), W36 = int(DataFileType::WS3600),
              W23 = int(DataFileType::WS2300);
    const QString range = QStringLiteral("Les valeurs vont de -50 à 2000.");
    const QString field = QStringLiteral("Le champ de cette colonne ne peut pas contenir cette "
                                         "valeur.");
    const QString oneDecimal = QStringLiteral("Cette colonne ne garde qu'une décimale.");
    QTest::newRow("lowest") << WD << 0 << "-50" << true << "";
    QTest::newRow("highest") << WD << 0 << "2000" << true << "";
    QTest::newRow("below the range") << WD << 0 << "-50.1" << false << range;
    QTest::newRow("above the range") << WD << 0 << "2000.1" << false << range;
    QTest::newRow("decimal comma") << WD << 0 << "12,5" << false
                                   << "La virgule ne sépare pas les décimales : utilisez le point.";
    QTest::newRow("decimal point") << WD << 0 << "12.5" << true << "";
    QTest::newRow("trailing zero") << WD << 0 << "21.30" << true << "";
    QTest::newRow("empty") << WD << 0 << "" << false << "";
    QTest::newRow("not a number") << WD << 0 << "abc" << false << "« abc » n'est pas un nombre.";
    QTest::newRow("too many decimals") << WD << 0 << "21.35" << false << oneDecimal;
    QTest::newRow("humidity over a byte") << WD << 16 << "300" << false << field;
    QTest::newRow("humidity fraction")
        << WD << 16 << "65.5" << false << "Cette colonne ne garde pas de décimale.";
    QTest::newRow("rain that wraps") << WD << 33 << "40" << false << field;
    QTest::newRow("negative through an unsigned parse") << WD << 34 << "-5.2" << false << field;
    QTest::newRow("float takes any decimals") << W23 << 1 << "21.35" << true << "";
    QTest::newRow("float wind") << W36 << 8 << "10.07" << true << "";
    QTest::newRow("direction step") << W36 << 9 << "67.5" << true << "";
    QTest::newRow("direction between steps") << W36 << 9 << "70" << false << field;
    QTest::newRow("negative direction") << W23 << 7 << "-22.5" << false << field;
    QTest::newRow("nan in a float") << W23 << 1 << "nan" << false << "« nan » n'est pas un nombre.";
    QTest::newRow("NaN in a km/h float")
        << W36 << 8 << "NaN" << false << "« NaN » n'est pas un nombre.";
    QTest::newRow("inf") << W36 << 0 << "inf" << false << "« inf » n'est pas un nombre.";
    QTest::newRow("hundredth rounded away by a tenths field")
        << WD << 0 << "0.04" << false << oneDecimal;
    QTest::newRow("a hair off a tenth") << WD << 0 << "21.300001" << false << oneDecimal;
    QTest::newRow("direction rounded to its step") << W36 << 9 << "22.54" << false << oneDecimal;
    QTest::newRow("thousandths kept")
        << WD << 33 << "1.2345" << false << "Cette colonne garde 3 décimales.";
}

void TestEditing::gate()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, reason);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    loadRecords(DataFileType(type), {QByteArray(layout.recordSize, '\0')});
    const QString before = cell(0, column);
    const QByteArray recordBefore = field(0, 0, layout.recordSize);

    QStringList boxes;
    const auto answer = TestSupport::whenModalShown([&boxes](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box)
            boxes << box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|') +
                         box->informativeText();
        modal->close();
        return true;
    });
    edit(0, column, text);

    QCOMPARE(boxes,
             reason.isEmpty() ? QStringList() : QStringList{"Erreur|Erreur de saisie|" + reason});
    QCOMPARE(TestAccess::saveAction(*window)->isEnabled(), accepted);
    QCOMPARE(TestAccess::undoCount(*window), accepted ? 1 : 0);
    if (accepted) {
        QCOMPARE(cell(0, column), text);
        QByteArray expected = recordBefore;
        TestAccess::writeField(layout.fields[column], expected.data(), text);
        QCOMPARE(field(0, 0, layout.recordSize), expected);
        QVERIFY(expected != recordBefore);
    } else {
        QCOMPARE(cell(0, column), before);
        QCOMPARE(field(0, 0, layout.recordSize), recordBefore);
    }
}

void TestEditing::editWithoutARecordIsRefused()
{
    loadRecords(DataFileType::WS3600, {});
    TestSupport::BoxLog boxes;
    edit(0, 0, QStringLiteral("12.5"));
    QCOMPARE(cell(0, 0), QString());
    QVERIFY(!TestAccess::saveAction(*window)->isEnabled());
    QCOMPARE(boxes.texts, QStringList{"Erreur de saisie"});
}

void TestEditing::twentyFiveEditsUndoneAndRedone()
{
    QList<QByteArray> records;
    for (int i = 0; i < 25; ++i)
        records << QByteArray(76, '\0');
    loadRecords(DataFileType::WswinWD, records);
    QAction* undo = TestSupport::actionByText(*window, QStringLiteral("Annuler"));
    QAction* redo = TestSupport::actionByText(*window, QStringLiteral("Rétablir"));
    for (int i = 0; i < 25; ++i)
        edit(i, 1, QString::number(i + 1) + QStringLiteral(".5"));
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    for (int i = 24; i >= 0; --i) {
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(cell(i, 1), QStringLiteral("0.0"));
        QCOMPARE(field(i, 0x06, 2), QByteArray(2, '\0'));
        QVERIFY(redo->isEnabled());
    }
    QVERIFY(!undo->isEnabled());
    QCOMPARE(TestAccess::undoCount(*window), 0);

    for (int i = 0; i < 25; ++i) {
        QVERIFY(redo->isEnabled());
        redo->trigger();
        QCOMPARE(cell(i, 1), QString::number(i + 1) + QStringLiteral(".5"));
        QCOMPARE(qFromLittleEndian<qint16>(TestAccess::documentRecord(*window, i) + 0x06),
                 10 * i + 15);
    }
    QVERIFY(!redo->isEnabled());
    QCOMPARE(TestAccess::undoCount(*window), 25);
}

void TestEditing::twentySixthEditDropsTheOldest()
{
    loadRecords(DataFileType::WswinWM, {QByteArray(30, '\0')});
    QAction* undo = TestSupport::actionByText(*window, QStringLiteral("Annuler"));
    for (int i = 1; i <= 26; ++i)
        edit(0, 0, QString::number(i));
    for (int i = 0; i < 25; ++i)
        undo->trigger();
    QVERIFY(!undo->isEnabled());
    QCOMPARE(cell(0, 0), QStringLiteral("1"));
    QCOMPARE(qFromLittleEndian<qint16>(TestAccess::documentRecord(*window, 0) + 0x04), 10);
}

void TestEditing::newEditCutsTheRedoChain()
{
    loadRecords(DataFileType::WS2300, {QByteArray(36, '\0')});
    QAction* undo = TestSupport::actionByText(*window, QStringLiteral("Annuler"));
    QAction* redo = TestSupport::actionByText(*window, QStringLiteral("Rétablir"));
    edit(0, 0, QStringLiteral("1"));
    edit(0, 0, QStringLiteral("2"));
    edit(0, 0, QStringLiteral("3"));
    undo->trigger();
    undo->trigger();
    QCOMPARE(cell(0, 0), QStringLiteral("1"));
    QVERIFY(redo->isEnabled());
    edit(0, 1, QStringLiteral("4"));
    QVERIFY(!redo->isEnabled());
    redo->trigger();
    QCOMPARE(cell(0, 0), QStringLiteral("1"));
    QCOMPARE(TestAccess::undoCount(*window), 2);
}

void TestEditing::refusedUndoTextShowsTheBox()
{
    QByteArray record(76, '\0');
    put<qint16>(record, 0x04, -32768);
    loadRecords(DataFileType::WswinWD, {record});
    QCOMPARE(cell(0, 0), QStringLiteral("-3276.8"));
    edit(0, 0, QStringLiteral("4.5"));
    QString message;
    const auto answer = TestSupport::answerMessageBox(QStringLiteral("OK"), &message);
    TestSupport::actionByText(*window, QStringLiteral("Annuler"))->trigger();
    QCOMPARE(message, QStringLiteral("Erreur de saisie"));
    QCOMPARE(cell(0, 0), QStringLiteral("4.5"));
    QCOMPARE(qFromLittleEndian<qint16>(TestAccess::documentRecord(*window, 0) + 0x04), 45);
    QCOMPARE(TestAccess::undoCount(*window), 0);
}

// A float field shows a rounded text; taking an edit back must leave the record as loaded, and
// redoing it must give back the edited value's own bytes.
void TestEditing::undoRestoresTheExactBytes()
{
    QByteArray record(36, '\0');
    put<float>(record, 0x1C, 21.37f);
    loadRecords(DataFileType::WS2300, {record});
    QCOMPARE(cell(0, 1), QStringLiteral("21.4"));
    edit(0, 1, QStringLiteral("25.04"));
    QAction* undo = TestSupport::actionByText(*window, QStringLiteral("Annuler"));
    QAction* redo = TestSupport::actionByText(*window, QStringLiteral("Rétablir"));
    for (int round = 0; round < 2; ++round) {
        undo->trigger();
        QCOMPARE(cell(0, 1), QStringLiteral("21.4"));
        QCOMPARE(field(0, 0, 36).toHex(), record.toHex());
        redo->trigger();
        QCOMPARE(qFromLittleEndian<float>(TestAccess::documentRecord(*window, 0) + 0x1C), 25.04f);
    }
}

// Every text from -50.00 to 2000.00 typed into a km/h column reads back, once stored in m/s, as
// the text a plain float column shows for it.
void TestEditing::kmhReadsBackAsAPlainFloatColumn()
{
    const Format::Field& wind = Format::layout(DataFileType::WS3600).fields[8];
    QByteArray record(56, '\0');
    int differing = 0;
    for (int hundredths = -5000; hundredths <= 200000; ++hundredths) {
        const QString text = QString::number(hundredths / 100.0, 'f', 2);
        TestAccess::writeField(wind, record.data(), text);
        if (FenPrincipale::fieldText(wind, record.constData()) !=
            QString::number(double(text.toFloat()), 'f', 1))
            ++differing;
    }
    QCOMPARE(differing, 0);
}

STRATOMARK_TEST_MAIN(TestEditing)
#include "tst_editing.moc"

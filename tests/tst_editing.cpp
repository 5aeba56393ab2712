#include "testsupport.h"

#include <QTableView>

using Format::DataFileType;
using TestSupport::BoxLog;
using TestSupport::put;

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void gate_data();
    void gate();
    void writerIgnoresCellsWithoutAField();
    void twentyFiveEditsUndoneAndRedone();
    void historyDropsTheOldestAndCutsRedo();
    void refusedUndoText();
    void undoRestoresTheExactBytes();

private:
    void open(DataFileType type, const QList<QByteArray>& records);
    QByteArray record(int row) { return e->records().mid(row * recordSize, recordSize); }

    std::unique_ptr<TestSupport::Editor> e;
    int recordSize = 0;
};

void TestEditing::init()
{
    e = std::make_unique<TestSupport::Editor>();
}

void TestEditing::open(DataFileType type, const QList<QByteArray>& records)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes(layout.headerSize, 'H');
    for (const QByteArray& record : records)
        bytes += record;
    e->open(type, bytes + QByteArray(layout.trailerSize, 'T'));
    recordSize = layout.recordSize;
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

// An accepted text reaches exactly its field, enters the history and marks the document
// modified; a refused one changes nothing and the box says why.
void TestEditing::gate()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, reason);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    open(DataFileType(type), {QByteArray(layout.recordSize, '\0')});
    const QString before = e->cell(0, column);
    const QByteArray recordBefore = record(0);
    BoxLog boxes;
    e->edit(0, column, text);
    QCOMPARE(boxes.texts, reason.isEmpty() ? QStringList() : QStringList{"Erreur de saisie"});
    QCOMPARE(boxes.explanations, reason.isEmpty() ? QStringList() : QStringList{reason});
    QCOMPARE(e->enabled(QStringLiteral("Enregistrer")), accepted);
    QCOMPARE(e->window().isWindowModified(), accepted);
    QCOMPARE(TestAccess::undoCount(e->window()), accepted ? 1 : 0);
    QCOMPARE(e->cell(0, column), accepted ? text : before);
    QByteArray expected = recordBefore;
    if (accepted)
        TestAccess::writeField(layout.fields[column], expected.data(), text);
    QCOMPARE(record(0), expected);
    QCOMPARE(expected != recordBefore, accepted);
}

// A cell of the placeholder row of a file without records, or outside the type's columns, has
// no field to write.
void TestEditing::writerIgnoresCellsWithoutAField()
{
    open(DataFileType::WS3600, {});
    BoxLog boxes;
    e->edit(0, 0, QStringLiteral("12.5"));
    QCOMPARE(e->cell(0, 0), QString());
    QCOMPARE(boxes.explanations,
             QStringList{"Cette ligne ne correspond à aucun enregistrement du fichier."});
    QVERIFY(!e->enabled(QStringLiteral("Enregistrer")));
    open(DataFileType::WswinWD, {QByteArray(76, '\x11')});
    e->model()->insertColumns(46, 1, QModelIndex());
    e->edit(0, 46, QStringLiteral("1"));
    QCOMPARE(record(0), QByteArray(76, '\x11'));
}

void TestEditing::twentyFiveEditsUndoneAndRedone()
{
    open(DataFileType::WswinWD, QVector<QByteArray>(25, QByteArray(76, 0)).toList());
    for (int i = 0; i < 25; ++i)
        e->edit(i, 1, QString::number(i + 1) + QStringLiteral(".5"));
    QVERIFY(!e->enabled(QStringLiteral("Rétablir")));
    for (int i = 24; i >= 0; --i) {
        QVERIFY(e->enabled(QStringLiteral("Annuler")));
        e->trigger(QStringLiteral("Annuler"));
        QCOMPARE(e->cell(i, 1), QStringLiteral("0.0"));
        QCOMPARE(record(i), QByteArray(76, '\0'));
        QCOMPARE(e->view()->currentIndex(), e->model()->index(i, 1));
        QVERIFY(e->enabled(QStringLiteral("Rétablir")));
    }
    QVERIFY(!e->enabled(QStringLiteral("Annuler")));
    for (int i = 0; i < 25; ++i) {
        QVERIFY(e->enabled(QStringLiteral("Rétablir")));
        e->trigger(QStringLiteral("Rétablir"));
        QCOMPARE(e->cell(i, 1), QString::number(i + 1) + QStringLiteral(".5"));
        QCOMPARE(qFromLittleEndian<qint16>(record(i).constData() + 0x06), 10 * i + 15);
    }
    QVERIFY(!e->enabled(QStringLiteral("Rétablir")));
    QCOMPARE(TestAccess::undoCount(e->window()), 25);
}

// At most the latest 25 edits can be taken back, and a new edit ends the redo chain.
void TestEditing::historyDropsTheOldestAndCutsRedo()
{
    open(DataFileType::WswinWM, {QByteArray(30, '\0'), QByteArray(30, '\0')});
    for (int i = 1; i <= 26; ++i)
        e->edit(0, 0, QString::number(i));
    for (int i = 0; i < 25; ++i)
        e->trigger(QStringLiteral("Annuler"));
    QVERIFY(!e->enabled(QStringLiteral("Annuler")));
    QCOMPARE(e->cell(0, 0), QStringLiteral("1"));
    QCOMPARE(qFromLittleEndian<qint16>(record(0).constData() + 0x04), 10);
    e->trigger(QStringLiteral("Rétablir"));
    e->edit(1, 1, QStringLiteral("4"));
    QVERIFY(!e->enabled(QStringLiteral("Rétablir")));
    e->trigger(QStringLiteral("Rétablir"));
    QCOMPARE(e->cell(0, 0), QStringLiteral("2"));
    QCOMPARE(TestAccess::undoCount(e->window()), 2);
}

// A text from the file that the gate would refuse, put back by undo, brings the box; the cell
// keeps its text and the history moves all the same.
void TestEditing::refusedUndoText()
{
    QByteArray first(76, '\0');
    put<qint16>(first, 0x04, -32768);
    open(DataFileType::WswinWD, {first});
    QCOMPARE(e->cell(0, 0), QStringLiteral("-3276.8"));
    e->edit(0, 0, QStringLiteral("4.5"));
    BoxLog boxes;
    e->trigger(QStringLiteral("Annuler"));
    QCOMPARE(boxes.texts, QStringList{"Erreur de saisie"});
    QCOMPARE(e->cell(0, 0), QStringLiteral("4.5"));
    QCOMPARE(qFromLittleEndian<qint16>(record(0).constData() + 0x04), 45);
    QCOMPARE(TestAccess::undoCount(e->window()), 0);
}

// A float field shows a rounded text; taking an edit back must leave the record as loaded, and
// redoing it must give back the edited value's own bytes.
void TestEditing::undoRestoresTheExactBytes()
{
    QByteArray loaded(36, '\0');
    put<float>(loaded, 0x1C, 21.37f);
    open(DataFileType::WS2300, {loaded});
    e->edit(0, 1, QStringLiteral("25.04"));
    for (int round = 0; round < 2; ++round) {
        e->trigger(QStringLiteral("Annuler"));
        QCOMPARE(e->cell(0, 1), QStringLiteral("21.4"));
        QCOMPARE(record(0).toHex(), loaded.toHex());
        e->trigger(QStringLiteral("Rétablir"));
        QCOMPARE(qFromLittleEndian<float>(record(0).constData() + 0x1C), 25.04f);
    }
}

STRATOMARK_TEST_MAIN(TestEditing)
#include "tst_editing.moc"

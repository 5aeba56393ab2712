#include "synthetic.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCodec>

#include <csignal>
#include <sys/resource.h>

using Format::DataFileType;
using TestSupport::actionByText;

namespace
{
const QString csvFilter = QStringLiteral("Fichier CSV (*.csv)");
const QString lineCountMessage =
    QStringLiteral("Le fichier ne contient pas le même nombre de lignes que le tableau");
} // namespace

class TestTools : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sensorDialogSplit_data();
    void sensorDialogSplit();
    void sensorChoiceIsForTheDocumentsType();
    void exportBytes_data();
    void exportBytes();
    void appendedSuffixAsks_data();
    void appendedSuffixAsks();
    void failedExportKeepsTheFile_data();
    void failedExportKeepsTheFile();
    void importRoundTrip_data();
    void importRoundTrip();
    void importFaults_data();
    void importFaults();
    void printing();

private:
    QString load(DataFileType type, int records, const QString& name = "doc.DAT");
    QString cell(int row, int column) const { return TestAccess::cell(*window, row, column); }
    QString label(int row) const
    {
        return TestAccess::model(*window)
            ->headerData(row, Qt::Vertical, Qt::DisplayRole)
            .toString();
    }
    QStringList grid() const;
    TestSupport::ModalWatch chooseFile(const QString& path, const QString& filter = "*.*",
                                       bool removeAfter = false);
    void exportTo(const QString& path, int scope, int separator, const QString& filter = "*.*");
    void importFrom(const QString& path, bool removeAfter = false);
    void click(const QString& text);
    static QByteArray read(const QString& path);
    static TestSupport::ModalWatch collectBoxes(QStringList* texts);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FenPrincipale> window;
};

void TestTools::init()
{
    window = TestSupport::makeWindow();
    dir = std::make_unique<QTemporaryDir>();
}

QString TestTools::load(DataFileType type, int records, const QString& name)
{
    const QString path = TestSupport::writeFile(
        dir->filePath(name),
        Synthetic::stationFile(type, QDateTime(QDate(2014, 1, 1), QTime(0, 0)), 10, records));
    TestAccess::load(*window, type, path);
    return path;
}

// Each row's label and cells, so that whole tables compare at once.
QStringList TestTools::grid() const
{
    QStringList rows;
    for (int row = 0; row < TestAccess::model(*window)->rowCount(); ++row) {
        QStringList texts{label(row)};
        for (int column = 0; column < TestAccess::model(*window)->columnCount(); ++column)
            texts << cell(row, column);
        rows << texts.join(QLatin1Char('|'));
    }
    return rows;
}

TestSupport::ModalWatch TestTools::chooseFile(const QString& path, const QString& filter,
                                              bool removeAfter)
{
    return TestSupport::whenShown<QFileDialog>([=](QFileDialog* dialog) {
        dialog->selectNameFilter(filter);
        dialog->selectFile(path);
        // As if the user had confirmed the dialog's own question about a name that exists.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        static_cast<QDialog*>(dialog)->accept();
        if (removeAfter)
            QFile::remove(path);
    });
}

void TestTools::exportTo(const QString& path, int scope, int separator, const QString& filter)
{
    actionByText(*window, QStringLiteral("&Exporter"))->trigger();
    TestAccess::exportScopeCombo(*window)->setCurrentIndex(scope);
    TestAccess::separatorCombo(*window)->setCurrentIndex(separator);
    const auto answer = chooseFile(path, filter);
    click(QStringLiteral("OK"));
}

void TestTools::importFrom(const QString& path, bool removeAfter)
{
    const auto answer = chooseFile(path, QStringLiteral("*.*"), removeAfter);
    actionByText(*window, QStringLiteral("&Importer"))->trigger();
}

void TestTools::click(const QString& text)
{
    for (QPushButton* button : TestAccess::currentDialog(*window)->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button->click();
    }
    QFAIL(qPrintable(text));
}

// Answers every message box, so that a box too many fails an assertion instead of waiting.
TestSupport::ModalWatch TestTools::collectBoxes(QStringList* texts)
{
    return TestSupport::whenModalShown([texts](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts->append(box->text());
            box->accept();
        }
        return false;
    });
}

QByteArray TestTools::read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestTools::sensorDialogSplit_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("rightFirst");
    QTest::newRow("wswin_WD") << int(DataFileType::WswinWD) << 23 << 23 << "Hum. 7";
    QTest::newRow("wswin_WS") << int(DataFileType::WswinWS) << 21 << 22 << "Hum. 5";
    QTest::newRow("wswin_WM") << int(DataFileType::WswinWM) << 8 << 8 << "Hum. 3";
    QTest::newRow("WS3600") << int(DataFileType::WS3600) << 6 << 6 << "Pluie totale";
    QTest::newRow("WS2300") << int(DataFileType::WS2300) << 4 << 5 << "Pression Abs";
}

// With no document, the boxes are those of the selector's type.
void TestTools::sensorDialogSplit()
{
    QFETCH(int, type);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(QString, rightFirst);
    TestAccess::fileTypeCombo(*window)->setCurrentIndex(type);
    actionByText(*window, QStringLiteral("Sondes..."))->trigger();
    QCOMPARE(TestAccess::currentDialog(*window)->windowTitle(), QStringLiteral("Sondes"));
    QCOMPARE(TestAccess::sensorForm(*window, false)->rowCount(), left);
    QCOMPARE(TestAccess::sensorForm(*window, true)->rowCount(), right);
    const auto firstLabel = [this](bool side) {
        QLayoutItem* item =
            TestAccess::sensorForm(*window, side)->itemAt(0, QFormLayout::LabelRole);
        return qobject_cast<QLabel*>(item->widget())->text();
    };
    QCOMPARE(firstLabel(false), QStringLiteral("Temp. I."));
    QCOMPARE(firstLabel(true), rightFirst);

    const QList<QCheckBox*> boxes = TestAccess::sensorBoxes(*window);
    QPushButton* selectAll = TestAccess::selectAllButton(*window);
    QCOMPARE(selectAll->text(), QStringLiteral("Tout sélectionner/desélectionner"));
    boxes.last()->setChecked(false);
    for (const char* text : {"Tout desélectionner", "Tout sélectionner", "Tout desélectionner"}) {
        const bool checking = selectAll->text() != QStringLiteral("Tout desélectionner");
        selectAll->click();
        QCOMPARE(selectAll->text(), QString::fromUtf8(text));
        for (QCheckBox* box : boxes)
            QCOMPARE(box->isChecked(), checking);
    }
}

// A wswin_WD table kept while the selector shows WS2300 is still a wswin_WD table.
void TestTools::sensorChoiceIsForTheDocumentsType()
{
    const QString path = load(DataFileType::WswinWD, 2);
    TestAccess::fileTypeCombo(*window)->setCurrentIndex(int(DataFileType::WS2300));
    actionByText(*window, QStringLiteral("Sondes..."))->trigger();
    QCOMPARE(TestAccess::sensorBoxes(*window).size(), 46);
    TestAccess::sensorBoxes(*window).at(23)->setChecked(false);
    click(QStringLiteral("OK"));
    QVERIFY(!TestAccess::currentDialog(*window)->isVisible());
    QSettings settings(TestAccess::settingsPath(), QSettings::IniFormat);
    QCOMPARE(settings.childGroups(), QStringList{"wswin_WD"});
    QCOMPARE(settings.value(QStringLiteral("wswin_WD/Hum. 7")).toInt(), 0);

    TestAccess::load(*window, DataFileType::WswinWD, path);
    QTableView* view = TestAccess::view(*window);
    for (int column = 0; column < 46; ++column)
        QCOMPARE(view->isColumnHidden(column), column == 23);

    actionByText(*window, QStringLiteral("Sondes..."))->trigger();
    QVERIFY(!TestAccess::sensorBoxes(*window).at(23)->isChecked());
    TestAccess::sensorBoxes(*window).at(23)->setChecked(true);
    TestAccess::sensorBoxes(*window).at(0)->setChecked(false);
    click(QStringLiteral("Annuler"));
    QVERIFY(view->isColumnHidden(23) && !view->isColumnHidden(0));
    QSettings after(TestAccess::settingsPath(), QSettings::IniFormat);
    QCOMPARE(after.value(QStringLiteral("wswin_WD/Hum. 7")).toInt(), 0);
    QCOMPARE(after.value(QStringLiteral("wswin_WD/Temp. I.")).toInt(), 1);
}

void TestTools::exportBytes_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Tout ;") << 0 << 0
                            << "Date;Heure;Temp. I. (°C);Temp. E. (°C);Hum. I. (%);Hum. E. (%);"
                               "Pression Abs (hPa);Pluie totale (mm);Vit. Vent (Km/h);"
                               "Direction (°);unknown;\n"
                               "01/01/2014;00:00;20.5;-3.0;45;80;1013.2;12.345;7.2;225.0;0;\n"
                               "--/--/----;--:--;--;--;--;--;--;--;--;--;--;\n";
    QTest::newRow("Données affichées ,")
        << 1 << 1
        << "Date,Heure,Temp. I. (°C),Temp. E. (°C),Hum. E. (%),Pression Abs (hPa),"
           "Pluie totale (mm),Vit. Vent (Km/h),Direction (°),\n"
           "01/01/2014,00:00,20.5,-3.0,80,1013.2,12.345,7.2,225.0,\n"
           "--/--/----,--:--,--,--,--,--,--,--,--,\n";
}

// The table as shown, an added row's placeholders included, in ISO 8859-1.
void TestTools::exportBytes()
{
    QFETCH(int, scope);
    QFETCH(int, separator);
    QFETCH(QString, expected);
    load(DataFileType::WS2300, 2);
    TableModel* model = TestAccess::model(*window);
    {
        const QSignalBlocker blocker(model);
        const QStringList values{"20.5",   "-3.0", "45",    "80", "1013.2",
                                 "12.345", "7.2",  "225.0", "0"};
        for (int column = 0; column < values.size(); ++column) {
            model->setData(model->index(0, column), values.at(column), Qt::EditRole);
            model->setData(model->index(1, column), QStringLiteral("--"), Qt::EditRole);
        }
        model->setHeaderData(1, Qt::Vertical, QStringLiteral("--/--/---- --:--"), Qt::EditRole);
    }
    TestAccess::view(*window)->setColumnHidden(2, true);
    TestAccess::view(*window)->setColumnHidden(8, true);
    const QString path = dir->filePath(QStringLiteral("export.csv"));
    exportTo(path, scope, separator);
    QCOMPARE(read(path), expected.toLatin1());
    QVERIFY(!TestAccess::saveAction(*window)->isEnabled());
}

void TestTools::appendedSuffixAsks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("answer");
    const QString exporting = QStringLiteral("&Exporter");
    const QString savingAs = QStringLiteral("Enregistrer sous...");
    QTest::newRow("csv appended") << exporting << "out" << csvFilter << "out.csv"
                                  << "";
    QTest::newRow("txt kept") << exporting << "out.txt" << csvFilter << "out.txt"
                              << "";
    QTest::newRow("txt appended") << exporting << "out.Csv"
                                  << "Fichier Texte (*.txt)"
                                  << "out.Csv.txt"
                                  << "";
    QTest::newRow("any file as typed") << exporting << "out"
                                       << "*.*"
                                       << "out"
                                       << "";
    QTest::newRow("export replaces") << exporting << "out" << csvFilter << "out.csv"
                                     << "Oui";
    QTest::newRow("export keeps") << exporting << "out" << csvFilter << "out.csv"
                                  << "Non";
    QTest::newRow("save as replaces") << savingAs << "out"
                                      << "Fichier DAT (*.DAT)"
                                      << "out.DAT"
                                      << "Oui";
    QTest::newRow("save as keeps") << savingAs << "out"
                                   << "Fichier DAT (*.DAT)"
                                   << "out.DAT"
                                   << "Non";
}

// The file dialog asked only about the name as typed: a file that the appended suffix names is
// replaced only after a question.
void TestTools::appendedSuffixAsks()
{
    QFETCH(QString, action);
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, target);
    QFETCH(QString, answer);
    const QString document = load(DataFileType::WS2300, 2);
    if (!answer.isEmpty())
        TestSupport::writeFile(dir->filePath(target), "old");
    QString question;
    const auto reply = TestSupport::answerMessageBox(answer, &question);
    if (action == QLatin1String("&Exporter")) {
        exportTo(dir->filePath(name), 0, 0, filter);
    } else {
        const auto file = chooseFile(dir->filePath(name), filter);
        actionByText(*window, action)->trigger();
    }
    QCOMPARE(question, answer.isEmpty()
                           ? QString()
                           : QStringLiteral("Le fichier \"%1\" existe déjà. Voulez-vous "
                                            "le remplacer ?")
                                 .arg(target));
    const QByteArray written = read(dir->filePath(target));
    if (answer == QLatin1String("Non"))
        QCOMPARE(written, QByteArray("old"));
    else if (action == QLatin1String("&Exporter"))
        QVERIFY(written.startsWith("Date;Heure;"));
    else
        QCOMPARE(written, read(document));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"doc.DAT", target}));
}

void TestTools::failedExportKeepsTheFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("Annuler") << "Annuler"
                             << "";
    QTest::newRow("write fails") << "write"
                                 << "Erreur lors de l'écriture de:\n";
    QTest::newRow("open fails") << "open"
                                << "Erreur lors de l'ouverture de:\n";
}

void TestTools::failedExportKeepsTheFile()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    load(DataFileType::WS2300, 300);
    const QString target = failure == QLatin1String("open")
                               ? dir->filePath(QStringLiteral("absent/out.csv"))
                               : TestSupport::writeFile(dir->filePath("out.csv"), "old");
    QStringList shown;
    const auto boxes = collectBoxes(&shown);
    const auto cancel = TestSupport::whenShown<QProgressDialog>([failure](QProgressDialog* p) {
        if (failure == QLatin1String("Annuler"))
            p->cancel();
    });
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = failure == QLatin1String("write") ? 4096 : saved.rlim_cur;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    exportTo(target, 0, 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message + target});
    const QStringList left = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
    if (failure == QLatin1String("open"))
        QCOMPARE(left, QStringList{"doc.DAT"});
    else
        QCOMPARE(left, QStringList({"doc.DAT", "out.csv"}));
    QCOMPARE(read(target), failure == QLatin1String("open") ? QByteArray() : QByteArray("old"));
}

void TestTools::importRoundTrip_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("separator");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("Tout ; ISO 8859-1") << 0 << 0 << "latin1";
    QTest::newRow("Données affichées , ISO 8859-1") << 1 << 1 << "latin1";
    QTest::newRow("Tout , UTF-8") << 0 << 1 << "utf8";
    QTest::newRow("Données affichées ; UTF-8 with BOM") << 1 << 0 << "bom";
}

// Exported, changed in a spreadsheet, saved as the spreadsheet likes and imported: the table,
// and after saving the file, hold exactly the changed values and date.
void TestTools::importRoundTrip()
{
    QFETCH(int, scope);
    QFETCH(int, separator);
    QFETCH(QString, encoding);
    const QString path = load(DataFileType::WS2300, 3);
    const QStringList original = grid();
    TestAccess::view(*window)->setColumnHidden(2, true);
    TestAccess::edit(*window, 1, 0, QStringLiteral("-7.5"));
    TestAccess::edit(*window, 2, 3, QStringLiteral("99"));
    QStringList expected = grid();
    const QString date = QStringLiteral("02/03/2015 04:05");
    expected[1] = date + expected.at(1).mid(date.size());
    const QString exported = dir->filePath(QStringLiteral("round.csv"));
    exportTo(exported, scope, separator);

    const QString sep = separator == 0 ? QStringLiteral(";") : QStringLiteral(",");
    QString text = QString::fromLatin1(read(exported));
    text.replace(QString(label(1)).replace(QLatin1Char(' '), sep),
                 QString(date).replace(QLatin1Char(' '), sep));
    QByteArray bytes = encoding == QLatin1String("latin1") ? text.toLatin1() : text.toUtf8();
    if (encoding == QLatin1String("bom"))
        bytes.prepend("\xEF\xBB\xBF");
    TestSupport::writeFile(exported, bytes);

    TestAccess::load(*window, DataFileType::WS2300, path);
    QCOMPARE(grid(), original);
    importFrom(exported);
    QCOMPARE(grid(), expected);
    QVERIFY(TestAccess::saveAction(*window)->isEnabled());
    actionByText(*window, QStringLiteral("Annuler"))->trigger();
    QCOMPARE(grid().at(2), original.at(2));
    actionByText(*window, QStringLiteral("Rétablir"))->trigger();
    actionByText(*window, QStringLiteral("Enregistrer"))->trigger();
    TestAccess::load(*window, DataFileType::WS2300, path);
    QCOMPARE(grid(), expected);
}

void TestTools::importFaults_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("foreign column") << "Date;Heure;Note;Temp. E. (°C);Hum. E. (%);\n"
                                       "{D0};hello;-5.5;41;\n{D1};;;42;\n"
                                    << "" << QStringList{"0,2=-5.5", "0,4=41", "1,4=42"};
    QTest::newRow("short lines") << "Date;Heure;Temp. I. (°C);Temp. E. (°C)\n{D0};3.5\nseul\n"
                                 << "" << QStringList{"0,1=3.5"};
    QTest::newRow("empty lines at the end") << "Date;Heure;Hum. I. (%);\n{D0};7;\n{D1};8;\n\n\n"
                                            << "" << QStringList{"0,3=7", "1,3=8"};
    QTest::newRow("one line too many") << "Date;Heure;Hum. I. (%);\n{D0};7;\n{D1};8;\n{D1};9;\n"
                                       << lineCountMessage << QStringList();
    QTest::newRow("refused values")
        << "Date;Heure;Temp. I. (°C);Temp. E. (°C);Hum. I. (%)\n{D0};abc;2.5;12,5\n{D1};3000;;9\n"
        << "3 valeurs du fichier ont été refusées ; leurs cellules gardent leur texte précédent :\n"
           "{L0}, Temp. I. (°C) : \"abc\"\n{L0}, Hum. I. (%) : \"12,5\"\n"
           "{L1}, Temp. I. (°C) : \"3000\""
        << QStringList{"0,2=2.5", "1,3=9"};
    QTest::newRow("dates") << "Date;Heure\n02/03/2015;04:05\n31/12/1899;23:59\n"
                           << "" << QStringList{"0,0=02/03/2015 04:05"};
    QTest::newRow("file gone") << ""
                               << "Erreur lors de l'ouverture de:\n{path}" << QStringList();
}

// Changes name grid fields: "row,field=text", field 0 being the row's date.
void TestTools::importFaults()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(QStringList, changes);
    const QString document = load(DataFileType::WS2300, 2);
    QList<QStringList> expected;
    for (const QString& row : grid())
        expected << row.split(QLatin1Char('|'));
    for (const QString& change : changes)
        expected[change.at(0).digitValue()][change.section('=', 0, 0).section(',', 1).toInt()] =
            change.section('=', 1);
    const QString path = dir->filePath(QStringLiteral("in.csv"));
    for (int row = 0; row < 2; ++row) {
        file.replace(QStringLiteral("{D%1}").arg(row), QString(label(row)).replace(' ', ';'));
        message.replace(QStringLiteral("{L%1}").arg(row), label(row));
    }
    TestSupport::writeFile(path, file.toLatin1());
    QStringList shown;
    const auto boxes = collectBoxes(&shown);
    importFrom(path, file.isEmpty());
    message.replace(QStringLiteral("{path}"), path);
    QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});

    const auto compare = [this, &expected] {
        for (int row = 0; row < 2; ++row)
            QCOMPARE(grid().at(row), expected.at(row).join('|'));
    };
    compare();
    window->enregistrer();
    TestAccess::load(*window, DataFileType::WS2300, document);
    compare();
}

void TestTools::printing()
{
    load(DataFileType::WswinWD, 2);
    QStringList messages;
    const auto boxes = collectBoxes(&messages);
    int previews = 0;
    const auto preview = TestSupport::whenModalShown([&previews](QWidget* modal) {
        if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(modal)) {
            ++previews;
            dialog->reject();
        }
        return false;
    });
    actionByText(*window, QStringLiteral("Imprimer..."))->trigger();
    QCOMPARE(messages, QStringList{"Trop de colonnes sont affichées pour tenir sur la page.\n"
                                   "Masquez-en quelques-unes avec \"Sondes...\" avant "
                                   "d'imprimer."});
    QCOMPARE(previews, 0);
    QVERIFY(!TestAccess::printTextEdit(*window));

    load(DataFileType::WS3600, 2);
    TableModel* model = TestAccess::model(*window);
    {
        const QSignalBlocker blocker(model);
        model->setData(model->index(1, 0), QStringLiteral("<b>x</b>"), Qt::EditRole);
        model->setData(model->index(1, 11), QString(), Qt::EditRole);
    }
    QString heading =
        QStringLiteral("Date Temp. I. Temp. E. Hum. I. Hum. E. Pression Rel. Pression "
                       "Abs Pluie totale Pluie Vit. Vent Direction Rafales unknown ");
    QTableView* view = TestAccess::view(*window);
    for (int pass = 0; pass < 2; ++pass) {
        actionByText(*window, QStringLiteral("Imprimer..."))->trigger();
        QCOMPARE(previews, pass + 1);
        QTextDocument* document = TestAccess::printTextEdit(*window)->document();
        QStringList lines{heading};
        for (int row = 0; row < 2; ++row) {
            lines << label(row);
            for (int column = 0; column < 12; ++column)
                lines.last() += view->isColumnHidden(column) ? "" : "  " + cell(row, column);
        }
        QCOMPARE(document->toPlainText(), lines.join('\n'));
        QCOMPARE(document->firstBlock().begin().fragment().charFormat().fontWeight(),
                 int(QFont::Bold));
        QCOMPARE(document->lastBlock().begin().fragment().charFormat().fontWeight(),
                 int(QFont::Normal));
        view->setColumnHidden(7, true);
        heading.replace(QStringLiteral("totale Pluie "), QStringLiteral("totale "));
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir->filePath(QStringLiteral("print.pdf")));
    window->print(&printer);
    const QByteArray pdf = read(printer.outputFileName());
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdf.count("/Type /Page\n"), 1);
}

STRATOMARK_TEST_MAIN(TestTools)
#include "tst_tools.moc"

#ifndef STRATOMARK_FENPRINCIPALE_H
#define STRATOMARK_FENPRINCIPALE_H

#include "data/formats.h"
#include "data/textformat.h"
#include "table/tablemodel.h"

#include <QMainWindow>
#include <QModelIndex>
#include <QScopedPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QDate;
class QDateEdit;
class QDialog;
class QFile;
class QFormLayout;
class QHBoxLayout;
class QGroupBox;
class QItemSelection;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QProgressDialog;
class QPushButton;
class QSettings;
class QStackedWidget;
class QStatusBar;
class QStringRef;
class QTableView;
class QTextCursor;
class QTextEdit;
class QTextStream;
class QTime;
class QTimeEdit;
class QUndoStack;
class FirstSteps;
class RecentFiles;
class RecordTexts;
class ValueReview;
class WindowMemory;

// A record timestamp of the wswin types, as the two DOS words.
struct DosDateTime {
    quint16 date = 0;
    quint16 time = 0;
};

// A value for a cell, or a date for a row's label and timestamp (column dateColumn), as an
// operation of many cells writes them.
struct CellWrite {
    static constexpr int dateColumn = -1;
    int row = 0;
    int column = 0;
    QString text;
};

// A write that the editing gate refuses, and why, in words for the user.
struct RefusedWrite {
    CellWrite write;
    QString reason;
};

struct ImportChecks;
struct TestAccess;
class RecordChange;
class RowInsertion;
class RowRemoval;

class FenPrincipale : public QMainWindow
{
    Q_OBJECT

public:
    enum SettingsAction {
        SaveSensorChoices = 0,
        LoadSensorChoices = 1,
        ApplyColumnVisibility = 2,
        SaveWorkspace = 3,
        LoadWorkspace = 4,
    };
    static constexpr int historySize = 25;

    FenPrincipale();
    ~FenPrincipale() override;

    // --- Station data: formats and conversions (src/data/formats.cpp, conversions.cpp,
    //     tablebuild.cpp) ---
    static QStringList headerList(Format::DataFileType type);
    static QString shortColumnName(const QString& header);
    static QString dosDateTimeToText(quint16 time, quint16 date);
    static void textToDosDateTime(DosDateTime& out, const QString& text);
    static QString secondsToText(quint32 seconds);
    static quint32 textToSeconds(const QString& text);
    static QString dayNumberToText(double dayNumber);
    static double textToDayNumber(const QString& text);
    static float metresPerSecondToKmh(float metresPerSecond);
    static float kmhToMetresPerSecond(float kmh, int decimals);
    static QString scaledText(int value, int divisor);
    static QString floatText(float value, unsigned long integerValue, int decimals);
    static QString timestampText(Format::Timestamp stamp, const char* record);
    static bool parseRowDate(const QString& text, QDate& date, QTime& time);
    static QString rowDateText(const QDate& date, const QTime& time);
    static bool isRowDateText(const QString& text);
    static bool timestampHolds(Format::Timestamp stamp, const QString& text);
    static QString fieldText(const Format::Field& field, const char* record);
    // The same texts and the numbers they read as, made without the heap, for the table's
    // sources (src/data/conversions.cpp, tablebuild.cpp).
    static TextFormat::Clock timestampClock(Format::Timestamp stamp, const char* record,
                                            TextFormat::LocalClock* localClock = nullptr);
    static qint64 timestampKey(Format::Timestamp stamp, const char* record,
                               TextFormat::LocalClock& localClock);
    static void fieldChars(const Format::Field& field, const char* record, TextFormat::Chars& text);
    static double fieldNumber(const Format::Field& field, const char* record, bool* isNumber);

    // --- Desktop: files handed over from outside, named or dropped (src/desktop/opening.cpp) ---
    void openFiles(const QStringList& paths);

public slots:
    // --- Station data: loading (src/data/loading.cpp) ---
    void Read_Data_mois();
    void Read_Data_per();
    void Read_Data_Ouvrir();
    // --- Workspace browser (src/workspace/browser.cpp) ---
    void get_dossier();
    void explorateur_file();
    // --- Tools: date search (src/tools/datesearch.cpp) ---
    void fenetre_chercher_date();
    void rechercher_date();
    // --- Tools: sensor columns (src/tools/sensors.cpp) ---
    void selectionner_sonde();
    void set_box_sonde();
    void afficher_colonne();
    // --- Application shell: quitting (src/app/closing.cpp) ---
    void fermeture_programme();
    // --- Table: selection and navigation (src/table/navigation.cpp) ---
    void rows_select(int);
    void cell_select(const QModelIndex&);
    // --- Table: cell editing (src/table/editing.cpp) ---
    void Courant_changed(const QItemSelection& selected, const QItemSelection& deselected);
    void modif_donnees(const QModelIndex&, const QModelIndex&);
    // --- Table: date change (src/table/datechange.cpp) ---
    void fenModifDate(int);
    void set_verticalheader_item();
    // --- Tools: printing (src/tools/printing.cpp) ---
    void Imprimer();
    void print(QPrinter* printer);
    // --- Tools: export and import (src/tools/export.cpp, import.cpp) ---
    void fenExporter();
    void Exporter();
    void fenImporter();
    // --- Table: undo and redo (src/table/history.cpp) ---
    void annuler_action();
    void retablir_action();
    // --- Station data: saving (src/data/saving.cpp) ---
    void enregistrer_sous();
    void enregistrer();
    // --- Station data: the open dialog (src/data/loading.cpp) ---
    void Ouvrir_fichier();
    // --- Table: navigation and rows (src/table/navigation.cpp, rows.cpp) ---
    void Haut_Tableau();
    void Bas_Tableau();
    void addRow();
    void removeRow();
    // --- Table: repairs of many cells (src/table/corrections.cpp, clipboard.cpp) ---
    void corriger_selection();
    void copier();
    void coller();
    // --- Table: shifting the dates of rows (src/table/dateshift.cpp) ---
    void decaler_dates();
    // --- Application shell: About box (src/app/about.cpp) ---
    void About();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend struct TestAccess;
    // The history's operations change the records, cells and rows they describe.
    friend class RecordChange;
    friend class RowInsertion;
    friend class RowRemoval;
    // The table's texts are made from the records where they lie.
    friend class RecordTexts;

    // --- Application shell: window construction (src/app/window.cpp) ---
    void createMenus();
    QAction* addMenuAction(QMenu* menu, const QString& text, const QString& icon,
                           void (FenPrincipale::*slot)(), const QString& shortcut = QString());
    void createToolBars();
    void createWorkspaceToolBar();
    void createCentralWidget();
    void createTableView();
    void createDesktopLinks();
    void disableDocumentOnlyActions();
    void updateWindowTitle();
    static QString applicationTitle();
    QHBoxLayout* createButtonRow(const QString& text, void (FenPrincipale::*slot)(),
                                 int maximumWidth = QWIDGETSIZE_MAX);
    std::unique_ptr<QProgressDialog> showProgress(const QString& label, const QString& cancelText,
                                                  int rows);
    bool askYesNo(const QString& text);

    // --- Station data: loading (src/data/loading.cpp) ---
    enum ReadMode { ByMonth = 1, ChosenFile = 3 };
    static const QStringList& monthNames();
    static QString monthFilePath(const QString& workspace, const QString& type,
                                 const QString& month, const QString& year);
    QString fileLabelText() const;
    void showError(const QString& text);
    void Read_Data(int mode);
    bool readRecords(QFile& file, Format::DataFileType type);
    qint64 readInSteps(QFile& file, char* buffer, qint64 bytes);

    // --- Station data: building the table (src/data/tablebuild.cpp) ---
    // A field's value as the cell setters take it: an integer with its divisor, or a float
    // (or wide integer) with its decimals.
    struct CellValue {
        bool isScaled = false;
        int scaled = 0;
        int divisor = 1;
        float real = 0;
        unsigned long integer = 0;
        int decimals = -1;
    };
    static CellValue fieldValue(const Format::Field& field, const char* record);
    void buildTable();

    // --- Station data: writing cells into records (src/data/recordwriting.cpp) ---
    static void writeField(const Format::Field& field, char* record, const QString& text);
    static bool fieldHolds(const Format::RecordLayout& layout, int column, const QString& text);
    static void writeTimestamp(Format::Timestamp stamp, char* record, const QString& text);
    char* documentRecord(int row) const;

    // --- Desktop: opening a chosen file, recent files, the backup, first steps
    //     (src/desktop/opening.cpp) ---
    bool refuseUnopenable(const QString& path);
    void openChosenFile(const QString& path, const QString& note = QString());
    void showTypeChooser(const QString& path, Format::DataFileType type, const QString& note);
    void openAs(const QString& path, Format::DataFileType type, const QString& note = QString());
    void openRecentFile(const QString& path, Format::DataFileType type);
    QString openFolder() const;
    void documentOpened();
    void showDocumentOrHint();
    void openDemo(const QString& folder);
    bool keepBackup(const QString& path);

    // --- Station data: saving (src/data/saving.cpp) ---
    void refreshWs2300Trailer();
    bool writeDocument(const QString& path);
    bool confirmSavable();
    static QString undatedRowsText(const QVector<int>& rows);
    bool saveDocument();
    bool appendSuffixIfAllowed(QString& path, const QString& suffix);

    // --- Application shell: settings (src/app/settings.cpp) ---
    static QString settingsPath();
    Format::DataFileType columnSettingsType() const;
    void AppSettings(int action);
    void saveSensorChoices(QSettings& settings, QFormLayout* form);
    void loadSensorChoices(QSettings& settings, QFormLayout* form);
    void applyColumnVisibility(QSettings& settings);
    void loadWorkspace(QSettings& settings);

    // --- Workspace browser: the month's file (src/workspace/browser.cpp) ---
    QString monthFileFound() const;
    QString missingMonthText() const;

    // --- Application shell: clearing and action state (src/app/closing.cpp) ---
    bool hasDocument() const;
    bool settleUnsavedChanges();
    void clearTable();
    void enableDocumentActions(bool enable);
    void freeRecordBuffers();

    // --- Table: cell editing, one value or many (src/table/editing.cpp) ---
    static QString decimalPoint(const QString& text);
    QString refusalReason(int row, int column, const QString& text) const;
    QString writeRefusal(const CellWrite& write) const;
    void sortOut(const CellWrite& write, QVector<CellWrite>& writes,
                 QVector<RefusedWrite>& refused) const;
    QVector<RefusedWrite> sortOutRefusals(QVector<CellWrite>& writes) const;
    QString refusalList(const QVector<RefusedWrite>& refused) const;
    void applyWrites(const QVector<CellWrite>& writes, const QString& operation);
    static QString rangeReason(const Format::Field& field, const Format::AcceptedRange& range);
    static int typedDecimals(const QString& text);
    static QString excerpt(const QString& text);
    void refuseEdit(const QModelIndex& index, const QString& reason);
    void commitOpenEditor();

    // --- Table: selection, navigation and rows (src/table/navigation.cpp, rows.cpp) ---
    void updateRowActions();
    void goToRow(int row);
    QVector<int> recordRowsToRemove() const;
    void insertRecordRow(int position);
    void removeRecordRows(const QVector<int>& rows);
    void restoreRecordRows(const QVector<int>& rows, const QByteArray& records,
                           const QVector<TableModel::Put>& puts);
    static qint64 maximumRecords(Format::DataFileType type);
    bool resizeRecordBuffer(qint64 records);
    void insertRecord(int position);
    QVector<int> undatedRows() const;
    qint64 placeholderCells() const;
    void showSavedPlaceholders();
    int recordRows() const;
    void showRecordCount();

    // --- Table: the clipboard, as in a spreadsheet (src/table/clipboard.cpp) ---
    QLineEdit* focusedLineEdit() const;
    QVector<QString> selectedTexts(int& columns) const;
    QString clipboardWrites(QVector<CellWrite>& writes) const;
    QVector<CellWrite> selectionWrites(const QString& value) const;
    QString blockMisfit(int rows, int columns) const;
    QVector<int> shownColumnsFrom(int column) const;
    void dropUnchanged(QVector<CellWrite>& writes) const;
    QString refusedPasteText(const QVector<RefusedWrite>& refused) const;

    // --- Table: date change and the dates of rows (src/table/datechange.cpp) ---
    QFormLayout* createDateTimeForm();
    void prefillDateTime(const QString& label);
    void fixDialogSize(const QSize& size);
    static qint64 dateKey(const QDate& date, const QTime& time);
    qint64 rowDateKey(int row) const;
    qint64 rowTimeKey(int row) const;
    qint64 rowTime(int row) const;
    int nearestDatedRow(int row, int step) const;
    qint64 usualInterval() const;
    QString suggestedDate(int row) const;

    // --- Table: shifting the dates of rows (src/table/dateshift.cpp) ---
    QVector<int> datedSelectedRows() const;
    QVector<CellWrite> shiftedDates(const QVector<int>& rows, int minutes) const;

    // --- Tools: date search (src/tools/datesearch.cpp) ---
    int searchedRow(qint64 target) const;
    void showRowAtTop(int row);

    // --- Table: undo and redo, by operation (src/table/history.cpp, operations.cpp) ---
    void createHistory();
    void clearEditHistory();
    void abandonHistory();
    void showChangedCell(int row, int column);

    // --- Tools: sensor columns, export, import, printing (src/tools/sensors.cpp, export.cpp,
    //     import.cpp, printing.cpp) ---
    // Progress dialogs of the tools move a few hundred times per operation at most.
    static constexpr int toolProgressSteps = 300;
    QGroupBox* newSensorGroup();
    QList<QCheckBox*> sensorBoxes() const;
    QString exchangeFolder(bool exportOnly) const;
    void importFile(const QString& path);
    void rememberExchangeFolder(const QString& path, bool exported);
    QVector<int> exportedColumns(bool allColumns) const;
    QString columnExportName(int column) const;
    void writeExportTitle(QTextStream& out, const QVector<int>& columns,
                          const QString& separator) const;
    bool writeExportRows(QTextStream& out, const QVector<int>& columns, const QString& separator);
    QString readImportLines(QFile& file, QStringList& lines) const;
    static QStringList importFields(const QString& line, QChar separator);
    QString importMismatch(const QStringList& lines, const QStringList& title,
                           const QVector<int>& targets, QChar separator) const;
    void importRows(const QStringList& lines, QChar separator, const QVector<int>& targets,
                    QProgressDialog& progress, QVector<CellWrite>& writes,
                    QVector<RefusedWrite>& refused);
    QVector<int> importTargets(const QStringList& titleFields) const;
    void importLine(int row, const QVector<QStringRef>& fields, const QVector<int>& targets,
                    ImportChecks& checks, QVector<CellWrite>& writes,
                    QVector<RefusedWrite>& refused) const;
    bool importDespiteRefusals(const QVector<RefusedWrite>& refused, bool othersLeft);
    bool buildPrintDocument();
    QString printHeading(QVector<int>& columns) const;
    void appendPrintRows(QTextCursor& cursor, const QVector<int>& columns);

    // --- Open document ---
    QString currentFilePath;
    std::array<QStringList, Format::dataFileTypeCount> headerLists;
    std::array<char*, Format::dataFileTypeCount> recordBuffers{};
    QByteArray wswinHeader;
    std::array<char, Format::ws2300TrailerSize> ws2300Trailer{};
    // The bytes after the last whole record, before the trailer, saved back behind the records.
    QByteArray partialRecord;
    qint32 recordCount = 0;
    // The type the document was loaded as; the selector may show another one afterwards.
    Format::DataFileType documentType = Format::DataFileType::WswinWD;
    // What the table shows of the records.
    std::unique_ptr<RecordTexts> recordTexts;
    // While rows move, the records of rows from holeRow on lie holeSize records further on in
    // the buffer, so that the table and every reader of it find each row's record at each step.
    int holeRow = 0;
    qint64 holeSize = 0;
    // Loads begun, so that a load finds out that another one began while it read its file.
    int loadsStarted = 0;
    // How long a reading must look like lasting for its progress dialog to show, in ms.
    int readProgressDelay = 500;
    // The files whose previous state a save of this document has kept as their backup, or found
    // nothing to keep: a file saved again, even after a save elsewhere, keeps its first backup.
    QSet<QString> backedUpPaths;
    // The file the type chooser asks about and a chosen file is read from, the type it is read
    // as, and the note for the status bar once it is open.
    QString chosenPath;
    Format::DataFileType chosenType = Format::DataFileType::WswinWD;
    QString chosenNote;

    // --- Edit history ---
    QUndoStack* undoStack = nullptr;
    // False while the history puts cells back, which the gate then leaves alone.
    bool recordEdits = true;

    // --- Actions ---
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    QMenu* recentMenu = nullptr;
    QAction* exportAction = nullptr;
    QAction* importAction = nullptr;
    QAction* printAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* addRowAction = nullptr;
    QAction* removeRowsAction = nullptr;
    QAction* correctAction = nullptr;
    QAction* shiftDatesAction = nullptr;
    QAction* copyAction = nullptr;
    QAction* pasteAction = nullptr;
    QAction* topAction = nullptr;
    QAction* bottomAction = nullptr;
    QAction* searchDateAction = nullptr;
    QAction* openAction = nullptr;
    QAction* quitAction = nullptr;
    QAction* sensorsAction = nullptr;

    // --- Widgets of the window ---
    QLineEdit* workspaceEdit = nullptr;
    QComboBox* fileTypeCombo = nullptr;
    QLabel* filesFoundLabel = nullptr;
    QComboBox* monthCombo = nullptr;
    QComboBox* yearCombo = nullptr;
    QPushButton* showButton = nullptr;
    QLabel* fileLabel = nullptr;
    QTableView* tableView = nullptr;
    // The table, or the first steps while there is no document.
    QStackedWidget* tableArea = nullptr;
    FirstSteps* firstSteps = nullptr;
    TableModel* model = nullptr;
    QStatusBar* statusBarWidget = nullptr;
    // Suspect values, the next one and the chart: tools beyond the table itself.
    ValueReview* review = nullptr;
    // What the desktop keeps from one session to the next.
    RecentFiles* recentFiles = nullptr;
    WindowMemory* windowMemory = nullptr;

    // --- Widgets of the auxiliary dialogs, the last one built of each ---
    QDialog* currentDialog = nullptr;
    QDateEdit* dateEdit = nullptr;
    QTimeEdit* timeEdit = nullptr;
    // The row whose label was double-clicked, which the date dialog writes into.
    int dateRow = -1;
    QComboBox* typeChooserCombo = nullptr;
    QFormLayout* sensorFormLeft = nullptr;
    QFormLayout* sensorFormRight = nullptr;
    QPushButton* selectAllButton = nullptr;
    QComboBox* exportScopeCombo = nullptr;
    QComboBox* separatorCombo = nullptr;

    // --- Printing ---
    QScopedPointer<QTextEdit> printTextEdit;
};

#endif

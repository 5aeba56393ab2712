#include "app/appinfo.h"
#include "app/fenprincipale.h"
#include "data/recordtexts.h"
#include "desktop/filedrop.h"
#include "desktop/firststeps.h"
#include "desktop/recentfiles.h"
#include "desktop/windowmemory.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace
{

// The dialog of a loop without "Annuler", which cannot stop midway. Escape would hide it all the
// same, for good, and hand the window back to the user while the loop still writes into the
// document. (Its close button only hides it until the loop's next step shows it again.)
class UninterruptibleProgress : public QProgressDialog
{
public:
    using QProgressDialog::QProgressDialog;
    void reject() override {}
};

} // namespace

FenPrincipale::FenPrincipale()
{
    setWindowTitle(applicationTitle());
    resize(800, 600);

    for (int type = 0; type < Format::dataFileTypeCount; ++type)
        headerLists[type] = headerList(Format::DataFileType(type));

    review = new ValueReview(this);
    createMenus();
    createHistory();
    createToolBars();
    createCentralWidget();
    createTableView();
    review->setView(tableView);
    createDesktopLinks();

    clearEditHistory();
    disableDocumentOnlyActions();

    statusBarWidget = statusBar();
    // Restoring the workspace lists it, and listing clears the status bar: "Prêt" comes after.
    AppSettings(LoadWorkspace);
    // The last session's place, or the whole screen the first time.
    if (windowMemory->restoreWindow())
        show();
    else
        showMaximized();
    statusBarWidget->showMessage(QStringLiteral("Prêt"));
}

// Files dropped on the window, the recent files and the window's place from the last session.
void FenPrincipale::createDesktopLinks()
{
    recentFiles = new RecentFiles(settingsPath(), recentMenu, this);
    connect(recentFiles, &RecentFiles::chosen, this, &FenPrincipale::openRecentFile);
    connect(new FileDrop(this), &FileDrop::dropped, this, &FenPrincipale::openFiles);
    windowMemory = new WindowMemory(settingsPath(), this, tableView->horizontalHeader());
}

// The quit sequence clears the table, so normally nothing is left to release here. The review
// goes first: the widgets it follows send their last signals while they are taken down.
FenPrincipale::~FenPrincipale()
{
    delete review;
    freeRecordBuffers();
    delete model;
}

QAction* FenPrincipale::addMenuAction(QMenu* menu, const QString& text, const QString& icon,
                                      void (FenPrincipale::*slot)(), const QString& shortcut)
{
    QAction* action = menu->addAction(text);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void FenPrincipale::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&Fichier"));
    openAction =
        addMenuAction(fileMenu, QStringLiteral("&Ouvrir"), QStringLiteral(":/tool_bar/Folder"),
                      &FenPrincipale::Ouvrir_fichier, QStringLiteral("Ctrl+O"));
    recentMenu = fileMenu->addMenu(QStringLiteral("Fichiers récents"));
    saveAction =
        addMenuAction(fileMenu, QStringLiteral("Enregistrer"), QStringLiteral(":/tool_bar/Save"),
                      &FenPrincipale::enregistrer, QStringLiteral("Ctrl+S"));
    connect(saveAction, &QAction::changed, this,
            [this] { setWindowModified(saveAction->isEnabled()); });
    saveAsAction = addMenuAction(fileMenu, QStringLiteral("Enregistrer sous..."), QString(),
                                 &FenPrincipale::enregistrer_sous, QStringLiteral("Ctrl+Shift+S"));
    exportAction = addMenuAction(fileMenu, QStringLiteral("&Exporter"), QString(),
                                 &FenPrincipale::fenExporter);
    importAction = addMenuAction(fileMenu, QStringLiteral("&Importer"), QString(),
                                 &FenPrincipale::fenImporter);
    printAction =
        addMenuAction(fileMenu, QStringLiteral("Imprimer..."), QStringLiteral(":/tool_bar/Print"),
                      &FenPrincipale::Imprimer, QStringLiteral("Ctrl+P"));
    fileMenu->addSeparator();
    quitAction =
        addMenuAction(fileMenu, QStringLiteral("&Quitter"), QStringLiteral(":/tool_bar/Exit"),
                      &FenPrincipale::fermeture_programme, QStringLiteral("Ctrl+Q"));

    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("Edition"));
    undoAction =
        addMenuAction(editMenu, QStringLiteral("Annuler"), QStringLiteral(":/tool_bar/Undo"),
                      &FenPrincipale::annuler_action, QStringLiteral("Ctrl+Z"));
    redoAction =
        addMenuAction(editMenu, QStringLiteral("Rétablir"), QStringLiteral(":/tool_bar/Redo"),
                      &FenPrincipale::retablir_action, QStringLiteral("Ctrl+Y"));
    editMenu->addSeparator();
    copyAction = addMenuAction(editMenu, QStringLiteral("Copier"), QString(),
                               &FenPrincipale::copier, QStringLiteral("Ctrl+C"));
    pasteAction = addMenuAction(editMenu, QStringLiteral("Coller"), QString(),
                                &FenPrincipale::coller, QStringLiteral("Ctrl+V"));
    correctAction = addMenuAction(editMenu, QStringLiteral("Corriger la sélection..."), QString(),
                                  &FenPrincipale::corriger_selection, QStringLiteral("Ctrl+R"));
    shiftDatesAction = addMenuAction(editMenu, QStringLiteral("Décaler les dates..."), QString(),
                                     &FenPrincipale::decaler_dates);
    editMenu->addSeparator();
    addRowAction = addMenuAction(editMenu, QStringLiteral("Ajouter une ligne"),
                                 QStringLiteral(":/tool_bar/Add"), &FenPrincipale::addRow);
    removeRowsAction = addMenuAction(editMenu, QStringLiteral("Supprimer la/les ligne(s)"),
                                     QStringLiteral(":/tool_bar/Delete"), &FenPrincipale::removeRow,
                                     QStringLiteral("Del"));
    editMenu->addSeparator();
    topAction = addMenuAction(editMenu, QStringLiteral("Aller en Haut"),
                              QStringLiteral(":/tool_bar/Top"), &FenPrincipale::Haut_Tableau);
    bottomAction = addMenuAction(editMenu, QStringLiteral("Aller en Bas"),
                                 QStringLiteral(":/tool_bar/Bottom"), &FenPrincipale::Bas_Tableau);
    editMenu->addSeparator();
    searchDateAction =
        addMenuAction(editMenu, QStringLiteral("Rechercher une date..."),
                      QStringLiteral(":/tool_bar/Zoom"), &FenPrincipale::fenetre_chercher_date);
    searchDateAction->setEnabled(false);

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("Affichage"));
    sensorsAction =
        addMenuAction(viewMenu, QStringLiteral("Sondes..."), QStringLiteral(":/tool_bar/Sondes"),
                      &FenPrincipale::selectionner_sonde);
    viewMenu->addActions(review->actions());

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("?"));
    addMenuAction(helpMenu, QStringLiteral("A propos de..."), QString(), &FenPrincipale::About);
}

void FenPrincipale::createToolBars()
{
    QToolBar* mainBar = addToolBar(QStringLiteral("Barre d'outils"));
    mainBar->setMovable(false);
    mainBar->setIconSize(QSize(16, 16));
    mainBar->addAction(saveAction);
    mainBar->addAction(openAction);
    mainBar->addAction(printAction);
    mainBar->addSeparator();
    mainBar->addAction(undoAction);
    mainBar->addAction(redoAction);
    mainBar->addSeparator();
    mainBar->addAction(sensorsAction);
    mainBar->addAction(searchDateAction);
    mainBar->addSeparator();
    mainBar->addAction(topAction);
    mainBar->addAction(bottomAction);
    mainBar->addSeparator();
    mainBar->addAction(addRowAction);
    mainBar->addAction(removeRowsAction);
    mainBar->addSeparator();
    mainBar->addAction(quitAction);

    addToolBarBreak(Qt::TopToolBarArea);
    createWorkspaceToolBar();
}

void FenPrincipale::createWorkspaceToolBar()
{
    QToolBar* workspaceBar = addToolBar(QStringLiteral("Espace de travail"));
    workspaceBar->setMovable(false);

    workspaceBar->addWidget(new QLabel(QStringLiteral("Répertoire des Fichiers:")));
    workspaceEdit = new QLineEdit;
    workspaceEdit->setMaximumWidth(450);
    connect(workspaceEdit, &QLineEdit::textChanged, this, &FenPrincipale::explorateur_file);
    workspaceBar->addWidget(workspaceEdit);

    auto* browseButton = new QPushButton(QStringLiteral("..."), this);
    browseButton->setMaximumWidth(25);
    connect(browseButton, &QPushButton::clicked, this, &FenPrincipale::get_dossier);
    workspaceBar->addWidget(browseButton);
    workspaceBar->addSeparator();

    workspaceBar->addWidget(new QLabel(QStringLiteral("Type de fichier:")));
    fileTypeCombo = new QComboBox;
    for (const Format::RecordLayout& layout : Format::layouts)
        fileTypeCombo->addItem(QString::fromLatin1(layout.name));
    connect(fileTypeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FenPrincipale::explorateur_file);
    workspaceBar->addWidget(fileTypeCombo);

    workspaceBar->addWidget(new QLabel(QStringLiteral(" ")));
    filesFoundLabel = new QLabel;
    workspaceBar->addWidget(filesFoundLabel);
}

void FenPrincipale::createCentralWidget()
{
    auto* central = new QWidget;
    auto* pageLayout = new QVBoxLayout(central);
    auto* outerRow = new QHBoxLayout;
    outerRow->setAlignment(Qt::AlignTop);
    auto* controlRow = new QHBoxLayout;
    controlRow->setAlignment(Qt::AlignLeft);

    monthCombo = new QComboBox;
    monthCombo->addItems(monthNames());
    yearCombo = new QComboBox;
    showButton = new QPushButton(QStringLiteral("Afficher"));
    connect(showButton, &QPushButton::clicked, this, &FenPrincipale::Read_Data_mois);
    fileLabel = new QLabel;

    controlRow->addWidget(monthCombo);
    controlRow->addWidget(new QLabel(QStringLiteral("  ")));
    controlRow->addWidget(yearCombo);
    controlRow->addWidget(new QLabel(QStringLiteral("  ")));
    controlRow->addWidget(showButton);
    controlRow->addWidget(fileLabel);
    outerRow->addLayout(controlRow);
    pageLayout->addLayout(outerRow);
    setCentralWidget(central);
}

void FenPrincipale::createTableView()
{
    tableView = new QTableView;
    QHeaderView* rowHeader = tableView->verticalHeader();
    // The style's minimum follows the font and would silently win over the 20 px rows.
    rowHeader->setMinimumSectionSize(20);
    rowHeader->setDefaultSectionSize(20);
    rowHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowHeader->setDefaultAlignment(Qt::AlignCenter);
    QHeaderView* columnHeader = tableView->horizontalHeader();
    columnHeader->setDefaultAlignment(Qt::AlignCenter);
    // The columns are sized to their contents when a table is built and then left to the user,
    // whose widths come back with the next document of the type. The rows in view and a hundred
    // more are enough to size values of one format.
    columnHeader->setSectionResizeMode(QHeaderView::Interactive);
    columnHeader->setResizeContentsPrecision(100);
    connect(rowHeader, &QHeaderView::sectionClicked, this, &FenPrincipale::rows_select);
    connect(rowHeader, &QHeaderView::sectionPressed, this, &FenPrincipale::rows_select);
    connect(rowHeader, &QHeaderView::sectionDoubleClicked, this, &FenPrincipale::fenModifDate);

    // The one model of the window's life: each document resets it.
    model = new TableModel(1, 1, nullptr);
    tableView->setModel(model);

    firstSteps = new FirstSteps;
    connect(firstSteps, &FirstSteps::demoChosen, this, &FenPrincipale::openDemo);
    tableArea = new QStackedWidget;
    tableArea->addWidget(tableView);
    tableArea->addWidget(firstSteps);
    tableArea->setCurrentWidget(firstSteps);
    centralWidget()->layout()->addWidget(tableArea);
}

// The window names the open file, with the mark of unsaved changes; with no document it bears
// the application's name and version alone.
void FenPrincipale::updateWindowTitle()
{
    if (hasDocument())
        setWindowTitle(QFileInfo(currentFilePath).fileName() + QStringLiteral("[*] - ") +
                       applicationTitle());
    else
        setWindowTitle(applicationTitle());
    setWindowModified(saveAction->isEnabled());
}

QString FenPrincipale::applicationTitle()
{
    return QLatin1String(AppInfo::name) + QLatin1String(" v") + QLatin1String(AppInfo::version);
}

void FenPrincipale::disableDocumentOnlyActions()
{
    for (QAction* action :
         {exportAction, importAction, saveAction, saveAsAction, searchDateAction, printAction,
          addRowAction, removeRowsAction, copyAction, pasteAction, correctAction, shiftDatesAction})
        action->setEnabled(false);
}

// The two buttons under an auxiliary dialog: one that does its work, and "Annuler", which closes
// it, side by side 20 pixels apart.
QHBoxLayout* FenPrincipale::createButtonRow(const QString& text, void (FenPrincipale::*slot)(),
                                            int maximumWidth)
{
    auto* row = new QHBoxLayout;
    auto* button = new QPushButton(text);
    button->setMaximumWidth(maximumWidth);
    connect(button, &QPushButton::clicked, this, slot);
    auto* cancelButton = new QPushButton(QStringLiteral("Annuler"));
    cancelButton->setMaximumWidth(maximumWidth);
    connect(cancelButton, &QPushButton::clicked, currentDialog, &QDialog::close);
    row->addWidget(button);
    row->addSpacing(20);
    row->addWidget(cancelButton);
    return row;
}

// A question whose safe answer, "Non", is the default.
bool FenPrincipale::askYesNo(const QString& text)
{
    QMessageBox question(this);
    question.setIcon(QMessageBox::Question);
    question.setText(text);
    QPushButton* yes = question.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    question.setDefaultButton(question.addButton(QStringLiteral("Non"), QMessageBox::NoRole));
    question.exec();
    return question.clickedButton() == yes;
}

// A window-modal progress dialog, shown at once: without a zero minimum duration it would not run
// the event loop, and so not notice "Annuler", during its first seconds.
std::unique_ptr<QProgressDialog> FenPrincipale::showProgress(const QString& label,
                                                             const QString& cancelText, int rows)
{
    std::unique_ptr<QProgressDialog> progress(
        cancelText.isEmpty() ? new UninterruptibleProgress(label, cancelText, 0, rows - 1, this)
                             : new QProgressDialog(label, cancelText, 0, rows - 1, this));
    progress->setMinimumWidth(300);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->show();
    return progress;
}

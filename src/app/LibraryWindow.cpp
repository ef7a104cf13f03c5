#include "app/LibraryWindow.h"

#include "library/LibraryModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmor {

namespace {
QPushButton* button(const QString& caption, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setAutoDefault(false);
    return made;
}
} // namespace

LibraryWindow::LibraryWindow(const QFont& font, LibraryModel& model) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(font);
    setWindowTitle("Library");
    resize(720, 560);

    search = new QLineEdit(this);
    search->setAccessibleName("Search the library");
    search->setPlaceholderText("Artist, title, album or file name");
    search->setClearButtonEnabled(true);

    results = new QTableView(this);
    results->setAccessibleName("Search results");
    results->setModel(&model);
    results->setSelectionBehavior(QAbstractItemView::SelectRows);
    results->setSelectionMode(QAbstractItemView::ExtendedSelection);
    results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results->setDragEnabled(true);
    results->setDragDropMode(QAbstractItemView::DragOnly);
    results->setShowGrid(false);
    results->setWordWrap(false);
    results->verticalHeader()->hide();
    results->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    results->horizontalHeader()->setSectionResizeMode(LibraryModel::Title, QHeaderView::Stretch);
    results->setColumnWidth(LibraryModel::Artist, 200);
    results->setColumnWidth(LibraryModel::Length, 60);
    results->setColumnWidth(LibraryModel::Tempo, 60);
    results->setColumnWidth(LibraryModel::Played, 50);

    scan = new QProgressBar(this);
    scan->setAccessibleName("Library scan");
    scan->setTextVisible(false);
    scan->setRange(0, 1);
    scanText = new QLabel(this);
    scanText->setWordWrap(true);
    scanText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    folders = new QListWidget(this);
    folders->setAccessibleName("Music folders");
    folders->setMaximumHeight(90);
    addFolder = button("Add Folder...", this);
    removeFolder = button("Remove Folder", this);
    rescan = button("Rescan", this);
    evenings = new QComboBox(this);
    evenings->setAccessibleName("Evenings played");
    exportEvening = button("Export Evening...", this);
    closeButton = button("Close", this);

    auto* folderButtons = new QVBoxLayout;
    folderButtons->addWidget(addFolder);
    folderButtons->addWidget(removeFolder);
    folderButtons->addWidget(rescan);
    folderButtons->addStretch();
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folders, 1);
    folderRow->addLayout(folderButtons);
    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(scan, 1);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(new QLabel("Evening:", this));
    historyRow->addWidget(evenings, 1);
    historyRow->addWidget(exportEvening);
    historyRow->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search);
    layout->addWidget(results, 1);
    layout->addLayout(folderRow);
    layout->addWidget(scanText);
    layout->addLayout(scanRow);
    layout->addLayout(historyRow);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace velmor

#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;

namespace velmor {

class LibraryModel;

// The library window: a search box over the music library and the tracks it finds; below,
// the music folders the library is made of, and the progress of their scan. Not modal: the
// decks play on beside it. It has no behaviour of its own: the music library wires it.
class LibraryWindow : public QWidget {
public:
    LibraryWindow(const QFont& font, LibraryModel& results);

    QLineEdit* search;
    QTableView* results;
    QProgressBar* scan;
    QLabel* scanText;
    QListWidget* folders;
    QPushButton* addFolder;
    QPushButton* removeFolder;
    QPushButton* rescan;
    QComboBox* evenings; // those of the history, the latest first
    QPushButton* exportEvening;
    QPushButton* closeButton;
};

} // namespace velmor

#include "app/JinglesWindow.h"

#include "common/Accessible.h"
#include "common/LevelMeterBar.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"
#include "playlist/FileUris.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSlider>

namespace velmor {

namespace {
class DropTarget : public ColorButton {
public:
    DropTarget(int slot, std::function<void(int, QString)> dropped, QWidget* parent)
        : ColorButton("", parent), slot_(slot), dropped_(std::move(dropped)) {
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (!firstFile(event->mimeData()).isEmpty())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        const QString path = firstFile(event->mimeData());
        if (path.isEmpty())
            return;
        event->acceptProposedAction();
        dropped_(slot_, path);
    }

private:
    static QString firstFile(const QMimeData* data) {
        if (!data->hasFormat("text/uri-list"))
            return {};
        return LocalPathsOfUriList(data->data("text/uri-list")).value(0);
    }
    int slot_;
    std::function<void(int, QString)> dropped_;
};
} // namespace

FrmJingles::FrmJingles(const QFont& font,
                       const std::function<void(int slot, QString path)>& dropped) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(font);
    setWindowTitle("Velmor's Jingles");
    setFixedSize(TwipsToPixels(7440), TwipsToPixels(2190));
    for (int slot = 0; slot < kSlots; ++slot) {
        auto* button = new DropTarget(slot, dropped, this);
        button->setGeometry(TwipsRect(60 + 1230 * (slot % 6), 60 + 690 * (slot / 6), 1200, 660));
        button->setToolTip(QString("F%1: drop a file here; a right click gives the slot a file "
                                   "or empties it")
                               .arg(slot + 1));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        cmdJingle[slot] = button;
    }
    auto* level = new QLabel("Jingles' level:", this);
    level->setGeometry(TwipsRect(60, 1530, 1200, 300));
    sldJingles = new QSlider(Qt::Horizontal, this);
    sldJingles->setGeometry(TwipsRect(1290, 1500, 2400, 330));
    sldJingles->setRange(0, 100);
    sldJingles->setPageStep(5);
    SetAccessibleText(sldJingles, "Jingles' level");
    mtrJingles = new LevelMeterBar(false, this);
    mtrJingles->setGeometry(TwipsRect(3750, 1530, 1830, 270));
    SetAccessibleText(mtrJingles, "Jingles' meter", "What the jingles send to the master");
    cmdDuck = new ColorButton("Voice over (p)", this);
    cmdDuck->setGeometry(TwipsRect(5640, 1500, 1740, 330));
    cmdDuck->setCheckable(true);
    cmdDuck->setToolTip("Dips the music for a voice; the jingles and the headphones are not "
                        "dipped");
}

} // namespace velmor

#pragma once

#include "deck/player/AudioOutputs.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;

namespace velmor {

class Main;

// The audio set-up window: the main output, the headphones' output and the buffer size, the
// latency of the streams opened, how tracks are evened out (their loudness, the silence at
// their ends), whether a deck that plays unheard moves on, and the controllers: their ports,
// each switched on or off, and the learning of a control. A choice takes effect at once.
class FrmAudio : public QWidget {
public:
    explicit FrmAudio(const QFont& font);
    void cmdCloseWindow_Click() { close(); }

    QComboBox* cboDevice;
    QComboBox* cboPhones;
    QComboBox* cboBuffer;
    QCheckBox* chkLoudness;
    QSpinBox* spnTarget;
    QCheckBox* chkSkipSilence;
    QCheckBox* chkMoveOnUnheard;
    QSpinBox* spnDuck; // how far the voice-over key dips the music
    QLabel* lblLatency;
    QListWidget* lstPorts;
    QComboBox* cboLearn;
    QPushButton* cmdLearn;
    QLabel* lblLearn;
    QPushButton* cmdCloseWindow;
};

// The set-up button and its window. Every set-up that plays is kept in the set-up file.
class AudioSetupWindow {
public:
    explicit AudioSetupWindow(Main& window) : w_(window) {}
    ~AudioSetupWindow();
    void wire();
    // Where the set-up is kept ("" keeps it nowhere); how tracks are evened out is read from it.
    void keepIn(const QString& file);

    void cmdAudio_Click();
    // A choice in one of the window's lists: its set-up is opened, kept and shown. Where a
    // device cannot be opened, a box says so and the window shows what plays.
    void cboSetup_Click();
    // A change to how tracks are evened out: it holds from the next track that starts, and is
    // kept.
    void levelling_Change();
    // Whether a deck that plays unheard moves on: at once, and kept.
    void chkMoveOnUnheard_Click(bool on);
    // A controller's port switched on or off.
    void lstPorts_Change(QListWidgetItem* item);
    // Listens for the control of the action chosen (or of the key pressed next).
    void cmdLearn_Click();
    // A new depth of the voice-over's dip, kept with the set-up.
    void duck_Change(int db);

    FrmAudio* frmAudio() const { return frm_; }

private:
    void fill();
    void fillControllers();
    void fillPorts();
    AudioSetup chosen() const;
    void showLevelling();
    void tellNotKept();

    Main& w_;
    QPointer<FrmAudio> frm_;
    QList<AudioDevice> devices_;
    QString file_;
};

inline const char* const kNoAudioOutputs = "Velmor has no audio outputs to set up.";

} // namespace velmor

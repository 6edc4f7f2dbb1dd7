#include "ui/qt/audio_setup_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/audio_setup_choices.h"
#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {
constexpr int kClientWidth = 265;
constexpr int kClientHeight = 145;
constexpr int kTimerInterval = 1; // ms: fires as soon as the dialog is on screen

QString FromName(const std::string &text) {
    // Device names come from the sound system in UTF-8; the format texts are ASCII.
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

TfrmAudioSetup::TfrmAudioSetup(const ui::AudioSetupChoices &choices, QWidget *parent)
    : QDialog(parent), choices_(choices) {
    setObjectName(QStringLiteral("frmAudioSetup"));
    setWindowTitle(QStringLiteral("Audio Setup"));
    // A fixed dialog border; Qt centres a dialog on its parent, the main window.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    Label1 = new QLabel(QStringLiteral("Audio devices"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 249, 13);
    cmbAudioDevice = new QComboBox(this);
    cmbAudioDevice->setObjectName(QStringLiteral("cmbAudioDevice"));
    cmbAudioDevice->setGeometry(8, 24, 249, 21);
    cmbAudioDevice->setEditable(false);

    Label2 = new QLabel(QStringLiteral("Audio formats"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 56, 249, 13);
    cmbAudioFormats = new QComboBox(this);
    cmbAudioFormats->setObjectName(QStringLiteral("cmbAudioFormats"));
    cmbAudioFormats->setGeometry(8, 72, 249, 21);
    cmbAudioFormats->setEditable(false);

    // Two empty lists would leave the user guessing; without any output the dialog says so.
    lblNoOutput = new QLabel(QString::fromLatin1(ui::kNoSoundOutputText), this);
    lblNoOutput->setObjectName(QStringLiteral("lblNoOutput"));
    lblNoOutput->setGeometry(8, 8, 249, 85);
    lblNoOutput->setAlignment(Qt::AlignCenter);
    lblNoOutput->setVisible(choices_.Devices.empty());
    for (QWidget *list : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(cmbAudioDevice),
                          static_cast<QWidget *>(Label2), static_cast<QWidget *>(cmbAudioFormats)})
        list->setVisible(!choices_.Devices.empty());

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(48, 110, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(142, 110, 75, 25);
    BitBtn2->setAutoDefault(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    // A choice by the user, with the mouse or the keyboard; choosing by program runs nothing.
    connect(cmbAudioDevice, &QComboBox::activated, this, [this] { cmbAudioDeviceSelect(); });

    ApplyTooltips(*this);
    FormCreate();
}

void TfrmAudioSetup::FormCreate() {
    for (const std::string &name : choices_.Devices)
        cmbAudioDevice->addItem(FromName(name));
    // Always the first device, whatever the settings say.
    cmbAudioDevice->setCurrentIndex(cmbAudioDevice->count() > 0 ? 0 : -1);
}

bool TfrmAudioSetup::event(QEvent *e) {
    // The dialog is modal, so it becomes the active form once, right when it is shown. A window
    // manager may activate it late or not at all, so showing counts too; later activations come
    // from switching applications and must not refill the lists under the user's choice.
    const bool shownOrActive = e->type() == QEvent::Show || e->type() == QEvent::WindowActivate;
    if (shownOrActive && !activated_) {
        activated_ = true;
        FormActivate();
    }
    return QDialog::event(e);
}

void TfrmAudioSetup::FormActivate() {
    Timer1->start();
}

void TfrmAudioSetup::Timer1Timer() {
    Timer1->stop();
    cmbAudioDeviceSelect();
}

void TfrmAudioSetup::cmbAudioDeviceSelect() {
    const int i = cmbAudioDevice->currentIndex();
    cmbAudioFormats->clear();
    if (i < 0 || static_cast<std::size_t>(i) >= choices_.Formats.size())
        return;
    for (const std::string &text : choices_.Formats[static_cast<std::size_t>(i)])
        cmbAudioFormats->addItem(FromName(text));
    // The saved settings' index counts as if all ten formats were offered: with fewer it may
    // name another entry, or none.
    const int preselected = choices_.PreselectedFormat;
    cmbAudioFormats->setCurrentIndex(
        preselected >= 0 && preselected < cmbAudioFormats->count() ? preselected : -1);
}

void TfrmAudioSetup::cmbAudioDeviceChange() {
    cmbAudioDeviceSelect();
}

ui::AudioSetupAnswer TfrmAudioSetup::Answer() const {
    ui::AudioSetupAnswer answer;
    answer.Ok = result() == QDialog::Accepted;
    answer.Device = cmbAudioDevice->currentIndex();
    answer.FormatText = cmbAudioFormats->currentIndex() >= 0
                            ? cmbAudioFormats->currentText().toStdString()
                            : std::string();
    return answer;
}

} // namespace morvane::qt

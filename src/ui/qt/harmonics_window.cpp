#include "ui/qt/harmonics_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "document/error.h"
#include "edit/spectral_processors.h"
#include "ui/qt/image_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {

// The processors in the order of the list, with the values a new choice proposes and the hint
// under the list. The order is that of edit::SpectralProcessor.
struct ProcessorItem {
    const char *Caption;
    const char *Start;
    const char *End;
    const char *Hint;
};
constexpr std::array<ProcessorItem, 10> kProcessors = {{
    {"Low-pass", "64", "1", "Keeps harmonics up to N (0 to 64); the edge bar takes the fraction"},
    {"High-pass", "1", "32",
     "Keeps harmonics from N up (0 to 64); the edge bar takes the fraction"},
    {"Keep odd", "100", "100", "Lowers the even harmonics by the amount (0 to 100 %)"},
    {"Keep even", "100", "100", "Lowers the odd harmonics by the amount (0 to 100 %)"},
    {"Shift", "1", "1", "Moves every harmonic up or down by S (-64 to 64)"},
    {"Zero phases", "100", "100", "Turns the phases toward 0 by the amount (0 to 100 %)"},
    {"Random phases", "100", "100",
     "Turns the phases toward random ones by the amount (0 to 100 %)"},
    {"Remove DC", "100", "100", "Removes the amount (0 to 100 %) of DC"},
    {"Normalise", "100", "100", "Brings the peak to the level (0 to 100 % of full scale)"},
    {"Spectral morph", "", "",
     "Morphs the spectra from the first to the last wave of the selection"},
}};
constexpr int kMorphItem = 9;

constexpr int kMargin = 8;
constexpr int kWindowWidth = render::bars::kWidth + 2 * kMargin; // 440
constexpr int kInfoTop = kMargin + render::bars::kHeight + 4;    // the labels under the bars
constexpr int kGroupTop = kInfoTop + 24;
constexpr int kGroupHeight = 72;
constexpr int kWindowHeight = kGroupTop + kGroupHeight + kMargin;
constexpr int kGapToMain = 8; // between the main window's frame and this one

QString Text(const char *text) {
    return QString::fromLatin1(text);
}

QString Formatted(const char *format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

double NumberIn(const QLineEdit &edit) {
    bool ok = false;
    const double value = edit.text().trimmed().toDouble(&ok);
    if (!ok)
        throw Error("Start and End take numbers");
    return value;
}

} // namespace

TfrmHarmonics::TfrmHarmonics(TfrmMain &main)
    : QWidget(&main, Qt::Tool), main_(main),
      barsBitmap_(render::bars::kWidth, render::bars::kHeight) {
    setObjectName(QStringLiteral("frmHarmonics"));
    setWindowTitle(QStringLiteral("Harmonics"));
    setFixedSize(kWindowWidth, kWindowHeight);
    // Opening it leaves the keyboard with the main window; a click moves it here.
    setAttribute(Qt::WA_ShowWithoutActivating);

    const auto label = [this](QWidget *parent, const char *name, const char *caption, int x, int y,
                              int w) {
        auto *l = new QLabel(Text(caption), parent);
        l->setObjectName(Text(name));
        l->setGeometry(x, y, w, 16);
        return l;
    };

    imgHarmonics = new TImageView(render::bars::kWidth, render::bars::kHeight, this);
    imgHarmonics->setObjectName(QStringLiteral("imgHarmonics"));
    imgHarmonics->move(kMargin, kMargin);
    lblHarmonicWave = label(this, "lblHarmonicWave", "Wave 1", kMargin, kInfoTop, 56);
    lblHarmonicDC = label(this, "lblHarmonicDC", "DC: +0.000000", 64, kInfoTop, 96);
    lblHarmonicValue = label(this, "lblHarmonicValue", "", 160, kInfoTop, 200);
    cmbHarmonicScale = new QComboBox(this);
    cmbHarmonicScale->setObjectName(QStringLiteral("cmbHarmonicScale"));
    cmbHarmonicScale->addItems({QStringLiteral("Linear"), QStringLiteral("dB")});
    cmbHarmonicScale->setGeometry(kWindowWidth - kMargin - 64, kInfoTop - 3, 64, 21);

    grpSpectralProcessors = new QGroupBox(QStringLiteral("Spectral processors"), this);
    grpSpectralProcessors->setObjectName(QStringLiteral("grpSpectralProcessors"));
    grpSpectralProcessors->setGeometry(kMargin, kGroupTop, render::bars::kWidth, kGroupHeight);
    cmbSpectralProcessor = new QComboBox(grpSpectralProcessors);
    cmbSpectralProcessor->setObjectName(QStringLiteral("cmbSpectralProcessor"));
    for (const ProcessorItem &item : kProcessors)
        cmbSpectralProcessor->addItem(Text(item.Caption));
    cmbSpectralProcessor->setGeometry(8, 18, 120, 21);
    lblProcessorStart = label(grpSpectralProcessors, "lblProcessorStart", "Start:", 136, 21, 34);
    edtProcessorStart = new QLineEdit(grpSpectralProcessors);
    edtProcessorStart->setObjectName(QStringLiteral("edtProcessorStart"));
    edtProcessorStart->setGeometry(170, 18, 56, 21);
    lblProcessorEnd = label(grpSpectralProcessors, "lblProcessorEnd", "End:", 234, 21, 28);
    edtProcessorEnd = new QLineEdit(grpSpectralProcessors);
    edtProcessorEnd->setObjectName(QStringLiteral("edtProcessorEnd"));
    edtProcessorEnd->setGeometry(262, 18, 56, 21);
    btnApplyProcessor = new QPushButton(QStringLiteral("Apply"), grpSpectralProcessors);
    btnApplyProcessor->setObjectName(QStringLiteral("btnApplyProcessor"));
    btnApplyProcessor->setGeometry(render::bars::kWidth - 8 - 72, 16, 72, 25);
    lblProcessorRange = label(grpSpectralProcessors, "lblProcessorRange", "", 8, 46, 408);

    // The main window's shortcuts (undo, redo, play ...) work here too.
    for (QAction *action : main.findChildren<QAction *>())
        if (!action->shortcut().isEmpty())
            addAction(action);

    const auto guarded = [this](auto body) {
        try {
            body();
        } catch (const std::exception &e) {
            main_.Dialogs().Message(e.what());
        }
    };
    connect(imgHarmonics, &TImageView::MouseDown, this,
            [this, guarded](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                guarded([&] { imgHarmonicsMouseDown(imgHarmonics, button, shift, x, y); });
            });
    connect(imgHarmonics, &TImageView::MouseMove, this,
            [this, guarded](Qt::KeyboardModifiers shift, int x, int y) {
                guarded([&] { imgHarmonicsMouseMove(imgHarmonics, shift, x, y); });
            });
    connect(imgHarmonics, &TImageView::MouseUp, this,
            [this, guarded](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                guarded([&] { imgHarmonicsMouseUp(imgHarmonics, button, shift, x, y); });
            });
    connect(cmbHarmonicScale, &QComboBox::currentIndexChanged, this,
            [this, guarded] { guarded([this] { cmbHarmonicScaleChange(cmbHarmonicScale); }); });
    connect(cmbSpectralProcessor, &QComboBox::currentIndexChanged, this, [this, guarded] {
        guarded([this] { cmbSpectralProcessorChange(cmbSpectralProcessor); });
    });
    connect(btnApplyProcessor, &QPushButton::clicked, this,
            [this, guarded] { guarded([this] { btnApplyProcessorClick(btnApplyProcessor); }); });
    connect(&main, &TfrmMain::GraphRedrawn, this, &TfrmHarmonics::ShowWave);

    cmbSpectralProcessorChange(nullptr);
    ApplyTooltips(*this);
}

void TfrmHarmonics::Open() {
    if (!placed_) {
        // Beside the main window, on its right, as far as the screen allows.
        QPoint at = main_.frameGeometry().topRight() + QPoint(kGapToMain, 0);
        if (const QScreen *screen = main_.screen()) {
            const QRect free = screen->availableGeometry();
            at.setX(std::min(at.x(), free.right() - frameGeometry().width()));
        }
        move(at);
        placed_ = true;
    }
    if (isVisible())
        raise();
    else
        show();
}

void TfrmHarmonics::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    ShowWave(main_.CurrentWave());
}

bool TfrmHarmonics::Decibels() const {
    return cmbHarmonicScale->currentIndex() == 1;
}

void TfrmHarmonics::ShowWave(int wave) {
    if (!isVisible())
        return; // a hidden window draws when it is shown
    spectrum_ = edit::Analyse(main_.Table(), std::clamp(wave, 1, kWaveCount) - 1);
    render::bars::DrawBars(barsBitmap_, spectrum_, Decibels());
    imgHarmonics->CopyFrom(barsBitmap_);
    lblHarmonicWave->setText(QStringLiteral("Wave ") + QString::number(wave));
    // The signed DC value; what rounds to zero shows without a sign.
    const double dc =
        std::abs(spectrum_.Cos[0]) < edit::kNegligibleMagnitude ? 0.0 : spectrum_.Cos[0];
    lblHarmonicDC->setText(Formatted("DC: %+.6f", dc));
}

void TfrmHarmonics::ShowValueAt(int x, int y) {
    const render::bars::Hit hit = render::bars::HitAt(x, y, Decibels());
    if (hit.Where == render::bars::Row::None) {
        lblHarmonicValue->clear();
        return;
    }
    // "harmonic: K M P" as a script prints it, without the word.
    const std::string line = edit::HarmonicLine(spectrum_, hit.Harmonic);
    lblHarmonicValue->setText(QStringLiteral("Harmonic ") +
                              QString::fromLatin1(line.substr(line.find(' ') + 1)) +
                              QStringLiteral(" deg"));
}

void TfrmHarmonics::CommandTail(bool overflow) {
    if (overflow)
        main_.Dialogs().Message(edit::kOverflowMessage);
    main_.DrawWavetable(main_.CurrentWave());
    main_.DrawOverview();
    main_.SetModified(true);
    main_.PushHistory();
}

void TfrmHarmonics::StepTail(const render::bars::Stroke::StepResult &step) {
    if (!step.Changed)
        return;
    main_.DrawWavetable(main_.CurrentWave());
    main_.DrawOverview();
    main_.SetModified(true);
}

void TfrmHarmonics::imgHarmonicsMouseDown(QObject *, Qt::MouseButton button, Qt::KeyboardModifiers,
                                          int x, int y) {
    if (stroke_.Active())
        return; // a second button during a stroke changes nothing
    const WaveRange waves = main_.CheckedWaveSelection();
    StepTail(stroke_.Down(main_.Table(), waves.From, waves.To, x, y, button == Qt::RightButton,
                          Decibels(), main_.ckbAllowOverflow->isChecked()));
    ShowValueAt(x, y);
}

void TfrmHarmonics::imgHarmonicsMouseMove(QObject *, Qt::KeyboardModifiers, int x, int y) {
    if (stroke_.Active())
        StepTail(stroke_.Move(main_.Table(), x, y));
    ShowValueAt(x, y);
}

void TfrmHarmonics::imgHarmonicsMouseUp(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                        int) {
    const render::bars::Stroke::EndResult end = stroke_.Up();
    if (!end.Ended)
        return;
    // The stroke is one command: the samples were drawn step by step, so what remains of the
    // tail is the message and the snapshot.
    if (end.Overflow)
        main_.Dialogs().Message(edit::kOverflowMessage);
    main_.PushHistory();
}

void TfrmHarmonics::cmbHarmonicScaleChange(QObject *) {
    ShowWave(main_.CurrentWave());
}

void TfrmHarmonics::cmbSpectralProcessorChange(QObject *) {
    const int index = std::clamp(cmbSpectralProcessor->currentIndex(), 0,
                                 static_cast<int>(kProcessors.size()) - 1);
    const ProcessorItem &item = kProcessors[static_cast<std::size_t>(index)];
    edtProcessorStart->setText(Text(item.Start));
    edtProcessorEnd->setText(Text(item.End));
    const bool values = index != kMorphItem;
    edtProcessorStart->setEnabled(values);
    edtProcessorEnd->setEnabled(values);
    lblProcessorRange->setText(Text(item.Hint));
}

void TfrmHarmonics::btnApplyProcessorClick(QObject *) {
    edit::ProcessorSettings settings;
    settings.Kind = static_cast<edit::SpectralProcessor>(std::clamp(
        cmbSpectralProcessor->currentIndex(), 0, static_cast<int>(kProcessors.size()) - 1));
    if (settings.Kind != edit::SpectralProcessor::Morph) {
        settings.Start = NumberIn(*edtProcessorStart);
        settings.End = NumberIn(*edtProcessorEnd);
    }
    settings.AllowOverflow = main_.ckbAllowOverflow->isChecked();
    const WaveRange waves = main_.CheckedWaveSelection();
    if (settings.Kind == edit::SpectralProcessor::RandomPhases)
        main_.Random().SeedFrom(main_.TimeSource().Now()); // as the generator seeds
    const edit::EditResult result =
        edit::ApplyProcessor(main_.Table(), settings, waves.From, waves.To, main_.Random());
    CommandTail(result.Overflow);
}

void TfrmHarmonics::SetHarmonicCommand(int k, double magnitude, double phaseDegrees) {
    const WaveRange waves = main_.CheckedWaveSelection();
    const edit::EditResult result =
        edit::SetHarmonicOfWaves(main_.Table(), waves.From, waves.To, k, magnitude, phaseDegrees,
                                 main_.ckbAllowOverflow->isChecked());
    CommandTail(result.Overflow);
}

} // namespace morvane::qt

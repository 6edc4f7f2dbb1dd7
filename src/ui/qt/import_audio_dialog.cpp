#include "ui/qt/import_audio_dialog.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "render/formula_preview.h"
#include "ui/qt/image_view.h"
#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {

constexpr int kWidth = render::kRecordingWidth + 16;
constexpr int kHeight = 480;
// Where the two modes' controls begin, below the mode choice.
constexpr int kModeTop = 98;
// The region is given to the millisecond, finer than a cycle of the highest pitch looked for.
constexpr int kRegionDecimals = 3;
constexpr double kRegionStep = 0.01;
// The phase choices in the order of the list; Align is the default.
constexpr std::array<exchange::PhaseMode, 3> kPhases{
    exchange::PhaseMode::Keep, exchange::PhaseMode::Align, exchange::PhaseMode::Zero};
constexpr int kDefaultPhase = 1;

// Texts of the core are single-byte characters.
QString Text(const std::string &text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int y) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(8, y, kWidth - 16, 16);
    return label;
}

QDoubleSpinBox *MakeSeconds(QWidget *parent, const char *name, double seconds, double value) {
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(kRegionDecimals);
    box->setSingleStep(kRegionStep);
    box->setRange(0.0, seconds);
    box->setSuffix(QStringLiteral(" s"));
    box->setValue(value);
    // One preview when the value is complete, not one per digit typed.
    box->setKeyboardTracking(false);
    return box;
}

// The box's value, or none while it still shows the default region's edge as it was put. The
// box rounds to the millisecond, which may lie just past the file's end: that is its end.
std::optional<double> ChangedSeconds(const QDoubleSpinBox &box, double proposed, double seconds) {
    const double shown = std::round(proposed * 1000.0) / 1000.0;
    if (std::abs(box.value() - shown) < 0.0005)
        return std::nullopt;
    return std::min(box.value(), seconds);
}

} // namespace

TfrmImportAudio::TfrmImportAudio(const ui::ImportAudioChoices &choices, QWidget *parent)
    : QDialog(parent), choices_(choices),
      recordingCanvas_(render::kRecordingWidth, render::kRecordingHeight),
      waveCanvas_(render::kPreviewWidth, render::kPreviewHeight) {
    setObjectName(QStringLiteral("frmImportAudio"));
    setWindowTitle(QStringLiteral("Import audio or wavetable"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    lblFile = MakeLabel(this, "lblFile", Text(choices_.FileName), 8);
    lblFormat = MakeLabel(this, "lblFormat", Text(choices_.FormatText), 26);
    lblTag = MakeLabel(this, "lblTag", Text(choices_.TagText), 44);

    lblMode = MakeLabel(this, "lblMode", QStringLiteral("Import as:"), 72);
    lblMode->setGeometry(8, 72, 80, 16);
    cmbMode = new QComboBox(this);
    cmbMode->setObjectName(QStringLiteral("cmbMode"));
    cmbMode->setGeometry(92, 68, kWidth - 100, 22);
    cmbMode->addItem(Text(ui::ImportAudioModeText(ui::ImportAudioMode::Frames)));
    cmbMode->addItem(Text(ui::ImportAudioModeText(ui::ImportAudioMode::Cycles)));

    // Frames
    Label1 = MakeLabel(this, "Label1", QStringLiteral("Frame length:"), kModeTop + 4);
    Label1->setGeometry(8, kModeTop + 4, 80, 16);
    cmbFrameLength = new QComboBox(this);
    cmbFrameLength->setObjectName(QStringLiteral("cmbFrameLength"));
    cmbFrameLength->setGeometry(92, kModeTop, kWidth - 100, 22);
    for (const std::string &text : choices_.FrameLengthTexts)
        cmbFrameLength->addItem(Text(text));
    lblFramesFound = MakeLabel(this, "lblFramesFound", QString(), kModeTop + 28);
    Label2 =
        MakeLabel(this, "Label2",
                  QStringLiteral("Waves %1 to %2 take:").arg(choices_.First).arg(choices_.Last),
                  kModeTop + 50);
    lbMapping = new QListWidget(this);
    lbMapping->setObjectName(QStringLiteral("lbMapping"));
    lbMapping->setGeometry(8, kModeTop + 68, kWidth - 16, 240);
    lbMapping->setSelectionMode(QAbstractItemView::NoSelection);
    lbMapping->setUniformItemSizes(true);

    // Pitch-tracked cycles
    lblPitchFound = MakeLabel(this, "lblPitchFound", QString(), kModeTop);
    lblPitch = MakeLabel(this, "lblPitch", QStringLiteral("Pitch:"), kModeTop + 24);
    lblPitch->setGeometry(8, kModeTop + 24, 80, 16);
    edtPitch = new QLineEdit(this);
    edtPitch->setObjectName(QStringLiteral("edtPitch"));
    edtPitch->setGeometry(92, kModeTop + 20, 90, 22);
    edtPitch->setPlaceholderText(QStringLiteral("as found"));
    lblPitch->setBuddy(edtPitch);
    lblPitchEntered = MakeLabel(this, "lblPitchEntered", QString(), kModeTop + 24);
    lblPitchEntered->setGeometry(190, kModeTop + 24, kWidth - 198, 16);
    lblRegion = MakeLabel(this, "lblRegion", QStringLiteral("Region:"), kModeTop + 52);
    lblRegion->setGeometry(8, kModeTop + 52, 80, 16);
    edtRegionStart = MakeSeconds(this, "edtRegionStart", choices_.Seconds, choices_.RegionStart);
    edtRegionStart->setGeometry(92, kModeTop + 48, 90, 22);
    lblRegion->setBuddy(edtRegionStart);
    lblRegionTo = MakeLabel(this, "lblRegionTo", QStringLiteral("to"), kModeTop + 52);
    lblRegionTo->setGeometry(188, kModeTop + 52, 16, 16);
    edtRegionEnd = MakeSeconds(this, "edtRegionEnd", choices_.Seconds, choices_.RegionEnd);
    edtRegionEnd->setGeometry(206, kModeTop + 48, 90, 22);
    lblRegionLength = MakeLabel(
        this, "lblRegionLength",
        QStringLiteral("of %1 s").arg(choices_.Seconds, 0, 'f', kRegionDecimals), kModeTop + 52);
    lblRegionLength->setGeometry(304, kModeTop + 52, kWidth - 312, 16);
    imgRecording = new TImageView(render::kRecordingWidth, render::kRecordingHeight, this);
    imgRecording->setObjectName(QStringLiteral("imgRecording"));
    imgRecording->setGeometry(8, kModeTop + 78, render::kRecordingWidth, render::kRecordingHeight);
    const int phaseTop = kModeTop + 78 + render::kRecordingHeight + 8;
    lblPhase = MakeLabel(this, "lblPhase", QStringLiteral("Phase:"), phaseTop + 4);
    lblPhase->setGeometry(8, phaseTop + 4, 80, 16);
    cmbPhase = new QComboBox(this);
    cmbPhase->setObjectName(QStringLiteral("cmbPhase"));
    cmbPhase->setGeometry(92, phaseTop, kWidth - 100, 22);
    for (const exchange::PhaseMode phase : kPhases)
        cmbPhase->addItem(Text(ui::PhaseModeText(phase)));
    cmbPhase->setCurrentIndex(kDefaultPhase);
    lblPhase->setBuddy(cmbPhase);
    lblCyclesProblem = MakeLabel(this, "lblCyclesProblem", QString(), phaseTop + 28);
    lblCyclesProblem->setGeometry(8, phaseTop + 28, kWidth - 16, 30);
    lblCyclesProblem->setWordWrap(true);
    lblCyclesProblem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCyclesProblem->setStyleSheet(QStringLiteral("color: #b00000;"));
    const int wavesTop = phaseTop + 62;
    const int gap = (kWidth - 16 - 3 * render::kPreviewWidth) / 2;
    const std::array<const char *, 3> captions{"lblCycleFirst", "lblCycleMiddle", "lblCycleLast"};
    const std::array<const char *, 3> pictures{"imgCycleFirst", "imgCycleMiddle", "imgCycleLast"};
    const std::array<QLabel **, 3> captionFields{&lblCycleFirst, &lblCycleMiddle, &lblCycleLast};
    const std::array<TImageView **, 3> pictureFields{&imgCycleFirst, &imgCycleMiddle,
                                                     &imgCycleLast};
    for (std::size_t k = 0; k < captions.size(); ++k) {
        const int left = 8 + static_cast<int>(k) * (render::kPreviewWidth + gap);
        *captionFields[k] = MakeLabel(this, captions[k], QString(), wavesTop);
        (*captionFields[k])->setGeometry(left, wavesTop, render::kPreviewWidth, 16);
        *pictureFields[k] = new TImageView(render::kPreviewWidth, render::kPreviewHeight, this);
        (*pictureFields[k])->setObjectName(QString::fromLatin1(pictures[k]));
        (*pictureFields[k])
            ->setGeometry(left, wavesTop + 18, render::kPreviewWidth, render::kPreviewHeight);
    }

    chbNormalise =
        new QCheckBox(QStringLiteral("Normalise the loudest sample to full scale"), this);
    chbNormalise->setObjectName(QStringLiteral("chbNormalise"));
    chbNormalise->setGeometry(8, kHeight - 66, kWidth - 16, 20);
    chbNormalise->setChecked(true);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(kWidth / 2 - 90, kHeight - 34, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(kWidth / 2 + 15, kHeight - 34, 75, 25);
    btnCancel->setAutoDefault(false);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbMode, &QComboBox::currentIndexChanged, this, [this] { cmbModeChange(); });
    connect(cmbFrameLength, &QComboBox::currentIndexChanged, this,
            [this] { cmbFrameLengthChange(); });
    connect(edtPitch, &QLineEdit::textChanged, this, [this] { CyclesChange(); });
    connect(edtRegionStart, &QDoubleSpinBox::valueChanged, this, [this] { CyclesChange(); });
    connect(edtRegionEnd, &QDoubleSpinBox::valueChanged, this, [this] { CyclesChange(); });
    connect(cmbPhase, &QComboBox::currentIndexChanged, this, [this] { CyclesChange(); });
    connect(chbNormalise, &QCheckBox::toggled, this, [this] {
        if (CyclesMode())
            CyclesChange();
    });

    ApplyTooltips(*this);
    cmbFrameLength->setCurrentIndex(choices_.Proposed);
    cmbFrameLengthChange();
    {
        // One preview on opening, not one for the change of index and one more.
        const QSignalBlocker quiet(cmbMode);
        cmbMode->setCurrentIndex(choices_.Mode == ui::ImportAudioMode::Cycles ? 1 : 0);
    }
    cmbModeChange();
}

bool TfrmImportAudio::CyclesMode() const {
    return cmbMode->currentIndex() == 1;
}

void TfrmImportAudio::cmbModeChange() {
    const bool cycles = CyclesMode();
    for (QWidget *frames : std::initializer_list<QWidget *>{Label1, cmbFrameLength, lblFramesFound,
                                                            Label2, lbMapping})
        frames->setVisible(!cycles);
    for (QWidget *control : std::initializer_list<QWidget *>{
             lblPitchFound, lblPitch, edtPitch, lblPitchEntered, lblRegion, edtRegionStart,
             lblRegionTo, edtRegionEnd, lblRegionLength, imgRecording, lblPhase, cmbPhase,
             lblCyclesProblem, lblCycleFirst, lblCycleMiddle, lblCycleLast, imgCycleFirst,
             imgCycleMiddle, imgCycleLast})
        control->setVisible(cycles);
    lblTag->setVisible(!cycles);
    // The cycles are worked out only once asked for: a table never pays for a pitch search.
    if (cycles)
        CyclesChange();
    UpdateOk();
}

void TfrmImportAudio::cmbFrameLengthChange() {
    const int index = cmbFrameLength->currentIndex();
    lblFramesFound->setText(choices_.FramesFound ? Text(choices_.FramesFound(index)) : QString());
    lbMapping->clear();
    if (choices_.Mapping)
        for (const std::string &line : choices_.Mapping(index))
            lbMapping->addItem(Text(line));
    UpdateOk();
}

ui::CyclesChoice TfrmImportAudio::CurrentCycles() const {
    ui::CyclesChoice choice;
    choice.Pitch = edtPitch->text().trimmed().toStdString();
    choice.Start = ChangedSeconds(*edtRegionStart, choices_.RegionStart, choices_.Seconds);
    choice.End = ChangedSeconds(*edtRegionEnd, choices_.RegionEnd, choices_.Seconds);
    const int phase = cmbPhase->currentIndex();
    choice.Phase = kPhases[static_cast<std::size_t>(
        phase >= 0 && phase < static_cast<int>(kPhases.size()) ? phase : kDefaultPhase)];
    choice.Normalise = chbNormalise->isChecked();
    return choice;
}

void TfrmImportAudio::CyclesChange() {
    ui::CyclesPreview preview;
    if (choices_.Cycles)
        preview = choices_.Cycles(CurrentCycles());
    else
        preview.Problem = "No recording to take cycles from.";
    cyclesReady_ = preview.Problem.empty();
    lblPitchFound->setText(Text(preview.PitchFound));
    lblPitchEntered->setText(Text(preview.PitchEntered));
    lblCyclesProblem->setText(Text(preview.Problem));

    const double seconds = choices_.Seconds > 0 ? choices_.Seconds : 1.0;
    render::DrawRecording(recordingCanvas_, choices_.Recording, edtRegionStart->value() / seconds,
                          edtRegionEnd->value() / seconds);
    imgRecording->CopyFrom(recordingCanvas_);

    const int first = choices_.First;
    const int last = choices_.Last;
    const std::array<int, 3> shown{first, (first + last) / 2, last};
    const std::array<QLabel *, 3> captions{lblCycleFirst, lblCycleMiddle, lblCycleLast};
    const std::array<TImageView *, 3> pictures{imgCycleFirst, imgCycleMiddle, imgCycleLast};
    if (cyclesReady_)
        exchange::StoreResynthesis(preview.Waves, preview_);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        captions[k]->setText(QStringLiteral("Wave %1").arg(shown[k]));
        if (cyclesReady_) {
            render::DrawFormulaPreview(waveCanvas_, preview_, shown[k], false);
        } else {
            waveCanvas_.Fill(render::Rgb(255, 255, 255)); // no waves to show
        }
        pictures[k]->CopyFrom(waveCanvas_);
    }
    UpdateOk();
}

void TfrmImportAudio::UpdateOk() {
    // OK only when the mode's choice gives waves: a whole frame, or the cycles.
    btnOK->setEnabled(CyclesMode() ? cyclesReady_ : lbMapping->count() > 0);
}

ui::ImportAudioAnswer TfrmImportAudio::Answer() const {
    ui::ImportAudioAnswer answer;
    answer.Ok = result() == QDialog::Accepted;
    const int index = cmbFrameLength->currentIndex();
    if (index >= 0 && index < static_cast<int>(choices_.FrameLengths.size()))
        answer.FrameLength = choices_.FrameLengths[static_cast<std::size_t>(index)];
    answer.Normalise = chbNormalise->isChecked();
    answer.Mode = CyclesMode() ? ui::ImportAudioMode::Cycles : ui::ImportAudioMode::Frames;
    answer.Cycles = CurrentCycles();
    return answer;
}

} // namespace morvane::qt

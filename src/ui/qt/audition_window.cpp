#include "ui/qt/audition_window.h"

#include <exception>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStandardItemModel>
#include <QTimer>

#include "midi/midi_settings.h"
#include "ui/midi_setup_choices.h"
#include "ui/qt/main_window.h"
#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {

constexpr int kFollowIntervalMs = 40; // the wave list follows the voice 25 times a second
constexpr int kKeyboardHeight = 90;

QString Latin1(const std::string &text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

midi::MidiInFactory InputFactory(const TfrmMain &owner) {
    if (owner.MidiInFactory)
        return owner.MidiInFactory;
    return midi::CreateNoMidiIn;
}

} // namespace

// ---- The keyboard ---------------------------------------------------------------------------

TAuditionKeyboard::TAuditionKeyboard(QWidget *parent) : QWidget(parent) {
    setMinimumSize(ui::kKeyboardWhiteKeys * 14, kKeyboardHeight);
    setMaximumHeight(kKeyboardHeight);
}

void TAuditionKeyboard::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    for (const ui::KeyRect &key : ui::KeyboardKeys(width(), height())) {
        const QRectF rect(key.X, key.Y, key.Width, key.Height);
        const bool down = held_ && *held_ == key.Note;
        painter.setPen(Qt::black);
        painter.setBrush(down ? QColor(120, 160, 230) : key.Black ? Qt::black : Qt::white);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void TAuditionKeyboard::Hold(std::optional<int> note, double y) {
    if (note == held_)
        return;
    if (held_)
        emit NoteOff(*held_);
    held_ = note;
    if (held_)
        emit NoteOn(*held_, ui::KeyboardVelocity(y, height()));
    update();
}

void TAuditionKeyboard::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    Hold(ui::KeyboardNoteAt(at.x(), at.y(), width(), height()), at.y());
}

void TAuditionKeyboard::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPointF at = event->position();
    Hold(ui::KeyboardNoteAt(at.x(), at.y(), width(), height()), at.y());
}

void TAuditionKeyboard::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        Hold(std::nullopt, 0);
}

// ---- The window -----------------------------------------------------------------------------

TfrmAudition::TfrmAudition(TfrmMain &owner)
    : QWidget(&owner, Qt::Window), owner_(owner),
      ownStreamOut_(owner.AuditionStreamOut != nullptr
                        ? nullptr
                        : std::make_unique<audio::NullAudioStreamOut>()),
      session_(owner.AuditionStreamOut != nullptr ? *owner.AuditionStreamOut : *ownStreamOut_,
               InputFactory(owner)) {
    setObjectName(QStringLiteral("frmAudition"));
    setWindowTitle(QStringLiteral("Audition"));

    const auto label = [this](QWidget *parent, const char *name, const char *caption) {
        auto *l = new QLabel(QString::fromLatin1(caption), parent);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    const auto spin = [](QWidget *parent, const char *name, double low, double high, double value,
                         double step, const char *suffix) {
        auto *s = new QDoubleSpinBox(parent);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(low, high);
        s->setDecimals(2);
        s->setSingleStep(step);
        s->setValue(value);
        s->setSuffix(QString::fromLatin1(suffix));
        return s;
    };
    const auto slider = [](QWidget *parent, const char *name, int low, int high, int value) {
        auto *s = new QSlider(Qt::Horizontal, parent);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(low, high);
        s->setValue(value);
        return s;
    };
    const ui::AuditionControls defaults;
    constexpr double span = synth::kMaxPosition - synth::kMinPosition; // offsets in waves

    lblMidiInput = label(this, "lblMidiInput", "MIDI input");
    cmbMidiInput = new QComboBox(this);
    cmbMidiInput->setObjectName(QStringLiteral("cmbMidiInput"));
    btnMidiInputRescan = new QPushButton(QStringLiteral("Rescan"), this);
    btnMidiInputRescan->setObjectName(QStringLiteral("btnMidiInputRescan"));
    lblInterpolation = label(this, "lblInterpolation", "Interpolation");
    cmbInterpolation = new QComboBox(this);
    cmbInterpolation->setObjectName(QStringLiteral("cmbInterpolation"));
    for (const char *name : ui::kInterpolationNames)
        cmbInterpolation->addItem(QString::fromLatin1(name));
    cmbInterpolation->setCurrentIndex(defaults.Interpolation);
    lblPosition = label(this, "lblPosition", "Position");
    trbPosition = slider(this, "trbPosition", ui::kPositionSliderMin, ui::kPositionSliderMax,
                         defaults.PositionSlider);
    lblPositionValue = label(this, "lblPositionValue", "");
    lblPositionValue->setMinimumWidth(40);
    lblModWheelDepth = label(this, "lblModWheelDepth", "Mod wheel");
    spnModWheelDepth =
        spin(this, "spnModWheelDepth", -span, span, defaults.ModWheelDepth, 1, " waves");

    auto *grpLfo = new QGroupBox(QStringLiteral("LFO"), this);
    grpLfo->setObjectName(QStringLiteral("grpLfo"));
    lblLfoShape = label(grpLfo, "lblLfoShape", "Shape");
    cmbLfoShape = new QComboBox(grpLfo);
    cmbLfoShape->setObjectName(QStringLiteral("cmbLfoShape"));
    for (const char *name : ui::kLfoShapeNames)
        cmbLfoShape->addItem(QString::fromLatin1(name));
    lblLfoRate = label(grpLfo, "lblLfoRate", "Rate");
    trbLfoRate = slider(grpLfo, "trbLfoRate", 0, ui::kLfoRateSteps, defaults.LfoRateSlider);
    lblLfoRateValue = label(grpLfo, "lblLfoRateValue", "");
    lblLfoRateValue->setMinimumWidth(56);
    lblLfoDepth = label(grpLfo, "lblLfoDepth", "Depth");
    spnLfoDepth = spin(grpLfo, "spnLfoDepth", 0, span, defaults.LfoDepth, 1, " waves");

    auto *grpEnvelope = new QGroupBox(QStringLiteral("Position envelope"), this);
    grpEnvelope->setObjectName(QStringLiteral("grpEnvelope"));
    lblEnvelopeFrom = label(grpEnvelope, "lblEnvelopeFrom", "From");
    spnEnvelopeFrom =
        spin(grpEnvelope, "spnEnvelopeFrom", -span, span, defaults.EnvelopeFrom, 1, " waves");
    lblEnvelopeTo = label(grpEnvelope, "lblEnvelopeTo", "To");
    spnEnvelopeTo =
        spin(grpEnvelope, "spnEnvelopeTo", -span, span, defaults.EnvelopeTo, 1, " waves");
    lblEnvelopeTime = label(grpEnvelope, "lblEnvelopeTime", "Time");
    spnEnvelopeTime =
        spin(grpEnvelope, "spnEnvelopeTime", 0, 60, defaults.EnvelopeSeconds, 0.1, " s");

    auto *grpAmplitude = new QGroupBox(QStringLiteral("Amplitude"), this);
    grpAmplitude->setObjectName(QStringLiteral("grpAmplitude"));
    lblAttack = label(grpAmplitude, "lblAttack", "Attack");
    spnAttack = spin(grpAmplitude, "spnAttack", 0, 10, defaults.AttackSeconds, 0.01, " s");
    spnAttack->setDecimals(3);
    lblRelease = label(grpAmplitude, "lblRelease", "Release");
    spnRelease = spin(grpAmplitude, "spnRelease", 0, 10, defaults.ReleaseSeconds, 0.05, " s");
    spnRelease->setDecimals(3);

    imgKeyboard = new TAuditionKeyboard(this);
    imgKeyboard->setObjectName(QStringLiteral("imgKeyboard"));
    btnAuditionPlay = new QPushButton(QStringLiteral("Play"), this);
    btnAuditionPlay->setObjectName(QStringLiteral("btnAuditionPlay"));
    lblAuditionState = label(this, "lblAuditionState", "");

    TimerAudition = new QTimer(this);
    TimerAudition->setObjectName(QStringLiteral("TimerAudition"));
    TimerAudition->setInterval(kFollowIntervalMs);
    TimerTable = new QTimer(this);
    TimerTable->setObjectName(QStringLiteral("TimerTable"));
    TimerTable->setSingleShot(true);
    TimerTable->setInterval(0);

    // Layout: the sources at the top, the position and its modulations, the keyboard below.
    auto *top = new QGridLayout;
    top->addWidget(lblMidiInput, 0, 0);
    top->addWidget(cmbMidiInput, 0, 1, 1, 2);
    top->addWidget(btnMidiInputRescan, 0, 3);
    top->addWidget(lblInterpolation, 1, 0);
    top->addWidget(cmbInterpolation, 1, 1);
    top->addWidget(lblModWheelDepth, 1, 2, Qt::AlignRight);
    top->addWidget(spnModWheelDepth, 1, 3);
    top->addWidget(lblPosition, 2, 0);
    top->addWidget(trbPosition, 2, 1, 1, 2);
    top->addWidget(lblPositionValue, 2, 3);
    top->setColumnStretch(1, 1);
    top->setColumnStretch(2, 1);
    auto *lfo = new QGridLayout(grpLfo);
    lfo->addWidget(lblLfoShape, 0, 0);
    lfo->addWidget(cmbLfoShape, 0, 1, 1, 2);
    lfo->addWidget(lblLfoRate, 1, 0);
    lfo->addWidget(trbLfoRate, 1, 1);
    lfo->addWidget(lblLfoRateValue, 1, 2);
    lfo->addWidget(lblLfoDepth, 2, 0);
    lfo->addWidget(spnLfoDepth, 2, 1, 1, 2);
    auto *envelope = new QGridLayout(grpEnvelope);
    envelope->addWidget(lblEnvelopeFrom, 0, 0);
    envelope->addWidget(spnEnvelopeFrom, 0, 1);
    envelope->addWidget(lblEnvelopeTo, 1, 0);
    envelope->addWidget(spnEnvelopeTo, 1, 1);
    envelope->addWidget(lblEnvelopeTime, 2, 0);
    envelope->addWidget(spnEnvelopeTime, 2, 1);
    auto *amplitude = new QGridLayout(grpAmplitude);
    amplitude->addWidget(lblAttack, 0, 0);
    amplitude->addWidget(spnAttack, 0, 1);
    amplitude->addWidget(lblRelease, 1, 0);
    amplitude->addWidget(spnRelease, 1, 1);
    auto *groups = new QHBoxLayout;
    groups->addWidget(grpLfo, 2);
    groups->addWidget(grpEnvelope, 1);
    groups->addWidget(grpAmplitude, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(btnAuditionPlay);
    bottom->addWidget(lblAuditionState, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(groups);
    column->addWidget(imgKeyboard);
    column->addLayout(bottom);

    connect(btnAuditionPlay, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnAuditionPlayClick(btnAuditionPlay); }); });
    connect(btnMidiInputRescan, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnMidiInputRescanClick(btnMidiInputRescan); }); });
    connect(cmbMidiInput, &QComboBox::activated, this,
            [this] { Guarded([this] { cmbMidiInputChange(cmbMidiInput); }); });
    const auto controls = [this](QObject *sender) {
        return [this, sender] { Guarded([this, sender] { ControlsChange(sender); }); };
    };
    connect(cmbInterpolation, &QComboBox::currentIndexChanged, this, controls(cmbInterpolation));
    connect(cmbLfoShape, &QComboBox::currentIndexChanged, this, controls(cmbLfoShape));
    for (QSlider *s : {trbPosition, trbLfoRate})
        connect(s, &QSlider::valueChanged, this, controls(s));
    for (QDoubleSpinBox *s : {spnModWheelDepth, spnLfoDepth, spnEnvelopeFrom, spnEnvelopeTo,
                              spnEnvelopeTime, spnAttack, spnRelease})
        connect(s, &QDoubleSpinBox::valueChanged, this, controls(s));
    connect(imgKeyboard, &TAuditionKeyboard::NoteOn, this,
            [this](int note, int velocity) { session_.NoteOn(note, velocity); });
    connect(imgKeyboard, &TAuditionKeyboard::NoteOff, this,
            [this](int note) { session_.NoteOff(note); });
    connect(TimerAudition, &QTimer::timeout, this,
            [this] { Guarded([this] { TimerAuditionTimer(TimerAudition); }); });
    connect(TimerTable, &QTimer::timeout, this, [this] { Guarded([this] { TableChanged(); }); });
    // Every edit redraws the graph: the table goes to the voice once the edit is done.
    connect(&owner, &TfrmMain::GraphRedrawn, TimerTable, qOverload<>(&QTimer::start));

    ControlsChange(nullptr);
    ApplyTooltips(*this);
}

TfrmAudition::~TfrmAudition() {
    session_.Stop();
}

void TfrmAudition::closeEvent(QCloseEvent *event) {
    StopAudition();
    QWidget::closeEvent(event);
}

void TfrmAudition::Guarded(const std::function<void()> &body) {
    try {
        body();
    } catch (const std::exception &e) {
        owner_.Dialogs().Message(e.what());
    }
}

void TfrmAudition::Open() {
    show();
    raise();
    activateWindow();
    if (listed_)
        return;
    listed_ = true;
    // The port remembered is opened at once, so that the keyboard plays as soon as Play is on.
    btnMidiInputRescanClick(nullptr);
    const int index = cmbMidiInput->currentIndex();
    if (index > 0 && present_[static_cast<std::size_t>(index)])
        Guarded([this] { cmbMidiInputChange(nullptr); });
}

ui::AuditionControls TfrmAudition::ReadControls() const {
    ui::AuditionControls c;
    c.Interpolation = cmbInterpolation->currentIndex();
    c.PositionSlider = trbPosition->value();
    c.LfoShape = cmbLfoShape->currentIndex();
    c.LfoRateSlider = trbLfoRate->value();
    c.LfoDepth = spnLfoDepth->value();
    c.ModWheelDepth = spnModWheelDepth->value();
    c.EnvelopeFrom = spnEnvelopeFrom->value();
    c.EnvelopeTo = spnEnvelopeTo->value();
    c.EnvelopeSeconds = spnEnvelopeTime->value();
    c.AttackSeconds = spnAttack->value();
    c.ReleaseSeconds = spnRelease->value();
    return c;
}

void TfrmAudition::ControlsChange(QObject *) {
    const ui::AuditionControls controls = ReadControls();
    lblPositionValue->setText(
        Latin1(ui::PositionText(ui::PositionFromSlider(controls.PositionSlider))));
    lblLfoRateValue->setText(
        Latin1(ui::LfoRateText(ui::LfoRateFromSlider(controls.LfoRateSlider))));
    session_.SetParams(ui::MakeAuditionParams(controls));
}

void TfrmAudition::btnAuditionPlayClick(QObject *) {
    if (session_.Playing()) {
        StopAudition();
        return;
    }
    // The main window's Play gives the device up first.
    if (owner_.btnPlay->text() == QStringLiteral("Stop"))
        owner_.btnPlayClick(nullptr);
    session_.Start(owner_.AudioSettings, owner_.Table(), ui::MakeAuditionParams(ReadControls()));
    btnAuditionPlay->setText(QStringLiteral("Stop"));
    TimerAudition->start();
}

void TfrmAudition::StopAudition() {
    session_.Stop();
    TimerAudition->stop();
    btnAuditionPlay->setText(QStringLiteral("Play"));
    lblAuditionState->clear();
}

void TfrmAudition::TimerAuditionTimer(QObject *) {
    const std::optional<double> position = session_.Position();
    if (!position)
        return;
    const synth::AuditionEngine *engine = session_.Engine();
    const int voices = engine != nullptr ? engine->ActiveVoices() : 0;
    lblAuditionState->setText(Latin1("Position " + ui::PositionText(*position) + ", " +
                                     std::to_string(voices) +
                                     (voices == 1 ? " voice" : " voices")));
    const int wave = ui::WaveAtPosition(*position);
    if (wave != owner_.CurrentWave()) {
        owner_.SelectWave(wave);
        owner_.DrawWavetable(wave);
    }
}

void TfrmAudition::TableChanged() {
    if (session_.Playing())
        session_.SetTable(owner_.Table());
}

void TfrmAudition::ShowInputs(const ui::MidiSetupChoices &choices) {
    const QSignalBlocker blocker(cmbMidiInput);
    cmbMidiInput->clear();
    inputs_.clear();
    present_.clear();
    cmbMidiInput->addItem(QStringLiteral("(none)"));
    inputs_.emplace_back();
    present_.push_back(true);
    for (const ui::MidiPortEntry &entry : choices.Entries) {
        cmbMidiInput->addItem(QString::fromStdString(entry.Label));
        inputs_.emplace_back(entry.Port);
        present_.push_back(entry.Present);
    }
    for (const std::string &note : choices.Notes) {
        cmbMidiInput->addItem(QString::fromStdString(note));
        inputs_.emplace_back();
        present_.push_back(false);
        // An API that could not be asked is shown, but cannot be chosen.
        if (auto *model = qobject_cast<QStandardItemModel *>(cmbMidiInput->model()))
            model->item(cmbMidiInput->count() - 1)->setEnabled(false);
    }
    cmbMidiInput->setCurrentIndex(choices.Preselected + 1);
}

void TfrmAudition::btnMidiInputRescanClick(QObject *) {
    midi::MidiOutputSettings saved;
    if (const std::optional<midi::MidiPort> &open = session_.InputPort()) {
        saved.MidiApi = open->Api;
        saved.MidiPort = open->Name;
    } else {
        const midi::MidiInputSettings input = midi::LoadMidiInputSettings(owner_.SettingsPath);
        saved.MidiApi = input.MidiApi;
        saved.MidiPort = input.MidiPort;
    }
    ShowInputs(ui::MakeMidiSetupChoices(session_.InputPorts(), saved));
}

void TfrmAudition::cmbMidiInputChange(QObject *sender) {
    const int index = cmbMidiInput->currentIndex();
    const std::optional<midi::MidiPort> port =
        index >= 0 && static_cast<std::size_t>(index) < inputs_.size()
            ? inputs_[static_cast<std::size_t>(index)]
            : std::nullopt;
    midi::MidiInputSettings settings;
    if (port) {
        try {
            session_.OpenInput(*port);
        } catch (const std::exception &) {
            const QSignalBlocker blocker(cmbMidiInput);
            cmbMidiInput->setCurrentIndex(0);
            session_.CloseInput();
            throw;
        }
        settings.MidiApi = port->Api;
        settings.MidiPort = port->Name;
    } else {
        session_.CloseInput();
    }
    // Only a choice the user made is remembered; opening the remembered port at start is not.
    if (sender != nullptr)
        midi::SaveMidiInputSettings(settings, owner_.SettingsPath);
}

void TfrmMain::Audition1Click(QObject *) {
    if (frmAudition == nullptr)
        frmAudition = new TfrmAudition(*this);
    frmAudition->Open();
}

} // namespace morvane::qt

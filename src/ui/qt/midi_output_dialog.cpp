#include "ui/qt/midi_output_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {

QString Utf8(const std::string &text) {
    return QString::fromUtf8(text);
}

} // namespace

TfrmMidiOutput::TfrmMidiOutput(const ui::MidiSetupChoices &choices, QWidget *parent)
    : QDialog(parent), rescan_(choices.Rescan) {
    setObjectName(QStringLiteral("frmMidiOutput"));
    setWindowTitle(QStringLiteral("MIDI output"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Label1 = new QLabel(QStringLiteral("MIDI output port"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmbMidiPort = new QComboBox(this);
    cmbMidiPort->setObjectName(QStringLiteral("cmbMidiPort"));
    cmbMidiPort->setMinimumWidth(340);
    cmbMidiPort->setPlaceholderText(QStringLiteral("No MIDI output port found"));
    Label1->setBuddy(cmbMidiPort);
    btnRefresh = new QPushButton(QStringLiteral("Refresh"), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnRefresh->setAutoDefault(false);
    lblMidiNotes = new QLabel(this);
    lblMidiNotes->setObjectName(QStringLiteral("lblMidiNotes"));
    lblMidiNotes->setWordWrap(true);
    lblMidiNotes->setForegroundRole(QPalette::PlaceholderText);

    Label2 = new QLabel(QStringLiteral("Pause between waves"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    edtMidiPause = new QSpinBox(this);
    edtMidiPause->setObjectName(QStringLiteral("edtMidiPause"));
    edtMidiPause->setRange(midi::kMinPauseMs, midi::kMaxPauseMs);
    edtMidiPause->setSingleStep(10);
    edtMidiPause->setSuffix(QStringLiteral(" ms"));
    edtMidiPause->setValue(midi::ClampPause(choices.PauseMs));
    Label2->setBuddy(edtMidiPause);
    lblPauseHint = new QLabel(
        QStringLiteral("1000 ms suits the instrument over USB and over a MIDI cable. Shorter "
                       "pauses send faster; lengthen the pause if waves go missing."),
        this);
    lblPauseHint->setObjectName(QStringLiteral("lblPauseHint"));
    lblPauseHint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    BitBtn1 = buttons->addButton(QDialogButtonBox::Ok);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = buttons->addButton(QDialogButtonBox::Cancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnRefresh, &QPushButton::clicked, this, [this] { btnRefreshClick(); });

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cmbMidiPort, 0, 1);
    grid->addWidget(btnRefresh, 0, 2);
    grid->addWidget(lblMidiNotes, 1, 1, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(edtMidiPause, 2, 1, Qt::AlignLeft);
    grid->addWidget(lblPauseHint, 3, 1, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ApplyTooltips(*this);
    Fill(choices, choices.Preselected);
}

void TfrmMidiOutput::Fill(const ui::MidiSetupChoices &choices, int select) {
    entries_ = choices.Entries;
    cmbMidiPort->clear();
    for (const ui::MidiPortEntry &entry : entries_)
        cmbMidiPort->addItem(Utf8(entry.Label));
    cmbMidiPort->setCurrentIndex(select >= 0 && select < cmbMidiPort->count() ? select : -1);
    QStringList notes;
    for (const std::string &note : choices.Notes)
        notes.append(Utf8(note));
    lblMidiNotes->setText(notes.join(QLatin1Char('\n')));
    lblMidiNotes->setVisible(!notes.isEmpty());
}

void TfrmMidiOutput::btnRefreshClick() {
    if (!rescan_)
        return;
    const ui::MidiSetupAnswer before = Choice();
    const ui::MidiSetupChoices again = rescan_();
    int select = again.Preselected;
    if (before.Port) {
        for (std::size_t i = 0; i < again.Entries.size(); ++i) {
            if (again.Entries[i].Port == *before.Port) {
                select = static_cast<int>(i);
                break;
            }
        }
    }
    Fill(again, select);
}

ui::MidiSetupAnswer TfrmMidiOutput::Choice() const {
    ui::MidiSetupAnswer answer;
    const int index = cmbMidiPort->currentIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < entries_.size())
        answer.Port = entries_[static_cast<std::size_t>(index)].Port;
    answer.PauseMs = edtMidiPause->value();
    return answer;
}

} // namespace morvane::qt

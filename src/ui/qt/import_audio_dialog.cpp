#include "ui/qt/import_audio_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 420;

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

} // namespace

TfrmImportAudio::TfrmImportAudio(const ui::ImportAudioChoices &choices, QWidget *parent)
    : QDialog(parent), choices_(choices) {
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

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Frame length:"), 70);
    Label1->setGeometry(8, 72, 80, 16);
    cmbFrameLength = new QComboBox(this);
    cmbFrameLength->setObjectName(QStringLiteral("cmbFrameLength"));
    cmbFrameLength->setGeometry(92, 68, kWidth - 100, 22);
    for (const std::string &text : choices_.FrameLengthTexts)
        cmbFrameLength->addItem(Text(text));

    lblFramesFound = MakeLabel(this, "lblFramesFound", QString(), 96);
    Label2 = MakeLabel(
        this, "Label2",
        QStringLiteral("Waves %1 to %2 take:").arg(choices_.First).arg(choices_.Last), 118);
    lbMapping = new QListWidget(this);
    lbMapping->setObjectName(QStringLiteral("lbMapping"));
    lbMapping->setGeometry(8, 136, kWidth - 16, 210);
    lbMapping->setSelectionMode(QAbstractItemView::NoSelection);
    lbMapping->setUniformItemSizes(true);

    chbNormalise =
        new QCheckBox(QStringLiteral("Normalise the loudest sample to full scale"), this);
    chbNormalise->setObjectName(QStringLiteral("chbNormalise"));
    chbNormalise->setGeometry(8, 354, kWidth - 16, 20);
    chbNormalise->setChecked(true);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(kWidth / 2 - 90, 386, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(kWidth / 2 + 15, 386, 75, 25);
    btnCancel->setAutoDefault(false);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbFrameLength, &QComboBox::currentIndexChanged, this,
            [this] { cmbFrameLengthChange(); });

    ApplyTooltips(*this);
    cmbFrameLength->setCurrentIndex(choices_.Proposed);
    cmbFrameLengthChange();
}

void TfrmImportAudio::cmbFrameLengthChange() {
    const int index = cmbFrameLength->currentIndex();
    lblFramesFound->setText(choices_.FramesFound ? Text(choices_.FramesFound(index)) : QString());
    lbMapping->clear();
    if (choices_.Mapping)
        for (const std::string &line : choices_.Mapping(index))
            lbMapping->addItem(Text(line));
    // OK only when the length chosen gives at least one whole frame.
    btnOK->setEnabled(lbMapping->count() > 0);
}

ui::ImportAudioAnswer TfrmImportAudio::Answer() const {
    ui::ImportAudioAnswer answer;
    answer.Ok = result() == QDialog::Accepted;
    const int index = cmbFrameLength->currentIndex();
    if (index >= 0 && index < static_cast<int>(choices_.FrameLengths.size()))
        answer.FrameLength = choices_.FrameLengths[static_cast<std::size_t>(index)];
    answer.Normalise = chbNormalise->isChecked();
    return answer;
}

} // namespace morvane::qt

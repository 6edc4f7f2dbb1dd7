#include "ui/qt/wave_tables_dialog.h"

#include <QListWidget>
#include <QPushButton>

#include "ui/qt/tooltips.h"

namespace morvane::qt {

namespace {
constexpr int kClientSize = 257;
constexpr int kItemHeight = 13;
} // namespace

TfrmWaveTables::TfrmWaveTables(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmWaveTables"));
    setWindowTitle(QStringLiteral("Wavetable selector"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientSize, kClientSize);
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    lbWavetables = new QListWidget(this);
    lbWavetables->setObjectName(QStringLiteral("lbWavetables"));
    lbWavetables->setGeometry(8, 8, 241, 201);
    lbWavetables->setSelectionMode(QAbstractItemView::SingleSelection);
    lbWavetables->setUniformItemSizes(true);

    btnOK = new QPushButton(QStringLiteral("Okay"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(40, 224, 75, 25);
    btnOK->setDefault(true);

    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(144, 224, 75, 25);
    btnCancel->setAutoDefault(false);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lbWavetables, &QListWidget::itemDoubleClicked, this,
            [this] { lbWavetablesDblClick(); });
    // A Ctrl+click would clear the selection and leave the current name drawn as if chosen;
    // the current name stays selected instead.
    connect(lbWavetables, &QListWidget::itemSelectionChanged, this, [this] {
        if (lbWavetables->selectedItems().isEmpty() && lbWavetables->currentItem() != nullptr)
            lbWavetables->currentItem()->setSelected(true);
    });
    ApplyTooltips(*this);
}

void TfrmWaveTables::AddNames(const std::vector<std::string> &names) {
    for (const std::string &name : names) {
        // Names are single-byte characters.
        auto *item = new QListWidgetItem(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), lbWavetables);
        item->setSizeHint(QSize(0, kItemHeight));
    }
    // The first name is selected for real, not just drawn as current: Okay and Enter take it.
    if (lbWavetables->count() > 0 && lbWavetables->selectedItems().isEmpty())
        lbWavetables->setCurrentRow(0);
}

int TfrmWaveTables::SelectedIndex() const {
    const QList<QListWidgetItem *> selected = lbWavetables->selectedItems();
    return selected.isEmpty() ? -1 : lbWavetables->row(selected.constFirst());
}

void TfrmWaveTables::lbWavetablesDblClick() {
    accept();
}

// The button's own result closes the dialog; the handler adds nothing.
void TfrmWaveTables::btnOKClick() {
    accept();
}

} // namespace morvane::qt

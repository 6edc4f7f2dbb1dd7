#include "ui/qt/formula_window.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "edit/formula.h"
#include "files/settings_file.h"
#include "render/formula_preview.h"
#include "ui/formula_choices.h"
#include "ui/qt/image_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/tooltips.h"
#include "ui/selection.h"

namespace morvane::qt {

namespace {

// The generator's eight operations, in the order of its buttons.
constexpr std::array<std::pair<const char *, edit::CombineMode>, 8> kOperations{{
    {"Add", edit::CombineMode::Add},
    {"Sub", edit::CombineMode::Sub},
    {"OR", edit::CombineMode::Or},
    {"AND", edit::CombineMode::And},
    {"XOR", edit::CombineMode::Xor},
    {"Multi", edit::CombineMode::Multi},
    {"min", edit::CombineMode::Min},
    {"MAX", edit::CombineMode::Max},
}};

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <class W> W *Named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString WaveCaption(int wave) {
    return QStringLiteral("Wave ") + QString::number(wave);
}

std::filesystem::path SettingsPathOf(const TfrmMain &main) {
    return main.SettingsPath.empty() ? files::DefaultSettingsFilePath()
                                     : std::filesystem::path(main.SettingsPath);
}

} // namespace

TfrmFormula::TfrmFormula(TfrmMain &main)
    : QWidget(&main, Qt::Tool), main_(main),
      previewCanvas_(render::kPreviewWidth, render::kPreviewHeight) {
    setObjectName(QStringLiteral("frmFormula"));
    setWindowTitle(QStringLiteral("Formula"));

    lblFormula = Named(new QLabel(QStringLiteral("Formula"), this), "lblFormula");
    edtFormula = Named(new QLineEdit(this), "edtFormula");
    edtFormula->setMinimumWidth(400);
    edtFormula->setPlaceholderText(QStringLiteral("e.g. sin(2*pi*w + z*sin(4*pi*w))"));
    lblFormula->setBuddy(edtFormula);
    chbFormulaAddtoexisting = Named(new QCheckBox(QStringLiteral("Add to existing wave"), this),
                                    "chbFormulaAddtoexisting");
    lblFormulaOperation =
        Named(new QLabel(QStringLiteral("Operation"), this), "lblFormulaOperation");
    cmbFormulaOperation = Named(new QComboBox(this), "cmbFormulaOperation");
    for (const auto &operation : kOperations)
        cmbFormulaOperation->addItem(QString::fromLatin1(operation.first));
    lblFormulaOperation->setBuddy(cmbFormulaOperation);
    btnFormulaApply = Named(new QPushButton(QStringLiteral("Apply"), this), "btnFormulaApply");
    lblFormulaError = Named(new QLabel(this), "lblFormulaError");
    lblFormulaError->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblFormulaError->setWordWrap(true);
    // One line kept free, so that the window does not jump when a message comes and goes.
    lblFormulaError->setMinimumHeight(lblFormulaError->fontMetrics().height());
    lblFormulaScope = Named(new QLabel(this), "lblFormulaScope");
    lblFormulaScope->setWordWrap(true);

    lblFormulaFirst = Named(new QLabel(this), "lblFormulaFirst");
    lblFormulaMiddle = Named(new QLabel(this), "lblFormulaMiddle");
    lblFormulaLast = Named(new QLabel(this), "lblFormulaLast");
    const auto picture = [this](const char *name) {
        auto *view =
            Named(new TImageView(render::kPreviewWidth, render::kPreviewHeight, this), name);
        view->setFixedSize(render::kPreviewWidth, render::kPreviewHeight);
        return view;
    };
    imgFormulaFirst = picture("imgFormulaFirst");
    imgFormulaMiddle = picture("imgFormulaMiddle");
    imgFormulaLast = picture("imgFormulaLast");

    lblFormulaExamples = Named(new QLabel(QStringLiteral("Examples"), this), "lblFormulaExamples");
    lbFormulaExamples = Named(new QListWidget(this), "lbFormulaExamples");
    for (const ui::FormulaExample &example : ui::kFormulaExamples) {
        auto *item = new QListWidgetItem(Latin1(example.Caption), lbFormulaExamples);
        item->setToolTip(Latin1(example.Expression));
    }
    lbFormulaExamples->setMinimumHeight(150);
    lblFormulaHistory =
        Named(new QLabel(QStringLiteral("Recent formulas"), this), "lblFormulaHistory");
    cmbFormulaHistory = Named(new QComboBox(this), "cmbFormulaHistory");
    cmbFormulaHistory->setPlaceholderText(QStringLiteral("none yet"));
    lblFormulaHistory->setBuddy(cmbFormulaHistory);

    ApplyTooltips(*this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblFormula, 0, 0);
    grid->addWidget(edtFormula, 0, 1, 1, 4);
    grid->addWidget(chbFormulaAddtoexisting, 1, 1);
    grid->addWidget(lblFormulaOperation, 1, 2, Qt::AlignRight);
    grid->addWidget(cmbFormulaOperation, 1, 3);
    grid->addWidget(btnFormulaApply, 1, 4);
    grid->addWidget(lblFormulaError, 2, 0, 1, 5);
    grid->addWidget(lblFormulaScope, 3, 0, 1, 5);
    grid->addWidget(lblFormulaFirst, 4, 1);
    grid->addWidget(lblFormulaMiddle, 4, 2);
    grid->addWidget(lblFormulaLast, 4, 3);
    grid->addWidget(imgFormulaFirst, 5, 1);
    grid->addWidget(imgFormulaMiddle, 5, 2);
    grid->addWidget(imgFormulaLast, 5, 3);
    grid->addWidget(lblFormulaExamples, 6, 0, Qt::AlignTop);
    grid->addWidget(lbFormulaExamples, 6, 1, 1, 4);
    grid->addWidget(lblFormulaHistory, 7, 0);
    grid->addWidget(cmbFormulaHistory, 7, 1, 1, 4);

    connect(btnFormulaApply, &QPushButton::clicked, this,
            [this] { btnFormulaApplyClick(btnFormulaApply); });
    connect(edtFormula, &QLineEdit::returnPressed, this,
            [this] { btnFormulaApplyClick(edtFormula); });
    connect(edtFormula, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });
    connect(cmbFormulaOperation, &QComboBox::currentIndexChanged, this,
            [this] { UpdatePreview(); });
    cmbFormulaOperation->setEnabled(false);
    connect(chbFormulaAddtoexisting, &QCheckBox::toggled, this, [this](bool checked) {
        cmbFormulaOperation->setEnabled(checked);
        UpdatePreview();
    });
    connect(lbFormulaExamples, &QListWidget::itemClicked, this,
            [this] { lbFormulaExamplesClick(lbFormulaExamples); });
    connect(lbFormulaExamples, &QListWidget::currentRowChanged, this,
            [this] { lbFormulaExamplesClick(lbFormulaExamples); });
    connect(cmbFormulaHistory, &QComboBox::activated, this,
            [this] { cmbFormulaHistoryChange(cmbFormulaHistory); });
    // The main window's shortcuts (undo, redo, play ...) work while this window is active.
    for (QAction *action : main_.findChildren<QAction *>())
        if (!action->shortcut().isEmpty())
            addAction(action);
    // What the apply reads from the main window: the document, the selection and the boxes.
    connect(&main_, &TfrmMain::GraphRedrawn, this, [this] { UpdatePreview(); });
    for (QCheckBox *box : {main_.ckbAllowOverflow, main_.chbRandomAllSlice})
        connect(box, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
    for (QSlider *slider : {main_.trbMorphWaves1, main_.trbMorphWaves2})
        connect(slider, &QSlider::valueChanged, this, [this] { UpdatePreview(); });
    for (QScrollBar *bar : {main_.ScrollBar1, main_.ScrollBar2})
        connect(bar, &QScrollBar::valueChanged, this, [this] { UpdatePreview(); });
}

edit::FormulaSettings TfrmFormula::Settings() const {
    const int index = std::clamp(cmbFormulaOperation->currentIndex(), 0,
                                 static_cast<int>(kOperations.size()) - 1);
    edit::FormulaSettings settings;
    settings.AddToExisting = chbFormulaAddtoexisting->isChecked();
    settings.Mode = kOperations[static_cast<std::size_t>(index)].second;
    settings.AllowOverflow = main_.ckbAllowOverflow->isChecked();
    return settings;
}

void TfrmFormula::showEvent(QShowEvent *event) {
    LoadHistory();
    UpdatePreview();
    QWidget::showEvent(event);
}

void TfrmFormula::btnFormulaApplyClick(QObject *) {
    try {
        edit::Formula formula(edtFormula->text().toStdString());
        const WaveRange waves = main_.CheckedWaveSelection();
        main_.Random().SeedFrom(main_.TimeSource().Now());
        // Written into a copy that replaces the document only when the whole command has
        // run, so that an error half-way leaves the table as it was.
        Wavetable written = main_.Table();
        const edit::FormulaResult result =
            edit::ApplyFormula(written, formula, Settings(), waves.From, waves.To,
                               main_.GetSampleRange(), main_.Random(), main_.Backup);
        main_.Table() = written;
        lblFormulaError->clear();

        LoadHistory();
        ui::RememberFormula(history_, edtFormula->text().toStdString());
        FillHistoryBox();
        try {
            ui::SaveFormulaHistory(history_, SettingsPathOf(main_));
        } catch (const std::exception &e) {
            // Not remembering the list is no reason to hold up the edit.
            main_.LogMessage(std::string(e.what()));
        }

        // A command that changed nothing leaves the history and the modified flag alone.
        if (result.WrittenWaves > 0) {
            main_.PushHistory();
            main_.DrawWavetable(main_.CurrentWave());
            main_.SetModified(true);
            main_.DrawOverview();
        }
        if (!result.RefusedWaves.empty())
            main_.Dialogs().Message(edit::kOverflowMessage);
    } catch (const edit::FormulaError &e) {
        lblFormulaError->setText(QString::fromStdString(e.what()));
    } catch (const std::exception &e) {
        main_.Dialogs().Message(std::string("Formula ") + e.what());
    }
}

void TfrmFormula::UpdatePreview() {
    const WaveRange waves = main_.CheckedWaveSelection();
    const SampleRange range = main_.GetSampleRange();
    const int waveCount = waves.To - waves.From + 1;
    const bool oneWave = waveCount == 1;
    lblFormulaScope->setText(
        (oneWave ? WaveCaption(waves.From)
                 : QStringLiteral("Waves %1 to %2").arg(waves.From).arg(waves.To)) +
        QStringLiteral(", samples %1 to %2; ").arg(range.First + 1).arg(range.Last + 1) +
        (chbFormulaAddtoexisting->isChecked() ? QStringLiteral("combined with the wave by %1; ")
                                                    .arg(cmbFormulaOperation->currentText())
                                              : QStringLiteral("replaces the samples; ")) +
        (main_.ckbAllowOverflow->isChecked()
             ? QStringLiteral("values beyond full scale are clipped.")
             : QStringLiteral("a wave that overflows is left as it was.")));
    if (!isVisible())
        return;

    const std::array<int, 3> shown{waves.From, (waves.From + waves.To) / 2, waves.To};
    const std::array<QLabel *, 3> captions{lblFormulaFirst, lblFormulaMiddle, lblFormulaLast};
    const std::array<TImageView *, 3> pictures{imgFormulaFirst, imgFormulaMiddle, imgFormulaLast};
    preview_ = main_.Table();
    std::vector<int> refused;
    try {
        edit::Formula formula(edtFormula->text().toStdString());
        // Seeded as the apply seeds it, so that rand() shows what a click now would write.
        edit::RandomGenerator random;
        random.SeedFrom(main_.TimeSource().Now());
        refused = edit::ApplyFormula(preview_, formula, Settings(), waves.From, waves.To, range,
                                     random, previewBackup_)
                      .RefusedWaves;
        lblFormulaError->clear();
    } catch (const edit::FormulaError &e) {
        // An empty box is no error yet; the waves are shown as they are.
        if (edtFormula->text().trimmed().isEmpty())
            lblFormulaError->clear();
        else
            lblFormulaError->setText(QString::fromStdString(e.what()));
    } catch (const std::exception &e) {
        lblFormulaError->setText(QString::fromStdString(e.what()));
    }
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const bool overflow = std::find(refused.begin(), refused.end(), shown[k]) != refused.end();
        captions[k]->setText(WaveCaption(shown[k]) +
                             (overflow ? QStringLiteral(" (overflow)") : QString()));
        render::DrawFormulaPreview(previewCanvas_, preview_, shown[k], overflow);
        pictures[k]->CopyFrom(previewCanvas_);
    }
}

void TfrmFormula::lbFormulaExamplesClick(QObject *) {
    const int row = lbFormulaExamples->currentRow();
    if (row < 0 || row >= static_cast<int>(ui::kFormulaExamples.size()))
        return;
    edtFormula->setText(Latin1(ui::kFormulaExamples[static_cast<std::size_t>(row)].Expression));
}

void TfrmFormula::cmbFormulaHistoryChange(QObject *) {
    const int index = cmbFormulaHistory->currentIndex();
    if (index >= 0)
        edtFormula->setText(cmbFormulaHistory->itemText(index));
}

void TfrmFormula::LoadHistory() {
    if (historyLoaded_)
        return;
    historyLoaded_ = true;
    history_ = ui::LoadFormulaHistory(SettingsPathOf(main_));
    FillHistoryBox();
}

void TfrmFormula::FillHistoryBox() {
    const QSignalBlocker blocker(cmbFormulaHistory);
    cmbFormulaHistory->clear();
    for (const std::string &entry : history_)
        cmbFormulaHistory->addItem(QString::fromStdString(entry));
    cmbFormulaHistory->setCurrentIndex(-1);
}

} // namespace morvane::qt

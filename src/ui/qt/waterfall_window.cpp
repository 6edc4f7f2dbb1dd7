#include "ui/qt/waterfall_window.h"

#include <cmath>

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStackedWidget>
#include <QWindow>

#include "ui/qt/main_window.h"
#include "ui/qt/tooltips.h"
#include "ui/qt/waterfall_picture.h"

namespace morvane::qt {

namespace {

constexpr int kSavedWidth = 800; // the size of the saved pictures, whatever the window's size
constexpr int kSavedHeight = 600;

WaterfallMarks MarksOf(const TfrmMain &owner) {
    const WaveRange range = owner.RangeWaveSelection();
    return {owner.CurrentWave(), owner.chbRandomAllSlice->isChecked(), range.From, range.To};
}

} // namespace

QImage SavedWaterfallPicture(const TfrmMain &owner) {
    ui::WaterfallGeometry geometry{kSavedWidth, kSavedHeight};
    if (owner.frmWaterfall != nullptr) {
        geometry.AngleDegrees = owner.frmWaterfall->trbWaterfallAngle->value();
        geometry.ScalePercent = owner.frmWaterfall->trbWaterfallScale->value();
    }
    return RenderWaterfall(owner.Table(), geometry, MarksOf(owner));
}

QImage SavedSpectrogramPicture(const TfrmMain &owner) {
    ui::SpectrogramLevels levels;
    ui::ComputeSpectrogram(owner.Table(), levels);
    return RenderSpectrogram(levels, kSavedWidth, kSavedHeight, owner.CurrentWave());
}

TPictureView::TPictureView(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void TPictureView::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void TPictureView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(QPointF(0, 0), picture_);
}

void TPictureView::resizeEvent(QResizeEvent *) {
    emit Resized();
}

void TPictureView::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit Clicked(event->position().x(), event->position().y());
}

TfrmWaterfall::TfrmWaterfall(TfrmMain &owner) : QWidget(&owner, Qt::Window), owner_(owner) {
    setObjectName(QStringLiteral("frmWaterfall"));
    setWindowTitle(QStringLiteral("Waterfall"));
    resize(kSavedWidth + 20, kSavedHeight + 70);

    cmbWaterfallView = new QComboBox(this);
    cmbWaterfallView->setObjectName(QStringLiteral("cmbWaterfallView"));
    cmbWaterfallView->addItems({QStringLiteral("Waterfall"), QStringLiteral("Spectrogram")});
    const auto slider = [this](const char *name, int maximum, int value) {
        auto *s = new QSlider(Qt::Horizontal, this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(0, maximum);
        s->setValue(value);
        return s;
    };
    lblWaterfallAngle = new QLabel(QStringLiteral("Angle"), this);
    lblWaterfallAngle->setObjectName(QStringLiteral("lblWaterfallAngle"));
    trbWaterfallAngle = slider("trbWaterfallAngle", 90, ui::kWaterfallDefaultAngle);
    lblWaterfallScale = new QLabel(QStringLiteral("Depth"), this);
    lblWaterfallScale->setObjectName(QStringLiteral("lblWaterfallScale"));
    trbWaterfallScale = slider("trbWaterfallScale", 100, ui::kWaterfallDefaultScale);

    pages = new QStackedWidget(this);
    imgWaterfall = new TPictureView(pages);
    imgWaterfall->setObjectName(QStringLiteral("imgWaterfall"));
    imgSpectrogram = new TPictureView(pages);
    imgSpectrogram->setObjectName(QStringLiteral("imgSpectrogram"));
    pages->addWidget(imgWaterfall);
    pages->addWidget(imgSpectrogram);

    auto *bar = new QHBoxLayout;
    bar->addWidget(cmbWaterfallView);
    bar->addSpacing(12);
    bar->addWidget(lblWaterfallAngle);
    bar->addWidget(trbWaterfallAngle, 1);
    bar->addWidget(lblWaterfallScale);
    bar->addWidget(trbWaterfallScale, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(pages, 1);

    const auto redraw = [this] { Redraw(); };
    connect(cmbWaterfallView, &QComboBox::currentIndexChanged, this, [this](int page) {
        pages->setCurrentIndex(page);
        const bool waterfall = page == 0;
        for (QWidget *w :
             {static_cast<QWidget *>(lblWaterfallAngle), static_cast<QWidget *>(trbWaterfallAngle),
              static_cast<QWidget *>(lblWaterfallScale), static_cast<QWidget *>(trbWaterfallScale)})
            w->setEnabled(waterfall);
        Redraw();
    });
    connect(trbWaterfallAngle, &QSlider::valueChanged, this, redraw);
    connect(trbWaterfallScale, &QSlider::valueChanged, this, redraw);
    connect(imgWaterfall, &TPictureView::Resized, this, redraw);
    connect(imgSpectrogram, &TPictureView::Resized, this, redraw);
    connect(imgWaterfall, &TPictureView::Clicked, this,
            [this](double x, double y) { imgWaterfallClick(x, y); });
    connect(imgSpectrogram, &TPictureView::Clicked, this,
            [this](double x, double y) { imgSpectrogramClick(x, y); });
    // Every edit and every change of the current wave redraws the graph; the selection is shown
    // while F11 is on.
    connect(&owner, &TfrmMain::GraphRedrawn, this, redraw);
    connect(owner.trbMorphWaves1, &QSlider::valueChanged, this, redraw);
    connect(owner.trbMorphWaves2, &QSlider::valueChanged, this, redraw);
    connect(owner.chbRandomAllSlice, &QCheckBox::toggled, this, redraw);
    ApplyTooltips(*this);
}

ui::WaterfallGeometry TfrmWaterfall::Geometry(int width, int height) const {
    return {width, height, trbWaterfallAngle->value(), trbWaterfallScale->value()};
}

void TfrmWaterfall::Redraw() {
    if (!isVisible())
        return;
    const qreal ratio = devicePixelRatioF();
    if (pages->currentIndex() == 0) {
        imgWaterfall->SetPicture(
            RenderWaterfall(owner_.Table(), Geometry(imgWaterfall->width(), imgWaterfall->height()),
                            MarksOf(owner_), ratio));
    } else {
        ui::SpectrogramLevels levels;
        ui::ComputeSpectrogram(owner_.Table(), levels);
        imgSpectrogram->SetPicture(RenderSpectrogram(levels, imgSpectrogram->width(),
                                                     imgSpectrogram->height(), owner_.CurrentWave(),
                                                     ratio));
    }
}

void TfrmWaterfall::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    Redraw();
}

void TfrmWaterfall::PickWave(int waveIndex) {
    owner_.SelectWave(waveIndex + 1);
    owner_.lbWaveTableIndexClick(this); // as a click in the wave list: the graph follows
}

void TfrmWaterfall::imgWaterfallClick(double x, double y) {
    if (const auto wave = ui::WaterfallHit(
            owner_.Table(), Geometry(imgWaterfall->width(), imgWaterfall->height()), x, y))
        PickWave(*wave);
}

void TfrmWaterfall::imgSpectrogramClick(double x, double y) {
    if (const auto wave =
            ui::SpectrogramHit(imgSpectrogram->width(), imgSpectrogram->height(), x, y))
        PickWave(*wave);
}

void TfrmMain::Waterfall1Click(QObject *) {
    if (frmWaterfall == nullptr)
        frmWaterfall = new TfrmWaterfall(*this);
    frmWaterfall->show();
    frmWaterfall->raise();
    frmWaterfall->activateWindow();
}

} // namespace morvane::qt

#pragma once

#include <QImage>
#include <QWidget>

#include "ui/waterfall_view.h"

class QComboBox;
class QLabel;
class QSlider;
class QStackedWidget;

namespace morvane::qt {

class TfrmMain;
struct WaterfallMarks;

// A picture control that fills its room: it asks its owner for a picture of its own size at the
// screen's pixel ratio whenever that size changes, keeps it, and paints it in paintEvent. A left
// click reports the logical pixel.
class TPictureView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPictureView)

public:
    explicit TPictureView(QWidget *parent = nullptr);
    void SetPicture(QImage picture);

signals:
    void Resized();
    void Clicked(double x, double y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage picture_;
};

// The pictures save-waterfall and save-spectrogram write, 800 x 600: through the window when it
// is open (its angle, scale), otherwise at the default angle and scale.
QImage SavedWaterfallPicture(const TfrmMain &owner);
QImage SavedSpectrogramPicture(const TfrmMain &owner);

// frmWaterfall: the whole table at a glance. Page "Waterfall" draws the 64 waves one behind the
// other; page "Spectrogram" draws harmonics against waves. Both follow every edit, the current
// wave and the selection; a click makes the wave under the pointer current, as the wave list
// does. A tool window of the main window: it lives as its child, so scripts reach its controls.
class TfrmWaterfall final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmWaterfall)

public:
    explicit TfrmWaterfall(TfrmMain &owner);

    // Redraws the page on show (nothing is drawn while the window is hidden).
    void Redraw();
    void imgWaterfallClick(double x, double y);
    void imgSpectrogramClick(double x, double y);

    QComboBox *cmbWaterfallView = nullptr;
    QLabel *lblWaterfallAngle = nullptr;
    QSlider *trbWaterfallAngle = nullptr;
    QLabel *lblWaterfallScale = nullptr;
    QSlider *trbWaterfallScale = nullptr;
    QStackedWidget *pages = nullptr;
    TPictureView *imgWaterfall = nullptr;
    TPictureView *imgSpectrogram = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    ui::WaterfallGeometry Geometry(int width, int height) const;
    void PickWave(int waveIndex);

    TfrmMain &owner_;
};

} // namespace morvane::qt

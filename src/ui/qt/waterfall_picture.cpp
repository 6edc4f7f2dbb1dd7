#include "ui/qt/waterfall_picture.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace morvane {

namespace {

const QColor kBackground(24, 26, 33);
const QColor kLine(150, 170, 200);
const QColor kSelectionLine(80, 200, 170);
const QColor kCurrentLine(255, 170, 40);
const QColor kLegendText(220, 220, 220);

QImage BlankPicture(int width, int height, qreal pixelRatio) {
    QImage image(static_cast<int>(std::ceil(width * pixelRatio)),
                 static_cast<int>(std::ceil(height * pixelRatio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(kBackground);
    return image;
}

// The colour scale of the spectrogram: black, deep blue, magenta, orange, pale yellow.
QColor LevelColour(double db) {
    static constexpr std::array<std::array<int, 3>, 5> kStops{
        {{0, 0, 0}, {40, 20, 120}, {180, 40, 140}, {250, 140, 40}, {255, 250, 200}}};
    const double t = std::clamp((db - ui::kSpectrogramFloorDb) / -ui::kSpectrogramFloorDb, 0.0, 1.0);
    const double scaled = t * (kStops.size() - 1);
    const auto i = std::min(static_cast<std::size_t>(scaled), kStops.size() - 2);
    const double f = scaled - static_cast<double>(i);
    const auto mix = [&](std::size_t c) {
        return static_cast<int>(std::lround(kStops[i][c] * (1 - f) + kStops[i + 1][c] * f));
    };
    return QColor(mix(0), mix(1), mix(2));
}

} // namespace

QImage RenderWaterfall(const Wavetable& table, const ui::WaterfallGeometry& geometry,
                       const WaterfallMarks& marks, qreal pixelRatio) {
    QImage image = BlankPicture(geometry.Width, geometry.Height, pixelRatio);
    QPainter painter(&image);
    QPolygonF curve(kSampleCount);
    QPolygonF area(kSampleCount + 2);
    for (int i = kWaveCount - 1; i >= 0; --i) {
        for (int n = 0; n < kSampleCount; ++n) {
            const ui::WaterfallPoint p =
                ui::WaterfallProject(geometry, i, n, ReadSample(table, i, n));
            curve[n] = QPointF(p.X, p.Y);
            area[n] = curve[n];
        }
        const double base = ui::WaterfallBase(geometry, i);
        area[kSampleCount] = QPointF(curve[kSampleCount - 1].x(), base);
        area[kSampleCount + 1] = QPointF(curve[0].x(), base);
        // The hiding area needs no antialiasing: its edge is the antialiased curve drawn over it.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBackground);
        painter.drawPolygon(area);

        const int wave = i + 1;
        const bool current = wave == marks.CurrentWave;
        const bool selected = marks.SelectionShown && wave >= marks.First && wave <= marks.Last;
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(current ? kCurrentLine : (selected ? kSelectionLine : kLine),
                            current ? 2.0 : 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(curve);
    }
    return image;
}

QImage RenderSpectrogram(const ui::SpectrogramLevels& levels, int width, int height,
                         int currentWave, qreal pixelRatio) {
    QImage image = BlankPicture(width, height, pixelRatio);
    QPainter painter(&image);
    const double cells = width - ui::kSpectrogramLegendWidth;
    const double cellW = cells / kWaveCount;
    const double cellH = height / 64.0;
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 1; k <= 64; ++k)
            painter.fillRect(QRectF(w * cellW, (64 - k) * cellH, cellW, cellH),
                             LevelColour(levels[static_cast<std::size_t>(w)]
                                               [static_cast<std::size_t>(k - 1)]));
    if (currentWave >= 1 && currentWave <= kWaveCount) {
        painter.setPen(QPen(kCurrentLine, 1.0));
        painter.drawRect(QRectF((currentWave - 1) * cellW, 0, cellW, height).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    // The legend: the colour scale from -96 dB at the bottom to 0 dB at the top, with labels.
    const double left = cells + 6;
    const double barW = 12;
    for (int y = 0; y < height; ++y) {
        const double db = ui::kSpectrogramFloorDb * (y + 0.5) / height;
        painter.fillRect(QRectF(left, y, barW, 1), LevelColour(db));
    }
    painter.setPen(kLegendText);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (int db = 0; db >= -96; db -= 24) {
        const double y = db / ui::kSpectrogramFloorDb * (height - 1);
        painter.drawText(QRectF(left + barW + 3, std::clamp(y - 6, 0.0, height - 12.0), 40, 12),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(db));
    }
    return image;
}

} // namespace morvane

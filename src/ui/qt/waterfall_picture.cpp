#include "ui/qt/waterfall_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include <QColor>
#include <QPainter>
#include <QPolygonF>

namespace morvane::qt {

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
    const double t =
        std::clamp((db - ui::kSpectrogramFloorDb) / -ui::kSpectrogramFloorDb, 0.0, 1.0);
    const double scaled = t * (kStops.size() - 1);
    const auto i = std::min(static_cast<std::size_t>(scaled), kStops.size() - 2);
    const double f = scaled - static_cast<double>(i);
    const auto mix = [&](std::size_t c) {
        return static_cast<int>(std::lround(kStops[i][c] * (1 - f) + kStops[i + 1][c] * f));
    };
    return QColor(mix(0), mix(1), mix(2));
}

} // namespace

QImage RenderWaterfall(const Wavetable &table, const ui::WaterfallGeometry &geometry,
                       const WaterfallMarks &marks, qreal pixelRatio) {
    // Hidden lines are removed with a floating horizon instead of filling each wave's area:
    // the area of a wave reaches down to its base, below every point of the waves behind it, so
    // a point behind is hidden exactly where it lies at or below the highest nearer curve in its
    // column. Drawn front to back, every pixel is touched once instead of up to 64 times.
    QImage image = BlankPicture(geometry.Width, geometry.Height, pixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int columns = std::max(geometry.Width, 1);
    std::vector<double> horizon(static_cast<std::size_t>(columns) + 1,
                                std::numeric_limits<double>::infinity());
    std::array<QPointF, kSampleCount> curve;
    QPolygonF run;
    run.reserve(4 * kSampleCount);
    for (int i = 0; i < kWaveCount; ++i) {
        for (int n = 0; n < kSampleCount; ++n) {
            const ui::WaterfallPoint p =
                ui::WaterfallProject(geometry, i, n, ReadSample(table, i, n));
            curve[static_cast<std::size_t>(n)] = QPointF(p.X, p.Y);
        }
        const int wave = i + 1;
        const bool current = wave == marks.CurrentWave;
        const bool selected = marks.SelectionShown && wave >= marks.First && wave <= marks.Last;
        painter.setPen(QPen(current ? kCurrentLine : (selected ? kSelectionLine : kLine),
                            current ? 2.0 : 1.0));

        const auto horizonAt = [&](int column) -> double & {
            return horizon[static_cast<std::size_t>(std::clamp(column, 0, columns))];
        };
        const auto flush = [&] {
            if (run.size() >= 2)
                painter.drawPolyline(run);
            run.clear();
        };
        // The curve's height in each whole column it crosses, checked against the horizon.
        bool visible = curve[0].y() < horizonAt(static_cast<int>(std::lround(curve[0].x())));
        if (visible)
            run << curve[0];
        for (std::size_t n = 0; n + 1 < curve.size(); ++n) {
            const QPointF a = curve[n];
            const QPointF b = curve[n + 1];
            for (int c = static_cast<int>(std::floor(a.x())) + 1; c <= b.x(); ++c) {
                const double y = a.y() + (b.y() - a.y()) * (c - a.x()) / (b.x() - a.x());
                const bool v = y < horizonAt(c);
                if (v != visible) {
                    // The line ends or starts half a column before the one where it changes.
                    const double x = std::max(c - 0.5, a.x());
                    run << QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
                    if (!v)
                        flush();
                    visible = v;
                }
            }
            if (visible)
                run << b;
        }
        flush();
        // This wave now hides everything behind it below its curve.
        for (std::size_t n = 0; n + 1 < curve.size(); ++n) {
            const QPointF a = curve[n];
            const QPointF b = curve[n + 1];
            for (int c = static_cast<int>(std::ceil(a.x())); c <= b.x(); ++c) {
                const double y = a.y() + (b.y() - a.y()) * (c - a.x()) / (b.x() - a.x());
                double &h = horizonAt(c);
                h = std::min(h, y);
            }
        }
    }
    return image;
}

QImage RenderSpectrogram(const ui::SpectrogramLevels &levels, int width, int height,
                         int currentWave, qreal pixelRatio) {
    QImage image = BlankPicture(width, height, pixelRatio);
    QPainter painter(&image);
    const double cells = width - ui::kSpectrogramLegendWidth;
    const double cellW = cells / kWaveCount;
    const double cellH = height / 64.0;
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 1; k <= 64; ++k)
            painter.fillRect(
                QRectF(w * cellW, (64 - k) * cellH, cellW, cellH),
                LevelColour(levels[static_cast<std::size_t>(w)][static_cast<std::size_t>(k - 1)]));
    if (currentWave >= 1 && currentWave <= kWaveCount) {
        painter.setPen(QPen(kCurrentLine, 1.0));
        painter.drawRect(
            QRectF((currentWave - 1) * cellW, 0, cellW, height).adjusted(0.5, 0.5, -0.5, -0.5));
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

} // namespace morvane::qt

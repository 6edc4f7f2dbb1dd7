// A picture of the started window, saved for looking at, with a few of its pixels checked
// against the graph and the overview of a new table.
#include <filesystem>

#include <QImage>
#include <QPixmap>

#include "window_fixture.h"

namespace morvane::testing {
namespace {

constexpr QPoint kGraphOrigin(221, 58);   // imgWaveTables in the client area
constexpr QPoint kOverviewOrigin(4, 440); // imgColoredWaveTables

QRgb At(const QImage &image, QPoint origin, int x, int y) {
    return image.pixel(origin + QPoint(x, y)) | 0xFF000000u;
}

TEST_F(WindowTest, StartedWindowShowsTheSineOfWaveOne) {
    const QImage client =
        window->ClientArea->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(client.size(), QSize(866, 573));

    const std::filesystem::path folder(MORVANE_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    const QString path = QString::fromStdString((folder / "main_window.png").string());
    ASSERT_TRUE(window->grab().save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());

    // The curve of a new table passes (0, 189), (93, 99), (189, 192), (285, 288), (381, 192).
    for (const QPoint p : {QPoint(0, 189), QPoint(93, 99), QPoint(189, 192), QPoint(285, 288)})
        EXPECT_EQ(At(client, kGraphOrigin, p.x(), p.y()), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    // The zero line, a grid line, white between them, the grey band at columns 381 to 383.
    EXPECT_EQ(At(client, kGraphOrigin, 100, 192), qRgb(192, 0, 0));
    EXPECT_EQ(At(client, kGraphOrigin, 100, 3), qRgb(224, 224, 224));
    EXPECT_EQ(At(client, kGraphOrigin, 100, 4), qRgb(255, 255, 255));
    EXPECT_EQ(At(client, kGraphOrigin, 382, 10), qRgb(96, 96, 96));
    EXPECT_EQ(At(client, kGraphOrigin, 381, 10), qRgb(128, 128, 128));

    // The overview: white inside a black outline; wave 1's top sample 524,287 (sample number
    // 32) with b = 17 in (128, 68, 68) at (32, 1 + 17); the bottom sample -524,288 (number 96)
    // with b = 48 in (128, 192, 192), seen in the last wave at (96, 64 + 48 + 1), the one
    // pixel of it that no later point covers.
    EXPECT_EQ(At(client, kOverviewOrigin, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(At(client, kOverviewOrigin, 127, 128), qRgb(0, 0, 0));
    EXPECT_EQ(At(client, kOverviewOrigin, 100, 5), qRgb(255, 255, 255));
    EXPECT_EQ(At(client, kOverviewOrigin, 32, 18), qRgb(128, 68, 68));
    EXPECT_EQ(At(client, kOverviewOrigin, 96, 64 + 48 + 1), qRgb(128, 192, 192));
}

} // namespace
} // namespace morvane::testing

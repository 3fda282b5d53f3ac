#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>

#include "gwl/draw_surface.h"
#include "gwl/picture_io.h"
#include "surface_test_support.h"

namespace vorax::gwl {
namespace {

QImage sample_picture()
{
    DrawSurface surface(40, 30);
    testing::prepare_paper(surface);
    surface.set_color_rgb(testing::kRed);
    surface.rectangle_w(3, 2, 2, 20, 12);
    surface.set_color_rgb(kBlack);
    surface.ellipse_w(2, 10, 8, 38, 28);
    return surface.image_copy();
}

TEST(PictureFiles, PngAndBmpKeepEveryPixel)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QImage picture = sample_picture();
    for (const char* name : {"graph.png", "graph.bmp", "graph.BMP", "graph"}) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(write_picture(picture, path)) << name;
        const QImage read(path);
        ASSERT_FALSE(read.isNull()) << name;
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture) << name;
    }
    QFile png(folder.filePath(QStringLiteral("graph")));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.read(4), QByteArray("\x89PNG")); // no suffix: PNG
    QFile bmp(folder.filePath(QStringLiteral("graph.bmp")));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_EQ(bmp.read(2), QByteArray("BM"));
}

TEST(PictureFiles, WriteFailureIsReported)
{
    QTemporaryDir folder;
    EXPECT_FALSE(write_picture(sample_picture(), folder.filePath(QStringLiteral("no/such/dir/a.png"))));
    EXPECT_FALSE(write_text(QStringLiteral("x"), folder.filePath(QStringLiteral("no/such/dir/a.txt"))));
}

TEST(PictureFiles, TextRoundTrip)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("info.txt"));
    const QString text = QStringLiteral(" * VORAX Started\n Graph No.: 1\n");
    ASSERT_TRUE(write_text(text, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(file.readAll()), text);
}

TEST(PicturePrinting, FittedRectangleKeepsProportions)
{
    struct Case {
        const char* name;
        QSize picture;
        QRect page;
        QRect expected;
    };
    const Case cases[] = {
        {"wide on square", {400, 200}, {0, 0, 100, 100}, {0, 25, 100, 50}},
        {"tall on square", {200, 400}, {0, 0, 100, 100}, {25, 0, 50, 100}},
        {"small grows", {10, 10}, {20, 30, 100, 200}, {20, 80, 100, 100}},
        {"same shape", {1600, 1200}, {0, 0, 800, 600}, {0, 0, 800, 600}},
        {"empty picture", {0, 0}, {0, 0, 100, 100}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitted_rect(c.picture, c.page), c.expected) << c.name;
}

TEST(PicturePrinting, PrintsToAPdf)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("graph.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ASSERT_TRUE(render_picture(printer, sample_picture()));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.read(5), QByteArray("%PDF-"));
    EXPECT_GT(pdf.size(), 500);
}

TEST(PictureClipboard, CopyPutsThePictureOnTheClipboard)
{
    const QImage picture = sample_picture();
    copy_picture(picture);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);
}

} // namespace
} // namespace vorax::gwl

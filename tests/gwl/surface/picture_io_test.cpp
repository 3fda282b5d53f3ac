// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <utility>
#include <thread>

#include "gwl/surface/draw_surface.h"
#include "gwl/surface/picture_io.h"
#include "gwl/surface/png_writer.h"
#include "gwl/windows/frame.h"
#include "person.h"
#include "scripted_prompter.h"
#include "surface_test_support.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

namespace fs = std::filesystem;
using vorax::testing::TempDir;

void draw_sample(DrawSurface& surface)
{
    testing::prepare_paper(surface);
    surface.set_color_rgb(testing::kRed);
    surface.rectangle_w(kFillInterior, 2, 2, 20, 12);
    surface.set_color_rgb(kBlack);
    surface.ellipse_w(kFillOutline, 10, 8, 38, 28);
}

QImage sample_picture()
{
    DrawSurface surface(40, 30);
    draw_sample(surface);
    return surface.image_copy();
}

// Read by the bytes of its name, whatever they are.
QImage read_picture(const fs::path& path)
{
    return QImage::fromData(QByteArray::fromStdString(vorax::testing::file_text(path))).convertToFormat(QImage::Format_RGB32);
}

long entry_count(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), {}); }

TEST(PictureFiles, PngAndBmpKeepEveryPixel)
{
    TempDir folder;
    const QImage picture = sample_picture();
    for (const char* name : {"graph.png", "graph.bmp", "graph.BMP", "graph"}) {
        const fs::path path = folder.path() / name;
        ASSERT_EQ(write_picture(picture, path.string()), "") << name;
        EXPECT_EQ(read_picture(path), picture) << name;
    }
    EXPECT_EQ(vorax::testing::file_text(folder.path() / "graph").substr(0, 4), "\x89PNG"); // no suffix: PNG
    EXPECT_EQ(vorax::testing::file_text(folder.path() / "graph.bmp").substr(0, 2), "BM");
    EXPECT_EQ(entry_count(folder.path()), 4); // no temporary file left beside them
}

// The program's own PNG encoder, read back by the toolkit: every pixel of pictures of one row,
// one column, odd sizes and noise (nothing for the row filter to find), with the resolution.
TEST(PictureFiles, OwnPngEncodingReadsBackPixelForPixel)
{
    std::mt19937 random(3);
    for (const auto& [width, height] : {std::pair{1, 1}, {1, 9}, {9, 1}, {3, 2}, {257, 131}}) {
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
        picture.setDotsPerMeterX(3780);
        picture.setDotsPerMeterY(2835);
        const QImage back = QImage::fromData(png_encoding(picture), "PNG");
        ASSERT_FALSE(back.isNull()) << width << "x" << height;
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture) << width << "x" << height;
        EXPECT_EQ(back.dotsPerMeterX(), 3780);
        EXPECT_EQ(back.dotsPerMeterY(), 2835);
    }
    EXPECT_TRUE(png_encoding(QImage(4, 4, QImage::Format_ARGB32)).isEmpty());
}

TEST(PictureFiles, EveryKindOfTarget)
{
    TempDir folder;
    const fs::path& dir = folder.path();
    const QImage picture = sample_picture();
    fs::create_directory(dir / "folder.png");
    EXPECT_EQ(write_picture(picture, (dir / "folder.png").string()), "Is a directory");
    EXPECT_EQ(write_picture(picture, (dir / "no/such/a.png").string()), "No such file or directory");
    EXPECT_NE(write_text(QStringLiteral("x"), (dir / "no/such/a.txt").string()), "");
    // Links stay links; their targets get the picture, a dangling link's target is made.
    folder.write("target.png", "old");
    fs::create_symlink("target.png", dir / "link.png");
    fs::create_symlink("made.png", dir / "dangling.png");
    // A name is bytes: a Latin-1 byte that is no UTF-8 stays that byte.
    for (const char* name : {"link.png", "dangling.png", "caf\xe9.png"})
        EXPECT_EQ(write_picture(picture, (dir / name).string()), "") << name;
    EXPECT_TRUE(fs::is_symlink(dir / "link.png") && fs::is_symlink(dir / "dangling.png"));
    // A picture written over keeps its permissions.
    fs::permissions(dir / "caf\xe9.png", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(write_picture(picture, (dir / "caf\xe9.png").string()), "");
    EXPECT_EQ(fs::status(dir / "caf\xe9.png").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    for (const char* name : {"target.png", "made.png", "caf\xe9.png"})
        EXPECT_EQ(read_picture(dir / name), picture) << name;
    EXPECT_EQ(entry_count(dir), 6); // and no temporary file
}

TEST(PictureFiles, FifoIsWrittenWhereItIsAndStaysAFifo)
{
    TempDir folder;
    const fs::path fifo = folder.path() / "graph.png";
    ASSERT_TRUE(vorax::testing::make_fifo(fifo));
    // The test's own write end, held until the picture is written, lets the reader end (never
    // hang) wherever the picture went.
    const int read_end = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const int held_end = ::open(fifo.c_str(), O_WRONLY);
    ::fcntl(read_end, F_SETFL, 0);
    std::string received;
    std::thread reader([&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(read_end, chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<std::size_t>(n));
    });
    EXPECT_EQ(write_picture(sample_picture(), fifo.string()), "");
    ::close(held_end);
    reader.join();
    ::close(read_end);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(received)).convertToFormat(QImage::Format_RGB32),
              sample_picture());
    EXPECT_EQ(entry_count(folder.path()), 1);
}

TEST(PictureSave, FailureIsToldWithItsReasonInAMessageBox)
{
    vorax::testing::ScriptedPrompter prompter;
    prompter.message_box_answers.push_back(mb::kIdOk);
    TempDir folder;
    DrawSurface surface(40, 30);
    const fs::path taken = folder.path() / "taken.png";
    fs::create_directory(taken);
    EXPECT_FALSE(save_picture_file(surface, taken.string(), {}));
    EXPECT_TRUE(save_text_file(QStringLiteral(" * VORAX Started\n"), (folder.path() / "a.txt").string()));
    ASSERT_EQ(prompter.message_boxes.size(), 1u);
    EXPECT_EQ(prompter.message_boxes[0].text,
              "The file " + taken.string() + " could not be written:\nIs a directory");
    EXPECT_EQ(prompter.message_boxes[0].caption, "Save");
    EXPECT_EQ(vorax::testing::file_text(folder.path() / "a.txt"), " * VORAX Started\n");
}

// The Save dialog as a person uses it: the folder shown, a filter picked with the arrow keys in
// its list (0 PNG, 1 BMP, 2 SVG, 3 PDF), a name typed, Enter. The extension typed decides; a name
// without one of the four gets the filter's.
TEST(PictureSave, FileSaveWritesTheFormatOfTheNameOrOfTheFilter)
{
    Frame frame;
    frame.show();
    ASSERT_TRUE(frame.open_unit(kFirstGraphUnit, WindowKind::graphics, "(1) graph"));
    draw_sample(*frame.surface(kFirstGraphUnit));
    struct Case {
        const char* typed;
        int filter;
        const char* written;
        const char* starts_with;
    };
    const Case cases[] = {
        {"graph.bmp", 0, "graph.bmp", "BM"},
        {"plain", 0, "plain.png", "\x89PNG"},
        {"drawing", 2, "drawing.svg", "<?xml"},
        {"page", 3, "page.pdf", "%PDF-"},
        {"typed.PDF", 2, "typed.PDF", "%PDF-"},
        {"graph.v2", 1, "graph.v2.bmp", "BM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TempDir folder; // empty, so that no completion list opens over the name
        vorax::testing::Person person;
        person.then(vorax::testing::Person::modal("QFileDialog", "Save"), [&](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            dialog->setDirectory(QString::fromStdString(folder.path().string()));
            auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(filters, nullptr);
            ASSERT_EQ(filters->count(), 4);
            for (int i = 0; i < c.filter; ++i)
                vorax::testing::Person::press(filters, Qt::Key_Down);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            // Proposed without a model file; the filter chosen gave it its own extension.
            EXPECT_EQ(name->text().section(QLatin1Char('.'), 0, 0), "graph1");
            name->clear();
            vorax::testing::Person::type(name, c.typed);
            vorax::testing::Person::press(name, Qt::Key_Return);
        });
        ASSERT_TRUE(frame.choose_menu_item(1, 2)); // "&File" > "&Save..."
        EXPECT_TRUE(person.done());
        EXPECT_EQ(entry_count(folder.path()), 1);
        const std::string bytes = vorax::testing::file_text(folder.path() / c.written);
        EXPECT_EQ(bytes.substr(0, std::string(c.starts_with).size()), c.starts_with);
        if (c.starts_with[0] == 'B') {
            EXPECT_EQ(read_picture(folder.path() / c.written), frame.surface(kFirstGraphUnit)->image_copy());
        }
        if (c.starts_with[0] == '<') {
            EXPECT_NE(bytes.find("<title>(1) graph</title>"), std::string::npos);
        }
    }
}

// Save proposes the model's name with the graph's number, in the model's folder the first time
// and in the folder of the last save after.
TEST(PictureSave, ProposesTheModelsNameWithTheGraphNumber)
{
    TempDir models, pictures;
    Frame frame;
    frame.show();
    frame.set_model_file((models.path() / "plane_frame.dat").string());
    ASSERT_TRUE(frame.open_unit(kFirstGraphUnit + 2, WindowKind::graphics, "(3) graph"));
    draw_sample(*frame.surface(kFirstGraphUnit + 2));
    struct Save {
        const TempDir& proposed_in;
        const TempDir& saved_in;
    };
    for (const Save& save : {Save{models, pictures}, Save{pictures, pictures}}) {
        vorax::testing::Person person;
        person.then(vorax::testing::Person::modal("QFileDialog", "Save"), [&](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text(), "plane_frame-graph3.png");
            EXPECT_EQ(dialog->directory().absolutePath().toStdString(), save.proposed_in.path().string());
            dialog->setDirectory(QString::fromStdString(save.saved_in.path().string()));
            name->setText("plane_frame-graph3.png");
            vorax::testing::Person::press(name, Qt::Key_Return);
        });
        ASSERT_TRUE(frame.choose_menu_item(1, 2));
        EXPECT_TRUE(person.done());
    }
    EXPECT_TRUE(std::filesystem::exists(pictures.path() / "plane_frame-graph3.png"));
    EXPECT_EQ(proposed_picture_name("", 2, ""), "graph2.png");
    EXPECT_EQ(proposed_picture_name("m.v2.dat", 10, "/p"), "/p/m.v2-graph10.png");
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

TEST(PicturePrinting, PrintsVectorsOnALandscapePageForAWidePicture)
{
    QTemporaryDir folder;
    for (const QSize size : {QSize(40, 30), QSize(30, 40)}) {
        const QString path = folder.filePath(QStringLiteral("graph.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        DrawSurface surface(size.width(), size.height());
        draw_sample(surface);
        prepare_printer(printer, surface);
        EXPECT_EQ(printer.pageLayout().orientation(),
                  size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
        ASSERT_TRUE(render_picture(printer, surface));
        QFile pdf(path);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF-"));
        EXPECT_FALSE(bytes.contains("/Subtype /Image")); // lines and shapes, no pixels
    }
}

TEST(PictureClipboard, CopyPutsThePictureOnTheClipboard)
{
    const QImage picture = sample_picture();
    copy_picture(picture);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);
}

} // namespace
} // namespace vorax::gwl

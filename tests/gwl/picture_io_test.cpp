#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "gwl/draw_surface.h"
#include "gwl/frame.h"
#include "gwl/picture_io.h"
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
    surface.rectangle_w(3, 2, 2, 20, 12);
    surface.set_color_rgb(kBlack);
    surface.ellipse_w(2, 10, 8, 38, 28);
}

QImage sample_picture()
{
    DrawSurface surface(40, 30);
    draw_sample(surface);
    return surface.image_copy();
}

std::string file_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Read from the bytes of the name, whatever they are.
QImage read_picture(const fs::path& path)
{
    return QImage::fromData(QByteArray::fromStdString(file_bytes(path)))
        .convertToFormat(QImage::Format_RGB32);
}

std::size_t entry_count(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(PictureFiles, PngAndBmpKeepEveryPixel)
{
    TempDir folder;
    const QImage picture = sample_picture();
    for (const char* name : {"graph.png", "graph.bmp", "graph.BMP", "graph"}) {
        const fs::path path = folder.path() / name;
        ASSERT_EQ(write_picture(picture, path.string()), "") << name;
        EXPECT_EQ(read_picture(path), picture) << name;
    }
    EXPECT_EQ(file_bytes(folder.path() / "graph").substr(0, 4), "\x89PNG"); // no suffix: PNG
    EXPECT_EQ(file_bytes(folder.path() / "graph.bmp").substr(0, 2), "BM");
    EXPECT_EQ(entry_count(folder.path()), 4u); // no temporary file left beside them
}

TEST(PictureFiles, EveryKindOfTarget)
{
    TempDir folder;
    const QImage picture = sample_picture();
    const fs::path& dir = folder.path();

    // A folder is refused and stays.
    fs::create_directory(dir / "folder.png");
    EXPECT_EQ(write_picture(picture, (dir / "folder.png").string()), "Is a directory");
    EXPECT_TRUE(fs::is_directory(dir / "folder.png"));
    // A missing folder on the way.
    EXPECT_EQ(write_picture(picture, (dir / "no/such/a.png").string()), "No such file or directory");
    EXPECT_NE(write_text(QStringLiteral("x"), (dir / "no/such/a.txt").string()), "");
    // A link is followed: it stays a link, its target gets the picture; a dangling one makes it.
    folder.write("target.png", "old");
    fs::create_symlink("target.png", dir / "link.png");
    fs::create_symlink("made.png", dir / "dangling.png");
    for (const char* link : {"link.png", "dangling.png"}) {
        EXPECT_EQ(write_picture(picture, (dir / link).string()), "") << link;
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    }
    EXPECT_EQ(read_picture(dir / "target.png"), picture);
    EXPECT_EQ(read_picture(dir / "made.png"), picture);
    // A name is bytes: a Latin-1 byte that is no UTF-8 stays that byte.
    const fs::path latin = dir / "caf\xe9.png";
    EXPECT_EQ(write_picture(picture, latin.string()), "");
    EXPECT_EQ(read_picture(latin), picture);
    EXPECT_EQ(entry_count(dir), 6u); // folder, target, made, two links, café; no temporary file
}

TEST(PictureFiles, FifoIsWrittenWhereItIsAndStaysAFifo)
{
    TempDir folder;
    const fs::path fifo = folder.path() / "graph.png";
    ASSERT_TRUE(vorax::testing::make_fifo(fifo));
    // The test's own ends are opened first without waiting; its write end is held until the
    // picture is written, so the reader ends (never hangs) wherever the picture went.
    const int read_end = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const int held_end = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(read_end, 0);
    ASSERT_GE(held_end, 0);
    ::fcntl(read_end, F_SETFL, 0);
    std::string received;
    std::thread reader([&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(read_end, chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<std::size_t>(n));
    });
    const QImage picture = sample_picture();
    EXPECT_EQ(write_picture(picture, fifo.string()), "");
    ::close(held_end);
    reader.join();
    ::close(read_end);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(received)).convertToFormat(QImage::Format_RGB32),
              picture);
    EXPECT_EQ(entry_count(folder.path()), 1u);
}

TEST(PictureSave, FailureIsToldWithItsReasonInAMessageBox)
{
    vorax::testing::ScriptedPrompter prompter;
    prompter.message_box_answers.push_back(mb::kIdOk);
    TempDir folder;
    DrawSurface surface(40, 30);
    draw_sample(surface);
    fs::create_directory(folder.path() / "taken.png");
    EXPECT_FALSE(save_picture_file(surface, (folder.path() / "taken.png").string()));
    ASSERT_EQ(prompter.message_boxes.size(), 1u);
    EXPECT_EQ(prompter.message_boxes[0].text,
              "The file " + (folder.path() / "taken.png").string()
                  + " could not be written:\nIs a directory");
    EXPECT_EQ(prompter.message_boxes[0].caption, "Save");

    const QString text = QStringLiteral(" * VORAX Started\n Graph No.: 1\n");
    EXPECT_TRUE(save_text_file(text, (folder.path() / "info.txt").string()));
    EXPECT_EQ(file_bytes(folder.path() / "info.txt"), text.toStdString());
    EXPECT_EQ(prompter.message_boxes.size(), 1u);
}

TEST(PictureSave, FileSaveWritesTheActiveGraphThroughTheFileDialog)
{
    Frame frame;
    frame.show();
    ASSERT_TRUE(frame.open_unit(kFirstGraphUnit, WindowKind::Graphics, "(1) graph"));
    draw_sample(*frame.surface(kFirstGraphUnit));
    TempDir folder;
    const fs::path path = folder.path() / "graph.bmp";
    // The dialog is answered as a person would: the name typed, then Save.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (auto* name = dialog != nullptr ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr) {
            answer.stop();
            // In the empty folder, typing the bare name opens no completion list.
            dialog->setDirectory(QString::fromStdString(folder.path().string()));
            QTest::keyClicks(name, QStringLiteral("graph.bmp"));
            QTest::keyClick(name, Qt::Key_Return);
            QTimer::singleShot(5000, dialog, &QFileDialog::reject); // a dialog left open fails
        }
    });
    answer.start(20);
    ASSERT_TRUE(frame.choose_menu_item(1, 2)); // "&File" > "&Save..."
    EXPECT_EQ(file_bytes(path).substr(0, 2), "BM");
    EXPECT_EQ(read_picture(path), frame.surface(kFirstGraphUnit)->image_copy());
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

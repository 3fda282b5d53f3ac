// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <iterator>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "app/command_line.h"
#include "app/export_command.h"
#include "app/startup_files.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::source_path;
using testing::TempDir;

TEST(ExportFormats, TheExtensionOrFormatNamesTheFormatAndOthersAreRefused)
{
    using gwl::PictureFormat;
    struct Case {
        const char* output;
        std::optional<PictureFormat> named;
        std::optional<PictureFormat> format; // nullopt: refused
    };
    const Case cases[] = {
        {"g.png", {}, PictureFormat::png},
        {"g.bmp", {}, PictureFormat::bmp},
        {"g.SVG", {}, PictureFormat::svg},
        {"dir/g.Pdf", PictureFormat::pdf, PictureFormat::pdf},
        {"/dev/stdout", {}, PictureFormat::png},
        {"/dev/stdout", PictureFormat::svg, PictureFormat::svg},
        {"take.v2/out", PictureFormat::bmp, PictureFormat::bmp},
        {".hidden", {}, PictureFormat::png},
        {"g.jpg", {}, std::nullopt},
        {"g.", {}, std::nullopt},
        {"g.pdf", PictureFormat::svg, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        const auto chosen = export_format(c.output, c.named);
        if (c.format) {
            EXPECT_EQ(std::get<PictureFormat>(chosen), *c.format);
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(chosen));
            EXPECT_NE(std::get<std::string>(chosen).find(c.named ? "does not match" : ".png, .bmp, .svg or .pdf"),
                      std::string::npos);
        }
    }
    // A refused extension is a bad argument of the export.
    ExportOptions options;
    options.output = "graph.jpg";
    options.model = source_path("examples/plane_frame.dat");
    std::ostringstream out, err;
    EXPECT_EQ(run_export(options, out, err), kExportBadArguments);
    EXPECT_NE(err.str().find("must be .png, .bmp, .svg or .pdf"), std::string::npos) << err.str();
}

struct ExportRun {
    int status = -1;
    std::string out;
    std::string err;
    QImage picture;
};

ExportRun export_model(const TempDir& dir, const std::string& model, std::vector<std::string> options,
                       const std::string& file = "graph.png")
{
    std::vector<std::string> arguments{"--export", (dir.path() / file).string(), model};
    arguments.insert(arguments.end(), options.begin(), options.end());
    auto parsed = parse_command_line(arguments);
    EXPECT_TRUE(std::holds_alternative<CommandLine>(parsed));
    ExportRun run;
    std::ostringstream out, err;
    run.status = run_export(std::get<CommandLine>(parsed).export_options, out, err);
    run.out = out.str();
    run.err = err.str();
    run.picture.load(QString::fromStdString((dir.path() / file).string()));
    return run;
}

TEST(Export, PlaneFrameLinesAndPicture)
{
    TempDir dir;
    const ExportRun run = export_model(dir, source_path("examples/plane_frame.dat"), {"--size", "800x600"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, " TWO-BAY THREE-STOREY PLANE FRAME\n"
                       " xmin, xmax:  0.  12.\n"
                       " ymin, ymax:  0.  10.5\n"
                       "\n"
                       " Graph No.:  1\n"
                       " Scaling Ratio:   1.143    \n"
                       " Color: Standard\n");
    ASSERT_FALSE(run.picture.isNull());
    EXPECT_EQ(run.picture.width(), 800);
    EXPECT_EQ(run.picture.height(), 600);
    EXPECT_EQ(run.picture.pixelColor(799, 599), QColor(Qt::white));
    // Line colour (stored 0x000080: red 128) somewhere in the picture.
    int line_pixels = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            line_pixels += run.picture.pixelColor(x, y) == QColor(128, 0, 0);
    EXPECT_GT(line_pixels, 1000);
}

TEST(Export, SameOptionsGiveTheSamePictureAndBmpWorksByExtensionOrFormat)
{
    TempDir dir;
    const std::string model = source_path("examples/space_tower.dat");
    const ExportRun png = export_model(dir, model, {"--size", "640x480", "--reverse-y"});
    const ExportRun bmp = export_model(dir, model, {"--size", "640x480", "--reverse-y"}, "graph.bmp");
    ASSERT_EQ(png.status, 0);
    ASSERT_EQ(bmp.status, 0);
    EXPECT_EQ(png.picture.convertToFormat(QImage::Format_RGB32),
              bmp.picture.convertToFormat(QImage::Format_RGB32));
    const auto start_of = [&](const char* file) { return testing::file_text(dir.path() / file).substr(0, 4); };
    EXPECT_EQ(start_of("graph.bmp").substr(0, 2), "BM");
    // --format names the format of a name without an extension.
    ASSERT_EQ(export_model(dir, model, {"--format", "bmp"}, "forced").status, 0);
    EXPECT_EQ(start_of("forced").substr(0, 2), "BM");
    const ExportRun plain = export_model(dir, model, {"--size", "640x480"}, "plain.png");
    EXPECT_NE(plain.picture, png.picture);
}

TEST(Export, SvgAndPdfHoldTheGraphAsLinesAndText)
{
    TempDir dir;
    const std::string model = source_path("examples/plane_frame.dat");
    const ExportRun png = export_model(dir, model, {"--size", "800x600"});
    for (const char* name : {"graph.svg", "graph.PDF"}) {
        SCOPED_TRACE(name);
        const ExportRun run = export_model(dir, model, {"--size", "800x600"}, name);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, png.out);
        const std::string bytes = testing::file_text(dir.path() / name);
        if (name[6] == 's') {
            EXPECT_EQ(bytes.rfind("<?xml", 0), 0u);
            EXPECT_NE(bytes.find("<svg width=\"600pt\" height=\"450pt\""), std::string::npos);
            for (const char* text : {">TWO-BAY THREE-STOREY PLANE FRAME</text>", ">10.50    </text>", ">12</text>"})
                EXPECT_NE(bytes.find(text), std::string::npos) << text;
            EXPECT_NE(bytes.find("stroke=\"#800000\""), std::string::npos); // the element lines
        } else {
            EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
            EXPECT_NE(bytes.find("/Title (\xfe\xff"), std::string::npos); // the title in the document
        }
    }
}

TEST(Export, AllBlackSchemeIsReportedAndDrawnInBlack)
{
    TempDir dir;
    const ExportRun run = export_model(dir, source_path("examples/truss_by_node.dat"),
                                       {"--size", "640x480", "--scheme", "allblack"});
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(" Color: AllBlack\n"), std::string::npos);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const QColor c = run.picture.pixelColor(x, y);
            ASSERT_TRUE(c == QColor(Qt::white) || c == QColor(Qt::black)) << x << "," << y;
        }
}

TEST(Export, NodeRangesDrawASelection)
{
    TempDir dir;
    const std::string model = source_path("examples/plane_frame.dat");
    const ExportRun all = export_model(dir, model, {"--size", "800x600"}, "all.png");
    const ExportRun some = export_model(dir, model, {"--size", "800x600", "--nodes", "1-3, 4"}, "some.png");
    ASSERT_EQ(some.status, 0) << some.err;
    EXPECT_NE(all.picture, some.picture);
    // Nodes 1..4 span 12 by 3.5: a flatter graph than the whole frame.
    EXPECT_NE(some.out.find(" Scaling Ratio:   3.429    \n"), std::string::npos) << some.out;
}

TEST(Export, AColumnOrABeamFarFromTheOriginFillsTheWindow)
{
    TempDir dir;
    const std::string model = source_path("examples/plane_frame.dat");
    for (const char* nodes : {"3,6,9,12", "10-12"}) {
        SCOPED_TRACE(nodes);
        const ExportRun run = export_model(dir, model, {"--size", "800x600", "--nodes", nodes});
        ASSERT_EQ(run.status, 0) << run.err;
        // The member is drawn, about the middle of the window.
        long line_pixels = 0, sum_x = 0, sum_y = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (run.picture.pixelColor(x, y) == QColor(128, 0, 0)) {
                    ++line_pixels;
                    sum_x += x;
                    sum_y += y;
                }
        ASSERT_GT(line_pixels, 300);
        EXPECT_NEAR(sum_x / line_pixels, 400, 200);
        EXPECT_NEAR(sum_y / line_pixels, 300, 150);
    }
}

TEST(Export, TheHeadingNamesTheProgramOfTheCurrentDirectory)
{
    // The host comes from the name of the current directory's top-level folder: "/" gives
    // VORAX, and so does a temporary folder unless its top-level folder is named after a host.
    TempDir dir;
    const bool other_host = determine_host(dir.path().string()).program_label != "VORAX:";
    const std::filesystem::path started_in = std::filesystem::current_path();
    const std::string model = source_path("examples/plane_frame.dat");
    std::filesystem::current_path("/");
    const ExportRun vorax = export_model(dir, model, {"--size", "640x480"}, "vorax.png");
    std::filesystem::current_path(dir.path());
    const ExportRun host = export_model(dir, model, {"--size", "640x480"}, "host.png");
    std::filesystem::current_path(started_in);
    // The pictures differ, and only in the heading's band at the top, when the hosts differ.
    const QRect band(0, 0, 640, 480 / 8);
    EXPECT_EQ(vorax.picture.copy(band) != host.picture.copy(band), other_host);
    EXPECT_EQ(vorax.picture.copy(0, band.height(), 640, 480), host.picture.copy(0, band.height(), 640, 480));
}

TEST(Export, BadNodeRangeIsABadArgument)
{
    TempDir dir;
    const ExportRun run = export_model(dir, source_path("examples/plane_frame.dat"), {"--nodes", "1-3, 9-5, 40"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Error in group No. 2: 9-5"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Error in group No. 3: 40-40"), std::string::npos) << run.err;
    EXPECT_TRUE(run.picture.isNull());
    const ExportRun ro = export_model(dir, source_path("examples/plane_frame.dat"),
                                      {"--nodes", "13", "--lang", "ro"});
    EXPECT_EQ(ro.status, 2);
    EXPECT_NE(ro.err.find("Eroare in grupul nr. 1"), std::string::npos) << ro.err;
}

// Each view of the spatial tower names itself after the colour line and draws a picture of its
// own; a plane model takes only its own plane, and another view of it is a bad argument.
TEST(Export, ViewsOfASpatialModelAndOnlyItsOwnPlaneForAPlaneModel)
{
    TempDir dir;
    const std::string tower = source_path("examples/space_tower.dat");
    struct Row {
        const char* view;
        const char* last_line; // of the standard output
    };
    const Row rows[] = {{"oblique", " Color: Standard"},
                        {"front", " View: Front (X-Z)"},
                        {"side", " View: Side (Y-Z)"},
                        {"plan", " View: Plan (X-Y)"},
                        {"iso", " View: Isometric"}};
    std::vector<QImage> pictures;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.view);
        const ExportRun run = export_model(dir, tower, {"--size", "400x300", "--view", row.view},
                                           std::string(row.view) + ".png");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.out.ends_with(std::string("\n Color: Standard\n")
                                      + (row.view == std::string("oblique") ? "" : row.last_line + std::string("\n"))))
            << run.out;
        ASSERT_FALSE(run.picture.isNull());
        for (const QImage& other : pictures)
            EXPECT_NE(run.picture, other);
        pictures.push_back(run.picture);
    }

    const std::string plane = source_path("examples/plane_frame.dat");
    EXPECT_EQ(export_model(dir, plane, {"--view", "oblique"}).status, 0);
    const ExportRun refused = export_model(dir, plane, {"--view", "plan"}, "plane.png");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--view plan needs a spatial model (NGL = 3)"), std::string::npos)
        << refused.err;
    EXPECT_TRUE(refused.picture.isNull());
}

TEST(Export, BadModelFilesExitWithOne)
{
    TempDir dir;
    const auto wrong = dir.write("wrong.dat", "TITLE\nnot a header\n");
    const auto short_file = dir.write("short.dat", "TITLE\n2 1 2 1 0\n1 1 1 1\n");
    for (const std::string& model : {wrong.string(), short_file.string(), (dir.path() / "missing.dat").string()}) {
        SCOPED_TRACE(model);
        const ExportRun run = export_model(dir, model, {});
        EXPECT_EQ(run.status, 1);
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(Export, TheModelCheckLineFollowsTheLoadLinesAsInTheInfoWindow)
{
    TempDir dir;
    // Node 3 is named by no element.
    const std::string model = dir.write("spare.dat", "SPARE NODE\n3 1 2 1 0\n1 1 1 1\nEND\nEND\n-\n-\n-\n-\n"
                                                     "1 0 0\n2 1 0\n3 2 0\nEND\n1 1 2\nEND\n").string();
    const ExportRun run = export_model(dir, model, {"--size", "64x64", "--lang", "ro"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(" ymin, ymax:  0.  0.\n * Verificare model: 1 avertisment (vorax --check " + model
                           + " il listeaza)\n\n Graph No.:"),
              std::string::npos) << run.out;
}

TEST(Export, UnwritablePictureFails)
{
    TempDir dir;
    const ExportRun run = export_model(dir, source_path("examples/plane_frame.dat"), {"--size", "64x64"},
                                       "no/such/folder/graph.png");
    EXPECT_EQ(run.status, 1);
    // The info lines come all the same.
    EXPECT_NE(run.out.find(" TWO-BAY THREE-STOREY PLANE FRAME\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("cannot write " + (dir.path() / "no/such/folder/graph.png").string()
                           + ": No such file or directory"),
              std::string::npos)
        << run.err;
}

// The built program in a shell with a limit: `ulimit -f 4` (a write past 4 KB fails with EFBIG,
// the signal ignored) stands for a full disk, `ulimit -v` for short memory.
TEST(ExportProgram, FullDiskAndShortMemoryLeaveNoFileAndTheOldOneUntouched)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    TempDir dir;
    dir.write("old.png", "the old picture");
    struct Row {
        const char *limit, *name, *size, *message;
    };
    const Row rows[] = {
        {"ulimit -f 4", "old.png", "800x600", ": File too large"},
        {"ulimit -f 4", "new.bmp", "800x600", ": File too large"},
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer needs more address space than that
        {"ulimit -v 2000000", "big.png", "32767x32767", "not enough memory for a 32767x32767 picture"},
#endif
    };
    for (const Row& row : rows) {
        const std::string out = (dir.path() / row.name).string();
        const std::string script = std::string(row.limit) + "; trap '' XFSZ; exec "
                                   + testing::shell_quoted(testing::vorax_program()) + " --export "
                                   + testing::shell_quoted(out) + " "
                                   + testing::shell_quoted(source_path("examples/plane_frame.dat"))
                                   + " --size " + row.size + " >/dev/null";
        const testing::CommandRun run = testing::run_command("sh -c " + testing::shell_quoted(script));
        EXPECT_EQ(run.status, 1) << row.name;
        EXPECT_NE(run.output.find(row.message), std::string::npos) << run.output;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(testing::file_text(dir.path() / "old.png"), "the old picture");
}

// The edges of what the program writes, each a shell script around the built program ($V, the
// model $M, the folder $D): what standard output held before, a report that cannot be written,
// the model as OUT or as standard output, "--" before a dashed name, characters SVG cannot hold, the same PDF bytes
// twice, a session without a runtime folder (and Qt's own messages), and a write ended by a signal.
TEST(ExportProgram, NothingIsLostAtTheEdges)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    struct Row {
        const char* name;
        const char* script;
        int status;
        const char* file;     // in $D, checked when given
        const char* begins;   // its first bytes
        const char* ends;     // its last bytes
    };
    const char* kill_while_writing =
        "$V --export $D/big.bmp $M --size 6000x6000 >/dev/null 2>&1 & p=$!; "
        "for i in $(seq 5000); do ls -l /proc/$p/fd 2>/dev/null | grep -q -e \"$D/#\" -e \"$D/.vorax-\" && break; sleep 0.002; done; "
        "kill -%s $p; wait $p; ls -A $D > $D/left.txt";
    const std::string kill_term = [&] { char b[512]; std::snprintf(b, sizeof b, kill_while_writing, "TERM"); return std::string(b); }();
    const std::string kill_kill = [&] { char b[512]; std::snprintf(b, sizeof b, kill_while_writing, "KILL"); return std::string(b); }();
    const Row rows[] = {
        {"appended to standard output", "echo KEEP > $D/log.svg; $V --export /dev/stdout $M --format svg --size 64x64 >> $D/log.svg 2>/dev/null",
         0, "log.svg", "KEEP\n<?xml", "</svg>\n"},
        {"between other output", "{ echo HEADER; $V --export - $M --format svg --size 64x64 2>/dev/null; echo TRAILER; } > $D/c.txt",
         0, "c.txt", "HEADER\n<?xml", "</svg>\nTRAILER\n"},
        {"check report too large", "ulimit -f 0; trap '' XFSZ; exec $V --check $M > $D/r.txt", 1, nullptr, "", ""},
        {"info too large", "ulimit -f 0; trap '' XFSZ; exec $V --info $M > $D/r.txt", 1, nullptr, "", ""},
        {"onto the model", "cp $M $D/frame; ln -s frame $D/link; $V --export $D/link $D/frame", 2, "frame", "// Plane frame", ""},
        {"the picture into the model", "cp $M $D/frame; $V --export - $D/frame 1<>$D/frame", 2, "frame", "// Plane frame", "MODEL\n"},
        {"the lines onto the model", "cp $M $D/frame; $V --export $D/x.png $D/frame >> $D/frame", 2, "frame", "", "MODEL\n"},
        {"a report onto the model", "cp $M $D/frame; $V --info $D/frame >> $D/frame || $V --diff $M $D/frame >> $D/frame",
         2, "frame", "", "MODEL\n"},
        {"a picture the user may not write", "echo OLD > $D/ro.png; chmod 444 $D/ro.png; chmod 777 $D; "
         "setpriv --reuid=65534 --regid=65534 --clear-groups $V --export $D/ro.png $M >/dev/null; s=$?; "
         "[ $s = 126 ] || [ $s = 127 ] && exit 1; exit $s", 1, "ro.png", "OLD\n", "OLD\n"},
        {"no picture bytes onto a terminal", "script -qec \"$V --export - $M\" /dev/null > $D/t.txt; s=$?; "
         "grep -q 'png picture is not written to a terminal' $D/t.txt && exit $s", 2, nullptr, "", ""},
        {"windows without a display", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $V $M 2> $D/e.txt", 1, "e.txt",
         "vorax: no display to open the windows on", ""},
        {"help that cannot be written", "$V --help >&-; h=$?; ulimit -f 0; trap '' XFSZ; $V --version > $D/v.txt; exit $((h + $?))",
         2, nullptr, "", ""},
        {"a model that cannot be read", "$V --export $D/x.png $D/none.dat > $D/o.txt 2> $D/e.txt; s=$?; ! test -e $D/x.png && exit $s",
         1, "e.txt", "", "none.dat\": No such file or directory.\n"},
        {"dashes end the options", "cp $M $D/-m.dat; cd $D && $V --info -- -m.dat > $D/i.txt", 0, "i.txt", " TWO-BAY", ""},
        {"control characters in SVG",
         "sed 's/TWO-BAY/TWO\\x0cBAY/' $M > $D/ff.dat; $V --export $D/ff.svg $D/ff.dat --size 64x64 >/dev/null; "
         "! grep -q \"$(printf '\\f')\" $D/ff.svg && grep -q 'TWO\xef\xbf\xbd' $D/ff.svg", 0, nullptr, "", ""},
        {"reproducible PDF", "$V --export $D/a.pdf $M >/dev/null; $V --export $D/b.pdf $M >/dev/null; cmp $D/a.pdf $D/b.pdf", 0, nullptr, "", ""},
        {"PDF dated by SOURCE_DATE_EPOCH", "SOURCE_DATE_EPOCH=1700000000 $V --export $D/a.pdf $M >/dev/null; "
         "grep -a -q 'CreationDate (D:20231114221320Z)' $D/a.pdf", 0, nullptr, "", ""},
        {"control characters escaped on a terminal",
         "sed 's/TWO-BAY/TWO\\x1b[2JB\\xc2\\x9bAY/' $M > $D/esc.dat; script -qec \"$V --info $D/esc.dat\" /dev/null > $D/t.txt; "
         "$V --info $D/esc.dat > $D/p.txt; grep -q 'TWO\\\\e\\[2JB\\\\xc2\\\\x9bAY' $D/t.txt && grep -q \"TWO$(printf '\\033')\" $D/p.txt",
         0, nullptr, "", ""},
        {"standard error holds the lines alone without a runtime folder",
         "env -u XDG_RUNTIME_DIR $V --export - $M --format svg --size 64x64 2> $D/e.txt >/dev/null",
         0, "e.txt", " TWO-BAY", " Color: Standard\n"},
        {"Qt's other messages still said", "QT_LOGGING_RULES='qt.qpa.plugin.debug=true' $V --export $D/q.png $M 2> $D/e.txt >/dev/null; "
         "grep -q '^qt.qpa.plugin' $D/e.txt", 0, nullptr, "", ""},
        {"terminated while writing", kill_term.c_str(), 0, "left.txt", "", ""},
        {"killed while writing", kill_kill.c_str(), 0, "left.txt", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string script = "V=" + testing::shell_quoted(testing::vorax_program())
                                   + "; M=" + testing::shell_quoted(source_path("examples/plane_frame.dat"))
                                   + "; D=" + testing::shell_quoted(dir.path().string()) + "; " + row.script;
        const testing::CommandRun run = testing::run_command("bash -c " + testing::shell_quoted(script));
        EXPECT_EQ(run.status, row.status) << run.output;
        if (!row.file)
            continue;
        const std::string text = testing::file_text(dir.path() / row.file);
        EXPECT_EQ(text.substr(0, std::strlen(row.begins)), row.begins) << text.substr(0, 80);
        EXPECT_GE(text.size(), std::strlen(row.ends));
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), std::strlen(row.ends))), row.ends);
        if (std::string(row.file) == "left.txt") { // no partial file of the picture beside it
            EXPECT_EQ(text, "left.txt\n");
        }
    }
}

// A picture written to where standard output goes gets no info line among its bytes: the lines
// go to standard error.
TEST(ExportProgram, WhenThePictureIsStandardOutputTheLinesGoToStandardError)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    TempDir dir;
    const std::string picture = (dir.path() / "picture").string();
    const std::string lines = (dir.path() / "lines.txt").string();
    const std::string script = testing::shell_quoted(testing::vorax_program()) + " --export "
                               + testing::shell_quoted(picture) + " "
                               + testing::shell_quoted(source_path("examples/plane_frame.dat"))
                               + " --format svg --size 64x64 > " + testing::shell_quoted(picture)
                               + " 2> " + testing::shell_quoted(lines);
    ASSERT_EQ(testing::run_command("sh -c " + testing::shell_quoted(script)).status, 0);
    const std::string svg_bytes = testing::file_text(picture);
    const std::string info_text = testing::file_text(lines);
    EXPECT_EQ(svg_bytes.rfind("<?xml", 0), 0u);
    EXPECT_EQ(svg_bytes.find("Graph No.:"), std::string::npos);
    EXPECT_NE(info_text.find(" TWO-BAY THREE-STOREY PLANE FRAME\n"), std::string::npos) << info_text;
    EXPECT_NE(info_text.find(" Graph No.:  1\n"), std::string::npos) << info_text;
}

} // namespace
} // namespace vorax

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "app/startup_files.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::TempDir;

TEST(DetermineHost, TopLevelDirectoryInitialSelectsHost)
{
    struct Row {
        const char* directory;
        int host;
        const char* label;
    };
    const Row rows[] = {
        {"D:\\TAVELS\\VORAX", kHostTavels, "TAVELS:"},
        {"c:\\tavels\\vorax", kHostTavels, "TAVELS:"},
        {"/Muriks/vorax", kHostMuriks, "MURIKS:"},
        {"/muriks", kHostMuriks, "MURIKS:"},
        {"/tavels2/x", kHostTavels, "TAVELS:"}, // the name begins with the host's
        {"/tmp/models", kHostNone, "VORAX:"},   // an initial alone is no host
        {"/mnt", kHostNone, "VORAX:"},
        {"/media/usb", kHostNone, "VORAX:"},
        {"C:\\Temp", kHostNone, "VORAX:"},
        {"/TAVEL/x", kHostNone, "VORAX:"},      // shorter than the host's name
        {"C:\\Programs\\VORAX", kHostNone, "VORAX:"},
        {"/home/engineer/vorax", kHostNone, "VORAX:"},
        {"/", kHostNone, "VORAX:"},            // the root: no top-level directory
        {"C:\\", kHostNone, "VORAX:"},
        {"tavels", kHostTavels, "TAVELS:"},    // no separator: the first character
        {"", kHostNone, "VORAX:"},
    };
    for (const Row& row : rows) {
        const HostInfo info = determine_host(row.directory);
        EXPECT_EQ(info.host_program, row.host) << row.directory;
        EXPECT_EQ(info.program_label, row.label) << row.directory;
    }
}

// A sibling installation: work_dir.dat in the root names a working directory that holds the
// sibling's settings file.
struct Installation {
    TempDir root;
    TempDir current;
    StartupPaths paths() const { return {current.path().string(), root.path().string()}; }
    void sibling_settings(const std::string& file, const std::string& content) const
    {
        const auto work = root.path() / "TAVELS" / "WORK";
        root.write("work_dir.dat", work.string() + "\r\n");
        root.write("TAVELS/WORK/" + file, content);
    }
};

TEST(DetermineLanguage, TheLastLineOfTheSiblingsOwnSettingsFileDecides)
{
    Installation tavels;
    tavels.sibling_settings("Comtav.dat", "settings line 1\nsome other line\nRomanian\n");
    EXPECT_EQ(determine_language(kHostTavels, tavels.paths()).language, UiLanguage::romanian);

    Installation english;
    english.sibling_settings("Comtav.dat", "Romanian\nEnglish\n");
    EXPECT_EQ(determine_language(kHostTavels, english.paths()).language, UiLanguage::english);

    Installation other;
    other.sibling_settings("Comtav.dat", "Deutsch\n");
    EXPECT_EQ(determine_language(kHostTavels, other.paths()).language, UiLanguage::english);

    Installation muriks;
    muriks.sibling_settings("Commur.dat", "romana\n");
    EXPECT_EQ(determine_language(kHostMuriks, muriks.paths()).language, UiLanguage::romanian);
    // TAVELS looks for Comtav.dat, which is not there.
    EXPECT_EQ(determine_language(kHostTavels, muriks.paths()).language, UiLanguage::english);
}

TEST(DetermineLanguage, LanguageFileWinsOverSiblingFilesWithItsFirstTwentyCharacters)
{
    Installation inst;
    inst.sibling_settings("Comtav.dat", "English\n");
    inst.current.write("language.dat", "romanian\n");
    for (int host : {kHostNone, kHostTavels, kHostMuriks}) {
        const LanguageInfo info = determine_language(host, inst.paths());
        EXPECT_EQ(info.language, UiLanguage::romanian) << host;
        EXPECT_EQ(info.language_text, "romanian");
    }
    Installation longer;
    longer.current.write("language.dat", "Romanian language for every menu and message\nEnglish\n");
    EXPECT_EQ(determine_language(kHostNone, longer.paths()).language_text, "Romanian language fo");
}

TEST(DetermineLanguage, MissingAndEmptyFilesFallBack)
{
    // No host and no language file is English without reading the siblings.
    Installation no_host;
    no_host.sibling_settings("Comtav.dat", "Romanian\n");
    EXPECT_EQ(determine_language(kHostNone, no_host.paths()).language, UiLanguage::english);

    Installation nothing;
    EXPECT_EQ(determine_language(kHostTavels, nothing.paths()).language_text, "English");

    Installation empty_language;
    empty_language.current.write("language.dat", "");
    empty_language.sibling_settings("Comtav.dat", "Romanian\n");
    EXPECT_EQ(determine_language(kHostTavels, empty_language.paths()).language,
              UiLanguage::romanian);

    Installation empty_settings;
    empty_settings.sibling_settings("Comtav.dat", "");
    EXPECT_EQ(determine_language(kHostTavels, empty_settings.paths()).language_text, "English");

    Installation missing_work_dir;
    missing_work_dir.root.write("work_dir.dat",
                                (missing_work_dir.root.path() / "nowhere").string() + "\n");
    EXPECT_EQ(determine_language(kHostTavels, missing_work_dir.paths()).language,
              UiLanguage::english);
}

// A FIFO of a start-up file's name would hold the start-up until someone writes to it: only
// regular files are opened, anything else counts as missing.
TEST(DetermineLanguage, FilesThatAreNoRegularFilesAreSkippedWithoutWaiting)
{
    for (const std::string fifo : {"language.dat", "work_dir.dat", "TAVELS/WORK/Comtav.dat"}) {
        Installation inst;
        inst.sibling_settings("Comtav.dat", "Romanian\n");
        const auto path = (fifo == "language.dat" ? inst.current : inst.root).path() / fifo;
        std::filesystem::remove(path);
        ASSERT_TRUE(testing::make_fifo(path));
        auto language = std::async(std::launch::async,
                                   [&] { return determine_language(kHostTavels, inst.paths()); });
        const bool waited = language.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
        if (waited)
            testing::release_fifo_reader(path);
        EXPECT_FALSE(waited) << fifo;
        // A skipped language.dat leaves the choice to the sibling; a skipped sibling file, English.
        EXPECT_EQ(language.get().language,
                  fifo == "language.dat" ? UiLanguage::romanian : UiLanguage::english) << fifo;
    }
}

} // namespace
} // namespace vorax

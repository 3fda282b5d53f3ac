#include <gtest/gtest.h>

#include <QFile>

#include "gwl/file_names.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

// A Latin-1 "é" is no UTF-8: Qt shows it as U+FFFD and cannot encode it back by itself.
TEST(FileNames, BytesThatAreNoTextComeBackFromQt)
{
    vorax::testing::TempDir folder;
    const std::string latin = folder.write("caf\xe9.dat", "x").string();
    const QString shown = shown_file_name(latin);
    ASSERT_TRUE(shown.contains(QChar::ReplacementCharacter));
    ASSERT_NE(QFile::encodeName(shown).toStdString(), latin);
    EXPECT_EQ(file_name_bytes(shown), latin);
    // A new name (nothing to find) and a text name are encoded as they are.
    EXPECT_EQ(file_name_bytes(QString::fromUtf8("/no/such/caf\xc3\xa9.png")), "/no/such/caf\xc3\xa9.png");
    EXPECT_EQ(file_name_bytes(shown_file_name("relative/name.dat")), "relative/name.dat");

    // The command line: each positional argument is taken from argv as it was given.
    const char* argv[] = {"vorax", "--area", "800x600", latin.c_str(), "second.dat"};
    EXPECT_EQ(argument_bytes(5, argv, {shown, QStringLiteral("second.dat")}),
              (std::vector<std::string>{latin, "second.dat"}));
}

} // namespace
} // namespace vorax::gwl

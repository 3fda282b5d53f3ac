// SPDX-License-Identifier: GPL-3.0-or-later
// The reader against a real list-directed reader: a small Fortran program, built with gfortran,
// reads a few hundred generated model files with list-directed READ statements the way the
// sibling analysis programs do, and every node's codes, values and coordinates (bit for bit) and
// every element's ends must come out as the reader gives them.
//
// The files keep to the standard forms that both readers take alike: blanks, tabs, commas and
// line ends between values, records over several lines, blank lines, leading commas, repeat
// counts, surplus values and a slash after the last value, reals in every notation including
// subnormals, exact midpoints between two floats and values far below the float range. Nulls
// stand only in number fields (a null keeps the node's own earlier value here and a variable's
// earlier value there, a deliberate difference), and no value lies beyond the float range.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "model_generator.h"
#include "model_test_support.h"

namespace vorax {
namespace {

namespace fs = std::filesystem;
using testing::file_text;
using testing::ModelGenerator;

constexpr int kFiles = 300;
constexpr std::uint32_t kSeed = 20240611;

// Reads the model files named in the list file (the first argument) and writes, per file, the
// title, every node and every element in the form of expected_output below. A block ends at the
// first record that cannot be read; the end of a file anywhere stops the program with an error.
constexpr const char* kFortranReader = R"(program list_directed_models
  implicit none
  character(len=4096) :: list_name, model_name
  integer :: ios, k
  call get_command_argument(1, list_name)
  open(20, file=trim(list_name), status='old', action='read')
  do k = 1, huge(k)
    read(20, '(A)', iostat=ios) model_name
    if (ios /= 0) exit
    write(*, '(A,I0)') 'FILE ', k
    call read_model(trim(model_name))
  end do
contains
  subroutine read_model(file)
    character(len=*), intent(in) :: file
    integer, parameter :: max_nodes = 64, max_elements = 64, max_ic = 16
    character(len=1000) :: line
    character(len=100) :: title
    integer :: ios, i, j, n, e, p, nn, ne, ngl, by_number, ic, first, last
    integer :: codes(3, max_nodes), code(3), rows(max_ic, max_nodes), row(max_ic), ends(2, max_elements)
    real(4) :: values(3, max_nodes), coords(3, max_nodes), reals(3)
    logical :: has_values(max_nodes)

    codes = 0; values = 0; coords = 0; has_values = .false.; rows = -1; ends = 0
    open(10, file=file, status='old', action='read')
    line = '//'
    do while (line(1:2) == '//')
      read(10, '(A)') line
    end do
    title = line
    write(*, '(A,A)') 'TITLE ', trim(title)
    read(10, *) nn, ne, ngl, by_number, ic
    do
      first = 0; last = 0
      read(10, *, iostat=ios) first, last, (code(j), j = 1, ngl)
      if (ios /= 0) exit
      do n = max(first, 1), min(last, nn)
        codes(1:ngl, n) = code(1:ngl)
      end do
    end do
    do
      n = 0
      read(10, *, iostat=ios) n, (reals(j), j = 1, ngl)
      if (ios /= 0) exit
      if (n < 1 .or. n > nn) cycle
      has_values(n) = .true.
      values(1:ngl, n) = reals(1:ngl)
    end do
    do i = 1, 4
      read(10, '(A)') line
    end do
    do
      n = 0
      read(10, *, iostat=ios) n, (reals(j), j = 1, ngl)
      if (ios /= 0) exit
      if (n >= 1 .and. n <= nn) coords(1:ngl, n) = reals(1:ngl)
    end do
    do
      e = 0; n = 0; first = 0; last = 0
      if (by_number /= 0) then
        read(10, *, iostat=ios) e, first, last
      else
        read(10, *, iostat=ios) n, (row(j), j = 1, ic)
      end if
      if (ios /= 0) exit
      if (e >= 1 .and. e <= ne .and. first >= 0 .and. first <= nn .and. last >= 0 .and. last <= nn) &
        ends(:, e) = [first, last]
      if (n >= 1 .and. n <= nn .and. ic >= 1) rows(1:ic, n) = row(1:ic)
    end do
    read(10, '(A)') line
    close(10)

    do j = 1, 2
      do n = 1, nn
        do p = 1, ic / 2
          e = rows(2 * p + 1 - j, n)
          if (e >= 1 .and. e <= ne) ends(j, e) = n
        end do
      end do
    end do
    do n = 1, nn
      write(*, '(A,*(1X,I0))') 'NODE', n, codes(:, n), merge(1, 0, has_values(n)), &
        (transfer(values(j, n), 0), j = 1, 3), (transfer(coords(j, n), 0), j = 1, 3)
    end do
    do e = 1, ne
      write(*, '(A,*(1X,I0))') 'ELEMENT', e, ends(:, e)
    end do
  end subroutine
end program
)";

// What the Fortran program writes for one file, from the reader's result.
std::string expected_output(int index, const ReadResult& result)
{
    std::ostringstream out;
    out << "FILE " << index << '\n';
    if (!result.ok()) {
        out << "FAILED " << result.message << '\n';
        return out.str();
    }
    const StructureModel& m = result.model;
    out << "TITLE " << m.problem_title << '\n';
    auto bits = [](float f) { return std::bit_cast<std::int32_t>(f); };
    for (int n = 1; n <= m.node_count; ++n) {
        const Node& node = m.node(n);
        out << "NODE " << n;
        for (std::int32_t code : node.codes)
            out << ' ' << code;
        out << ' ' << (node.has_values ? 1 : 0);
        for (float value : node.values)
            out << ' ' << bits(value);
        for (float coordinate : node.coords)
            out << ' ' << bits(coordinate);
        out << '\n';
    }
    for (int e = 1; e <= m.element_count; ++e)
        out << "ELEMENT " << e << ' ' << m.element(e).node1 << ' ' << m.element(e).node2 << '\n';
    return out.str();
}

std::string search_path(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

// Splits an output into its "FILE n" sections.
std::vector<std::string> sections(const std::string& output)
{
    std::vector<std::string> parts;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("FILE ", 0) == 0 || parts.empty())
            parts.emplace_back();
        parts.back() += line + '\n';
    }
    return parts;
}

TEST(ListDirectedDifferential, GeneratedModelsReadAsGfortranReadsThem)
{
    const std::string gfortran = search_path("gfortran");
    if (gfortran.empty())
        GTEST_SKIP() << "gfortran is not installed, so the reader was not compared with a "
                        "list-directed reader (scripts/install-deps.sh installs it)";

    std::string folder_template = (fs::temp_directory_path() / "vorax_differential_XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder_template.data()), nullptr);
    const fs::path folder = folder_template;
    struct Cleanup {
        fs::path folder;
        ~Cleanup() { fs::remove_all(folder); }
    } cleanup{folder};

    std::ofstream(folder / "reader.f90") << kFortranReader;
    const std::string compile = "'" + gfortran + "' -O1 -o '" + (folder / "reader").string() + "' '"
        + (folder / "reader.f90").string() + "' > '" + (folder / "compile.log").string() + "' 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0) << file_text(folder / "compile.log");

    ModelGenerator generator(kSeed);
    std::vector<std::string> models;
    std::string expected;
    std::ofstream list(folder / "models.txt");
    for (int i = 1; i <= kFiles; ++i) {
        models.push_back(generator.model());
        const fs::path path = folder / ("model_" + std::to_string(i) + ".dat");
        std::ofstream(path, std::ios::binary) << models.back();
        list << path.string() << '\n';
        const ReadResult result = read_model(path);
        EXPECT_TRUE(result.ok()) << "model " << i << ": " << result.message;
        expected += expected_output(i, result);
    }
    list.close();

    const std::string run = "'" + (folder / "reader").string() + "' '" + (folder / "models.txt").string()
        + "' > '" + (folder / "out.txt").string() + "' 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << file_text(folder / "out.txt");

    const std::vector<std::string> ours = sections(expected);
    const std::vector<std::string> theirs = sections(file_text(folder / "out.txt"));
    ASSERT_EQ(ours.size(), theirs.size());
    int differences = 0;
    for (std::size_t i = 0; i < ours.size() && differences < 3; ++i) {
        if (ours[i] == theirs[i])
            continue;
        ++differences;
        ADD_FAILURE() << "model " << i + 1 << " reads differently.\n--- file:\n" << models[i]
                      << "--- VORAX:\n" << ours[i] << "--- gfortran:\n" << theirs[i];
    }
}

} // namespace
} // namespace vorax

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The generated models of the benchmarks, written straight to a file in large chunks:
// - the lattice: NODES nodes (1000 x 1000 a layer) and as many elements in one closed chain
//   (NGL 3, about 80 MB of text for 10^6 nodes); every hundredth node supported, every
//   thousandth with support values. A clean model: the model check finds nothing in it. Its
//   coordinates are fixed-point numbers, or in exponent form with seven significant digits as
//   analysis programs write them.
// - the grid: a plane grid of about sqrt(N) x sqrt(N) nodes, elements along the rows and then
//   the columns until there are N of them; the bottom row held.
// - the cube: a spatial lattice of SIDE^3 nodes whose elements run along x, y and z in turn,
//   one from every node that has the neighbour, so that the oblique view crosses them in three
//   directions (in separate parts: a node starts at most one element); the bottom layer held.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vorax::bench {

// A text file written in chunks of about a megabyte.
class ModelText {
public:
    explicit ModelText(const std::filesystem::path& path)
        : path_(path), file_(std::fopen(path.c_str(), "wb"))
    {
        if (!file_) {
            std::perror("cannot write the benchmark model");
            std::exit(1);
        }
        chunk_.reserve(1 << 20);
    }
    ModelText(const ModelText&) = delete;
    ModelText& operator=(const ModelText&) = delete;

    template <class... Values>
    void add(const char* format, Values... values)
    {
        char line[200];
        const int n = std::snprintf(line, sizeof line, format, values...);
        chunk_.append(line, static_cast<std::size_t>(std::clamp(n, 0, int(sizeof line) - 1)));
        if (chunk_.size() > (1 << 20) - 200)
            flush();
    }

    // Closes the file; returns its size in bytes.
    std::uintmax_t finish()
    {
        flush();
        std::fclose(file_);
        file_ = nullptr;
        return std::filesystem::file_size(path_);
    }

    ~ModelText()
    {
        if (file_)
            finish();
    }

private:
    void flush()
    {
        std::fwrite(chunk_.data(), 1, chunk_.size(), file_);
        chunk_.clear();
    }

    std::filesystem::path path_;
    std::FILE* file_;
    std::string chunk_;
};

// Writes the lattice; returns the file's size in bytes.
inline std::uintmax_t write_lattice_model(const std::filesystem::path& path, long nodes,
                                          bool exponent_form = false)
{
    ModelText out(path);
    out.add("// Generated for the benchmarks\nBENCHMARK GRID MODEL\n");
    out.add("%ld %ld 3 1 0\n", nodes, nodes);
    // Every hundredth node is supported; every thousandth has support values.
    for (long n = 1; n <= nodes; n += 100)
        out.add("%8ld %8ld  1  1  %d\n", n, n, int(n % 2));
    out.add("SUPPORT VALUES\n");
    for (long n = 1; n <= nodes; n += 1000)
        out.add("%8ld  0.0  -1.5E-03  0.0\n", n);
    // The value block's closing line, then the four lines every model file has there.
    out.add("MATERIAL\nE = 2.1E+08\nSECTION\n1 0.01 1.0E-04\nNODE COORDINATES\n");
    const char* line = exponent_form ? "%9ld %14.6E %14.6E %14.6E\n" : "%9ld %14.5f %14.5f %14.5f\n";
    for (long n = 1; n <= nodes; ++n)
        out.add(line, n, double(n % 1000) * 1.25, double((n / 1000) % 1000) * 2.5,
                double(n / 1000000) * 3.0 - 0.125);
    out.add("ELEMENTS\n");
    for (long e = 1; e <= nodes; ++e)
        out.add("%9ld %9ld %9ld\n", e, e, e % nodes + 1);
    out.add("END OF MODEL\n");
    return out.finish();
}

// Writes the grid of `n` nodes and elements; returns the file's size in bytes.
inline std::uintmax_t write_grid_model(const std::filesystem::path& path, long n)
{
    const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(n))));
    ModelText out(path);
    out.add("GENERATED GRID OF %ld NODES\n", n);
    out.add("%ld %ld 2 1 0\n", n, n);
    out.add("1 %ld 1 1\nEND OF CODES\nEND OF VALUES\n-\n-\n-\n-\n", std::min(side, n));
    for (long i = 0; i < n; ++i)
        out.add("%ld %g %g\n", i + 1, double(i % side) * 1.5, double(i / side));
    out.add("END OF COORDINATES\n");
    long e = 0;
    for (long i = 0; i < n && e < n; ++i)
        if ((i + 1) % side != 0 && i + 1 < n)
            out.add("%ld %ld %ld\n", ++e, i + 1, i + 2);
    for (long i = 0; i + side < n && e < n; ++i)
        out.add("%ld %ld %ld\n", ++e, i + 1, i + side + 1);
    out.add("END OF ELEMENTS\n");
    return out.finish();
}

// Writes the cube of side^3 nodes; returns the file's size in bytes.
inline std::uintmax_t write_cube_model(const std::filesystem::path& path, long side)
{
    const long nodes = side * side * side;
    auto number = [side](long x, long y, long z) { return 1 + x + side * (y + side * z); };
    long elements = 0;
    for (long z = 0; z < side; ++z)
        for (long y = 0; y < side; ++y)
            for (long x = 0; x < side; ++x) {
                const long turn = (x + y + z) % 3;
                elements += (turn == 0 ? x : turn == 1 ? y : z) + 1 < side ? 1 : 0;
            }
    ModelText out(path);
    out.add("GENERATED CUBE OF %ld NODES\n", nodes);
    out.add("%ld %ld 3 1 0\n", nodes, elements);
    out.add("1 %ld 1 1 1\nEND OF CODES\nEND OF VALUES\n-\n-\n-\n-\n", side * side);
    for (long z = 0; z < side; ++z)
        for (long y = 0; y < side; ++y)
            for (long x = 0; x < side; ++x)
                out.add("%ld %.3f %.3f %.3f\n", number(x, y, z), double(x) * 2.0, double(y) * 2.5,
                        double(z) * 3.0);
    out.add("END OF COORDINATES\n");
    long e = 0;
    for (long z = 0; z < side; ++z)
        for (long y = 0; y < side; ++y)
            for (long x = 0; x < side; ++x) {
                const long turn = (x + y + z) % 3;
                if (turn == 0 && x + 1 < side)
                    out.add("%ld %ld %ld\n", ++e, number(x, y, z), number(x + 1, y, z));
                else if (turn == 1 && y + 1 < side)
                    out.add("%ld %ld %ld\n", ++e, number(x, y, z), number(x, y + 1, z));
                else if (turn == 2 && z + 1 < side)
                    out.add("%ld %ld %ld\n", ++e, number(x, y, z), number(x, y, z + 1));
            }
    out.add("END OF ELEMENTS\n");
    return out.finish();
}

} // namespace vorax::bench

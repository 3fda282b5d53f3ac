#pragma once
// The large model of the benchmarks: a spatial lattice of NODES nodes (1000 x 1000 a layer) and
// as many elements in one closed chain (NGL 3, about 80 MB of text for 10^6 nodes); every
// hundredth node supported, every thousandth with support values. A clean model: the model
// check finds nothing in it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vorax::bench {

// Writes the model; returns the file's size in bytes.
inline std::uintmax_t write_lattice_model(const std::filesystem::path& path, long nodes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror("cannot write the benchmark model");
        std::exit(1);
    }
    std::string chunk;
    chunk.reserve(1 << 20);
    auto flush = [&](bool always) {
        if (always || chunk.size() > (1 << 20) - 200) {
            std::fwrite(chunk.data(), 1, chunk.size(), file);
            chunk.clear();
        }
    };
    char line[200];
    auto add = [&](int n) {
        chunk.append(line, static_cast<std::size_t>(n));
        flush(false);
    };

    add(std::snprintf(line, sizeof line, "// Generated for the benchmarks\nBENCHMARK GRID MODEL\n"));
    add(std::snprintf(line, sizeof line, "%ld %ld 3 1 0\n", nodes, nodes));
    // Every hundredth node is supported; every thousandth has support values.
    for (long n = 1; n <= nodes; n += 100)
        add(std::snprintf(line, sizeof line, "%8ld %8ld  1  1  %d\n", n, n, int(n % 2)));
    add(std::snprintf(line, sizeof line, "SUPPORT VALUES\n"));
    for (long n = 1; n <= nodes; n += 1000)
        add(std::snprintf(line, sizeof line, "%8ld  0.0  -1.5E-03  0.0\n", n));
    // The value block's closing line, then the four lines every model file has there.
    add(std::snprintf(line, sizeof line, "MATERIAL\nE = 2.1E+08\nSECTION\n1 0.01 1.0E-04\nNODE COORDINATES\n"));
    for (long n = 1; n <= nodes; ++n)
        add(std::snprintf(line, sizeof line, "%9ld %14.5f %14.5f %14.5f\n", n, double(n % 1000) * 1.25,
                          double((n / 1000) % 1000) * 2.5, double(n / 1000000) * 3.0 - 0.125));
    add(std::snprintf(line, sizeof line, "ELEMENTS\n"));
    for (long e = 1; e <= nodes; ++e)
        add(std::snprintf(line, sizeof line, "%9ld %9ld %9ld\n", e, e, e % nodes + 1));
    add(std::snprintf(line, sizeof line, "END OF MODEL\n"));
    flush(true);
    std::fclose(file);
    return std::filesystem::file_size(path);
}

} // namespace vorax::bench

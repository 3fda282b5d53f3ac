#pragma once
// Reading a model data file into a StructureModel.
//
// Contents:
//   ReadStatus, ReadResult  the model, or why there is none (with file name and line)
//   ReadOptions             the memory the model's arrays may take
//   read_model              from a file
//   read_model_text         from a text in memory (tests, the fuzzer)
//   read_model_lines        from any source of lines
//
// Reading never leaves a half-filled model behind: the result holds a complete model when its
// status is `ok` and an empty one otherwise. Reading does not touch the graph settings; after a
// load the caller sets `all_nodes` and `selected_element_count` and runs update_extents.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/structure_model.h"

namespace vorax {

enum class ReadStatus {
    ok,
    wrong_input_file, // the header is unreadable, outside the format or asks for too much memory,
                      // or the file holds a NUL byte (it is no text)
    end_of_file,      // the file ended inside a part that needs more lines
    cannot_open,      // the file could not be opened or read
};

struct ReadResult {
    ReadStatus status = ReadStatus::ok;
    StructureModel model;  // complete when status is ok, empty otherwise
    std::string file_name; // the name the file was read under
    long line = 0;         // where reading stopped on a problem: the last line read
    std::string message;   // one sentence on the problem; empty when status is ok

    bool ok() const { return status == ReadStatus::ok; }
};

struct ReadOptions {
    // Most bytes the model's arrays may take; a header asking for more is a wrong input file.
    // 0 stands for half the physical memory of the machine, which leaves room for the rest of
    // the program and the system: memory that is promised but not there would end the process
    // when it is first used, not when it is asked for.
    std::uint64_t memory_limit = 0;
};

// Reads the model file at `path`.
ReadResult read_model(const std::filesystem::path& path, const ReadOptions& options = {});

// Reads a model from `text`; `file_name` only names it in the result.
ReadResult read_model_text(std::string_view text, std::string_view file_name = "",
                           const ReadOptions& options = {});

class LineSource;

// Reads a model from `lines`; `file_name` only names it in the result.
ReadResult read_model_lines(LineSource& lines, std::string_view file_name = "",
                            const ReadOptions& options = {});

// The physical memory of the machine in bytes (a large fixed figure where it cannot be found).
std::uint64_t physical_memory();

} // namespace vorax

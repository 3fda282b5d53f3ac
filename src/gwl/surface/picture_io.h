// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saving, copying and printing a window's contents: the frame's "&Save...", "&Copy" and
// "&Print..." commands, and the picture files of "--export".
//
// A picture is written as pixels (PNG, BMP) or drawn again from the surface's record as vectors
// (SVG, PDF; vector_output.h), and printed from the record at the printer's resolution. Each
// command is a thin dialog step over a part that needs no person (write_surface_picture,
// write_text, render_picture), so that the parts can be tested headless. Files are written by
// write_file (file_writer.h) under names kept as bytes (file_names.h); vector documents are made
// in memory first, so they go through the same writer.
//
// Contents: PictureFormat and file names, the commands (save_picture_as, save_text_as,
// copy_picture, print_picture), the save steps after the dialog (save_picture_file,
// save_text_file) and the parts (write_picture, write_surface_picture, write_text, fitted_rect,
// prepare_printer, render_picture).

#include <optional>
#include <string>
#include <string_view>

class QImage;
class QPrinter;
class QRect;
class QSize;
class QString;
class QWidget;

namespace vorax::gwl {

class DrawSurface;

// --- Formats ---------------------------------------------------------------------------------
enum class PictureFormat { png, bmp, svg, pdf };
inline constexpr PictureFormat kPictureFormats[] = {PictureFormat::png, PictureFormat::bmp,
                                                    PictureFormat::svg, PictureFormat::pdf};
// Whether a picture of the format is drawn from the surface's record (SVG, PDF) rather than
// written from its pixels (PNG, BMP).
inline bool drawn_from_record(PictureFormat format)
{
    return format == PictureFormat::svg || format == PictureFormat::pdf;
}
// "png", "bmp", "svg", "pdf".
const char* picture_format_name(PictureFormat format);
// The format a name such as "svg" or "PDF" names.
std::optional<PictureFormat> picture_format_named(std::string_view name);
// The extension of a path's last part without its dot ("" for a name ending in a dot), or
// nullopt when it has none; a leading dot (".profile") starts no extension.
std::optional<std::string> file_extension(std::string_view path);

// --- Commands (they show dialogs) ----------------------------------------------------------------
// Asks for a file name (PNG, BMP, SVG or PDF: the extension typed, or else the filter chosen,
// decides) and writes the surface's picture; a failed write is reported in a message box. The
// title goes into vector documents. True when a file was written.
// `proposed` is the name the dialog starts from; `chosen` gets the name the person gave.
bool save_picture_as(QWidget* parent, const DrawSurface& surface, const QString& title,
                     const std::string& proposed = {}, std::string* chosen = nullptr);
// The name Save proposes for graph `number`: the model file's name without its extension, then
// "-graph" and the number, as PNG ("plane_frame-graph1.png"), in `folder`, or in the model's
// folder while `folder` is empty; "graph1.png" without a model file.
std::string proposed_picture_name(const std::string& model_path, int number, const std::string& folder);
// Asks for a file name and writes the text. True when a file was written.
bool save_text_as(QWidget* parent, const QString& text);
// Puts the picture on the clipboard.
void copy_picture(const QImage& picture);
// Runs the print dialog (landscape offered for a picture wider than tall) and prints the
// surface's record. True when printed.
bool print_picture(QWidget* parent, const DrawSurface& surface);

// --- After the dialog: write, and tell the person why it failed (a message box) ----------------
// The format is the one the path's extension names, PNG for any other.
bool save_picture_file(const DrawSurface& surface, const std::string& path,
                       const QString& title);
bool save_text_file(const QString& text, const std::string& path);

// --- Parts: each returns the reason of a failure, or an empty text when the file is written ---
// The picture in the format its name's suffix names (".bmp" BMP, anything else PNG).
std::string write_picture(const QImage& picture, const std::string& path);
// The surface's picture in the format: its pixels, or its record drawn as vectors.
std::string write_surface_picture(const DrawSurface& surface, const std::string& path,
                                  PictureFormat format, const QString& title);
// The text in the local 8-bit encoding.
std::string write_text(const QString& text, const std::string& path);
// The largest rectangle of the picture's proportions inside `page`, centred on it.
QRect fitted_rect(const QSize& picture, const QRect& page);
// Turns the page to landscape for a picture wider than tall (before the print dialog shows it).
void prepare_printer(QPrinter& printer, const DrawSurface& surface);
// Draws the surface's record on the printer's page at the printer's resolution, scaled to fit
// and keeping its proportions.
bool render_picture(QPrinter& printer, const DrawSurface& surface);

} // namespace vorax::gwl

#pragma once
// Saving, copying and printing a window's contents: the frame's "&Save...", "&Copy" and
// "&Print..." commands, and the picture files of "--export".
//
// Each command is a thin dialog step over a part that needs no person (write_picture,
// write_text, render_picture), so that the parts can be tested headless. Files are written by
// write_file (file_writer.h) under names kept as bytes (file_names.h).
//
// Contents: the commands (save_picture_as, save_text_as, copy_picture, print_picture), the save
// steps after the dialog (save_picture_file, save_text_file) and the parts (write_picture,
// write_text, fitted_rect, render_picture).

#include <optional>
#include <string>

class QImage;
class QPrinter;
class QRect;
class QSize;
class QString;
class QWidget;

namespace vorax::gwl {

class DrawSurface;

// The formats a picture file is written in.
enum class PictureFormat { png, bmp };

// --- Commands (they show dialogs) ----------------------------------------------------------------
// Asks for a file name (PNG or BMP) and writes the surface's picture; a failed write is reported
// in a message box. True when a file was written.
bool save_picture_as(QWidget* parent, const DrawSurface& surface);
// Asks for a file name and writes the text. True when a file was written.
bool save_text_as(QWidget* parent, const QString& text);
// Puts the picture on the clipboard.
void copy_picture(const QImage& picture);
// Runs the print dialog and prints the picture scaled to the page. True when printed.
bool print_picture(QWidget* parent, const QImage& picture);

// --- After the dialog: write, and tell the person why it failed (a message box) ----------------
bool save_picture_file(const DrawSurface& surface, const std::string& path);
bool save_text_file(const QString& text, const std::string& path);

// --- Parts: each returns the reason of a failure, or an empty text when the file is written ---
// The picture in `format`, or without one in the format its name's suffix names (".bmp" BMP,
// anything else PNG).
std::string write_picture(const QImage& picture, const std::string& path,
                          std::optional<PictureFormat> format = std::nullopt);
// The text in the local 8-bit encoding.
std::string write_text(const QString& text, const std::string& path);
// The largest rectangle of the picture's proportions inside `page`, centred on it.
QRect fitted_rect(const QSize& picture, const QRect& page);
// Paints the picture on the printer's page, scaled to fit and keeping its proportions.
bool render_picture(QPrinter& printer, const QImage& picture);

} // namespace vorax::gwl

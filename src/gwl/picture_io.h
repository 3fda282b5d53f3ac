#pragma once
// Saving, copying and printing a window's contents: the frame's "&Save...", "&Copy" and
// "&Print..." commands.
//
// Each command is a thin dialog step over a part that needs no person (write_picture,
// write_text, render_picture), so that the parts can be tested headless.
//
// Contents: the commands (save_picture_as, save_text_as, copy_picture, print_picture) and their
// parts (write_picture, write_text, fitted_rect, render_picture).

class QImage;
class QPrinter;
class QRect;
class QSize;
class QString;
class QWidget;

namespace vorax::gwl {

// --- Commands (they show dialogs) ----------------------------------------------------------------
// Asks for a file name (PNG or BMP) and writes the picture; a failed write is reported in a
// message box. True when a file was written.
bool save_picture_as(QWidget* parent, const QImage& picture);
// Asks for a file name and writes the text. True when a file was written.
bool save_text_as(QWidget* parent, const QString& text);
// Puts the picture on the clipboard.
void copy_picture(const QImage& picture);
// Runs the print dialog and prints the picture scaled to the page. True when printed.
bool print_picture(QWidget* parent, const QImage& picture);

// --- Parts ---------------------------------------------------------------------------------
// Writes the picture in the format its suffix names (".bmp" BMP, anything else PNG).
bool write_picture(const QImage& picture, const QString& path);
// Writes the text in the local 8-bit encoding.
bool write_text(const QString& text, const QString& path);
// The largest rectangle of the picture's proportions inside `page`, centred on it.
QRect fitted_rect(const QSize& picture, const QRect& page);
// Paints the picture on the printer's page, scaled to fit and keeping its proportions.
bool render_picture(QPrinter& printer, const QImage& picture);

} // namespace vorax::gwl

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/picture_io.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRectF>

#include "core/text.h"
#include "gwl/platform/file_names.h"
#include "gwl/platform/file_writer.h"
#include "gwl/platform/qt_text.h"
#include "gwl/prompts.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/png_writer.h"
#include "gwl/surface/vector_output.h"

namespace vorax::gwl {

namespace {

// The Save dialog's filters, in the order of kPictureFormats.
const QString kPictureFilters[] = {
    QStringLiteral("PNG image (*.png)"), QStringLiteral("BMP image (*.bmp)"),
    QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("PDF document (*.pdf)")};
const QString kTextFilter = QStringLiteral("Text file (*.txt)");

// Adds the suffix of the chosen filter when the name has none.
QString with_suffix(QString path, const QString& suffix)
{
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return path;
}

// True when written; otherwise the person is told why in a message box.
bool report_outcome(const std::string& path, const std::string& reason)
{
    if (reason.empty())
        return true;
    const std::string text = "The file " + program_text(shown_file_name(path))
                             + " could not be written:\n" + reason;
    prompter().message_box(text, "Save", mb::kOk | mb::kIconWarning);
    return false;
}

// The format a path's extension names; PNG for any other.
PictureFormat format_of_name(std::string_view path)
{
    const std::optional<std::string> extension = file_extension(path);
    return extension ? picture_format_named(*extension).value_or(PictureFormat::png)
                     : PictureFormat::png;
}

std::string write_bytes(const QByteArray& bytes, const std::string& path)
{
    return write_file(path, [&](QIODevice& device) -> std::string {
        return device.write(bytes) == bytes.size() ? std::string()
                                                   : program_text(device.errorString());
    });
}

std::string write_pixels(const QImage& picture, const std::string& path, PictureFormat format)
{
    if (format == PictureFormat::png && picture.format() == QImage::Format_RGB32) {
        const QByteArray file = png_encoding(picture);
        if (file.isEmpty())
            return "not enough memory to compress the picture";
        return write_bytes(file, path);
    }
    return write_file(path, [&](QIODevice& device) -> std::string {
        QImageWriter writer(&device, format == PictureFormat::bmp ? "BMP" : "PNG");
        return writer.write(picture) ? std::string() : program_text(writer.errorString());
    });
}

} // namespace

const char* picture_format_name(PictureFormat format)
{
    switch (format) {
    case PictureFormat::png: return "png";
    case PictureFormat::bmp: return "bmp";
    case PictureFormat::svg: return "svg";
    case PictureFormat::pdf: return "pdf";
    }
    return "png";
}

std::optional<PictureFormat> picture_format_named(std::string_view name)
{
    for (const PictureFormat format : kPictureFormats)
        if (equals_ignore_case(name, picture_format_name(format)))
            return format;
    return std::nullopt;
}

std::optional<std::string> file_extension(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = base.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::nullopt;
    return std::string(base.substr(dot + 1));
}

std::string write_picture(const QImage& picture, const std::string& path)
{
    return write_pixels(picture, path,
                        format_of_name(path) == PictureFormat::bmp ? PictureFormat::bmp
                                                                   : PictureFormat::png);
}

std::string write_surface_picture(const DrawSurface& surface, const std::string& path,
                                  PictureFormat format, const QString& title)
{
    std::string reason;
    if (!drawn_from_record(format)) {
        // Written from the surface itself: a copy of a large drawing area could not be afforded.
        surface.read_image([&](const QImage& picture) { reason = write_pixels(picture, path, format); });
        return reason;
    }
    const QSize area(surface.width(), surface.height());
    std::string document;
    surface.read_record([&](const DrawRecord& record) {
        document = format == PictureFormat::svg ? svg_document(record, area, title)
                                                : pdf_document(record, area, title);
    });
    if (document.empty())
        return "the picture could not be drawn";
    // Written as it is, without a copy of megabytes.
    return write_bytes(QByteArray::fromRawData(document.data(), static_cast<qsizetype>(document.size())), path);
}

std::string write_text(const QString& text, const std::string& path)
{
    return write_bytes(text.toLocal8Bit(), path);
}

bool save_picture_file(const DrawSurface& surface, const std::string& path, const QString& title)
{
    return report_outcome(path, write_surface_picture(surface, path, format_of_name(path), title));
}

bool save_text_file(const QString& text, const std::string& path)
{
    return report_outcome(path, write_text(text, path));
}

QRect fitted_rect(const QSize& picture, const QRect& page)
{
    if (picture.isEmpty() || page.isEmpty())
        return {};
    const QSize size = picture.scaled(page.size(), Qt::KeepAspectRatio);
    return {page.x() + (page.width() - size.width()) / 2,
            page.y() + (page.height() - size.height()) / 2, size.width(), size.height()};
}

void prepare_printer(QPrinter& printer, const DrawSurface& surface)
{
    printer.setPageOrientation(surface.width() > surface.height() ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
}

bool render_picture(QPrinter& printer, const DrawSurface& surface)
{
    const QSize area(surface.width(), surface.height());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect target = fitted_rect(area, painter.viewport());
    // Lines that run off the drawing area stop at its edge, as on the surface.
    painter.setClipRect(target);
    surface.read_record([&](const DrawRecord& record) { replay(record, painter, area, target); });
    return painter.end();
}

std::string proposed_picture_name(const std::string& model_path, int number, const std::string& folder)
{
    const std::filesystem::path model(model_path);
    const std::string stem = model_path.empty() ? std::string() : model.stem().string() + "-";
    const std::string name = stem + "graph" + std::to_string(number) + ".png";
    const std::filesystem::path place = folder.empty() ? model.parent_path() : std::filesystem::path(folder);
    return place.empty() ? name : (place / name).string();
}

bool save_picture_as(QWidget* parent, const DrawSurface& surface, const QString& title,
                     const std::string& proposed, std::string* chosen_path)
{
    QString filters;
    for (const QString& filter : kPictureFilters)
        filters += (filters.isEmpty() ? QString() : QStringLiteral(";;")) + filter;
    QString chosen = kPictureFilters[0];
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save"),
                                                shown_file_name(proposed), filters, &chosen);
    if (path.isEmpty())
        return false;
    if (chosen_path)
        *chosen_path = file_name_bytes(path);
    // A typed extension of a known format decides; any other name gets the chosen filter's.
    const std::string typed = file_name_bytes(path);
    const std::optional<std::string> extension = file_extension(typed);
    if (!extension || !picture_format_named(*extension)) {
        const auto index = std::find(std::begin(kPictureFilters), std::end(kPictureFilters), chosen)
                           - std::begin(kPictureFilters);
        const PictureFormat format =
            kPictureFormats[index < std::ssize(kPictureFilters) ? index : 0];
        path += QLatin1Char('.') + QLatin1String(picture_format_name(format));
    }
    return save_picture_file(surface, file_name_bytes(path), title);
}

bool save_text_as(QWidget* parent, const QString& text)
{
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save"), QString(), kTextFilter);
    if (path.isEmpty())
        return false;
    return save_text_file(text, file_name_bytes(with_suffix(path, QStringLiteral("txt"))));
}

void copy_picture(const QImage& picture)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(picture);
}

bool print_picture(QWidget* parent, const DrawSurface& surface)
{
    QPrinter printer(QPrinter::HighResolution);
    prepare_printer(printer, surface);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return render_picture(printer, surface);
}

} // namespace vorax::gwl

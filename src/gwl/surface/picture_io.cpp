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

#include "core/text.h"
#include "gwl/platform/file_names.h"
#include "gwl/platform/file_writer.h"
#include "gwl/platform/qt_text.h"
#include "gwl/prompts.h"
#include "gwl/surface/draw_surface.h"

namespace vorax::gwl {

namespace {

const QString kPngFilter = QStringLiteral("PNG image (*.png)");
const QString kBmpFilter = QStringLiteral("BMP image (*.bmp)");
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

bool is_bmp_name(const std::string& path)
{
    const std::string_view name = path;
    const std::size_t slash = name.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    return base.size() >= 4 && equals_ignore_case(base.substr(base.size() - 4), ".bmp");
}

} // namespace

std::string write_picture(const QImage& picture, const std::string& path,
                          std::optional<PictureFormat> format)
{
    if (!format)
        format = is_bmp_name(path) ? PictureFormat::bmp : PictureFormat::png;
    return write_file(path, [&](QIODevice& device) -> std::string {
        QImageWriter writer(&device, *format == PictureFormat::bmp ? "BMP" : "PNG");
        return writer.write(picture) ? std::string() : program_text(writer.errorString());
    });
}

std::string write_text(const QString& text, const std::string& path)
{
    const QByteArray bytes = text.toLocal8Bit();
    return write_file(path, [&](QIODevice& device) -> std::string {
        return device.write(bytes) == bytes.size() ? std::string()
                                                   : program_text(device.errorString());
    });
}

bool save_picture_file(const DrawSurface& surface, const std::string& path)
{
    std::string reason;
    // Written from the surface itself: a copy of a large drawing area could not be afforded.
    surface.read_image([&](const QImage& picture) { reason = write_picture(picture, path); });
    return report_outcome(path, reason);
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

bool render_picture(QPrinter& printer, const QImage& picture)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.drawImage(fitted_rect(picture.size(), painter.viewport()), picture);
    return painter.end();
}

bool save_picture_as(QWidget* parent, const DrawSurface& surface)
{
    QString filter = kPngFilter;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save"), QString(),
                                                kPngFilter + QStringLiteral(";;") + kBmpFilter,
                                                &filter);
    if (path.isEmpty())
        return false;
    path = with_suffix(path, filter == kBmpFilter ? QStringLiteral("bmp") : QStringLiteral("png"));
    return save_picture_file(surface, file_name_bytes(path));
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

bool print_picture(QWidget* parent, const QImage& picture)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return render_picture(printer, picture);
}

} // namespace vorax::gwl

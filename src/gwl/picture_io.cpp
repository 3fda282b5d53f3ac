#include "gwl/picture_io.h"

#include <algorithm>

#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

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

void report_write_failure(QWidget* parent, const QString& path)
{
    QMessageBox::warning(parent, QStringLiteral("Save"),
                         QStringLiteral("The file %1 could not be written.")
                             .arg(QDir::toNativeSeparators(path)));
}

} // namespace

bool write_picture(const QImage& picture, const QString& path)
{
    const bool bmp = QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0;
    return picture.save(path, bmp ? "BMP" : "PNG");
}

bool write_text(const QString& text, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = text.toLocal8Bit();
    return file.write(bytes) == bytes.size() && file.flush();
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

bool save_picture_as(QWidget* parent, const QImage& picture)
{
    QString filter = kPngFilter;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save"), QString(),
                                                kPngFilter + QStringLiteral(";;") + kBmpFilter,
                                                &filter);
    if (path.isEmpty())
        return false;
    path = with_suffix(path, filter == kBmpFilter ? QStringLiteral("bmp") : QStringLiteral("png"));
    if (write_picture(picture, path))
        return true;
    report_write_failure(parent, path);
    return false;
}

bool save_text_as(QWidget* parent, const QString& text)
{
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save"), QString(), kTextFilter);
    if (path.isEmpty())
        return false;
    path = with_suffix(path, QStringLiteral("txt"));
    if (write_text(text, path))
        return true;
    report_write_failure(parent, path);
    return false;
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

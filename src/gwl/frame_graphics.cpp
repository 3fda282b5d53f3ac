// The frame's commands that act on the picture or the text of the active child window.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextStream>

#include "gwl/frame.h"
#include "gwl/text_window.h"

namespace vorax::gwl {

QWidget* Frame::create_graphics_widget(const std::string&)
{
    return nullptr; // graphics windows come with the drawing surface
}

GraphicsWindow* Frame::graphics_window(Unit) const { return nullptr; }

void Frame::save_active()
{
    auto* text = qobject_cast<TextWindow*>(active_child_widget());
    if (text == nullptr)
        return;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save"), {},
                                                      QStringLiteral("Text Files (*.txt)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text))
        QTextStream(&file) << text->toPlainText() << '\n';
}

void Frame::copy_active()
{
    if (auto* text = qobject_cast<TextWindow*>(active_child_widget()))
        text->copy();
}

void Frame::print_active() {}

void Frame::toggle_size_to_fit() {}

} // namespace vorax::gwl

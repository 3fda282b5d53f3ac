// The frame's commands that act on the picture or the text of the active child window.

#include <QMdiArea>
#include <QMdiSubWindow>

#include "gwl/draw_surface.h"
#include "gwl/frame.h"
#include "gwl/graphics_window.h"
#include "gwl/picture_io.h"
#include "gwl/text_window.h"

namespace vorax::gwl {

GraphicsWindow* Frame::graphics_window(Unit unit) const
{
    const UnitWindow* u = find_unit(unit);
    return u != nullptr && u->kind == WindowKind::Graphics
               ? static_cast<GraphicsWindow*>(u->widget.data())
               : nullptr;
}

DrawSurface* Frame::surface(Unit unit) const
{
    auto it = units_.find(unit);
    return it != units_.end() ? it->second.surface.get() : nullptr;
}

void Frame::save_active()
{
    QWidget* child = active_child_widget();
    if (auto* graphics = qobject_cast<GraphicsWindow*>(child))
        save_picture_as(this, graphics->surface());
    else if (auto* text = qobject_cast<TextWindow*>(child))
        save_text_as(this, text->toPlainText());
}

void Frame::copy_active()
{
    QWidget* child = active_child_widget();
    if (auto* graphics = qobject_cast<GraphicsWindow*>(child))
        copy_picture(graphics->surface().image_copy());
    else if (auto* text = qobject_cast<TextWindow*>(child))
        text->copy();
}

void Frame::print_active()
{
    if (auto* graphics = qobject_cast<GraphicsWindow*>(active_child_widget()))
        print_picture(this, graphics->surface().image_copy());
}

void Frame::toggle_size_to_fit()
{
    auto* graphics = qobject_cast<GraphicsWindow*>(active_child_widget());
    if (graphics == nullptr) {
        size_to_fit_action_->setChecked(false);
        return;
    }
    graphics->set_size_to_fit(!graphics->size_to_fit());
    size_to_fit_action_->setChecked(graphics->size_to_fit());
}

} // namespace vorax::gwl

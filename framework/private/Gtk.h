#pragma once
// What the GTK files of the framework share: the toolkit's functions, loaded
// at first use, and the placement of widgets at their controls' bounds.
// The program never links the toolkit: a sender run must start like an empty
// program, and loading GTK with its libraries takes many times longer.

// Type checks of the toolkit's cast macros would call into the library that
// is not linked; the framework knows what it casts.
#define G_DISABLE_CAST_CHECKS
// Message boxes take an image, a function the toolkit calls deprecated.
#define GDK_DISABLE_DEPRECATION_WARNINGS
#include <gtk/gtk.h>

#include <string>

#include "Controls.h"
#include "ExtCtrls.h"
#include "Utf8.h"

#define DN_GTK_FUNCTIONS(X)                                                                                          \
    X(atk_object_set_name)                                                                                           \
    X(cairo_clip)                                                                                                    \
    X(cairo_line_to)                                                                                                 \
    X(cairo_move_to)                                                                                                 \
    X(cairo_rectangle)                                                                                               \
    X(cairo_restore)                                                                                                 \
    X(cairo_save)                                                                                                    \
    X(cairo_set_line_width)                                                                                          \
    X(cairo_set_source_rgba)                                                                                         \
    X(cairo_stroke)                                                                                                  \
    X(g_list_free)                                                                                                   \
    X(g_object_get_data)                                                                                             \
    X(g_object_new)                                                                                                  \
    X(g_object_set_data)                                                                                             \
    X(g_set_prgname)                                                                                                 \
    X(g_signal_connect_data)                                                                                         \
    X(g_signal_connect_object)                                                                                       \
    X(g_source_attach)                                                                                               \
    X(g_source_destroy)                                                                                              \
    X(g_source_set_callback)                                                                                         \
    X(g_source_set_can_recurse)                                                                                      \
    X(g_source_unref)                                                                                                \
    X(g_timeout_source_new)                                                                                          \
    X(g_type_query)                                                                                                  \
    X(g_type_register_static_simple)                                                                                 \
    X(gdk_device_get_position)                                                                                       \
    X(gdk_display_get_default_seat)                                                                                  \
    X(gdk_display_get_monitor_at_point)                                                                              \
    X(gdk_display_get_monitor_at_window)                                                                             \
    X(gdk_monitor_get_geometry)                                                                                      \
    X(gdk_monitor_get_workarea)                                                                                      \
    X(gdk_screen_get_default)                                                                                        \
    X(gdk_screen_get_resolution)                                                                                     \
    X(gdk_seat_get_pointer)                                                                                          \
    X(gdk_set_allowed_backends)                                                                                      \
    X(gdk_window_get_display)                                                                                        \
    X(gdk_window_get_frame_extents)                                                                                  \
    X(gdk_window_get_height)                                                                                         \
    X(gdk_window_get_width)                                                                                          \
    X(gdk_window_get_state)                                                                                          \
    X(gdk_window_set_decorations)                                                                                    \
    X(gdk_window_set_functions)                                                                                      \
    X(gtk_container_add)                                                                                             \
    X(gtk_container_child_get)                                                                                       \
    X(gtk_container_get_children)                                                                                    \
    X(gtk_container_propagate_draw)                                                                                  \
    X(gtk_dialog_response)                                                                                           \
    X(gtk_dialog_run)                                                                                                \
    X(gtk_disable_setlocale)                                                                                         \
    X(gtk_fixed_get_type)                                                                                            \
    X(gtk_fixed_move)                                                                                                \
    X(gtk_fixed_put)                                                                                                 \
    X(gtk_image_new_from_icon_name)                                                                                  \
    X(gtk_init_check)                                                                                                \
    X(gtk_label_new)                                                                                                 \
    X(gtk_label_set_attributes)                                                                                      \
    X(gtk_label_set_justify)                                                                                         \
    X(gtk_label_set_line_wrap)                                                                                       \
    X(gtk_label_set_line_wrap_mode)                                                                                  \
    X(gtk_label_set_text_with_mnemonic)                                                                              \
    X(gtk_label_set_xalign)                                                                                          \
    X(gtk_label_set_yalign)                                                                                          \
    X(gtk_main)                                                                                                      \
    X(gtk_main_level)                                                                                                \
    X(gtk_main_quit)                                                                                                 \
    X(gtk_message_dialog_new)                                                                                        \
    X(gtk_message_dialog_set_image)                                                                                  \
    X(gtk_progress_bar_new)                                                                                          \
    X(gtk_progress_bar_set_fraction)                                                                                 \
    X(gtk_widget_class_set_accessible_role)                                                                          \
    X(gtk_widget_destroy)                                                                                            \
    X(gtk_widget_get_accessible)                                                                                     \
    X(gtk_widget_get_allocation)                                                                                     \
    X(gtk_widget_get_mapped)                                                                                         \
    X(gtk_widget_get_parent)                                                                                         \
    X(gtk_widget_get_preferred_size)                                                                                 \
    X(gtk_widget_get_size_request)                                                                                   \
    X(gtk_widget_get_visible)                                                                                        \
    X(gtk_widget_get_window)                                                                                         \
    X(gtk_widget_hide)                                                                                               \
    X(gtk_widget_set_allocation)                                                                                     \
    X(gtk_widget_set_direction)                                                                                      \
    X(gtk_widget_set_size_request)                                                                                   \
    X(gtk_widget_show)                                                                                               \
    X(gtk_widget_size_allocate)                                                                                      \
    X(gtk_window_deiconify)                                                                                          \
    X(gtk_window_get_skip_pager_hint)                                                                                \
    X(gtk_window_get_skip_taskbar_hint)                                                                              \
    X(gtk_window_move)                                                                                               \
    X(gtk_window_new)                                                                                                \
    X(gtk_window_set_accept_focus)                                                                                   \
    X(gtk_window_set_deletable)                                                                                      \
    X(gtk_window_set_focus_on_map)                                                                                   \
    X(gtk_window_set_keep_above)                                                                                     \
    X(gtk_window_set_position)                                                                                       \
    X(gtk_window_set_resizable)                                                                                      \
    X(gtk_window_set_skip_pager_hint)                                                                                \
    X(gtk_window_set_skip_taskbar_hint)                                                                              \
    X(gtk_window_set_title)                                                                                          \
    X(pango_attr_font_desc_new)                                                                                      \
    X(pango_attr_line_height_new_absolute)                                                                           \
    X(pango_attr_list_insert)                                                                                        \
    X(pango_attr_list_new)                                                                                           \
    X(pango_attr_list_unref)                                                                                         \
    X(pango_font_description_free)                                                                                   \
    X(pango_font_description_new)                                                                                    \
    X(pango_font_description_set_absolute_size)                                                                      \
    X(pango_font_description_set_family)                                                                             \
    X(pango_font_description_set_weight)

namespace Gtk {

struct TLibrary {
#define DN_GTK_POINTER(name) decltype(&::name) name;
    DN_GTK_FUNCTIONS(DN_GTK_POINTER)
#undef DN_GTK_POINTER
};

// The toolkit's functions; loads the library on first use and raises
// Exception when it cannot be loaded.
const TLibrary& Library();

// Connects to the display once (X11, also under Wayland through XWayland);
// raises Exception when there is no display.
void Start();

// The screen's scale in dots per inch for windows about to be created.
int ScreenDpi();

// 96-dpi pixels to the toolkit's pixels.
inline int Scale(int pixels, int dpi)
{
    return (pixels * dpi + 48) / 96;
}

// A caption in the toolkit's mnemonic form, as UTF-8: "&" before a character
// underlines it ("_"), "&&" is one "&", a literal "_" is doubled (an "&"
// before it is dropped: the toolkit cannot underline an underscore), and a
// lone "&" at the end draws nothing.
std::string MnemonicText(const AnsiString& caption);

// A container that gives each child its bounds and cuts it off there,
// drawing the bevel.
GtkWidget* NewPlacement(TBevelCut bevel);
// The placement that holds a window's children.
void SetClientArea(GtkWidget* window, GtkWidget* placement);
GtkWidget* ContainerOf(void* handle);

// Size request from the control's bounds, at the given scale.
void SizeToBounds(TControl& control, GtkWidget* widget, int dpi);
// Puts a control's new widget into its parent's placement, at its bounds.
void PutIntoParent(TWinControl& control, GtkWidget* widget, int dpi);
// Moves a control's widget to its bounds.
void PlaceWidget(TControl& control, GtkWidget* widget, int dpi);

} // namespace Gtk

#include <gtk/gtk.h>

#include "FormView.h"
#include "WaitUntil.h"

namespace {

GtkWidget* Widget(TWinControl& control)
{
    return static_cast<GtkWidget*>(control.Handle());
}

void CountWrite(int* count)
{
    ++*count;
}

} // namespace

void PumpEvents()
{
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

TFormSeen ReadForm(TForm& form)
{
    GtkWidget* widget = Widget(form);
    // A shown window is read once it is mapped and laid out.
    if (gtk_widget_get_visible(widget))
        WaitUntil([&] {
            PumpEvents();
            return gtk_widget_get_mapped(widget) && gtk_widget_get_allocated_width(widget) > 1;
        });
    auto* window = GTK_WINDOW(widget);
    GdkWMDecoration decorations{};
    const bool decorated = gtk_widget_get_window(widget) != nullptr &&
                           gdk_window_get_decorations(gtk_widget_get_window(widget), &decorations);
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    gtk_window_get_position(window, &x, &y);
    gtk_window_get_size(window, &width, &height);
    GdkRectangle screen{};
    gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &screen);
    // The frame is the window manager's; without one the window's own.
    return {gtk_widget_get_mapped(widget) != FALSE,
            gtk_window_get_title(window) != nullptr ? gtk_window_get_title(window) : "",
            gtk_window_get_deletable(window) || !decorated || decorations != (GDK_DECOR_BORDER | GDK_DECOR_TITLE),
            gtk_window_get_resizable(window) != FALSE,
            std::abs(x + width / 2 - screen.width / 2) <= 1 && std::abs(y + height / 2 - screen.height / 2) <= 1,
            gtk_widget_get_allocated_width(widget),
            gtk_widget_get_allocated_height(widget)};
}

TBounds BoundsOnForm(TWinControl& control)
{
    PumpEvents();
    GtkWidget* widget = Widget(control);
    TBounds bounds{0, 0, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)};
    gtk_widget_translate_coordinates(widget, gtk_widget_get_toplevel(widget), 0, 0, &bounds.Left, &bounds.Top);
    return bounds;
}

std::string ShownText(TLabel& label)
{
    return gtk_label_get_text(GTK_LABEL(Widget(label)));
}

TTextLayout LayOut(TLabel& label, const std::string& text, int width)
{
    // A copy of the label's own layout: its font, its attributes, its wrapping.
    PangoLayout* layout = pango_layout_copy(gtk_label_get_layout(GTK_LABEL(Widget(label))));
    pango_layout_set_text(layout, text.c_str(), -1);
    pango_layout_set_width(layout, width * PANGO_SCALE);
    TTextLayout laidOut{pango_layout_get_line_count(layout)};
    pango_layout_get_pixel_size(layout, &laidOut.Width, &laidOut.Height);
    g_object_unref(layout);
    return laidOut;
}

int BarPercent(TProgressBar& bar)
{
    return static_cast<int>(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(Widget(bar))) * 100 + 0.5);
}

void AskToClose(TForm& form)
{
    gtk_window_close(GTK_WINDOW(Widget(form)));
}

TTextWrites::TTextWrites(TLabel& label) : FWindow(Widget(label))
{
    g_signal_connect_swapped(FWindow, "notify::label", G_CALLBACK(CountWrite), &FCount);
}

TTextWrites::~TTextWrites()
{
    g_signal_handlers_disconnect_by_data(FWindow, &FCount);
}

/* The baseline of the window's start-up: a minimal GTK window with the same
   widgets (a fixed dialog of 368 by 195 pixels, two wrapped labels and a
   progress bar), linked to GTK the ordinary way. It ends on SIGTERM. */
#include <gtk/gtk.h>

int main(int argc, char** argv)
{
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Minimal window");
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, 368, 195);
    const char* texts[] = {"Checking which software is to be installed...",
                           "Please wait. This window closes\nwhen the deployment has finished."};
    for (int i = 0; i < 2; ++i) {
        GtkWidget* label = gtk_label_new(texts[i]);
        gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
        gtk_widget_set_size_request(label, 265, 35);
        gtk_fixed_put(GTK_FIXED(fixed), label, 50, 32 + 48 * i);
    }
    GtkWidget* bar = gtk_progress_bar_new();
    gtk_widget_set_size_request(bar, 337, 16);
    gtk_fixed_put(GTK_FIXED(fixed), bar, 17, 161);
    gtk_container_add(GTK_CONTAINER(window), fixed);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}

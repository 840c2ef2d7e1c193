// The windowing layer's controls as GTK widgets, in this process, on the
// test display.
#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "UtilsKx.h"

namespace {

using namespace std::chrono_literals;

class TTestForm : public TForm {
public:
    using TForm::TForm;
};

GtkWidget* Widget(TWinControl& control)
{
    return static_cast<GtkWidget*>(control.Handle());
}

int Scaled(const TForm& form, int pixels)
{
    return (pixels * form.PixelsPerInch() + 48) / 96;
}

void Pump()
{
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

// Waits until the window is on screen and laid out.
bool Shown(TForm& form)
{
    return WaitUntil([&] {
        Pump();
        GtkWidget* window = Widget(form);
        return gtk_widget_get_mapped(window) && gtk_widget_get_allocated_width(window) > 1;
    });
}

// Where a widget lies in its top-level window.
GdkRectangle InWindow(GtkWidget* widget)
{
    GdkRectangle rect{0, 0, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)};
    gtk_widget_translate_coordinates(widget, gtk_widget_get_toplevel(widget), 0, 0, &rect.x, &rect.y);
    return rect;
}

TEST(GtkForms, DialogWithoutButtonsAndControlsAtTheirScaledBounds)
{
    TTestForm form(nullptr);
    form.BorderStyle = TBorderStyle::bsDialog;
    form.SystemMenu = false;
    form.Position = TPosition::poScreenCenter;
    form.SetClientSize(368, 195);
    form.SetCaption("Caption \xFC");
    auto* panel = new TPanel(&form);
    panel->BevelOuter = TBevelCut::bvLowered;
    panel->SetParent(&form);
    panel->SetAlign(TAlign::alClient);
    auto* label = new TLabel(&form);
    label->SetBounds(50, 32, 265, 35);
    label->SetParent(panel);
    auto* bar = new TProgressBar(&form);
    bar->SetBounds(16, 150, 337, 16);
    bar->SetParent(panel);
    bar->SetPosition(30);
    form.Show();
    ASSERT_TRUE(Shown(form));

    auto* window = GTK_WINDOW(Widget(form));
    EXPECT_STREQ(gtk_window_get_title(window), "Caption \xC3\xBC");
    EXPECT_EQ(gtk_window_get_type_hint(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    EXPECT_FALSE(gtk_window_get_resizable(window));
    EXPECT_FALSE(gtk_window_get_deletable(window));
    GdkWMDecoration decorations{};
    ASSERT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(Widget(form)), &decorations));
    EXPECT_EQ(decorations, GDK_DECOR_BORDER | GDK_DECOR_TITLE);

    EXPECT_EQ(gtk_widget_get_allocated_width(Widget(form)), Scaled(form, 368));
    EXPECT_EQ(gtk_widget_get_allocated_height(Widget(form)), Scaled(form, 195));
    const GdkRectangle labelRect = InWindow(Widget(*label));
    EXPECT_EQ(labelRect.x, Scaled(form, 50));
    EXPECT_EQ(labelRect.y, Scaled(form, 32));
    EXPECT_EQ(labelRect.width, Scaled(form, 265));
    EXPECT_EQ(labelRect.height, Scaled(form, 35));
    EXPECT_DOUBLE_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(Widget(*bar))), 0.3);
    bar->SetPosition(150);
    EXPECT_DOUBLE_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(Widget(*bar))), 1.0);

    // A text far longer than the box is cut off there: neither the label nor
    // the window grows.
    AnsiString text;
    for (int i = 0; i < 40; ++i)
        text += "word\r\n";
    label->SetCaption(text);
    WaitUntil([] { Pump(); return false; }, 200ms);
    EXPECT_EQ(InWindow(Widget(*label)).height, Scaled(form, 35));
    EXPECT_EQ(gtk_widget_get_allocated_height(Widget(form)), Scaled(form, 195));

    // Moving a control moves its widget.
    label->SetBounds(20, 80, 100, 20);
    WaitUntil([] { Pump(); return false; }, 200ms);
    EXPECT_EQ(InWindow(Widget(*label)).y, Scaled(form, 80));
    EXPECT_EQ(InWindow(Widget(*label)).width, Scaled(form, 100));
}

TEST(GtkForms, LabelTextsInMnemonicFormReachTheWidgetOnlyWhenTheyChange)
{
    TTestForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* label = new TLabel(&form);
    label->SetBounds(10, 10, 180, 35);
    label->SetParent(&form);
    const struct {
        const char* Caption;
        const char* Markup;
        const char* Shown;
    } cases[] = {
        {"a&b&&c_d", "a_b&c__d", "ab&c_d"},
        {"&&&x", "&_x", "&x"},
        {"end&", "end", "end"},
        {"x&_y", "x__y", "x_y"},
        {"B\xFCro \x80 100%", "B\xC3\xBCro \xE2\x82\xAC 100%", "B\xC3\xBCro \xE2\x82\xAC 100%"},
        {"<b>not markup</b>", "<b>not markup</b>", "<b>not markup</b>"},
    };
    for (const auto& item : cases) {
        label->SetCaption(item.Caption);
        EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(Widget(*label))), item.Markup) << item.Caption;
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(Widget(*label))), item.Shown) << item.Caption;
    }

    int writes = 0;
    g_signal_connect_swapped(Widget(*label), "notify::label", G_CALLBACK(+[](int* count) { ++*count; }), &writes);
    label->SetCaption("<b>not markup</b>");
    EXPECT_EQ(writes, 0);
    label->SetCaption("second");
    label->SetCaption("second");
    EXPECT_EQ(writes, 1);
}

TEST(GtkForms, FormsTakeTheApplicationWindowsTaskbarHint)
{
    TTestForm before(nullptr);
    EXPECT_FALSE(gtk_window_get_skip_taskbar_hint(GTK_WINDOW(Widget(before))));
    NUtilsKx::RemoveWindowTaskbar(Application->Handle());
    EXPECT_TRUE(gtk_window_get_skip_taskbar_hint(GTK_WINDOW(Application->Handle())));
    EXPECT_FALSE(gtk_widget_get_visible(static_cast<GtkWidget*>(Application->Handle())))
        << "the application's own window is never shown";
    TTestForm after(nullptr);
    EXPECT_TRUE(gtk_window_get_skip_taskbar_hint(GTK_WINDOW(Widget(after))));
    EXPECT_TRUE(gtk_window_get_skip_pager_hint(GTK_WINDOW(Widget(after))));
    EXPECT_NO_THROW(NUtilsKx::RemoveWindowTaskbar(nullptr));
}

int VisibleBoxes()
{
    int count = 0;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next)
        if (GTK_IS_MESSAGE_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data)))
            ++count;
    g_list_free(windows);
    return count;
}

// A tick that fails opens the error box and does not return until it is
// closed; the timer goes on ticking meanwhile, later failures open no second
// box, and Terminate closes the box and ends the loop.
TEST(GtkApplication, TicksGoOnUnderAnOpenErrorBoxAndTerminateEndsBoth)
{
    TTestForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientSize(100, 50);
    Application->Title = "deployNotice";
    auto* timer = new TTimer(form);
    timer->SetInterval(20);
    int ticks = 0;
    int mostBoxes = 0;
    AnsiString boxText;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        mostBoxes = std::max(mostBoxes, VisibleBoxes());
        if (ticks == 5 && VisibleBoxes() == 1) {
            GList* windows = gtk_window_list_toplevels();
            for (GList* item = windows; item != nullptr; item = item->next)
                if (GTK_IS_MESSAGE_DIALOG(item->data)) {
                    gchar* text = nullptr;
                    g_object_get(item->data, "text", &text, nullptr);
                    boxText = text;
                    g_free(text);
                    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(item->data)), "deployNotice");
                }
            g_list_free(windows);
        }
        if (ticks == 1 || ticks == 3)
            throw EStringListError(Format("Der Index der Liste \xFC" "berschreitet das Maximum (%d)", ticks));
        if (ticks == 10)
            Application->Terminate();
    };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(mostBoxes, 1);
    EXPECT_EQ(boxText, "Der Index der Liste \xC3\xBC" "berschreitet das Maximum (1)");
    Pump();
    EXPECT_EQ(VisibleBoxes(), 0);
    EXPECT_TRUE(form->HandleAllocated()) << "the form lives until the framework shuts down";
    Application->Shutdown();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(GtkApplication, CloseRequestOfTheMainFormEndsTheLoop)
{
    TTestForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientSize(100, 50);
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    timer->OnTimer = [form](TObject*) { gtk_window_close(GTK_WINDOW(form->Handle())); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(form->HandleAllocated());
    Application->Shutdown();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

} // namespace

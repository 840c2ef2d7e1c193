// What only the GTK forms have, in this process, on the test display (the
// shared cases are in tests/ui/Forms_test.cpp).
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

void Pump()
{
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

// The toolkit's own form of a label's text: "&" marks become its
// mnemonics, its own "_" doubled.
TEST(GtkForms, LabelTextsTakeTheToolkitsMnemonicForm)
{
    TTestForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    const struct {
        const char* Caption;
        const char* Markup;
    } cases[] = {
        {"a&b&&c_d", "a_b&c__d"}, {"&&&x", "&_x"}, {"end&", "end"}, {"x&_y", "x__y"},
        {"<b>not markup</b>", "<b>not markup</b>"},
    };
    for (const auto& item : cases) {
        label->SetCaption(item.Caption);
        EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(Widget(*label))), item.Markup) << item.Caption;
    }
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

} // namespace

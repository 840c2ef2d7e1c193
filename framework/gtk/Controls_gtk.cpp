// GTK widgets of the framework's controls: panels and the form's client area
// are placements (a fixed container that gives each child exactly its
// bounds and clips it there), labels are GtkLabels, the bar is the standard
// GtkProgressBar.
#include "ComCtrls.h"
#include "Consts.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "Utf8.h"
#include "SysUtils.h"
#include "Gtk.h"

namespace Gtk {

namespace {

const char BevelKey[] = "dn-bevel";
const char ClientKey[] = "dn-client";

// A placement asks for nothing of its own: its size is the size request
// that its control's bounds set.
void NoSize(GtkWidget*, gint* minimum, gint* natural)
{
    *minimum = 0;
    *natural = 0;
}

// Each child gets its bounds (its size request at its place), whatever it
// would like: a label's text does not make its box grow.
void AllocateChildren(GtkWidget* widget, GtkAllocation* allocation)
{
    const TLibrary& gtk = Library();
    gtk.gtk_widget_set_allocation(widget, allocation);
    GList* children = gtk.gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item != nullptr; item = item->next) {
        auto* child = static_cast<GtkWidget*>(item->data);
        if (!gtk.gtk_widget_get_visible(child))
            continue;
        gint x = 0;
        gint y = 0;
        gtk.gtk_container_child_get(GTK_CONTAINER(widget), child, "x", &x, "y", &y, nullptr);
        GtkAllocation bounds{allocation->x + x, allocation->y + y, 0, 0};
        gtk.gtk_widget_get_size_request(child, &bounds.width, &bounds.height);
        // The toolkit wants every size asked before one is given.
        GtkRequisition ignored;
        gtk.gtk_widget_get_preferred_size(child, &ignored, nullptr);
        gtk.gtk_widget_size_allocate(child, &bounds);
    }
    gtk.g_list_free(children);
}

void DrawBevel(GtkWidget* widget, cairo_t* cr)
{
    const TLibrary& gtk = Library();
    const auto bevel = static_cast<TBevelCut>(GPOINTER_TO_INT(gtk.g_object_get_data(G_OBJECT(widget), BevelKey)));
    if (bevel == TBevelCut::bvNone)
        return;
    GtkAllocation area;
    gtk.gtk_widget_get_allocation(widget, &area);
    // Light from the top left: a raised bevel is light there and dark at the
    // bottom right, a lowered one the other way round.
    const double topLeft = bevel == TBevelCut::bvRaised ? 1.0 : 0.0;
    const double w = area.width;
    const double h = area.height;
    gtk.cairo_set_line_width(cr, 1.0);
    gtk.cairo_set_source_rgba(cr, topLeft, topLeft, topLeft, 0.6);
    gtk.cairo_move_to(cr, 0.5, h - 0.5);
    gtk.cairo_line_to(cr, 0.5, 0.5);
    gtk.cairo_line_to(cr, w - 0.5, 0.5);
    gtk.cairo_stroke(cr);
    gtk.cairo_set_source_rgba(cr, 1.0 - topLeft, 1.0 - topLeft, 1.0 - topLeft, 0.6);
    gtk.cairo_move_to(cr, w - 0.5, 0.5);
    gtk.cairo_line_to(cr, w - 0.5, h - 0.5);
    gtk.cairo_line_to(cr, 0.5, h - 0.5);
    gtk.cairo_stroke(cr);
}

gboolean DrawPlacement(GtkWidget* widget, cairo_t* cr)
{
    const TLibrary& gtk = Library();
    GtkAllocation own;
    gtk.gtk_widget_get_allocation(widget, &own);
    GList* children = gtk.gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item != nullptr; item = item->next) {
        auto* child = static_cast<GtkWidget*>(item->data);
        GtkAllocation bounds;
        gtk.gtk_widget_get_allocation(child, &bounds);
        // What does not fit into a child's box is cut off at its edges.
        gtk.cairo_save(cr);
        gtk.cairo_rectangle(cr, bounds.x - own.x, bounds.y - own.y, bounds.width, bounds.height);
        gtk.cairo_clip(cr);
        gtk.gtk_container_propagate_draw(GTK_CONTAINER(widget), child, cr);
        gtk.cairo_restore(cr);
    }
    gtk.g_list_free(children);
    DrawBevel(widget, cr);
    return FALSE;
}

void InitPlacementClass(gpointer klass, gpointer)
{
    auto* widgetClass = static_cast<GtkWidgetClass*>(klass);
    widgetClass->get_preferred_width = NoSize;
    widgetClass->get_preferred_height = NoSize;
    widgetClass->size_allocate = AllocateChildren;
    widgetClass->draw = DrawPlacement;
    Library().gtk_widget_class_set_accessible_role(widgetClass, ATK_ROLE_PANEL);
}

GType PlacementType()
{
    static const GType type = [] {
        const TLibrary& gtk = Library();
        GTypeQuery fixed;
        gtk.g_type_query(gtk.gtk_fixed_get_type(), &fixed);
        return gtk.g_type_register_static_simple(gtk.gtk_fixed_get_type(), "DnPlacement", fixed.class_size,
                                                 InitPlacementClass, fixed.instance_size, nullptr, GTypeFlags(0));
    }();
    return type;
}

} // namespace

GtkWidget* NewPlacement(TBevelCut bevel)
{
    const TLibrary& gtk = Library();
    auto* placement = static_cast<GtkWidget*>(gtk.g_object_new(PlacementType(), nullptr));
    gtk.g_object_set_data(G_OBJECT(placement), BevelKey, GINT_TO_POINTER(static_cast<int>(bevel)));
    return placement;
}

void SetClientArea(GtkWidget* window, GtkWidget* placement)
{
    Library().g_object_set_data(G_OBJECT(window), ClientKey, placement);
}

GtkWidget* ContainerOf(void* handle)
{
    auto* widget = static_cast<GtkWidget*>(handle);
    auto* client = static_cast<GtkWidget*>(Library().g_object_get_data(G_OBJECT(widget), ClientKey));
    return client != nullptr ? client : widget;
}

void SizeToBounds(TControl& control, GtkWidget* widget, int dpi)
{
    Library().gtk_widget_set_size_request(widget, Scale(control.Width(), dpi), Scale(control.Height(), dpi));
}

void PutIntoParent(TWinControl& control, GtkWidget* widget, int dpi)
{
    const TLibrary& gtk = Library();
    if (control.Parent() == nullptr)
        throw Exception(SParentRequired);
    SizeToBounds(control, widget, dpi);
    gtk.gtk_fixed_put(GTK_FIXED(ContainerOf(control.Parent()->Handle())), widget, Scale(control.Left(), dpi),
                      Scale(control.Top(), dpi));
    if (control.Visible())
        gtk.gtk_widget_show(widget);
}

void PlaceWidget(TControl& control, GtkWidget* widget, int dpi)
{
    const TLibrary& gtk = Library();
    SizeToBounds(control, widget, dpi);
    GtkWidget* parent = gtk.gtk_widget_get_parent(widget);
    if (parent != nullptr)
        gtk.gtk_fixed_move(GTK_FIXED(parent), widget, Scale(control.Left(), dpi), Scale(control.Top(), dpi));
}

void ApplyFont(GtkWidget* label, const TFont& font, int dpi)
{
    const TLibrary& gtk = Library();
    // Windows' fonts are seldom there; the desktop's sans-serif font stands
    // in, and its fallback fills in every script.
    PangoFontDescription* description = gtk.pango_font_description_new();
    gtk.pango_font_description_set_family(description, (TextToUtf8(font.Name) + ",Sans").c_str());
    gtk.pango_font_description_set_absolute_size(description, Scale(font.Height, dpi) * PANGO_SCALE);
    gtk.pango_font_description_set_weight(description, font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    PangoAttrList* attributes = gtk.pango_attr_list_new();
    gtk.pango_attr_list_insert(attributes, gtk.pango_attr_font_desc_new(description));
    // Lines a fixed pitch apart, as Windows spaces them by the label's own
    // font whichever linked font draws a glyph: a fallback font with taller
    // extents (Noto's for Chinese, Japanese, Thai, ...) would otherwise push
    // the second line out of a label that is two lines high.
    const int pitch = Scale(font.Height, dpi) * 5 / 4;
    gtk.pango_attr_list_insert(attributes, gtk.pango_attr_line_height_new_absolute(pitch * PANGO_SCALE));
    gtk.gtk_label_set_attributes(GTK_LABEL(label), attributes);
    gtk.pango_attr_list_unref(attributes);
    gtk.pango_font_description_free(description);
}

} // namespace Gtk

using namespace Gtk;

void TWinControl::DestroyWnd()
{
    if (FHandle == nullptr)
        return;
    auto* widget = static_cast<GtkWidget*>(FHandle);
    FHandle = nullptr;
    ForgetChildHandles();
    Library().gtk_widget_destroy(widget);
}

void TPanel::CreateWnd()
{
    GtkWidget* panel = NewPlacement(BevelOuter);
    PutIntoParent(*this, panel, Dpi());
    FHandle = panel;
}

void TPanel::BoundsChanged()
{
    if (HandleAllocated())
        PlaceWidget(*this, static_cast<GtkWidget*>(FHandle), Dpi());
}

namespace {

// From the top left corner, or, for a text that starts in a script written
// from the right, read from the right and from the top right corner: the
// label's alignment and justification count from the side where its
// direction starts.
void ApplyDirection(GtkWidget* label, const AnsiString& caption)
{
    const bool rightToLeft = StartsRightToLeft(TextToUtf8(caption));
    Library().gtk_widget_set_direction(label, rightToLeft ? GTK_TEXT_DIR_RTL : GTK_TEXT_DIR_LTR);
}

} // namespace

void TLabel::CreateWnd()
{
    const TLibrary& gtk = Library();
    GtkWidget* label = gtk.gtk_label_new(nullptr);
    // Broken at word boundaries (inside a word only when the word alone is
    // wider than the box), cut off at the box's edges.
    gtk.gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk.gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    gtk.gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_LEFT);
    ApplyDirection(label, Caption());
    gtk.gtk_label_set_line_wrap(GTK_LABEL(label), WordWrap);
    gtk.gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk.gtk_label_set_text_with_mnemonic(GTK_LABEL(label), MnemonicText(Caption()).c_str());
    ApplyFont(label, Font(), Dpi());
    PutIntoParent(*this, label, Dpi());
    FHandle = label;
}

void TLabel::BoundsChanged()
{
    if (HandleAllocated())
        PlaceWidget(*this, static_cast<GtkWidget*>(FHandle), Dpi());
}

void TLabel::CaptionChanged()
{
    // The label tells screen readers of its new name itself.
    if (!HandleAllocated())
        return;
    ApplyDirection(static_cast<GtkWidget*>(FHandle), Caption());
    Library().gtk_label_set_text_with_mnemonic(GTK_LABEL(FHandle), MnemonicText(Caption()).c_str());
}

void TLabel::FontChanged()
{
    if (HandleAllocated())
        ApplyFont(static_cast<GtkWidget*>(FHandle), Font(), Dpi());
}

void TProgressBar::CreateWnd()
{
    // The toolkit draws one smooth bar; it has no segmented look.
    GtkWidget* bar = Library().gtk_progress_bar_new();
    PutIntoParent(*this, bar, Dpi());
    FHandle = bar;
    ShowPosition();
}

void TProgressBar::BoundsChanged()
{
    if (HandleAllocated())
        PlaceWidget(*this, static_cast<GtkWidget*>(FHandle), Dpi());
}

void TProgressBar::ShowPosition()
{
    if (!HandleAllocated())
        return;
    const double fraction = FMax > FMin ? static_cast<double>(FPosition - FMin) / (FMax - FMin) : 0.0;
    Library().gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(FHandle), fraction);
}

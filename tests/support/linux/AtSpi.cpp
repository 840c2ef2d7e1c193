#include "AtSpi.h"

#include <tuple>

#include <atspi/atspi.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct TUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
using TObject = std::unique_ptr<AtspiAccessible, TUnref>;

std::string Name(AtspiAccessible* object)
{
    gchar* name = atspi_accessible_get_name(object, nullptr);
    std::string text = name != nullptr ? name : "";
    g_free(name);
    return text;
}

bool Showing(AtspiAccessible* object)
{
    AtspiStateSet* states = atspi_accessible_get_state_set(object);
    const bool showing = states != nullptr && atspi_state_set_contains(states, ATSPI_STATE_SHOWING);
    if (states != nullptr)
        g_object_unref(states);
    return showing;
}

TScreenRect Extents(AtspiAccessible* object)
{
    TScreenRect rect;
    AtspiComponent* component = atspi_accessible_get_component_iface(object);
    if (component == nullptr)
        return rect;
    if (AtspiRect* extents = atspi_component_get_extents(component, ATSPI_COORD_TYPE_SCREEN, nullptr)) {
        rect = TScreenRect{extents->x, extents->y, extents->width, extents->height};
        g_free(extents);
    }
    g_object_unref(component);
    return rect;
}

std::vector<TObject> Children(AtspiAccessible* object)
{
    std::vector<TObject> children;
    const gint count = atspi_accessible_get_child_count(object, nullptr);
    for (gint i = 0; i < count; ++i)
        if (AtspiAccessible* child = atspi_accessible_get_child_at_index(object, i, nullptr))
            children.emplace_back(child);
    return children;
}

void Visit(AtspiAccessible* object, const std::function<void(AtspiAccessible*)>& visitor)
{
    visitor(object);
    for (const TObject& child : Children(object))
        Visit(child.get(), visitor);
}

// The process's application on the bus, its cache dropped so that every
// read is fresh.
TObject Application(pid_t process)
{
    TObject desktop(atspi_get_desktop(0));
    if (!desktop)
        return nullptr;
    for (TObject& application : Children(desktop.get())) {
        if (static_cast<pid_t>(atspi_accessible_get_process_id(application.get(), nullptr)) != process)
            continue;
        atspi_accessible_clear_cache(application.get());
        return std::move(application);
    }
    return nullptr;
}

std::vector<TObject> TopLevels(pid_t process, AtspiRole role)
{
    std::vector<TObject> found;
    TObject application = Application(process);
    if (!application)
        return found;
    for (TObject& window : Children(application.get()))
        if (atspi_accessible_get_role(window.get(), nullptr) == role && Showing(window.get()))
            found.push_back(std::move(window));
    return found;
}

} // namespace

bool StartAtSpi()
{
    static const bool started = atspi_init() <= 1;
    return started;
}

namespace {

// Whether a text is read from the right, as its text attributes tell a
// screen reader, and stands at the right: its first character lies in the
// label's right half.
bool FromTheRight(AtspiAccessible* object)
{
    AtspiText* text = atspi_accessible_get_text_iface(object);
    if (text == nullptr)
        return false;
    GHashTable* attributes = atspi_text_get_default_attributes(text, nullptr);
    const auto* direction =
        attributes != nullptr ? static_cast<const char*>(g_hash_table_lookup(attributes, "direction")) : nullptr;
    const bool rightToLeft = direction != nullptr && std::string(direction) == "rtl";
    AtspiRect* first = atspi_text_get_character_extents(text, 0, ATSPI_COORD_TYPE_SCREEN, nullptr);
    const TScreenRect label = Extents(object);
    const bool right = rightToLeft && first != nullptr && first->x > label.X + label.Width / 2;
    g_free(first);
    if (attributes != nullptr)
        g_hash_table_unref(attributes);
    g_object_unref(text);
    return right;
}

} // namespace

TWindowView ReadWindow(pid_t process)
{
    TWindowView view;
    for (const AtspiRole role : {ATSPI_ROLE_FRAME, ATSPI_ROLE_DIALOG}) {
        for (const TObject& window : TopLevels(process, role)) {
            std::vector<std::tuple<int, std::string, bool>> labels;
            int bar = -1;
            TScreenRect client;
            Visit(window.get(), [&](AtspiAccessible* object) {
                const AtspiRole kind = atspi_accessible_get_role(object, nullptr);
                if (kind == ATSPI_ROLE_LABEL) {
                    labels.emplace_back(Extents(object).Y, Name(object), FromTheRight(object));
                } else if (kind == ATSPI_ROLE_PROGRESS_BAR) {
                    if (AtspiValue* value = atspi_accessible_get_value_iface(object)) {
                        const double current = atspi_value_get_current_value(value, nullptr);
                        const double maximum = atspi_value_get_maximum_value(value, nullptr);
                        // The toolkit reports the bar's fraction of its maximum.
                        bar = maximum > 0 ? static_cast<int>(current / maximum * 100 + 0.5) : -1;
                        g_object_unref(value);
                    }
                } else if (kind == ATSPI_ROLE_PANEL && client.Width == 0) {
                    client = Extents(object);
                }
            });
            if (bar < 0 || labels.size() != 2)
                continue;
            std::sort(labels.begin(), labels.end());
            view.Found = true;
            view.Caption = Name(window.get());
            view.Upper = std::get<1>(labels[0]);
            view.Lower = std::get<1>(labels[1]);
            view.UpperFromTheRight = std::get<2>(labels[0]);
            view.Bar = bar;
            view.Frame = Extents(window.get());
            view.Client = client;
            return view;
        }
    }
    return view;
}

TBoxView ReadBox(pid_t process)
{
    TBoxView view;
    std::vector<TObject> boxes = TopLevels(process, ATSPI_ROLE_ALERT);
    view.Count = static_cast<int>(boxes.size());
    if (boxes.empty())
        return view;
    view.Found = true;
    view.Caption = Name(boxes.front().get());
    Visit(boxes.front().get(), [&](AtspiAccessible* object) {
        const AtspiRole kind = atspi_accessible_get_role(object, nullptr);
        if (kind == ATSPI_ROLE_LABEL && view.Text.empty() && Showing(object))
            view.Text = Name(object);
        else if ((kind == ATSPI_ROLE_ICON || kind == ATSPI_ROLE_IMAGE) && Showing(object))
            view.HasIcon = true;
    });
    return view;
}

bool PressOk(pid_t process)
{
    std::vector<TObject> boxes = TopLevels(process, ATSPI_ROLE_ALERT);
    if (boxes.empty())
        return false;
    bool pressed = false;
    Visit(boxes.front().get(), [&](AtspiAccessible* object) {
        if (pressed || atspi_accessible_get_role(object, nullptr) != ATSPI_ROLE_PUSH_BUTTON)
            return;
        if (AtspiAction* action = atspi_accessible_get_action_iface(object)) {
            pressed = atspi_action_do_action(action, 0, nullptr);
            g_object_unref(action);
        }
    });
    return pressed;
}

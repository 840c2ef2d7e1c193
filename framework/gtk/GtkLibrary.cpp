// GTK is loaded when the first window, box or timer needs it, so that a
// sender run starts like an empty program.
#include <dlfcn.h>

#include "Consts.h"
#include "SysUtils.h"
#include "Gtk.h"

namespace Gtk {

namespace {

TLibrary Load()
{
    // Looked up in the toolkit and the libraries it depends on (GLib, GDK,
    // Pango, cairo), which the loader brings in with it.
    void* const library = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        throw Exception(Format(SToolkitNotLoaded, dlerror()));
    TLibrary functions{};
    bool complete = true;
#define DN_GTK_LOOK_UP(name)                                                                                         \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));                                     \
    complete = complete && functions.name != nullptr;
    DN_GTK_FUNCTIONS(DN_GTK_LOOK_UP)
#undef DN_GTK_LOOK_UP
    if (!complete)
        throw Exception(SToolkitTooOld);
    return functions;
}

} // namespace

const TLibrary& Library()
{
    static const TLibrary functions = Load();
    return functions;
}

} // namespace Gtk

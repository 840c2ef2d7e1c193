// The sessions that logind lists, asked over the system bus with GIO's D-Bus
// client. GIO is loaded here, when a window run as root asks, and never
// linked: the program links the C library alone, so that a sender run starts
// like an empty program.
#include <dlfcn.h>
#include <pwd.h>

// Type checks of the cast macros would call into the library that is not
// linked.
#define G_DISABLE_CAST_CHECKS
#include <gio/gio.h>

#include <cstring>
#include <functional>
#include <memory>

#include "LoginSessions.h"

#define DN_GIO_FUNCTIONS(X)                                                                                            \
    X(g_cancellable_cancel)                                                                                            \
    X(g_cancellable_new)                                                                                               \
    X(g_dbus_address_get_for_bus_sync)                                                                                 \
    X(g_dbus_connection_call)                                                                                          \
    X(g_dbus_connection_call_finish)                                                                                   \
    X(g_dbus_connection_new_for_address)                                                                               \
    X(g_dbus_connection_new_for_address_finish)                                                                        \
    X(g_error_free)                                                                                                    \
    X(g_free)                                                                                                          \
    X(g_main_context_iteration)                                                                                        \
    X(g_main_context_new)                                                                                              \
    X(g_main_context_pop_thread_default)                                                                               \
    X(g_main_context_push_thread_default)                                                                              \
    X(g_main_context_unref)                                                                                            \
    X(g_object_ref)                                                                                                    \
    X(g_object_unref)                                                                                                  \
    X(g_source_attach)                                                                                                 \
    X(g_source_destroy)                                                                                                \
    X(g_source_set_callback)                                                                                           \
    X(g_source_unref)                                                                                                  \
    X(g_timeout_source_new)                                                                                            \
    X(g_variant_get_boolean)                                                                                           \
    X(g_variant_get_child_value)                                                                                       \
    X(g_variant_get_string)                                                                                            \
    X(g_variant_get_type_string)                                                                                       \
    X(g_variant_get_uint32)                                                                                            \
    X(g_variant_get_uint64)                                                                                            \
    X(g_variant_lookup_value)                                                                                          \
    X(g_variant_n_children)                                                                                            \
    X(g_variant_new_string)                                                                                            \
    X(g_variant_new_tuple)                                                                                             \
    X(g_variant_unref)

namespace {

struct TGio {
#define DN_GIO_POINTER(name) decltype(&::name) name;
    DN_GIO_FUNCTIONS(DN_GIO_POINTER)
#undef DN_GIO_POINTER
};

// The library's functions, or nothing when it is not there (then neither is
// a desktop that logind would list).
const TGio* LoadGio()
{
    void* const library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static TGio functions{};
    bool complete = true;
#define DN_GIO_LOOK_UP(name)                                                                                           \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));                                       \
    complete = complete && functions.name != nullptr;
    DN_GIO_FUNCTIONS(DN_GIO_LOOK_UP)
#undef DN_GIO_LOOK_UP
    return complete ? &functions : nullptr;
}

const TGio* Functions()
{
    static const TGio* const functions = LoadGio();
    return functions;
}

const TGio& Gio()
{
    return *Functions();
}

struct TUnrefVariant {
    void operator()(GVariant* value) const { Gio().g_variant_unref(value); }
};
struct TUnrefObject {
    void operator()(gpointer object) const { Gio().g_object_unref(object); }
};
struct TUnrefContext {
    void operator()(GMainContext* context) const { Gio().g_main_context_unref(context); }
};
using TVariant = std::unique_ptr<GVariant, TUnrefVariant>;
template <typename T>
using TObject = std::unique_ptr<T, TUnrefObject>;

// A call's error is no more than a reason to give up the look-up.
bool Succeeded(GError* error)
{
    if (error == nullptr)
        return true;
    Gio().g_error_free(error);
    return false;
}

// The look-up's calls, each started asynchronously and waited for in a main
// context of their own, which a timer wakes at the deadline. Synchronous
// calls would not do: connecting to a bus that does not answer has no
// time-out at all.
class TBusTalk {
public:
    explicit TBusTalk(TDeadline deadline)
        : FContext(Gio().g_main_context_new()), FCancel(Gio().g_cancellable_new()), FDeadline(deadline)
    {
        Gio().g_main_context_push_thread_default(FContext.get());
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Now());
        FTimer = Gio().g_timeout_source_new(static_cast<guint>(left.count() > 0 ? left.count() : 0));
        Gio().g_source_set_callback(FTimer, &Expire, this, nullptr);
        Gio().g_source_attach(FTimer, FContext.get());
    }
    ~TBusTalk()
    {
        Gio().g_source_destroy(FTimer);
        Gio().g_source_unref(FTimer);
        Gio().g_main_context_pop_thread_default(FContext.get());
    }
    TBusTalk(const TBusTalk&) = delete;
    TBusTalk& operator=(const TBusTalk&) = delete;

    GCancellable* Cancellable() const { return FCancel.get(); }
    int MillisecondsLeft() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(FDeadline - Now()).count();
        return left > 0 ? static_cast<int>(left) : 0;
    }

    // The result of the call that `start` begins with the callback and its
    // data; nothing when the deadline comes first. The call is cancelled
    // then, and its callback never runs: only this look-up runs the context.
    TObject<GAsyncResult> Await(const std::function<void(GAsyncReadyCallback, gpointer)>& start)
    {
        GAsyncResult* result = nullptr;
        start(&Done, &result);
        while (result == nullptr && !FExpired)
            Gio().g_main_context_iteration(FContext.get(), TRUE);
        if (result == nullptr)
            Gio().g_cancellable_cancel(FCancel.get());
        return TObject<GAsyncResult>(result);
    }

private:
    static std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
    static void Done(GObject*, GAsyncResult* result, gpointer slot)
    {
        // In brackets: the header makes g_object_ref a macro too.
        *static_cast<GAsyncResult**>(slot) = static_cast<GAsyncResult*>((Gio().g_object_ref)(result));
    }
    static gboolean Expire(gpointer talk)
    {
        static_cast<TBusTalk*>(talk)->FExpired = true;
        return G_SOURCE_REMOVE;
    }

    std::unique_ptr<GMainContext, TUnrefContext> FContext;
    TObject<GCancellable> FCancel;
    TDeadline FDeadline;
    GSource* FTimer = nullptr;
    bool FExpired = false;
};

// A connection of its own to the system bus: the shared one that GIO keeps
// would end the whole process should the bus ever close it.
TObject<GDBusConnection> ConnectSystemBus(TBusTalk& talk)
{
    GError* error = nullptr;
    gchar* const address = Gio().g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
    if (!Succeeded(error))
        return nullptr;
    const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                         G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    const TObject<GAsyncResult> result = talk.Await([&](GAsyncReadyCallback done, gpointer slot) {
        Gio().g_dbus_connection_new_for_address(address, flags, nullptr, talk.Cancellable(), done, slot);
    });
    Gio().g_free(address);
    if (!result)
        return nullptr;
    TObject<GDBusConnection> bus(Gio().g_dbus_connection_new_for_address_finish(result.get(), &error));
    return Succeeded(error) ? std::move(bus) : nullptr;
}

// A method of logind's; its reply, when it is of the type expected.
TVariant CallLogind(TBusTalk& talk, GDBusConnection* bus, const char* path, const char* interface, const char* method,
                    GVariant* parameters, const char* replyType)
{
    const TObject<GAsyncResult> result = talk.Await([&](GAsyncReadyCallback done, gpointer slot) {
        Gio().g_dbus_connection_call(bus, "org.freedesktop.login1", path, interface, method, parameters, nullptr,
                                     G_DBUS_CALL_FLAGS_NONE, talk.MillisecondsLeft(), talk.Cancellable(), done, slot);
    });
    if (!result)
        return nullptr;
    GError* error = nullptr;
    TVariant reply(Gio().g_dbus_connection_call_finish(bus, result.get(), &error));
    if (!Succeeded(error) || std::strcmp(Gio().g_variant_get_type_string(reply.get()), replyType) != 0)
        return nullptr;
    return reply;
}

TVariant Child(GVariant* container, gsize index)
{
    return TVariant(Gio().g_variant_get_child_value(container, index));
}

std::string Text(GVariant* value)
{
    return Gio().g_variant_get_string(value, nullptr);
}

// A property from GetAll's dictionary, when it is there with the type given.
TVariant Property(GVariant* properties, const char* name, const char* type)
{
    TVariant value(Gio().g_variant_lookup_value(properties, name, nullptr));
    if (value && std::strcmp(Gio().g_variant_get_type_string(value.get()), type) != 0)
        value.reset();
    return value;
}

// Fills in what the list of sessions does not tell; false when logind no
// longer knows the session.
bool Describe(TBusTalk& talk, GDBusConnection* bus, const char* path, TLoginSession& session)
{
    GVariant* const interface = Gio().g_variant_new_string("org.freedesktop.login1.Session");
    const TVariant reply = CallLogind(talk, bus, path, "org.freedesktop.DBus.Properties", "GetAll",
                                      Gio().g_variant_new_tuple(&interface, 1), "(a{sv})");
    if (!reply)
        return false;
    const TVariant properties = Child(reply.get(), 0);
    if (const TVariant type = Property(properties.get(), "Type", "s"))
        session.Type = Text(type.get());
    if (const TVariant kind = Property(properties.get(), "Class", "s"))
        session.Class = Text(kind.get());
    if (const TVariant state = Property(properties.get(), "State", "s"))
        session.State = Text(state.get());
    if (const TVariant display = Property(properties.get(), "Display", "s"))
        session.Display = Text(display.get());
    if (const TVariant remote = Property(properties.get(), "Remote", "b"))
        session.Remote = Gio().g_variant_get_boolean(remote.get()) != FALSE;
    if (const TVariant leader = Property(properties.get(), "Leader", "u"))
        session.Leader = Gio().g_variant_get_uint32(leader.get());
    if (const TVariant started = Property(properties.get(), "Timestamp", "t"))
        session.Started = Gio().g_variant_get_uint64(started.get());
    return true;
}

} // namespace

std::vector<TLoginSession> FindLoginSessions(TDeadline deadline)
{
    std::vector<TLoginSession> sessions;
    if (Functions() == nullptr)
        return sessions;
    TBusTalk talk(deadline);
    const TObject<GDBusConnection> bus = ConnectSystemBus(talk);
    if (!bus)
        return sessions;
    const TVariant list = CallLogind(talk, bus.get(), "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                     "ListSessions", nullptr, "(a(susso))");
    if (!list)
        return sessions;
    const TVariant entries = Child(list.get(), 0);
    for (gsize i = 0; i < Gio().g_variant_n_children(entries.get()); ++i) {
        const TVariant entry = Child(entries.get(), i);
        TLoginSession session;
        session.Id = Text(Child(entry.get(), 0).get());
        session.Uid = Gio().g_variant_get_uint32(Child(entry.get(), 1).get());
        session.UserName = Text(Child(entry.get(), 2).get());
        session.Seat = Text(Child(entry.get(), 3).get());
        session.UserExists = getpwuid(session.Uid) != nullptr;
        if (Describe(talk, bus.get(), Text(Child(entry.get(), 4).get()).c_str(), session))
            sessions.push_back(std::move(session));
    }
    return sessions;
}

#include "mainwindow/X11Selection.h"

#include <QDeadlineTimer>
#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace hv {

namespace {

struct TFreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using TReply = std::unique_ptr<T, TFreeDeleter>;

// A connection of our own to the display Qt uses.
class TXConnection {
public:
    TXConnection() {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            return;
        }
        int screenNumber = 0;
        m_Conn = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_Conn) != 0) {
            return;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_Conn));
        for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
            if (i == screenNumber) {
                m_Screen = it.data;
            }
        }
    }
    TXConnection(const TXConnection&) = delete;
    TXConnection& operator=(const TXConnection&) = delete;
    ~TXConnection() {
        if (m_Conn != nullptr) {
            xcb_disconnect(m_Conn);
        }
    }

    bool Ok() const { return m_Conn != nullptr && m_Screen != nullptr; }
    xcb_connection_t* Get() const { return m_Conn; }
    xcb_window_t Root() const { return m_Screen->root; }
    xcb_visualid_t Visual() const { return m_Screen->root_visual; }

    xcb_atom_t Atom(const char* name) const {
        TReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_Conn, xcb_intern_atom(m_Conn, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // The property's bytes, with its type; nullopt when absent.
    std::optional<QByteArray> Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t* type, bool remove) {
        TReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_Conn, xcb_get_property(m_Conn, remove ? 1 : 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 22),
            nullptr));
        if (!reply || reply->type == XCB_ATOM_NONE) {
            return std::nullopt;
        }
        if (type != nullptr) {
            *type = reply->type;
        }
        const int bytes = xcb_get_property_value_length(reply.get());
        return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), bytes);
    }

private:
    xcb_connection_t* m_Conn = nullptr;
    xcb_screen_t* m_Screen = nullptr;
};

} // namespace

std::optional<QByteArray> ReadX11Selection(const char* selection, const char* target, int timeoutMs) {
    TXConnection x;
    if (!x.Ok()) {
        return std::nullopt;
    }
    const xcb_atom_t selectionAtom = x.Atom(selection);
    const xcb_atom_t targetAtom = x.Atom(target);
    const xcb_atom_t property = x.Atom("HOLLYVINE_SELECTION");
    TReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(x.Get(), xcb_get_selection_owner(x.Get(), selectionAtom), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    const xcb_window_t window = xcb_generate_id(x.Get());
    xcb_create_window(x.Get(), XCB_COPY_FROM_PARENT, window, x.Root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      x.Visual(), 0, nullptr);
    xcb_convert_selection(x.Get(), window, selectionAtom, targetAtom, property, XCB_CURRENT_TIME);
    xcb_flush(x.Get());

    std::optional<QByteArray> result;
    QDeadlineTimer deadline(timeoutMs);
    bool answered = false;
    while (!answered && !deadline.hasExpired()) {
        pollfd fd{xcb_get_file_descriptor(x.Get()), POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(deadline.remainingTime())) <= 0 && !deadline.hasExpired()) {
            continue;
        }
        while (xcb_generic_event_t* raw = xcb_poll_for_event(x.Get())) {
            TReply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7F) != XCB_SELECTION_NOTIFY) {
                continue;
            }
            const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
            if (notify->requestor != window) {
                continue;
            }
            answered = true;
            xcb_atom_t type = xcb_atom_t{XCB_ATOM_NONE};
            if (notify->property != XCB_ATOM_NONE) {
                result = x.Property(window, notify->property, &type, true);
                // Data sent in pieces (INCR) is more than a link and its title.
                if (result && type == x.Atom("INCR")) {
                    result.reset();
                }
            }
        }
        if (xcb_connection_has_error(x.Get()) != 0) {
            break;
        }
    }
    xcb_destroy_window(x.Get(), window);
    xcb_flush(x.Get());
    return result;
}

QString WindowClassUnderPointer() {
    TXConnection x;
    if (!x.Ok()) {
        return {};
    }
    // Down from the root through the windows under the pointer (the window manager's frame,
    // then the client) to the first that names its class.
    xcb_window_t window = x.Root();
    for (int depth = 0; depth < 8; ++depth) {
        TReply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(x.Get(), xcb_query_pointer(x.Get(), window), nullptr));
        if (!pointer || pointer->child == XCB_WINDOW_NONE) {
            return {};
        }
        window = pointer->child;
        if (std::optional<QByteArray> wmClass = x.Property(window, XCB_ATOM_WM_CLASS, nullptr, false)) {
            // "instance\0class\0"
            QList<QByteArray> parts = wmClass->split('\0');
            parts.removeAll(QByteArray());
            return QString::fromLocal8Bit(parts.join(' '));
        }
    }
    return {};
}

} // namespace hv

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace hv {

// Direct questions to the X server, for what Qt's X11 integration does not pass on: a
// selection's target that Qt lists under another name (Qt 6 shows Mozilla's "text/x-moz-url"
// only as "text/uri-list", and gives its data without the title), and the window under the
// pointer after a drag. Each question uses a connection of its own and gives up after a short
// time; without X11 (Wayland, offscreen) there is no answer.

// The data of target in selection ("CLIPBOARD", "XdndSelection"), as its owner gives it;
// nullopt when there is no X display, no owner, a refusal, data too big to come in one piece, or
// no answer within timeoutMs. Never ask for a selection this process owns: the answer would have
// to come from the event loop that waits here.
std::optional<QByteArray> ReadX11Selection(const char* selection, const char* target, int timeoutMs = 400);

// The window class (WM_CLASS: instance, a blank, class) of the top-level window under the
// pointer; empty when there is none or no X11.
QString WindowClassUnderPointer();

} // namespace hv

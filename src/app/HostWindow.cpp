#include "app/HostWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <xcb/xcb.h>
#endif

namespace tqz::app {
namespace {

#ifndef _WIN32
xcb_connection_t* xcbConnection()
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}
#endif

} // namespace

WId hostWindowId(std::int32_t handle)
{
#ifdef _WIN32
    return static_cast<WId>(static_cast<std::intptr_t>(handle));
#else
    return static_cast<WId>(static_cast<std::uint32_t>(handle));
#endif
}

bool isExistingWindow(WId id)
{
    if (id == 0) {
        return false;
    }
#ifdef _WIN32
    return IsWindow(reinterpret_cast<HWND>(id)) != FALSE;
#else
    xcb_connection_t* connection = xcbConnection();
    if (connection == nullptr) {
        return false;
    }
    // Asking for the reply with an error slot keeps a BadWindow out of Qt's own error handling.
    xcb_generic_error_t* error = nullptr;
    const auto cookie = xcb_get_window_attributes(connection, static_cast<xcb_window_t>(id));
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(connection, cookie, &error);
    const bool exists = reply != nullptr;
    std::free(reply);
    std::free(error);
    return exists;
#endif
}

std::unique_ptr<QWindow> dockInto(QWidget& form, WId host)
{
    std::unique_ptr<QWindow> hostWindow(QWindow::fromWinId(host));
    if (hostWindow) {
        form.winId();
        form.windowHandle()->setParent(hostWindow.get());
    }
    return hostWindow;
}

WindowDestructionWatch::WindowDestructionWatch(WId watched, std::function<void()> onDestroyed)
    : m_watched(watched)
    , m_onDestroyed(std::move(onDestroyed))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowDestructionWatch::~WindowDestructionWatch()
{
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool WindowDestructionWatch::nativeEventFilter(
    const QByteArray& eventType, void* message, qintptr* /*result*/)
{
    bool destroyed = false;
#ifdef _WIN32
    const auto* msg = static_cast<const MSG*>(message);
    destroyed = eventType == "windows_generic_MSG" && msg->message == WM_DESTROY
        && reinterpret_cast<WId>(msg->hwnd) == m_watched;
#else
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (eventType == "xcb_generic_event_t" && (event->response_type & 0x7F) == XCB_DESTROY_NOTIFY) {
        destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == m_watched;
    }
#endif
    if (destroyed && m_onDestroyed) {
        auto onDestroyed = std::exchange(m_onDestroyed, nullptr);
        onDestroyed();
    }
    return false;
}

} // namespace tqz::app

#pragma once

// The window of the timetabling program that the form docks into. Qt represents it as a foreign
// window; these are the checks and the watch that Qt does not provide by itself.

#include <QAbstractNativeEventFilter>
#include <QWindow>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace tqz::app {

// The native window id for the handle the timetabling program passed, read as a signed 32-bit
// number. Windows handles have 32 significant bits and are sign-extended; X11 ids are unsigned.
WId hostWindowId(std::int32_t handle);

// Whether `id` names an existing window now. Qt on X11 accepts any id, and a window docked into
// one that does not exist silently vanishes, so the handle is checked first. Platforms without
// foreign windows (offscreen) have none.
bool isExistingWindow(WId id);

// Makes `form`, a frameless top-level widget, a child window of `host`, and returns Qt's
// representation of the host window; nothing when the platform cannot represent it. The
// representation must outlive the form's own native window: deleting it takes the form's window
// with it.
std::unique_ptr<QWindow> dockInto(QWidget& form, WId host);

// Calls `onDestroyed` once when the native window of `watched` is destroyed. A docked window is
// destroyed with its host, and Qt would otherwise keep the program running with nothing on
// screen.
class WindowDestructionWatch final : public QAbstractNativeEventFilter {
public:
    WindowDestructionWatch(WId watched, std::function<void()> onDestroyed);
    ~WindowDestructionWatch() override;
    WindowDestructionWatch(const WindowDestructionWatch&) = delete;
    WindowDestructionWatch& operator=(const WindowDestructionWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    WId m_watched;
    std::function<void()> m_onDestroyed;
};

} // namespace tqz::app

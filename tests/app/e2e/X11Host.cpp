// A stand-in for the timetabling program's window: a plain X11 window that the tool docks into.
// Prints the window's id in hexadecimal, then keeps the window until the program is ended; the
// X server destroys the window, and whatever is docked in it, when the program goes.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = { screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY };
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 900, 700, 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const char* title = "Quorvane";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
        static_cast<std::uint32_t>(std::strlen(title)), title);
    xcb_map_window(connection, window);
    xcb_flush(connection);
    std::printf("%x\n", window);
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}

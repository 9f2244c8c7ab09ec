"""The harness's own X connection: finding windows, screenshots, input."""

from PIL import Image
from Xlib import X, XK, Xatom, display, error, protocol
from Xlib.ext import xtest


class XClient:
    def __init__(self, display_name):
        self.display = display.Display(display_name)
        self.root = self.display.screen().root
        self._atoms = {}

    def close(self):
        try:
            self.display.close()
        except error.ConnectionClosedError:
            pass  # the server is gone already

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = self.display.intern_atom(name)
        return self._atoms[name]

    def window_manager_running(self):
        prop = self.root.get_full_property(self.atom("_NET_SUPPORTING_WM_CHECK"), Xatom.WINDOW)
        return prop is not None and len(prop.value) > 0

    # Windows

    def _titled_windows(self):
        """(window, title, map state) of every titled window in the tree."""
        pending = [self.root]
        while pending:
            window = pending.pop()
            try:
                pending.extend(window.query_tree().children)
                name = self.title(window) if window != self.root else None
                if name:
                    yield window, name, window.get_attributes().map_state
            except error.XError:
                continue  # gone while we looked

    def windows_named(self, name):
        """Every viewable window in the tree whose title is `name`."""
        return [window for window, title, state in self._titled_windows()
                if title == name and state == X.IsViewable]

    def describe(self):
        """Every titled window with its map state, for failure messages."""
        states = {X.IsUnmapped: "unmapped", X.IsUnviewable: "unviewable", X.IsViewable: "viewable"}
        return ", ".join(f"{name!r} {states[state]}"
                         for _, name, state in self._titled_windows()) or "no titled window"

    def title(self, window):
        prop = window.get_full_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
        if prop is not None:
            return prop.value.decode(errors="replace")
        name = window.get_wm_name()
        return name.decode(errors="replace") if isinstance(name, bytes) else name

    def class_hint(self, window):
        """(instance, class) of WM_CLASS, or None."""
        return window.get_wm_class()

    def is_viewable(self, window):
        return window.get_attributes().map_state == X.IsViewable

    def geometry(self, window):
        """(x, y, width, height): position on the screen and client size."""
        geometry = window.get_geometry()
        origin = window.translate_coords(self.root, 0, 0)
        return -origin.x, -origin.y, geometry.width, geometry.height

    def screenshot(self, window):
        """The window's pixels as an RGB image."""
        geometry = window.get_geometry()
        reply = window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF)
        size = (geometry.width, geometry.height)
        return Image.frombytes("RGB", size, reply.data, "raw", "BGRX")

    def resize(self, window, width, height):
        window.configure(width=width, height=height)
        self.display.sync()

    def map(self, window):
        window.map()
        self.display.sync()

    def screen_size(self):
        screen = self.display.screen()
        return screen.width_in_pixels, screen.height_in_pixels

    def create_probe_window(self):
        window = self.root.create_window(0, 0, 16, 16, 0, X.CopyFromParent)
        window.set_wm_name("quenn e2e probe")
        window.map()
        self.display.sync()
        return window

    def is_framed(self, window):
        """Mapped inside a window manager's frame, not straight on the root."""
        return self.is_viewable(window) and window.query_tree().parent != self.root

    def destroy(self, window):
        window.destroy()
        self.display.sync()

    def kill_client(self, window):
        """Closes the connection of the client that made the window, as xkill does."""
        window.kill_client()
        self.display.sync()

    # What a window manager sends

    def request_close(self, window):
        """WM_DELETE_WINDOW, as a window manager's close button sends it."""
        self._client_message(window, window, "WM_PROTOCOLS",
                             [self.atom("WM_DELETE_WINDOW"), X.CurrentTime], X.NoEventMask)

    def iconify(self, window):
        """Asks the window manager to iconify the window (ICCCM WM_CHANGE_STATE)."""
        iconic_state = 3
        self._client_message(self.root, window, "WM_CHANGE_STATE", [iconic_state],
                             X.SubstructureRedirectMask | X.SubstructureNotifyMask)

    def activate(self, window):
        """Asks the window manager to show and focus the window (_NET_ACTIVE_WINDOW)."""
        from_pager = 2
        self._client_message(self.root, window, "_NET_ACTIVE_WINDOW",
                             [from_pager, X.CurrentTime, 0],
                             X.SubstructureRedirectMask | X.SubstructureNotifyMask)

    def restore(self, window):
        """Maps an iconified window again and has the window manager show it."""
        self.map(window)
        self.activate(window)

    def _client_message(self, destination, window, type_name, values, mask):
        data = (32, (values + [0] * 5)[:5])
        event = protocol.event.ClientMessage(window=window, client_type=self.atom(type_name),
                                             data=data)
        destination.send_event(event, event_mask=mask)
        self.display.sync()

    # The pointer and the keyboard, through XTEST

    def move_pointer(self, x, y):
        xtest.fake_input(self.display, X.MotionNotify, x=x, y=y)
        self.display.sync()

    def press_button(self, button=1):
        xtest.fake_input(self.display, X.ButtonPress, button)
        self.display.sync()

    def release_button(self, button=1):
        xtest.fake_input(self.display, X.ButtonRelease, button)
        self.display.sync()

    def press_key(self, keysym_name):
        keycode = self.display.keysym_to_keycode(XK.string_to_keysym(keysym_name))
        xtest.fake_input(self.display, X.KeyPress, keycode)
        xtest.fake_input(self.display, X.KeyRelease, keycode)
        self.display.sync()

# SPDX-License-Identifier: GPL-3.0-or-later
"""What a desktop sends a window, for an X server without a window manager: the request to
close it (WM_DELETE_WINDOW), as a taskbar, a log-off or a window manager's close button
does. xdotool can only destroy a window, which no program can answer."""

import ctypes
import ctypes.util

CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def _xlib():
    name = ctypes.util.find_library("X11") or "libX11.so.6"
    x = ctypes.CDLL(name)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(_Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


def ask_to_close(display, wid):
    """Sends the desktop's close request to window `wid` on X display `display`."""
    x = _xlib()
    dpy = x.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display}")
    try:
        event = _Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = int(wid)
        event.xclient.message_type = x.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not x.XSendEvent(dpy, int(wid), 0, NO_EVENT_MASK, ctypes.byref(event)):
            raise RuntimeError("the close request could not be sent")
        x.XFlush(dpy)
    finally:
        x.XCloseDisplay(dpy)


class Pinger:
    """Sends a window _NET_WM_PING, as a window manager does to tell a hung program, and
    times the answer, which the toolkit gives from its event loop."""

    STRUCTURE_NOTIFY = 1 << 17
    SUBSTRUCTURE_NOTIFY = 1 << 19

    def __init__(self, display, wid):
        self.x = x = _xlib()
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_Event)]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        self.wid = int(wid)
        self.protocols = x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        self.ping_atom = x.XInternAtom(self.dpy, b"_NET_WM_PING", 0)
        # The answer is sent to the root window, to whoever listens there.
        x.XSelectInput(self.dpy, x.XDefaultRootWindow(self.dpy),
                       self.STRUCTURE_NOTIFY | self.SUBSTRUCTURE_NOTIFY)
        self.stamp = 0

    def ping(self, limit=1.0):
        """Seconds the window took to answer, or None when it did not within `limit`."""
        import select
        import time
        x = self.x
        self.stamp += 1
        event = _Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = self.wid
        event.xclient.message_type = self.protocols
        event.xclient.format = 32
        for i, value in enumerate((self.ping_atom, self.stamp, self.wid, 0, 0)):
            event.xclient.data[i] = value
        started = time.monotonic()
        x.XSendEvent(self.dpy, self.wid, 0, NO_EVENT_MASK, ctypes.byref(event))
        x.XFlush(self.dpy)
        answer = _Event()
        while True:
            while x.XPending(self.dpy):
                x.XNextEvent(self.dpy, ctypes.byref(answer))
                c = answer.xclient
                if (c.type == CLIENT_MESSAGE and c.message_type == self.protocols
                        and c.data[0] == self.ping_atom and c.data[1] == self.stamp):
                    return time.monotonic() - started
            left = started + limit - time.monotonic()
            if left <= 0:
                return None
            select.select([x.XConnectionNumber(self.dpy)], [], [], left)

    def close(self):
        self.x.XCloseDisplay(self.dpy)

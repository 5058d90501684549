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


STRUCTURE_NOTIFY_MASK = 1 << 17
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class Pinger:
    """Asks a window whether its program still answers, as a window manager does
    (_NET_WM_PING): the answer comes back to the root window from the program's event
    loop, so its time is how long that loop was held."""

    def __init__(self, display, wid):
        self.x = _xlib()
        x = self.x
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
        self.root = x.XDefaultRootWindow(self.dpy)
        x.XSelectInput(self.dpy, self.root, STRUCTURE_NOTIFY_MASK | SUBSTRUCTURE_NOTIFY_MASK)
        self.protocols = x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        self.ping_atom = x.XInternAtom(self.dpy, b"_NET_WM_PING", 0)
        self.serial = 0

    def ping(self, timeout=5.0):
        """Seconds until the answer, or None when none came within `timeout`."""
        import select
        import time
        x = self.x
        self.serial += 1
        event = _Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = self.wid
        event.xclient.message_type = self.protocols
        event.xclient.format = 32
        event.xclient.data[0] = self.ping_atom
        event.xclient.data[1] = self.serial  # stands in for the time, to match the answer
        event.xclient.data[2] = self.wid
        sent = time.monotonic()
        x.XSendEvent(self.dpy, self.wid, 0, NO_EVENT_MASK, ctypes.byref(event))
        x.XFlush(self.dpy)
        deadline = sent + timeout
        while True:
            while x.XPending(self.dpy):
                answer = _Event()
                x.XNextEvent(self.dpy, ctypes.byref(answer))
                if (answer.xclient.type == CLIENT_MESSAGE and
                        answer.xclient.data[0] == self.ping_atom and
                        answer.xclient.data[1] == self.serial):
                    return time.monotonic() - sent
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([x.XConnectionNumber(self.dpy)], [], [], left)

    def close(self):
        self.x.XCloseDisplay(self.dpy)

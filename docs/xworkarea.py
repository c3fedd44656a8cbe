#!/usr/bin/env python3
"""Sets the desktop's work area (_NET_WORKAREA) on the X display in $DISPLAY.

A desktop's window manager publishes the screen less its panels so; Qt reads it
as the screens' available geometry. Used to take Tavek's screenshots under Xvfb
as if a panel took part of the screen; needs only libX11.
Usage: xworkarea.py X Y WIDTH HEIGHT
"""
import ctypes
import sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

XA_CARDINAL = 6
PROP_MODE_REPLACE = 0

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no X display")
area = (ctypes.c_long * 4)(*(int(value) for value in sys.argv[1:5]))
x11.XChangeProperty(display, x11.XDefaultRootWindow(display),
                    x11.XInternAtom(display, b"_NET_WORKAREA", 0), XA_CARDINAL, 32,
                    PROP_MODE_REPLACE, area, 4)
x11.XFlush(display)
x11.XCloseDisplay(display)

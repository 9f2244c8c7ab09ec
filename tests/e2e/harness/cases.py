"""Every case, by the name CTest passes."""

from . import (case_endurance, case_ending, case_failure, case_input, case_layer, case_native,
               case_picture)

CASES = {
    "window": case_picture.case_window,
    "picture": case_picture.case_picture,
    "fast": case_picture.case_fast,
    "drag": case_input.case_drag,
    "resize": case_input.case_resize,
    "close": case_input.case_close,
    "no-glx": case_failure.case_no_glx,
    "no-display": case_failure.case_no_display,
    "iconify": case_native.case_iconify,
    "valgrind": case_native.case_valgrind,
    "long-run": case_endurance.case_long_run,
    "storm": case_endurance.case_storm,
    "destroyed": case_ending.case_destroyed,
    "connection-lost": case_ending.case_connection_lost,
    "layer": case_layer.case_layer,
}

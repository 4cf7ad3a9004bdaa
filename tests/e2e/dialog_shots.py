#!/usr/bin/env python3
"""Pictures of three dialogs as the X server shows them.

    dialog_shots.py MOK SOURCE_DIR FOLDER

Starts mok on the sample under Xvfb (no window manager), opens File >
Preferences..., File > File Properties... and, with every face selected,
Selection > Set Triangle Type Flags... from the menus with the keyboard, and saves
each dialog's part of the screen as FOLDER/<title>.png.
"""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_e2e import Desktop, fail, start_mok, start_xvfb, write_settings  # noqa: E402

# The dialog's title, then the keys that open it from the main window. The
# menus are walked with the arrows: a letter is a command key of its own
# while a menu is open.
DIALOGS = [
    ("Preferences", ["alt+f"] + ["Down"] * 7 + ["Return"]),
    ("File Properties", ["alt+f"] + ["Down"] * 3 + ["Return"]),
    ("Triangle Flags", ["grave", "alt+l"] + ["Down"] * 6 + ["Return"]),
]


def shoot(desktop, process, title, keys, folder):
    desktop.key(keys[0])  # gives the main window the focus first
    for key in keys[1:]:
        desktop.xdo("key", key)
        time.sleep(0.2)
    dialog = desktop.find_window(f"^{title}$", process, timeout=10)
    time.sleep(1.0)
    x, y, w, h = desktop.geometry(dialog)
    picture = desktop.grab().crop((x, y, x + w, y + h)).quantize(256)  # a dialog has few colours
    picture.save(os.path.join(folder, f"{title}.png"), optimize=True)
    desktop.xdo("windowfocus", "--sync", dialog, check=False)
    desktop.xdo("key", "Escape")
    time.sleep(0.5)
    if desktop.xdo("search", "--onlyvisible", "--name", f"^{title}$", check=False):
        fail(f"{title} did not close on Escape")


def main(mok, source, folder):
    os.makedirs(folder, exist_ok=True)
    server, display = start_xvfb()
    work = tempfile.mkdtemp(prefix="mok-shots-")
    process = None
    try:
        desktop = Desktop(display)
        samples = os.path.join(source, "resources", "samples", "Sampler", "Models")
        for name in os.listdir(samples):
            shutil.copy(os.path.join(samples, name), work)
        write_settings(os.path.join(work, "config"))
        env = {"XDG_CONFIG_HOME": os.path.join(work, "config"), "HOME": work, "QT_QPA_PLATFORM": "xcb"}
        process, _, _ = start_mok(mok, desktop, os.path.join(work, "Sampler_d.3d"), env)
        for title, keys in DIALOGS:
            shoot(desktop, process, title, keys, folder)
            print(f"{title}: {os.path.join(folder, title + '.png')}")
    finally:
        if process:
            process.terminate()
            process.wait(10)
        server.terminate()
        server.wait(10)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__)
        sys.exit(2)
    main(*sys.argv[1:])

#!/usr/bin/env python3
"""Pictures of the dialogs and the intro as the X server shows them.

    dialog_shots.py MOK SOURCE_DIR FOLDER

Starts mok on the sample under Xvfb (no window manager), opens each dialog of
DIALOGS from the menus and keys (the Tiling Options from the skin view's
corner button menu; Import MKMP after typing the path of the sample's mapping,
written by mokcli next to MOK, into the Open dialog; Triangle Flags and Assign
Texture Channel with every face selected) and saves its part of the screen as
FOLDER/<title>.png ("/" left out).
Then starts mok again without Skip Intro and saves the intro, two seconds in,
as intro.png in FOLDER's parent.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_e2e import Desktop, fail, shut_down, start_mok, start_xvfb, write_settings  # noqa: E402

# The dialog's title, then the keys that open it from the main window. The
# menus are walked with the arrows: a letter is a command key of its own
# while a menu is open. A (x, y) pair is a left click at that point of the main window; ("type",
# text) types the text into the focused dialog after a pause.
DIALOGS = [
    ("Preferences", ["alt+f"] + ["Down"] * 7 + ["Return"]),
    ("File Properties", ["alt+f"] + ["Down"] * 3 + ["Return"]),
    ("Triangle Flags", ["grave", "alt+l"] + ["Down"] * 6 + ["Return"]),
    ("Assign Texture Channel", ["grave", "alt+l"] + ["Down"] * 7 + ["Return"]),
    ("Create New Skin", ["shift+n"]),
    ("Resize Skin / UV Mapping", ["alt+m", "Up", "Up", "Return"]),
    ("Tiling Options", ["c", (9, 89), "Up", "Return"]),  # the skin view's corner button menu
    ("Map from 3D View", ["alt+m", "Return"]),
    ("Snapshots", ["F12"]),
    ("Import MKMP", ["c", "alt+m"] + ["Down"] * 4 + ["Return", ("type", "MAPPING"), "Return"]),
    ("Model Stats", ["alt+a", "Return"]),
    ("About MOK", ["alt+a", "Down", "Down", "Return"]),
]


def shoot(desktop, process, title, keys, folder, mapping):
    desktop.key(keys[0])  # gives the main window the focus first
    for key in keys[1:]:
        if isinstance(key, tuple) and key[0] == "type":
            time.sleep(0.8)
            desktop.xdo("type", "--delay", "20", key[1].replace("MAPPING", mapping))
        elif isinstance(key, tuple):
            x, y, _, _ = desktop.geometry(desktop.main)
            desktop.xdo("mousemove", x + key[0], y + key[1])
            desktop.xdo("click", 1)
        else:
            desktop.xdo("key", key)
        time.sleep(0.3)
    dialog = desktop.find_window(f"^{title}$", process, timeout=10)
    time.sleep(1.0)
    x, y, w, h = desktop.geometry(dialog)
    picture = desktop.grab().crop((x, y, x + w, y + h)).quantize(256)  # a dialog has few colours
    picture.save(os.path.join(folder, title.replace("/", "") + ".png"), optimize=True)
    desktop.xdo("windowfocus", "--sync", dialog, check=False)
    desktop.xdo("key", "Escape")
    time.sleep(0.5)
    if desktop.xdo("search", "--onlyvisible", "--name", f"^{title}$", check=False):
        fail(f"{title} did not close on Escape")


def shoot_intro(desktop, mok, mesh, work, picture):
    """The intro as it plays: settings without Skip Intro, a grab after two seconds."""
    config = os.path.join(work, "intro-config")
    write_settings(config)
    ini = os.path.join(config, "Korvane", "MOK.conf")
    with open(ini) as f:
        text = f.read().replace("Skip%20Intro=1\n", "")
    with open(ini, "w") as f:
        f.write(text)
    env = dict(desktop.env, XDG_CONFIG_HOME=config, HOME=work, QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([mok, "-3d", mesh], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        end = time.time() + 20
        while not desktop.xdo("search", "--onlyvisible", "--pid", process.pid, check=False) and time.time() < end:
            time.sleep(0.05)
        time.sleep(2.0)
        found = desktop.xdo("search", "--onlyvisible", "--pid", process.pid, check=False).split()
        if not found:
            fail("the intro never showed")
        x, y, w, h = desktop.geometry(found[0])
        if (w, h) != (320, 240):
            fail(f"the first window is {w}x{h}, not the intro")
        desktop.grab().crop((x, y, x + w, y + h)).quantize(64).save(picture, optimize=True)
    finally:
        process.terminate()
        process.wait(10)


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
        mapping = os.path.join(work, "Sampler_d.mkmp")
        mokcli = os.path.join(os.path.dirname(mok), "mokcli")
        subprocess.run([mokcli, "mapping", "export", os.path.join(work, "Sampler_d.3d"), mapping], check=True)
        write_settings(os.path.join(work, "config"))
        env = {"XDG_CONFIG_HOME": os.path.join(work, "config"), "HOME": work, "QT_QPA_PLATFORM": "xcb"}
        process, _, _ = start_mok(mok, desktop, os.path.join(work, "Sampler_d.3d"), env)
        for title, keys in DIALOGS:
            shoot(desktop, process, title, keys, folder, mapping)
            print(f"{title}: {os.path.join(folder, title.replace('/', '') + '.png')}")
        process.terminate()
        process.wait(10)
        process = None
        intro = os.path.join(os.path.dirname(os.path.abspath(folder)), "intro.png")
        shoot_intro(desktop, mok, os.path.join(work, "Sampler_d.3d"), work, intro)
        print(f"intro: {intro}")
    finally:
        shut_down(process, server, work)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__)
        sys.exit(2)
    main(*sys.argv[1:])

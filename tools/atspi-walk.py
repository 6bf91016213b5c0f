#!/usr/bin/python3
# Reads the planner's accessibility tree through AT-SPI, as a screen reader
# does: the main window, the settings window with each of its tabs, and the
# homework entry dialog. Prints one line "UNNAMED <window> / <path>" for every
# focusable control without a name, "WINDOW <title>" for every window walked,
# and "ERROR <text>" when the tree could not be reached. With KALMORA_SHOTS
# set to a folder, each window walked is also photographed there.
import os
import subprocess
import sys
import time

import pyatspi

STARTED = time.time()


def step(what):
    """Where the walk is, on stderr: shown by the test when the walk does not end."""
    print(f"{time.time() - STARTED:6.1f} s {what}", file=sys.stderr, flush=True)

SKIP_INSIDE = {"table", "list", "tree", "tree table", "menu", "combo box"}  # their items are named by their content


def find(predicate, root, depth=0):
    if depth > 40:
        return None
    try:
        if predicate(root):
            return root
        for child in root:
            if child is None:
                continue
            found = find(predicate, child, depth + 1)
            if found is not None:
                return found
    except Exception:
        pass
    return None


def application(name, timeout):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == name:
                return app
        time.sleep(0.3)
    return None


def window(app, title_part, timeout=10, other_than=None):
    end = time.time() + timeout
    while time.time() < end:
        for w in app:
            if w is not None and w != other_than and title_part in (w.name or "") and w.getState().contains(pyatspi.STATE_SHOWING):
                return w
        time.sleep(0.2)
    return None


def focused(acc, depth=0):
    if depth > 30:
        return None
    try:
        if acc.getState().contains(pyatspi.STATE_FOCUSED):
            return acc
        for child in acc:
            if child is not None:
                found = focused(child, depth + 1)
                if found is not None:
                    return found
    except Exception:
        pass
    return None


def key_of(acc):
    try:
        return (acc.getRoleName(), acc.name, acc.getIndexInParent(), acc.parent.name if acc.parent else None)
    except Exception:
        return None


def wait_focus(win, before, timeout=10):
    """The focused control once it differs from before (any, when before is None)."""
    end = time.time() + timeout
    old = key_of(before) if before is not None else None
    current = None
    while time.time() < end:
        current = focused(win)
        if current is not None and (before is None or key_of(current) != old):
            return current
        time.sleep(0.1)
    return current


def walk(acc, path, out, counted):
    try:
        state = acc.getState()
        role = acc.getRoleName()
    except Exception:
        return
    if not state.contains(pyatspi.STATE_SHOWING):
        return
    if state.contains(pyatspi.STATE_FOCUSABLE):
        counted.append(role)
    if state.contains(pyatspi.STATE_FOCUSABLE) and not (acc.name or "").strip():
        out.append(f"{path}/{role}[{acc.description or ''}]")
    if role in SKIP_INSIDE:
        return
    for i, child in enumerate(acc):
        if child is not None:
            walk(child, f"{path}/{role}#{i}", out, counted)


def photograph(win, label):
    folder = os.environ.get("KALMORA_SHOTS")
    if not folder:
        return
    time.sleep(0.8)
    # The tree gives device-independent pixels; KALMORA_SHOTS_SCALE is the program's QT_SCALE_FACTOR.
    scale = float(os.environ.get("KALMORA_SHOTS_SCALE", "1"))
    x, y, w, h = (int(v * scale) for v in win.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))
    name = os.path.join(folder, label.replace(":", "-").replace(" ", "_").lower() + ".png")
    if w > 0 and h > 0:
        subprocess.run(["import", "-window", "root", "-crop", f"{w + 8}x{h + 40}+{max(0, x - 4)}+{max(0, y - 36)}", "+repage", name], check=False)
    else:
        subprocess.run(["import", "-window", "root", name], check=False)


def report(win, label):
    photograph(win, label)
    problems = []
    counted = []
    walk(win, "", problems, counted)
    print(f"WINDOW {label}: {win.name} ({len(counted)} focusable)", flush=True)
    for p in problems:
        print(f"UNNAMED {label} {p}", flush=True)


def press(app, win, name):
    button = find(lambda a: a.name == name and a.getRoleName() in ("push button", "toggle button"), win)
    if button is None:
        print(f"ERROR no button {name}", flush=True)
        return False
    button.queryAction().doAction(0)
    return True


def main():
    app = application("kalmora", 60)
    if app is None:
        print("ERROR the program did not appear on the accessibility bus", flush=True)
        return
    main_window = window(app, "Kalmora V2.0")
    if main_window is None:
        print("ERROR no main window", flush=True)
        return
    step("main window")
    report(main_window, "main")

    # The homework entry dialog, reached with the keyboard alone: Tab to the
    # timetable, Down to the first lesson, Enter. Each key waits until the
    # focus has answered it, however slowly the machine runs.
    # The window manager may not have taken the window yet: the focus is asked
    # for again until a control has it.
    current = None
    for _ in range(10):
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Kalmora V2.0", "windowactivate", "--sync", "%1",
                        "windowfocus", "--sync", "%1"], check=False, timeout=30)
        current = wait_focus(main_window, None, 3)
        if current is not None:
            break
    x_focus = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True, text=True, check=False)
    step(f"focus: {key_of(current)}; X focus: {x_focus.stdout.strip()} {x_focus.stderr.strip()}")
    for _ in range(12):
        if current is not None and current.getRoleName() == "table":
            break
        subprocess.run(["xdotool", "key", "Tab"], check=False)
        current = wait_focus(main_window, current)
        step(f"Tab: {key_of(current)}")
    # Moving to a lesson opens its homework; Enter opens it where it did not,
    # but only while the grid still has the focus, so that a dialog that is
    # merely slow to appear is not closed by it.
    subject = sys.argv[1] if len(sys.argv) > 1 else "Mathematik"
    subprocess.run(["xdotool", "key", "Down"], check=False)
    entry = window(app, subject, 20)
    if entry is None and focused(main_window) is not None:
        subprocess.run(["xdotool", "key", "Return"], check=False)
        entry = window(app, subject, 20)
    step(f"entry dialog: {entry is not None}")
    if entry is None:
        print("ERROR no entry dialog", flush=True)
    else:
        report(entry, "entry")
        press(app, entry, "Abbrechen")

    if not press(app, main_window, "Optionsbox"):
        return
    settings = window(app, "Kalmora V2.0", 20, other_than=main_window)
    if settings is None:
        print("ERROR no settings window", flush=True)
        return
    tabs = find(lambda a: a.getRoleName() == "page tab list", settings)
    count = tabs.childCount if tabs is not None else 0
    if count == 0:
        print("ERROR no tabs", flush=True)
    for i in range(count):
        if tabs[i].getRoleName() != "page tab":
            continue
        tabs[i].queryAction().doAction(0)
        time.sleep(0.5)
        step(f"tab {tabs[i].name}")
        report(settings, "settings:" + (tabs[i].name or str(i)))
    if os.environ.get("KALMORA_WALK_ALL"):
        more_windows(app, main_window, settings)


def more_windows(app, main_window, settings):
    """The further windows, for the pictures: the alarm list and the help."""
    press(app, settings, "Abbrechen")
    if press(app, main_window, "Ereigniseditor (oldschool)"):
        shown = window(app, "Alarm")
        if shown is not None:
            report(shown, "alarm")
            press(app, shown, "Abbrechen")
    if press(app, main_window, "Hilfe"):
        time.sleep(1)
        shown = window(app, "Hilfe")
        if shown is not None:
            report(shown, "help")

main()

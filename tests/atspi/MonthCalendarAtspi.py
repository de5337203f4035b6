#!/usr/bin/python3
"""The month view as a screen reader reads it: the real program on its own X server, its tree
read from outside over AT-SPI. Finds the month calendar and the selected day by name, moves the
selection with key presses (also those that scroll the view, with one month and with twelve
shown) and hears each new day take the focus from a live object; reads the selected date as
the calendar's text; opens a colour picker's pop-up and hears a colour. Run inside its own
session bus (dbus-run-session); every wait is bounded and every process it starts is ended.

usage: MonthCalendarAtspi.py PATH-TO-ORVANI
"""

import datetime
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

DUTCH_DAYS = ["maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag", "zondag"]
DUTCH_MONTHS = ["januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus",
                "september", "oktober", "november", "december"]
DAY_NAME = re.compile(r"^(\w+) (\d+) (\w+) (\d+), week (\d+)(, vandaag)?$")
WAIT = 20  # seconds for any one thing to appear


tree_shown = None  # the tree printed with a failure


def show_tree(node, depth=0):
    try:
        print("  " * depth + "%s %r" % (node.getRoleName(), node.name), flush=True)
        for index, child in enumerate(node):
            if depth < 5 and index < 12:
                show_tree(child, depth + 1)
    except Exception as error:
        print("  " * depth + "(unreadable: %s)" % error, flush=True)


def fail(message):
    print("FAIL: " + message, flush=True)
    if tree_shown is not None:
        show_tree(tree_shown)
    sys.exit(1)


def wait_for(what, probe):
    """The test's one wait: handles the bus's events until the probe finds something."""
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree is still being built
            found = None
        if found:
            return found
        GLib.timeout_add(50, lambda: False)  # looks again after a while when no event comes
        GLib.MainContext.default().iteration(True)
    fail("no " + what + " within %d s" % WAIT)


def day_name(date):
    """The name the program gives a day, in Dutch."""
    return "%s %d %s %d, week %d" % (DUTCH_DAYS[date.weekday()], date.day, DUTCH_MONTHS[date.month - 1],
                                     date.year, date.isocalendar()[1])


def add_months(date, months):
    month = date.month - 1 + months
    return date.replace(year=date.year + month // 12, month=month % 12 + 1)


def long_date(date):
    return day_name(date).split(", week")[0]


focus_events = []  # the objects that took the focus, as events came in


def on_focus(event):
    if event.detail1:
        focus_events.append(event.source)


def hear_focus(what, check):
    """Waits for the focus to come to an object that passes the check; each object that took the
    focus meanwhile must still answer (a reader asks it for its ancestors) and pass it too."""
    def heard():
        if not focus_events:
            return None
        source = focus_events.pop(0)
        try:
            source.clearCache()
            heard = check(source)
        except Exception as error:
            fail("the focus came from an object that no longer answers (%s) while waiting for %s" % (error, what))
        if not heard:
            fail("the focus came to %r while waiting for %s" % (source.name, what))
        return heard
    return wait_for("focus on " + what, heard)


def press(env, window, keys):
    """Keys to a window, or with no window to whichever has the keyboard."""
    target = ["--window", window] if window else []
    subprocess.run(["xdotool", "key"] + target + keys, env=env, timeout=WAIT, check=True)


def hear_day(env, window, keys, date, months):
    """Presses the keys and hears the day take the focus, in its month, in the calendar."""
    expected = day_name(date)
    focus_events.clear()
    press(env, window, keys)
    cell = hear_focus(expected, lambda cell: cell.name.startswith(expected) and cell)
    table = cell.parent
    if table.getRole() != pyatspi.ROLE_TABLE or table.name != "%s %d" % (DUTCH_MONTHS[date.month - 1], date.year) \
            or table.parent.name != "Maandkalender":
        fail("%r stands in %r in %r" % (cell.name, table.name, table.parent.name))
    if len(months()) != len(set(t.name for t in months())):
        fail("a month is shown twice")
    print("after %s:" % "+".join(keys), cell.name, "in", table.name, flush=True)


def parse_day(name):
    match = DAY_NAME.match(name)
    if not match or match.group(3) not in DUTCH_MONTHS:
        fail("not a day's name: %r" % name)
    date = datetime.date(int(match.group(4)), DUTCH_MONTHS.index(match.group(3)) + 1, int(match.group(2)))
    if not name.startswith(day_name(date)):
        fail("weekday or week number wrong in %r (expected %r)" % (name, day_name(date)))
    return date, bool(match.group(6))


def find(root, predicate):
    """The first node, breadth first, that answers the predicate; nodes that cannot be read are passed."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        try:
            if node is not root and predicate(node):
                return node
            queue.extend(child for child in node if child is not None)
        except Exception:
            continue
    return None


def selected_day(calendar):
    calendar.clearCache()
    cell = find(calendar, lambda a: a.getRole() == pyatspi.ROLE_TABLE_CELL
                and a.getState().contains(pyatspi.STATE_SELECTED))
    return cell.name if cell else None


DUTCH_COLOURS = ["wit", "zwart", "zilver", "grijs", "rood", "kastanjebruin", "geel", "olijfgroen", "limoen", "groen",
                 "aqua", "blauwgroen", "blauw", "marineblauw", "fuchsia", "paars", "muntgroen", "hemelsblauw",
                 "crème", "middengrijs"]


def hear_colour(env, orvani, window):
    """Opens the Options dialog and the first colour picker's pop-up, and hears a colour."""
    options = wait_for("Options button", lambda: find(orvani, lambda a: a.name == "Opties"
                                                       and a.getRole() == pyatspi.ROLE_PUSH_BUTTON))
    options.queryComponent().grabFocus()
    press(env, window, ["space"])
    dialog = wait_for("Options dialog", lambda: next(
        (w for w in orvani if w.getRole() == pyatspi.ROLE_DIALOG and w.getState().contains(pyatspi.STATE_SHOWING)),
        None))
    tab = wait_for("View tab", lambda: find(dialog, lambda a: a.getRole() == pyatspi.ROLE_PAGE_TAB
                                            and a.name == "Weergave"))
    tab.queryAction().doAction(0)
    picker = wait_for("colour picker", lambda: find(dialog, lambda a: a.getRole() == pyatspi.ROLE_COMBO_BOX
                                                    and a.name == "Achtergrond"
                                                    and a.getState().contains(pyatspi.STATE_SHOWING)))
    focus_events.clear()
    picker.queryComponent().grabFocus()
    hear_focus("the colour picker", lambda a: a.name == "Achtergrond")
    colour = picker.queryText().getText(0, -1)
    is_colour = lambda name: name in DUTCH_COLOURS or re.match(r"^#[0-9A-F]{6}$", name)
    if not is_colour(colour):
        fail("the colour picker reads %r as its colour" % colour)
    for keys in (["space"], ["Left"]):
        press(env, None, keys)
        item = hear_focus("a colour of the pop-up",
                          lambda a: a.getRole() == pyatspi.ROLE_LIST_ITEM and is_colour(a.name) and a)
        if item.parent.parent.name != "Achtergrond":
            fail("the colour %r is not in the picker's pop-up" % item.name)
        heard = item.name
        print("after %s in the colour picker:" % "+".join(keys), heard, flush=True)
    press(env, None, ["Return"])
    chosen = hear_focus("the colour picker again", lambda a: a.name == "Achtergrond" and a)
    if chosen.queryText().getText(0, -1) != heard:
        fail("the colour picker reads %r after %r was chosen" % (chosen.queryText().getText(0, -1), heard))
    press(env, None, ["Escape"])


def hear_quiet_clock(orvani):
    """The status bar's clock reads the time when asked, and ticks without a name change."""
    time_name = re.compile(r"^\d\d:\d\d:\d\d$")
    clock = wait_for("the clock", lambda: find(orvani, lambda a: a.getRole() == pyatspi.ROLE_LABEL
                                                and time_name.match(a.name)))
    changes = []
    listener = lambda event: changes.append(event.source.name)
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")
    first = clock.name

    def ticked():
        clock.clearCache()
        return clock.name != first and time_name.match(clock.name)
    wait_for("the clock to tick", ticked)
    GLib.MainContext.default().iteration(False)
    pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")
    if any(time_name.match(name or "") for name in changes):
        fail("the clock announces every tick: %r" % changes)
    print("clock read as", clock.name, "without a name change", flush=True)


def start_x_server():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        display = pipe.readline().strip()
    if not display:
        fail("Xvfb did not start")
    return server, ":" + display


def main():
    program = sys.argv[1]
    signal.alarm(120)  # the whole test, whatever hangs
    server, display = start_x_server()
    scratch = tempfile.TemporaryDirectory(prefix="orvani-atspi-")
    app = None
    try:
        home = scratch.name
        store = os.path.join(home, "KX")
        os.makedirs(store)
        with open(os.path.join(store, "Orvani.reg"), "w", encoding="utf-8") as settings:
            settings.write("Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"Taal\"=dword:00000000\n")
        runtime = os.path.join(home, "runtime")  # its own, so it never hands over to another Orvani
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_HOME=home, XDG_RUNTIME_DIR=runtime, LANG="nl_NL.UTF-8", LC_ALL="", LANGUAGE="nl")
        app = subprocess.Popen([program], env=env)

        orvani = wait_for("Orvani on the accessibility bus", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Orvani"), None))
        global tree_shown
        tree_shown = orvani
        calendar = wait_for("month calendar", lambda: find(orvani, lambda a: a.name == "Maandkalender"))
        tables = [child for child in calendar if child.getRole() == pyatspi.ROLE_TABLE]
        if not tables:
            fail("the month calendar shows no month")
        print("month calendar with", ", ".join(t.name for t in tables), flush=True)

        first = wait_for("selected day", lambda: selected_day(calendar))
        date, today = parse_day(first)
        print("selected:", first, flush=True)
        if not today:
            fail("the day selected at start is not marked as today: %r" % first)

        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Orvani$"], env=env,
                                capture_output=True, text=True, timeout=WAIT).stdout.split()
        if not window:
            fail("no Orvani window on the X server")
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0], "key", "Right"], env=env, timeout=WAIT,
                       check=True)
        expected = day_name(date + datetime.timedelta(days=1))
        moved = wait_for("new selected day " + expected,
                         lambda: (lambda name: name if name and name.startswith(expected) else None)(
                             selected_day(calendar)))
        print("after Right:", moved, flush=True)
        date += datetime.timedelta(days=1)

        calendar.clearCache()
        value = calendar.queryText().getText(0, -1)
        if value != long_date(date):
            fail("the calendar reads %r as its value, not %r" % (value, long_date(date)))

        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
        months = lambda: [child for child in calendar if child.getRole() == pyatspi.ROLE_TABLE]
        date = add_months(date, 1)
        hear_day(env, window[0], ["Next"], date, months)  # one month shown: the view scrolls
        subprocess.run(["xdotool", "windowsize", "--sync", window[0], "720", "600"], env=env, timeout=WAIT,
                       check=True)
        wait_for("twelve months", lambda: len(months()) == 12)
        date = add_months(date, 12)
        hear_day(env, window[0], ["ctrl+Next"], date, months)
        hear_day(env, window[0], ["ctrl+Prior"], add_months(date, -12), months)

        hear_quiet_clock(orvani)
        hear_colour(env, orvani, window[0])
        print("1 passed, 0 failed", flush=True)
    finally:
        for process in (app, server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
        scratch.cleanup()


if __name__ == "__main__":
    main()

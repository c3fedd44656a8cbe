"""Reads Tavek's main window through AT-SPI, as a screen reader (Orca) does.

Run by check_screen_reader.sh on an X server and buses of its own. Starts the
window program given, finds the window in the AT-SPI tree and checks what a
reader hears of each control: a list's entry as its name without the list
being opened, the entry selected in the list, what the list is for by
relation, the options' checked state, the message boxes' text and the
toolbar commands' keys; then
changes a delay from the keyboard and an option by its action, and checks
that the reader is told and hears the new state.

Usage: read_as_screen_reader.py WINDOW_PROGRAM
"""

import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Bounds far above what each step takes (the window is read within a second
# or two); they only end a run that would otherwise hang.
WINDOW_DEADLINE_S = 30
EVENT_DEADLINE_S = 10
KEY_DOWN = 0xFF54  # the X keysym of the Down arrow
PLACEHOLDER = "Type here your message"

failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: expected {expected!r}, got {got!r}")


class Events:
    """What the window tells a reader, as it comes: the events Orca listens to."""

    KINDS = (
        "window:activate",
        "object:state-changed:checked",
        "object:property-change:accessible-name",
        "object:value-changed",
    )

    def __init__(self):
        self.heard = []
        self.listener = Atspi.EventListener.new(self.heard.append)
        for kind in self.KINDS:
            self.listener.register(kind)

    def wait_for(self, what, matches):
        """The first event heard that matches, or None when none came in time."""
        deadline = time.monotonic() + EVENT_DEADLINE_S
        context = GLib.MainContext.default()
        while True:
            for event in self.heard:
                if matches(event):
                    return event
            if time.monotonic() > deadline:
                failures.append(f"never heard: {what}")
                return None
            context.iteration(False)
            time.sleep(0.01)


def descendants(node, role=None, name=None):
    found = []
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is None:
            continue
        if role in (None, child.get_role()) and name in (None, child.get_name()):
            found.append(child)
        found.extend(descendants(child, role, name))
    return found


def only(nodes, what):
    if len(nodes) != 1:
        raise LookupError(f"{what}: found {len(nodes)}, expected one")
    return nodes[0]


def main_window(program):
    """The frame of the started program, once the AT-SPI tree has it."""
    deadline = time.monotonic() + WINDOW_DEADLINE_S
    while time.monotonic() < deadline:
        if program.poll() is not None:
            raise LookupError(f"the window program ended with {program.returncode}")
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is None or app.get_process_id() != program.pid:
                continue
            frames = [app.get_child_at_index(i) for i in range(app.get_child_count())]
            for frame in frames:
                if frame is not None and frame.get_role() == Atspi.Role.FRAME:
                    return frame
        time.sleep(0.1)
    raise LookupError("the window never reached the AT-SPI tree")


def labels(node):
    """The names of what labels the control by relation, in the relations' order."""
    names = []
    for relation in node.get_relation_set():
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names += [relation.get_target(i).get_name() for i in range(relation.get_n_targets())]
    return names


def has(node, state):
    return node.get_state_set().contains(state)


def heard_of_list(box):
    """What a reader hears of a drop-down list, read afresh from the program: its
    name, whether it is open, and the entries selected in its list."""
    box.clear_cache()
    entries = only(descendants(box, Atspi.Role.LIST), "the entries of a list")
    selected = [
        entries.get_child_at_index(i).get_name()
        for i in range(entries.get_child_count())
        if has(entries.get_child_at_index(i), Atspi.StateType.SELECTED)
    ]
    return box.get_name(), has(box, Atspi.StateType.EXPANDED), selected


def text_of(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def read_window(frame, events):
    toolbar = only(descendants(frame, Atspi.Role.TOOL_BAR), "the toolbar")
    panels = {
        n: only(descendants(frame, Atspi.Role.PANEL, f" Input {n} "), f"input {n}")
        for n in (1, 2, 3)
    }

    def delay_list(n):
        return only(descendants(panels[n], Atspi.Role.COMBO_BOX), f"input {n}'s delay list")

    def option(name):
        return only(descendants(panels[2], Atspi.Role.RADIO_BUTTON, name), f"input 2, {name}")

    # Each list as a reader comes to it, the list closed: its name, whether it
    # is open and the entries selected in it; then what says which list it is.
    # what | the list | name, open, selected | labels by relation | description
    lists = [
        ("the port selector", only(descendants(toolbar, Atspi.Role.COMBO_BOX), "the port selector"),
         ("Com 1", False, ["Com 1"]), ["Serial port"], ""),
    ]
    for n in (1, 2, 3):
        lists.append((f"delay list {n}", delay_list(n), ("No delay", False, ["No delay"]),
                      ["msec: ", f"Input {n} Bit"], f"Input {n} delay"))
    for what, box, heard, labelled_by, description in lists:
        check(f"{what}: name, open, selected entries", heard_of_list(box), heard)
        check(f"{what}: labelled by", labels(box), labelled_by)
        check(f"{what}: description", box.get_description(), description)

    # Each message box: its label and its input's frame by relation, its text.
    for n in (1, 3):
        boxes = descendants(panels[n], Atspi.Role.TEXT)
        check(f"input {n}: message boxes", len(boxes), 2)
        for box, kind in zip(boxes, ("Single", "Double")):
            what = f"input {n}, {kind} message"
            check(f"{what}: labelled by", labels(box), [f"Message {kind}:", f" Input {n} "])
            check(f"{what}: text", text_of(box), PLACEHOLDER)

    # Each option of input 2 as the window starts: checked or not.
    # the option | checked
    options = [("Active", False), ("Disactive", True), ("N. Open", True), ("N. Closed", False),
               ("Single (recomended)", True), ("Double", False)]
    for name, checked in options:
        check(f"input 2, {name}: checked", has(option(name), Atspi.StateType.CHECKED), checked)

    # A toolbar command with keys: a reader hears its name, and its keys as
    # the binding of its first action (Press).
    # the button's name | its keys
    for name, keys in (("Open configuration\u2026", "Ctrl+O"), ("About Tavek", "F1"),
                       ("Connection", "")):
        button = only(descendants(toolbar, Atspi.Role.PUSH_BUTTON, name), name)
        check(f"{name}: first action", Atspi.Action.get_action_name(button, 0), "Press")
        check(f"{name}: keys", Atspi.Action.get_key_binding(button, 0), keys)

    # The status line is read as what it shows.
    status = only(descendants(frame, Atspi.Role.LABEL, "Modem Disconnected"), "the status line")
    check("the status line: description", status.get_description(), "Status")

    # A delay chosen from the keyboard with the list closed: Down three times
    # from "No delay" is "300". The reader is told the new name as it comes.
    events.wait_for("the window active",
                    lambda e: e.type == "window:activate" and e.source == frame)
    chosen = delay_list(2)
    check("delay list 2: takes the focus", Atspi.Component.grab_focus(chosen), True)
    for _ in range(3):
        Atspi.generate_keyboard_event(KEY_DOWN, None, Atspi.KeySynthType.SYM)
    if events.wait_for('delay list 2 named "300"',
                       lambda e: e.type == "object:property-change:accessible-name"
                       and e.source == chosen and e.any_data == "300"):
        check("delay list 2 after Down x3", heard_of_list(chosen), ("300", False, ["300"]))
        check("delay list 3 after Down x3 on list 2", heard_of_list(delay_list(3)),
              ("No delay", False, ["No delay"]))

    # An option chosen by its action: the other one of the pair is then not checked.
    active, disactive = option("Active"), option("Disactive")
    Atspi.Action.do_action(active, 0)  # a button's first action in Qt: Press
    if events.wait_for("input 2, Active checked",
                       lambda e: e.type == "object:state-changed:checked"
                       and e.source == active and e.detail1 == 1):
        active.clear_cache()
        disactive.clear_cache()
        check("input 2 after pressing Active: Active, Disactive checked",
              (has(active, Atspi.StateType.CHECKED), has(disactive, Atspi.StateType.CHECKED)),
              (True, False))


def main():
    events = Events()  # listening before the window starts, as a running reader is
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([sys.argv[1]], env=environment)
    try:
        read_window(main_window(program), events)
    except LookupError as missing:
        failures.append(str(missing))
    finally:
        program.terminate()
        program.wait()
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print("Every control read through AT-SPI as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())

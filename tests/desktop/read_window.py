#!/usr/bin/python3
"""Reads the Linux program's window the way a screen reader does, through
AT-SPI. The names case: every field a user sees must carry its name, both
buttons theirs, and the figures must be readable after an amount is entered
through the accessibility interface. The figures case: typing 10 into Barley
as a user would, the figures must come to the listener as one shown
notification once the typing pauses, while the focus stays in Barley. Starts
the accessibility bus and the program on the display and session bus this
process was given."""

import argparse
import json
import os
import signal
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from form1dump import Layout
from no_writes import find_window, geometry, xdotool

# Barley 10, worked out by hand: what the figures read and what is heard.
with open(os.path.join(os.path.dirname(__file__), '..', 'window', 'barleyten.json')) as f:
    BARLEY_TEN = json.load(f)


def find_application(name, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and name in (app.name or '').lower():
                return app
        time.sleep(0.2)
    sys.exit(f'no accessible application named {name!r}')


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def read(layout, program):
    app = find_application(os.path.basename(program))
    fields = {}
    buttons = set()
    for node in nodes(app):
        role = node.getRole()
        if role == pyatspi.ROLE_TEXT and node.getState().contains(pyatspi.STATE_SHOWING):
            if not node.name:
                sys.exit('a visible field has no name')
            fields.setdefault(node.name, node)
        elif role == pyatspi.ROLE_PUSH_BUTTON:
            buttons.add(node.name)

    expected = {c['accessibleName'] for c in layout.fields()}
    missing = expected - set(fields)
    if missing:
        sys.exit(f'fields a screen reader cannot name: {sorted(missing)}')
    expected_buttons = {c['accessibleName'] for c in layout.controls if c['kind'] == 'button'}
    if buttons != expected_buttons:
        sys.exit(f'buttons read as {sorted(buttons)}, not {sorted(expected_buttons)}')
    for c in layout.fields():
        if c['kind'] == 'edit' and text_of(fields[c['accessibleName']]) != c['text']:
            sys.exit(f'{c["accessibleName"]} reads {text_of(fields[c["accessibleName"]])!r} '
                     f'at start, not {c["text"]!r}')

    # An amount typed through the accessibility interface: each figure is to
    # be read anew, as Barley 10 gives it.
    fields[BARLEY_TEN['label']].queryEditableText().setTextContents(BARLEY_TEN['typed'])
    figures = BARLEY_TEN['figures']
    deadline = time.monotonic() + 10
    while (got := {name: text_of(fields[layout[name]['accessibleName']])
                   for name in figures}) != figures:
        if time.monotonic() > deadline:
            sys.exit(f'after Barley 10 the figures read {got!r}, not {figures!r}')
        time.sleep(0.1)
    print(f'a screen reader names all {len(expected)} fields and reads the figures')


def hear_figures(layout, program):
    find_application(os.path.basename(program))
    expected = BARLEY_TEN['said']
    heard, focused = [], []

    def listen(event):
        if event.detail1 != 1:
            return
        if event.type.endswith('showing'):
            if event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                heard.append(event.source.name)
        else:
            focused.append(event.source.name)

    def type_ten():
        window = find_window(layout.caption, 10)
        x, y, _, _ = geometry(window)
        left, top, _, _ = layout.rect(layout.field_named(BARLEY_TEN['label']))
        xdotool('mousemove', '--sync', str(x + left + 6), str(y + top + 6), 'click', '1')
        xdotool('key', '--clearmodifiers', 'ctrl+a')
        xdotool('type', '--delay', '80', BARLEY_TEN['typed'])
        GLib.timeout_add(3000, pyatspi.Registry.stop)
        return False

    pyatspi.Registry.registerEventListener(listen, 'object:state-changed:showing',
                                           'object:state-changed:focused')
    # The program learns of the listeners over the bus before the typing.
    GLib.timeout_add(1000, type_ten)
    pyatspi.Registry.start()
    if set(focused) != {BARLEY_TEN['label']}:
        sys.exit(f'the focus went to {focused!r}, not to Barley alone')
    if heard != [expected]:
        sys.exit(f'heard {heard!r}, not once {expected!r}')
    print(f'heard once, with the focus in Barley: {expected}')


def wait_for_display(seconds=20):
    # On a busy machine xvfb-run can hand over before its server takes
    # connections, and a program started then fails at once.
    deadline = time.monotonic() + seconds
    while subprocess.run(['xdpyinfo'], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL).returncode != 0:
        if time.monotonic() > deadline:
            sys.exit(f"no X server answers on {os.environ.get('DISPLAY')}")
        time.sleep(0.2)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program', required=True)
    parser.add_argument('--layout', required=True, help='the control table dump program')
    parser.add_argument('--bus-launcher', required=True, help='at-spi-bus-launcher')
    parser.add_argument('--case', choices=('names', 'figures'), default='names')
    args = parser.parse_args()
    layout = Layout(args.layout)
    wait_for_display()

    # The launcher starts a bus and the registry under it: one process group,
    # ended as one, so that none outlives the test holding its output open.
    bus = subprocess.Popen([args.bus_launcher, '--launch-immediately'], start_new_session=True)
    # Qt exposes its widgets once it sees the accessibility bus; this makes
    # it do so without waiting for a screen reader to announce itself.
    program = subprocess.Popen([args.program],
                               env={**os.environ, 'QT_LINUX_ACCESSIBILITY_ALWAYS_ON': '1'})
    try:
        (hear_figures if args.case == 'figures' else read)(layout, args.program)
    finally:
        program.kill()
        program.wait()
        os.killpg(bus.pid, signal.SIGTERM)
        bus.wait()


if __name__ == '__main__':
    main()

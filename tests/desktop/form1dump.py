"""The window's control table, as the dump program prints it, and where each
control stands on the screen at 96 DPI, the Linux program's scale."""

import json
import subprocess

TWIPS_PER_PIXEL = 15


def pixels(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


class Layout:
    def __init__(self, dump_program):
        table = json.loads(subprocess.run([dump_program], check=True, capture_output=True,
                                          text=True).stdout)
        self.caption = table['caption']
        self.title = table['title']
        self.size = (pixels(table['width']), pixels(table['height']))
        self.controls = table['controls']
        self._by_name = {c['name']: c for c in self.controls}

    def __getitem__(self, name):
        return self._by_name[name]

    def parent(self, name):
        parent = self[name]['parent']
        return self.controls[parent] if parent >= 0 else None

    def rect(self, name):
        """Left, top, width and height in pixels within the client area."""
        control = self[name]
        left, top = control['left'], control['top']
        parent = self.parent(name)
        if parent is not None:
            left += parent['left']
            top += parent['top']
        return pixels(left), pixels(top), pixels(control['width']), pixels(control['height'])

    def fields(self):
        """Every field a user sees: the amounts, the figures, the instructions."""
        return [c for c in self.controls
                if c['kind'] in ('edit', 'multiLineEdit') and c['visible']]

    def field_named(self, accessible_name):
        """The control name of the one field a screen reader reads so."""
        found = [c['name'] for c in self.fields() if c['accessibleName'] == accessible_name]
        assert len(found) == 1, f'{len(found)} fields read as {accessible_name!r}'
        return found[0]


def anchored(text):
    """An xdotool --name pattern (extended regular expression) for this text alone."""
    return '^' + ''.join('\\' + ch if ch in '.^$*+?()[]{}|\\' else ch for ch in text) + '$'

"""Reads the running Grain Mix window the way a screen reader does, through
AT-SPI: every field must carry its name, and the figures must be readable
after an amount is entered through the accessibility interface."""

import sys
import time

import pyatspi

GRAINS = [
    "Acorns", "Barley", "Buckwheat", "Canary", "Cow Peas", "Field Peas", "Hemp",
    "Horse Beans", "Kafir Corn", "Lentils", "Linseed (Flax)", "Maize", "Maple Peas",
    "Milo", "Millet Seed", "Oats", "Peanuts", "Popcorn", "Rice, unhulled",
    "Rice, polished", "Rapeseed", "Soy Beans", "Safflower Seeds", "Sunflower Seeds",
    "Tic Beans", "Vetch", "Wheat",
]
RESULTS = ["Protein", "Carbohydrate", "Water", "Fibre", "Fat"]


def find_application(name, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and name in (app.name or "").lower():
                return app
        time.sleep(0.2)
    sys.exit("no accessible application named %r" % name)


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def main():
    app = find_application("grainmix")
    fields = {}
    buttons = set()
    for node in nodes(app):
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        role = node.getRole()
        if role == pyatspi.ROLE_TEXT and showing:
            if not node.name:
                sys.exit("a visible field has no name")
            fields.setdefault(node.name, node)
        elif role == pyatspi.ROLE_PUSH_BUTTON:
            buttons.add(node.name)

    expected = set(GRAINS) | set(RESULTS) | {"Amounts", "Instructions"}
    missing = expected - set(fields)
    if missing:
        sys.exit("fields a screen reader cannot name: %s" % sorted(missing))
    if buttons != {"Clear", "Exit"}:
        sys.exit("buttons read as %s" % sorted(buttons))
    for name in GRAINS + RESULTS + ["Amounts"]:
        if text_of(fields[name]) != "0":
            sys.exit("%s reads %r at start" % (name, text_of(fields[name])))

    fields["Barley"].queryEditableText().setTextContents("10")
    time.sleep(0.5)
    got = [text_of(fields[n]) for n in ["Amounts"] + RESULTS]
    want = [" 10", "12.7", "66.6", "10.6", "5.4", "1.9"]
    if got != want:
        sys.exit("after Barley 10 the figures read %r, not %r" % (got, want))
    print("a screen reader names all %d fields and reads the figures" % len(expected))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the fourteen first-run wizard pages (rtu-0.svg ... rtu-6.svg, tcp-0.svg ... tcp-6.svg).

The pages are simplified pictures of Korvan's own windows, drawn with the toolbar and tree icons of
../icons, so a change to an icon or to a window's texts is made here and the pages written again:

    python3 resources/images/wizard/pages.py

Only SVG Tiny features are used (no CSS, filters, masks or text on paths), because the wizard
draws the pages with Qt's SVG renderer.
"""

import math
import os
import re
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, "..", "icons")

WIDTH, HEIGHT = 840, 620
FONT = "DejaVu Sans, Liberation Sans, Arial, sans-serif"

NAVY = "#1b4f8c"
BLUE = "#2a66ad"
MID = "#3f7fc6"
PALE = "#dce8f6"
TEAL = "#14a3a0"
TEAL_PALE = "#c9eeec"
AMBER = "#f2a516"
AMBER_PALE = "#fdebc0"
RED = "#d8392b"
INK = "#22303d"
MUTED = "#5b6773"
FRAME = "#8a97a6"
FACE = "#eef1f4"
GRID_LINE = "#c3ccd6"
GREY_CELL = "#c8c8c8"  # the grid's colour for values that are worked out, not typed

# The toolbar, left to right, with the labels the program shows under each button.
TOOLBAR = [
    ("new", "New"), ("save", "Save"), ("open", "Open"), ("add-node", "Add Node"),
    ("delete-node", "Del Node"), ("add-command", "Add Cmd"), ("delete-command", "Del Cmd"),
    ("upload", "Upload"), ("download", "Download"), ("automap", "AutoMap"),
    ("conflict", "Conflict"), ("export", "Export"), ("memory", "Memory"),
    ("diagnose", "Diagnose"), ("debug", "Debug"), ("mode-switch", "Mode Switch"),
]

_icon_cache = {}
_id_counter = [0]


def icon(name, x, y, size):
    """The drawing of icons/<name>.svg placed at (x, y) and scaled to size × size."""
    if name not in _icon_cache:
        with open(os.path.join(ICONS, name + ".svg"), encoding="utf-8") as f:
            svg = f.read()
        view = re.search(r'viewBox="0 0 (\d+) (\d+)"', svg)
        body = re.sub(r"<svg[^>]*>|</svg>|<!--.*?-->", "", svg, flags=re.S).strip()
        _icon_cache[name] = (int(view.group(1)), body)
    box, body = _icon_cache[name]
    ids = re.findall(r'id="([^"]+)"', body)
    for i in ids:  # an icon drawn twice on a page must not repeat its gradient ids
        _id_counter[0] += 1
        new = "%s%d" % (i, _id_counter[0])
        body = body.replace('id="%s"' % i, 'id="%s"' % new).replace("url(#%s)" % i, "url(#%s)" % new)
    return '<g transform="translate(%g %g) scale(%g)">%s</g>' % (x, y, size / box, body)


def text(x, y, s, size=18, fill=INK, bold=False, anchor=None):
    attrs = 'x="%g" y="%g" font-family="%s" font-size="%g" fill="%s"' % (x, y, FONT, size, fill)
    if bold:
        attrs += ' font-weight="bold"'
    if anchor:
        attrs += ' text-anchor="%s"' % anchor
    return "<text %s>%s</text>" % (attrs, escape(s))


def rect(x, y, w, h, fill, stroke=None, sw=1, rx=0):
    s = '<rect x="%g" y="%g" width="%g" height="%g" fill="%s"' % (x, y, w, h, fill)
    if rx:
        s += ' rx="%g"' % rx
    if stroke:
        s += ' stroke="%s" stroke-width="%g"' % (stroke, sw)
    return s + "/>"


def line(x1, y1, x2, y2, stroke=GRID_LINE, sw=1):
    return '<path d="M%g %g L%g %g" stroke="%s" stroke-width="%g"/>' % (x1, y1, x2, y2, stroke, sw)


def path(d, fill="none", stroke=None, sw=2):
    s = '<path d="%s" fill="%s"' % (d, fill)
    if stroke:
        s += ' stroke="%s" stroke-width="%g" stroke-linecap="round" stroke-linejoin="round"' % (stroke, sw)
    return s + "/>"


def marker(x, y, n):
    """A numbered amber disc; the same number starts the line of text that explains it."""
    return ('<circle cx="%g" cy="%g" r="13" fill="%s" stroke="#ffffff" stroke-width="2"/>' % (x, y, AMBER)
            + text(x, y + 6, str(n), 17, "#ffffff", True, "middle"))


def arrow(x1, y1, x2, y2, colour=AMBER, sw=3):
    """A straight arrow with an open head at (x2, y2)."""
    a = math.atan2(y2 - y1, x2 - x1)
    h = 11
    p1 = (x2 - h * math.cos(a - 0.5), y2 - h * math.sin(a - 0.5))
    p2 = (x2 - h * math.cos(a + 0.5), y2 - h * math.sin(a + 0.5))
    return path("M%g %g L%g %g M%.1f %.1f L%g %g L%.1f %.1f" % (x1, y1, x2, y2, p1[0], p1[1], x2, y2, p2[0], p2[1]),
                stroke=colour, sw=sw)


def button(x, y, w, h, label, hot=False, size=16):
    s = rect(x, y, w, h, AMBER_PALE if hot else FACE, AMBER if hot else FRAME, 2 if hot else 1, 3)
    return s + text(x + w / 2, y + h / 2 + size * 0.36, label, size, INK, hot, "middle")


def frame(x, y, w, h, title, bar=NAVY, bar_h=30):
    """A window or dialog with its caption bar."""
    s = rect(x, y, w, h, "#ffffff", FRAME, 1.5, 4)
    s += rect(x, y, w, bar_h, bar, rx=4) + rect(x, y + bar_h - 6, w, 6, bar)
    s += text(x + 12, y + bar_h / 2 + 6, title, 16, "#ffffff", True)
    s += path("M%g %g L%g %g M%g %g L%g %g" % (x + w - 22, y + bar_h / 2 - 5, x + w - 12, y + bar_h / 2 + 5,
                                                x + w - 22, y + bar_h / 2 + 5, x + w - 12, y + bar_h / 2 - 5),
              stroke="#ffffff", sw=2)
    return s


def toolbar(x, y, hot=(), step=44, size=28):
    """The sixteen buttons; the ones named in hot are ringed in amber. Returns (svg, centres)."""
    s = ""
    centres = {}
    for i, (name, _label) in enumerate(TOOLBAR):
        cx = x + step / 2 + i * step
        if name in hot:
            s += rect(cx - size / 2 - 5, y - 5, size + 10, size + 10, AMBER_PALE, AMBER, 2.5, 6)
        s += icon(name, cx - size / 2, y, size)
        centres[name] = (cx, y + size / 2)
    return s, centres


def callout(cx, y, label):
    """The label of a toolbar button, shown under it the way the program shows it."""
    w = len(label) * 10 + 20
    return (path("M%g %g L%g %g L%g %g Z" % (cx - 7, y, cx, y - 8, cx + 7, y), fill=AMBER)
            + rect(cx - w / 2, y, w, 26, AMBER, rx=4) + text(cx, y + 19, label, 16, INK, True, "middle"))


def tree(x, y, items, row=26):
    """Project tree rows: (level, kind, label, state) with kind bus/node/command and state
    None, "selected" or "new". Returns (svg, list of row centre y)."""
    s = ""
    ys = []
    for i, (level, kind, label, state) in enumerate(items):
        ry = y + i * row
        ix = x + 8 + level * 22
        w = len(label) * 9.6 + 34
        if state == "selected":
            s += rect(ix - 3, ry + 1, w, row - 2, BLUE, rx=2)
        elif state == "new":
            s += rect(ix - 3, ry + 1, w, row - 2, TEAL_PALE, TEAL, 1.5, 2)
        if level:
            s += line(ix - 12, ry + row / 2, ix - 2, ry + row / 2, FRAME, 1)
            s += line(ix - 12, ry - row / 2 + 4, ix - 12, ry + row / 2, FRAME, 1)
        s += icon("tree-" + kind, ix, ry + (row - 18) / 2, 18)
        s += text(ix + 24, ry + row / 2 + 6, label, 16, "#ffffff" if state == "selected" else INK)
        ys.append(ry + row / 2)
    return s, ys


def grid(x, y, name_w, value_w, rows, row=26, size=16):
    """Parameter grid rows: (name, value, state) with state None, "grey", "hot" or "edit"."""
    s = ""
    for i, (name, value, state) in enumerate(rows):
        ry = y + i * row
        s += rect(x, ry, name_w, row, "#f6f8fa")
        fill = {"grey": GREY_CELL, "hot": AMBER_PALE, "edit": "#ffffff"}.get(state, "#ffffff")
        s += rect(x + name_w, ry, value_w, row, fill)
        s += text(x + 8, ry + row / 2 + 6, name, size, INK)
        s += text(x + name_w + 8, ry + row / 2 + 6, value, size, INK, state == "hot")
        if state == "edit":
            s += rect(x + name_w + 2, ry + 2, value_w - 24, row - 4, "none", NAVY, 1.5)
    s += rect(x, y, name_w + value_w, row * len(rows), "none", FRAME, 1)
    for i in range(1, len(rows)):
        s += line(x, y + i * row, x + name_w + value_w, y + i * row)
    s += line(x + name_w, y, x + name_w, y + row * len(rows))
    return s


def main_window(x, y, w, h, tree_items, grid_rows, hot=(), tree_w=210, name_w=None, menu_hot=None):
    """Korvan's main window: caption, menu bar, toolbar, project tree at the left, grid at the right."""
    s = frame(x, y, w, h, "Gateway Configuration Software Korvan")
    s += rect(x + 1, y + 30, w - 2, 26, FACE)
    mx = x + 12
    for m in ["File", "Edit", "Tool", "View", "Help"]:
        if m == menu_hot:
            s += rect(mx - 6, y + 31, len(m) * 10 + 12, 24, AMBER_PALE, AMBER, 1.5, 3)
        s += text(mx, y + 49, m, 16, INK)
        mx += len(m) * 10 + 26
    bar, centres = toolbar(x + (w - 16 * 44) / 2, y + 66, hot)
    s += line(x + 1, y + 56, x + w - 1, y + 56) + bar + line(x + 1, y + 106, x + w - 1, y + 106)
    top = y + 107
    s += rect(x + 1, top, tree_w, y + h - top - 1, "#ffffff") + line(x + tree_w + 1, top, x + tree_w + 1, y + h - 1, FRAME)
    tsvg, tys = tree(x + 24, top + 6, tree_items)  # the gutter at the left keeps room for markers
    s += tsvg
    gx = x + tree_w + 10
    gw = w - tree_w - 20
    nw = name_w or gw // 2
    s += grid(gx, top + 10, nw, gw - nw, grid_rows)
    return s, centres, tys, (gx, top + 10, nw, gw - nw)


def page(prefix, number, model_text, title, lines, body):
    """One wizard page: heading band, the step's lines of text, then the picture."""
    s = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (WIDTH, HEIGHT, WIDTH, HEIGHT)]
    s.append("<!-- Korvan first-run wizard, %s, page %d: %s. Written by pages.py. -->" % (model_text, number, escape(title)))
    s.append('<defs><linearGradient id="band" x1="0" y1="0" x2="1" y2="0">'
             '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient></defs>' % (NAVY, BLUE))
    s.append(rect(0, 0, WIDTH, HEIGHT, "#f7f9fc"))
    s.append(rect(0, 0, WIDTH, 84, "url(#band)"))
    s.append(rect(0, 84, WIDTH, 4, TEAL))
    s.append(text(40, 38, "Step %d of 7" % (number + 1) if number else "Welcome", 16, "#9fe3df", True))
    s.append(text(40, 68, title, 26, "#ffffff", True))
    s.append(text(WIDTH - 40, 38, model_text, 16, PALE, False, "end"))
    for i in range(7):
        cx = WIDTH - 40 - 7 - (6 - i) * 24
        if i == number:
            s.append('<circle cx="%g" cy="60" r="8" fill="%s"/>' % (cx, TEAL))
        else:
            s.append('<circle cx="%g" cy="60" r="6" fill="none" stroke="%s" stroke-width="2"/>' % (cx, PALE))
    y = 122
    for entry in lines:
        n, t = entry if isinstance(entry, tuple) else (None, entry)
        if n is None:
            s.append(text(40, y, t, 18, INK))
        elif n == "":
            s.append(text(74, y, t, 18, INK))
        else:
            s.append(marker(51, y - 6, n))
            s.append(text(74, y, t, 18, INK))
        y += 29
    s.append(body)
    s.append("</svg>")
    out = os.path.join(HERE, "%s-%d.svg" % (prefix, number))
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(s) + "\n")


# ---------------------------------------------------------------------------------------------
# The pages. rtu is the Vela-3H-RTU set; tcp serves Vela-1H-TCP and Vela-3H-TCP.


def grid_glyph(x, y, size):
    """The parameter grid with a pencil, drawn like the toolbar icons (32 × 32 units)."""
    body = (rect(3, 4, 22, 22, "#ffffff", NAVY, 2, 1.5) + rect(4, 5, 9, 20, PALE)
            + path("M4 11.5 H24 M4 18 H24 M13 5 V25", stroke=NAVY, sw=1.3)
            + path("M17 29 L18 24.5 L27.5 15 L31 18.5 L21.5 28 Z", fill=TEAL, stroke="#ffffff", sw=1.5))
    return '<g transform="translate(%g %g) scale(%g)">%s</g>' % (x, y, size / 32.0, body)


def page_welcome(kind):
    rtu = kind == "rtu"
    lines = [
        "Korvan configures and debugs Vela HART-to-Modbus gateways.",
        (1, "At start, the Select Device dialog asks for your gateway model."),
        ("Vela-3H-RTU: three HART channels, Modbus RTU on a serial line."
         if rtu else "Vela-1H-TCP (one HART channel) or Vela-3H-TCP (three): Modbus TCP."),
        "The next pages show a typical job step by step: press \u201cNext >\u201d.",
    ]
    b = []
    # The Select Device dialog with the banner over its upper half.
    dx, dy, dw, dh = 40, 246, 360, 330
    b.append(frame(dx, dy, dw, dh, "Select Device", BLUE, 28))
    b.append('<g transform="translate(%g %g) scale(%g %g)">' % (dx + 1, dy + 28, (dw - 2) / 600.0, 150 / 150.0))
    with open(os.path.join(HERE, "..", "banner.svg"), encoding="utf-8") as f:
        banner = re.sub(r"<svg[^>]*>|</svg>|<!--.*?-->", "", f.read(), flags=re.S)
    b.append(banner + "</g>")
    models = ["Vela-1H-TCP", "Vela-3H-TCP", "Vela-3H-RTU"]
    for i, m in enumerate(models):
        hot = (m == "Vela-3H-RTU") if rtu else (m != "Vela-3H-RTU")
        b.append(button(dx + 30, dy + 196 + i * 42, dw - 60, 32, m, hot))
    b.append(marker(dx + 16, dy + 212 + (2 if rtu else 0) * 42, 1))
    # The road map: the pages that follow.
    rx, ry = 440, 246
    b.append(rect(rx, ry, 360, 330, "#ffffff", FRAME, 1.5, 6))
    b.append(text(rx + 20, ry + 34, "The job, step by step", 18, NAVY, True))
    steps = [
        ("add-node", "Add nodes (HART devices)"),
        ("add-command", "Add commands to each node"),
        ("grid", "Edit the parameters"),
        ("automap", "Map the memory addresses"),
        ("download", "Download into the gateway"),
        ("diagnose", "Debug the running gateway"),
    ]
    for i, (ic, label) in enumerate(steps):
        yy = ry + 56 + i * 44
        b.append('<circle cx="%g" cy="%g" r="13" fill="%s"/>' % (rx + 34, yy + 16, PALE))
        b.append(text(rx + 34, yy + 22, str(i + 2), 16, NAVY, True, "middle"))
        b.append(grid_glyph(rx + 58, yy + 2, 28) if ic == "grid" else icon(ic, rx + 58, yy + 2, 28))
        b.append(text(rx + 96, yy + 22, label, 17, INK))
    return "Welcome to Korvan", lines, "\n".join(b)


def channel_rows():
    return [
        ("Master Type", "Primary Master", None),
        ("Network Mode", "Multi-drop", "hot"),
        ("Maximum Repetitions", "3", None),
        ("Polling", "Enable", None),
        ("Delay Between Polls", "256", None),
        ("Response Timeout", "256", None),
    ]


def page_nodes(kind):
    rtu = kind == "rtu"
    lines = [
        (1, "Select a HART channel in the project tree at the left."),
        (2, "Click Add Node: on the toolbar, in the Edit menu or by right-click."),
        (3, "Each node is one HART slave device on that channel. Multi-drop"),
        ("", "takes up to 15 nodes (addresses 1-15), Point-to-Point one: Node(0)."),
    ]
    items = [(0, "bus", "Fieldbus", None), (0, "bus", "Channel1", "selected"),
             (1, "node", "Node(1)", None), (1, "node", "Node(2)", "new")]
    if rtu:
        items += [(0, "bus", "Channel2", None), (0, "bus", "Channel3", None)]
    x, y, w, h = 40, 236, 760, 370
    svg, centres, tys, g = main_window(x, y, w, h, items, channel_rows(), hot=("add-node",), menu_hot="Edit")
    b = [svg]
    cx, cy = centres["add-node"]
    b.append(callout(cx, cy + 24, "Add Node"))
    b.append(marker(cx + 64, cy + 37, 2))
    # The tree's context menu, opened by a right-click on the channel.
    mx, my = x + 160, tys[1] + 17
    entries = ["Add Node", "Delete Node", "Copy Node", "Paste Node", "Add Command", "Delete Command"]
    b.append(rect(mx + 4, my + 4, 190, 6 + 28 * len(entries), "#000000", rx=3).replace("/>", ' opacity="0.12"/>'))
    b.append(rect(mx, my, 190, 6 + 28 * len(entries), "#ffffff", FRAME, 1.5, 3))
    for i, e in enumerate(entries):
        ey = my + 3 + i * 28
        if i == 0:
            b.append(rect(mx + 3, ey, 184, 28, AMBER_PALE, AMBER, 1.5, 2))
        b.append(text(mx + 14, ey + 20, e, 16, INK if i == 0 else "#9aa4ae", i == 0))
    b.append(marker(x + 16, tys[1], 1))
    b.append(marker(x + 38, tys[3], 3))
    return "Add nodes to a channel", lines, "\n".join(b)


def page_commands(kind):
    lines = [
        (1, "Select a node, then click Add Command."),
        (2, "In \u201cSelect the command\u201d pick commands in the Command list and move"),
        ("", "them with \u201c>>\u201d to Selected command (\u201c<<\u201d moves one back)."),
        (3, "OK adds them under the node: Command ID1, Command ID3, ..."),
    ]
    b = []
    # A slice of the main window: the tree, and the toolbar button.
    x, y = 40, 236
    b.append(rect(x, y, 250, 370, "#ffffff", FRAME, 1.5, 4))
    # Only the node and command buttons fit in this slice of the toolbar.
    bar = ""
    for i, name in enumerate(["add-node", "delete-node", "add-command", "delete-command"]):
        bx = x + 20 + i * 56
        if name == "add-command":
            bar += rect(bx - 5, y + 9, 38, 38, AMBER_PALE, AMBER, 2.5, 6)
        bar += icon(name, bx, y + 14, 28)
    b.append(bar)
    b.append(callout(x + 20 + 2 * 56 + 14, y + 56, "Add Cmd"))
    b.append(line(x + 1, y + 96, x + 249, y + 96, FRAME))
    items = [(0, "bus", "Fieldbus", None), (0, "bus", "Channel1", None), (1, "node", "Node(1)", "selected"),
             (2, "command", "Command ID1", "new"), (2, "command", "Command ID3", "new"),
             (1, "node", "Node(2)", None)]
    tsvg, tys = tree(x + 4, y + 106, items)
    b.append(tsvg)
    b.append(marker(x + 236, tys[2], 1))
    b.append(marker(x + 236, tys[3] + 13, 3))
    # The Select the command dialog.
    dx, dy, dw, dh = 316, 236, 484, 370
    b.append(frame(dx, dy, dw, dh, "Select the command", BLUE, 28))
    lw = 178
    b.append(text(dx + 18, dy + 54, "Command list", 16, INK))
    b.append(text(dx + dw - 18 - lw, dy + 54, "Selected command", 16, INK))
    left = ["Command ID0", "Command ID2", "Command ID4", "Command ID5", "Command ID6", "Command ID7"]
    right = ["Command ID1", "Command ID3"]
    lx, ly = dx + 18, dy + 62
    b.append(rect(lx, ly, lw, 168, "#ffffff", FRAME))
    for i, e in enumerate(left):
        b.append(text(lx + 10, ly + 22 + i * 27, e, 16, INK))
    rx = dx + dw - 18 - lw
    b.append(rect(rx, ly, lw, 168, "#ffffff", FRAME))
    for i, e in enumerate(right):
        if i == 1:  # the entry last clicked, whose description shows below
            b.append(rect(rx + 2, ly + 3 + i * 27, lw - 4, 26, BLUE))
        b.append(text(rx + 10, ly + 22 + i * 27, e, 16, "#ffffff" if i == 1 else INK))
    bx = lx + lw + 16
    bw = rx - 16 - bx
    b.append(button(bx, ly + 40, bw, 32, ">>", True, 18))
    b.append(button(bx, ly + 92, bw, 32, "<<", False, 18))
    b.append(marker(bx + bw / 2, ly + 20, 2))
    b.append(rect(dx + 18, ly + 180, dw - 36, 68, "#ffffff", FRAME))
    b.append(text(dx + 28, ly + 206, "Read Dynamic Variables and Loop Current:", 16, INK, True))
    b.append(text(dx + 28, ly + 232, "Reads the loop current and up to four ...", 16, INK))
    b.append(button(dx + dw - 236, dy + dh - 46, 100, 32, "OK", True))
    b.append(button(dx + dw - 118, dy + dh - 46, 100, 32, "Cancel"))
    b.append(marker(dx + dw - 250, dy + dh - 30, 3))
    return "Add commands to a node", lines, "\n".join(b)


def fit(label, width, size=16):
    """The label cut with an ellipsis where a grid column of that width would clip it."""
    room = int(width / (size * 0.555))
    return label if len(label) <= room else label[: room - 1].rstrip() + "\u2026"


def page_parameters(kind):
    lines = [
        (1, "Select a tree item: its parameters fill the grid. Click a value to edit it."),
        (2, "Grey values are worked out for you (Modbus registers, lengths in words)."),
        (3, "Configuration Mode: Basic maps the whole response; Advanced maps only"),
        ("", "the parts you choose, with the Configuration button in the grid."),
    ]
    items = [(0, "bus", "Fieldbus", None), (0, "bus", "Channel1", None), (1, "node", "Node(1)", None),
             (2, "command", "Command ID1", None), (2, "command", "Command ID3", "selected")]
    tree_w, name_w = 230, 320
    names = [
        ("Configuration Mode", "Basic", "edit"),
        ("Mode of Outputting Commands", "Polling", None),
        ("Memory Starting Address of Sending Data", "3000", None),
        ("Modbus Register Starting Address of Sending Data", "1500", "grey"),
        ("Length of Sending Data (BYTE)", "0", None),
        ("Length of Sending Data (WORD)", "0", "grey"),
        ("Memory Starting Address of Receiving Data", "0", None),
    ]
    rows = [(fit(n, name_w - 12), v, st) for n, v, st in names]
    x, y, w, h = 40, 236, 760, 370
    svg, centres, tys, g = main_window(x, y, w, h, items, rows, tree_w=tree_w, name_w=name_w)
    b = [svg]
    gx, gy, nw, vw = g
    # The open drop-down list of Configuration Mode.
    lx, ly = gx + nw + 2, gy + 26
    b.append(path("M%g %g l5 6 l5 -6" % (gx + nw + vw - 20, gy + 11), stroke=NAVY, sw=2))
    b.append(rect(lx, ly, vw - 24, 56, "#ffffff", NAVY, 1.5))
    b.append(text(lx + 8, ly + 20, "Basic", 16, INK))
    b.append(rect(lx + 2, ly + 29, vw - 28, 25, BLUE))
    b.append(text(lx + 8, ly + 48, "Advanced", 16, "#ffffff"))
    b.append(marker(x + 16, tys[4], 1))
    b.append(marker(gx + nw + vw - 14, gy + 26 * 3 + 13, 2))
    b.append(marker(gx + nw - 16, gy + 13, 3))
    # What row 6 shows in Advanced configuration.
    ay = gy + 26 * 7 + 14
    b.append(text(gx, ay + 8, "With \u201cAdvanced\u201d, the row above becomes:", 16, MUTED))
    b.append(grid(gx, ay + 18, nw, vw, [(fit("Receive Data Project Configuration", nw - 12), "", None)]))
    b.append(button(gx + nw + 2, ay + 19, vw - 24, 24, "Configuration", True, 15.5))
    return "Edit the parameters", lines, "\n".join(b)


def page_mapping(kind):
    lines = [
        (1, "Auto Mapping lays out the send (3000-4999) and receive (0-2999)"),
        ("", "memory addresses of all commands, one after the other."),
        (2, "Conflict Detect draws both memories byte by byte; tick commands in its"),
        ("", "tree to see their bytes. Red bytes are used twice: fix them before Download."),
    ]
    b = []
    # The two toolbar buttons and the question Auto Mapping asks.
    x, y = 40, 236
    b.append(rect(x, y, 250, 370, "#ffffff", FRAME, 1.5, 4))
    for i, (name, label) in enumerate([("automap", "AutoMap"), ("conflict", "Conflict")]):
        bx = x + 50 + i * 110
        b.append(rect(bx - 5, y + 15, 38, 38, AMBER_PALE, AMBER, 2.5, 6))
        b.append(icon(name, bx, y + 20, 28))
        b.append(callout(bx + 14, y + 62, label))
    b.append(marker(x + 22, y + 34, 1))
    b.append(marker(x + 130, y + 34, 2))
    mx, my, mw = x + 16, y + 120, 218
    b.append(frame(mx, my, mw, 150, "Korvan", BLUE, 28))
    b.append('<circle cx="%g" cy="%g" r="14" fill="%s"/>' % (mx + 28, my + 62, BLUE))
    b.append(text(mx + 28, my + 69, "?", 20, "#ffffff", True, "middle"))
    b.append(text(mx + 52, my + 58, "Whether auto", 16, INK))
    b.append(text(mx + 52, my + 78, "mapping address?", 16, INK))
    for i, lab in enumerate(["Yes", "No", "Cancel"]):
        b.append(button(mx + 8 + i * 70, my + 106, 62, 30, lab, i == 0, 15.5))
    b.append(text(x + 20, y + 306, "Then: \u201cAutomatic mapping", 16, MUTED))
    b.append(text(x + 20, y + 328, "is done!\u201d", 16, MUTED))
    # The Conflict Detection dialog.
    dx, dy, dw, dh = 316, 236, 484, 370
    b.append(frame(dx, dy, dw, dh, "Conflict Detection", BLUE, 28))
    tx, ty = dx + 10, dy + 38
    b.append(rect(tx, ty, 172, dh - 110, "#ffffff", FRAME))
    items = [(0, "Channel1", True), (1, "Node(1)", True), (2, "Command ID1", True), (2, "Command ID3", True),
             (1, "Node(2)", False), (2, "Command ID0", False)]
    for i, (level, label, on) in enumerate(items):
        iy = ty + 8 + i * 27
        ix = tx + 6 + level * 14
        b.append(rect(ix, iy + 5, 14, 14, "#ffffff", NAVY, 1.5, 2))
        if on:
            b.append(path("M%g %g l3.5 3.5 l6 -7" % (ix + 3, iy + 12.5), stroke=NAVY, sw=2))
        b.append(text(ix + 20, iy + 18, label, 15.5, INK))
    b.append(marker(tx + 150, ty + 21, 2))
    # The two memories, eight bytes a row here (the dialog shows 32).
    gx = dx + 196
    cell = 22
    send = [1] * 10 + [2] * 4 + [1] * 10 + [0] * 8
    recv = [1] * 14 + [0] * 2 + [1] * 8 + [0] * 8
    for gi, (label, first, cells) in enumerate([("Send-data-memory", 3000, send), ("Receive-data-memory", 0, recv)]):
        gy = dy + 58 + gi * 130
        b.append(text(gx, gy - 6, label, 16, INK, True))
        for r in range(4):
            b.append(text(gx + 44, gy + 8 + r * cell + 16, "%04d" % (first + 8 * r), 15, MUTED, False, "end"))
        for j, v in enumerate(cells):
            colour = {0: "#ffffff", 1: "#00ff00", 2: "#ff0000"}[v]
            if gi == 1 and 16 <= j < 24:
                colour = "#316ac5"  # the bytes of the command clicked in the tree
            b.append(rect(gx + 52 + (j % 8) * cell, gy + 8 + (j // 8) * cell, cell, cell, colour, "#9aa4ae", 1))
    # The legend, in the dialog's own colours, along its foot.
    legend = [("#ffffff", "Unused"), ("#00ff00", "Valid"), ("#ff0000", "Conflict"),
              ("#ffff00", "Exceeded"), ("#316ac5", "Selected")]
    for i, (c, t) in enumerate(legend):
        lx = dx + 16 + (i % 3) * 156
        ly = dy + dh - 58 + (i // 3) * 26
        b.append(rect(lx, ly, 16, 16, c, "#5b6773", 1))
        b.append(text(lx + 24, ly + 14, t, 16, INK))
    return "Map the memory addresses", lines, "\n".join(b)


def page_download(kind):
    rtu = kind == "rtu"
    if rtu:
        lines = [
            (1, "Connect the gateway's serial port, Save the project, then click Download."),
            (2, "Choose the port in \u201cSelect the serial port\u201d and press OK."),
            (3, "OK in the Download dialog writes the configuration into the gateway;"),
            ("", "afterwards Korvan offers a remote reset, which restarts it."),
        ]
    else:
        lines = [
            (1, "Connect the gateway to your Ethernet, Save the project, click Download."),
            (2, "Korvan searches the network (\u201cSearch Equipment\u201d): pick your gateway"),
            ("", "and press Sign In. (Tool > Ethernet Config can ask one fixed IP.)"),
            (3, "OK writes the configuration; then Korvan offers a remote reset."),
        ]
    b = []
    # The link from the PC to the gateway.
    x, y = 40, 236
    b.append(rect(x, y, 250, 370, "#ffffff", FRAME, 1.5, 4))
    b.append(rect(x + 14, y + 20, 40, 40, AMBER_PALE, AMBER, 2.5, 6))
    b.append(icon("download", x + 20, y + 26, 28))
    b.append(callout(x + 34, y + 68, "Download"))
    b.append(marker(x + 80, y + 40, 1))
    px, py = x + 24, y + 150
    b.append(rect(px, py, 80, 58, NAVY, rx=4) + rect(px + 6, py + 6, 68, 44, MID))
    b.append(rect(px + 30, py + 58, 20, 8, NAVY) + rect(px + 16, py + 66, 48, 6, NAVY, rx=2))
    b.append(text(px + 40, py + 96, "PC", 16, INK, True, "middle"))
    gx, gy = x + 164, y + 134
    b.append(rect(gx, gy, 64, 96, MID, NAVY, 2, 6))
    b.append('<circle cx="%g" cy="%g" r="4" fill="#5fd17a"/><circle cx="%g" cy="%g" r="4" fill="%s"/>'
             % (gx + 16, gy + 18, gx + 30, gy + 18, AMBER))
    for i in range(3):
        b.append(rect(gx + 12, gy + 32 + i * 12, 40, 6, "#ffffff"))
    b.append(text(gx + 32, gy + 116, "Vela", 16, INK, True, "middle"))
    b.append(path("M%g %g H%g" % (px + 80, py + 30, gx), stroke=TEAL, sw=4))
    if not rtu:  # an Ethernet switch on the way
        b.append(rect(px + 92, py + 20, 36, 20, NAVY, rx=3))
        for i in range(3):
            b.append(rect(px + 97 + i * 10, py + 27, 6, 6, "#5fd17a"))
    b.append(arrow(px + 84, py - 16, gx - 4, py - 16, AMBER, 3))
    b.append(text(x + 125, y + 306, "Serial line" if rtu else "Ethernet", 16, MUTED, False, "middle"))
    b.append(text(x + 125, y + 328, "19200 baud, 8N1" if rtu else "Modbus TCP, port 502", 16, MUTED, False, "middle"))
    dx, dw = 316, 484
    if rtu:
        # Select the serial port, then the Download dialog.
        for i, title in enumerate(["Select the serial port", "Download"]):
            fx = dx + i * 248
            b.append(frame(fx, y, 236, 156, title, BLUE, 28))
            b.append(text(fx + 14, y + 56, "Serial port:", 16, INK))
            b.append(rect(fx + 14, y + 66, 208, 28, "#ffffff", NAVY if i == 0 else FRAME, 1.5))
            b.append(text(fx + 22, y + 86, "/dev/ttyUSB0", 16, INK))
            if i == 0:
                b.append(path("M%g %g l5 6 l5 -6" % (fx + 202, y + 78), stroke=NAVY, sw=2))
            b.append(button(fx + 14, y + 112, 100, 30, "OK", True))
            b.append(button(fx + 122, y + 112, 100, 30, "Cancel"))
        b.append(marker(dx + 226, y + 80, 2))
        b.append(marker(dx + 248 + 8, y + 127, 3))
    else:
        sw_, sh = dw, 186
        b.append(frame(dx, y, sw_, sh, "Search Equipment", BLUE, 28))
        cols = [("No.", 40), ("Model", 112), ("IP Address", 124), ("Firmware", 84), ("State", 100)]
        hx = dx + 12
        tw = sum(c[1] for c in cols)
        b.append(rect(hx, y + 38, tw, 28, FACE, FRAME))
        cx = hx
        for name, cw in cols:
            b.append(text(cx + cw / 2, y + 58, name, 16, INK, True, "middle"))
            cx += cw
        rows = [("1", "Vela-3H-TCP", "192.168.0.10", "1.5", "Allows..."),
                ("2", "Vela-1H-TCP", "192.168.0.11", "1.5", "Allows...")]
        for r, vals in enumerate(rows):
            ry = y + 66 + r * 28
            if r == 0:
                b.append(rect(hx, ry, tw, 28, BLUE))
            cx = hx
            for (name, cw), v in zip(cols, vals):
                b.append(text(cx + cw / 2, ry + 20, v, 16, "#ffffff" if r == 0 else INK, False, "middle"))
                cx += cw
        b.append(rect(hx, y + 38, tw, 84, "none", FRAME))
        b.append(text(hx, y + 160, "Search completed", 16, MUTED))
        for i, lab in enumerate(["Refresh", "Sign In", "Cancel"]):
            b.append(button(dx + sw_ - 304 + i * 100, y + 138, 92, 32, lab, i == 1))
        b.append(marker(dx + sw_ - 204, y + 138, 2))
        ox, oy = dx, y + 200
        b.append(frame(ox, oy, 200, 170, "Download", BLUE, 28))
        # On Ethernet the dialog hides its link list and shows only the hint.
        for i, t in enumerate(["Click \u201cDownload\u201d to", "download the", "configuration."]):
            b.append(text(ox + 16, oy + 60 + i * 22, t, 16, INK))
        b.append(button(ox + 14, oy + 126, 80, 30, "OK", True))
        b.append(button(ox + 106, oy + 126, 80, 30, "Cancel"))
        b.append(marker(ox + 14, oy + 126, 3))
    # The remote reset question.
    qx, qy, qw = (dx + 214, y + 200, 270) if not rtu else (dx, y + 188, 270)
    b.append(frame(qx, qy, qw, 170, "Remote reset", BLUE, 28))
    b.append('<circle cx="%g" cy="%g" r="14" fill="%s"/>' % (qx + 28, qy + 62, BLUE))
    b.append(text(qx + 28, qy + 69, "?", 20, "#ffffff", True, "middle"))
    for i, t in enumerate(["Download succeeded,", "whether to conduct", "remote reset?"]):
        b.append(text(qx + 54, qy + 58 + i * 22, t, 16, INK))
    for i, lab in enumerate(["Yes", "No", "Cancel"]):
        b.append(button(qx + 14 + i * 84, qy + 126, 76, 30, lab, i == 0))
    if rtu:
        for i, t in enumerate(["Yes restarts the", "gateway with its", "new configuration."]):
            b.append(text(dx + 290, y + 250 + i * 24, t, 16, MUTED))
    return "Download into the gateway", lines, "\n".join(b)


# Qt's SVG renderer takes a font-family list as one name; the generic name alone is what finds a
# fixed-width font through the system's font matching.
MONO = "monospace"


def page_debug(kind):
    rtu = kind == "rtu"
    lines = [
        (1, "Tool > Select Mode (or Mode Switch): choose Debug and press OK."),
        (2, "Diagnose shows each channel's state and each command's result;"),
        ("", "Show Memory Data shows the gateway's memory in hexadecimal."),
    ]
    if rtu:
        lines.append((3, "Debug opens the Serial Debugging Assistant for raw HART frames."))
    else:
        lines.append(("", "Both first ask for the gateway: pick it in Search Equipment."))
    b = []
    x, y = 40, 236
    # Select Mode
    b.append(frame(x, y, 200, 180, "Korvan", BLUE, 28))
    b.append(rect(x + 12, y + 46, 176, 82, "none", FRAME, 1, 3))
    b.append(rect(x + 22, y + 36, 102, 20, "#ffffff"))
    b.append(text(x + 26, y + 52, "Select Mode", 16, INK))
    for i, (lab, on) in enumerate([("Config", False), ("Debug", True)]):
        ry = y + 76 + i * 30
        b.append('<circle cx="%g" cy="%g" r="8" fill="#ffffff" stroke="%s" stroke-width="1.5"/>' % (x + 34, ry, NAVY))
        if on:
            b.append('<circle cx="%g" cy="%g" r="4" fill="%s"/>' % (x + 34, ry, NAVY))
        b.append(text(x + 50, ry + 6, lab, 16, INK, on))
    b.append(button(x + 12, y + 140, 84, 30, "OK", True))
    b.append(button(x + 104, y + 140, 84, 30, "Cancel"))
    b.append(marker(x + 160, y + 106, 1))
    # The toolbar buttons of Debug mode.
    tools = [("mode-switch", "Mode Switch", 1), ("diagnose", "Diagnose", 2), ("memory", "Memory", 2)]
    if rtu:
        tools.append(("debug", "Debug", 3))
    ty = y + 196
    step = 134 / len(tools)
    for i, (name, label, n) in enumerate(tools):
        yy = ty + i * step
        b.append(rect(x + 2, yy, 30, 30, AMBER_PALE, AMBER, 2, 5))
        b.append(icon(name, x + 5, yy + 3, 24))
        b.append(text(x + 42, yy + 21, label, 16, INK, True))
    # Diagnose
    dx, dy, dw, dh = 252, y, 548, 202
    b.append(frame(dx, dy, dw, dh, "Diagnose ", BLUE, 28))
    b.append(rect(dx + 8, dy + 36, 126, dh - 44, "#ffffff", FRAME))
    tsvg, tys = tree(dx + 8, dy + 40, [(0, "bus", "Fieldbus", None), (0, "bus", "Channel1", "selected"),
                                       (1, "node", "Node(1)", None), (1, "node", "Node(2)", None)])
    b.append(tsvg)
    lx, lw = dx + 144, dw - 152
    rows = [("Item", "Value"), ("System State machine", "SENDING"), ("Request times", "1250"),
            ("Response times", "1248"), ("Error times", "2")]
    for i, (k, v) in enumerate(rows):
        ry = dy + 36 + i * 24
        b.append(rect(lx, ry, lw, 24, FACE if i == 0 else "#ffffff", GRID_LINE))
        b.append(text(lx + 120, ry + 18, k, 16, INK, i == 0, "middle"))
        b.append(text(lx + 240 + (lw - 240) / 2, ry + 18, v, 16, INK, i == 0, "middle"))
    b.append(line(lx + 240, dy + 36, lx + 240, dy + 156, GRID_LINE))
    for i, (lab, bx, bw) in enumerate([("Refresh", 0, 90), ("Reset", 100, 84), ("Periodically refresh", 194, 202)]):
        b.append(button(lx + bx, dy + 164, bw, 30, lab, False, 16))
    b.append(marker(dx + dw - 24, dy + 14, 2))
    # Memory Display
    my, mh = dy + dh + 10, 116
    b.append(frame(dx, my, dw, mh, "Memory Display", BLUE, 28))
    b.append(text(dx + 12, my + 50, "Input Data", 16, INK, True))
    hx = dx + 128
    b.append(text(hx, my + 50, "Addr  00 01 02 03 04 05 06 07 08 09", 16, MUTED).replace(FONT, MONO))
    data = [("0000", "00 1A 42 C8 3F 80 00 00 00 05"), ("0016", "41 20 00 00 0C 01 00 00 00 00")]
    for i, (a, h) in enumerate(data):
        ry = my + 58 + i * 25
        b.append(rect(hx - 8, ry, dx + dw - 12 - hx + 8, 25, "#ffffff", GRID_LINE))
        b.append(text(hx, ry + 18, a + "  " + h, 16, INK).replace(FONT, MONO))
    b.append(marker(dx + dw - 24, my + 14, 2))
    # The closing hint, pointing at the check box under the picture.
    hy = HEIGHT - 48
    b.append(rect(40, hy, 760, 40, AMBER_PALE, AMBER, 1.5, 6))
    b.append(text(56, hy + 26, "Untick \u201cPop up the wizard next time.\u201d below to skip this wizard at start.", 17, INK))
    b.append(arrow(762, hy + 8, 786, hy + 32, AMBER, 3))
    return "Debug the running gateway", lines, "\n".join(b)


PAGES = [page_welcome, page_nodes, page_commands, page_parameters, page_mapping, page_download, page_debug]


def main():
    for kind in ("rtu", "tcp"):
        model_text = "Vela-3H-RTU" if kind == "rtu" else "Vela-1H-TCP / Vela-3H-TCP"
        for number, make in enumerate(PAGES):
            title, lines, body = make(kind)
            page(kind, number, model_text, title, lines, body)


if __name__ == "__main__":
    main()

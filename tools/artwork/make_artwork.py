#!/usr/bin/env python3
"""Generate the Marvenda player artwork.

Writes one SVG per picture into resources/images-src/ and renders it with
rsvg-convert into resources/images/.  Python standard library only.

Every picture is shown through a style-sheet border-image, i.e. stretched to
its displayed size.  So each SVG is *designed* in a box with the displayed
proportions and rendered to the file size with preserveAspectRatio="none";
the stretch on screen then undoes the distortion exactly.

Usage:  python3 tools/artwork/make_artwork.py [--check]
        --check only verifies that every PNG exists with the right size.
"""

import math
import shutil
import struct
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SRC_DIR = ROOT / "resources" / "images-src"
PNG_DIR = ROOT / "resources" / "images"

FONT = "DejaVu Sans"
WORDMARK = "Marvenda"
TAGLINE = "Dash-camera player"

# Accent families: hi = glow/hover, main = rim, mid = body tint, deep/dark = pressed.
TEAL = {"hi": "#7ff7ec", "main": "#19d3c5", "mid": "#00a6a6", "deep": "#007373", "dark": "#003b3b"}
RED = {"hi": "#ff9a90", "main": "#ff5e57", "mid": "#e03c3c", "deep": "#8e2020", "dark": "#4a1010"}

STATES = ("normal", "hover", "pressed")


def fmt(v):
    """Short, stable number formatting keeps the SVG sources diff-friendly."""
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def svg_doc(out_w, out_h, box_w, box_h, body, defs=""):
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{out_w}" height="{out_h}" '
        f'viewBox="0 0 {fmt(box_w)} {fmt(box_h)}" preserveAspectRatio="none">\n'
        f"<defs>\n{defs}\n</defs>\n{body}\n</svg>\n"
    )


def lin(gid, stops, x1=0, y1=0, x2=0, y2=1, user=False):
    """Linear gradient; stops are (offset, colour[, opacity])."""
    units = ' gradientUnits="userSpaceOnUse"' if user else ""
    s = "".join(
        f'<stop offset="{fmt(o)}" stop-color="{c}" stop-opacity="{fmt(a[0] if a else 1)}"/>'
        for o, c, *a in stops
    )
    return (f'<linearGradient id="{gid}" x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" '
            f'y2="{fmt(y2)}"{units}>{s}</linearGradient>')


def rad(gid, stops, cx, cy, r, fx=None, fy=None, user=True, extra=""):
    units = ' gradientUnits="userSpaceOnUse"' if user else ""
    foc = f' fx="{fmt(fx)}" fy="{fmt(fy)}"' if fx is not None else ""
    s = "".join(
        f'<stop offset="{fmt(o)}" stop-color="{c}" stop-opacity="{fmt(a[0] if a else 1)}"/>'
        for o, c, *a in stops
    )
    return (f'<radialGradient id="{gid}" cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}"{foc}'
            f'{units}{extra}>{s}</radialGradient>')


def blur(fid, sd):
    return (f'<filter id="{fid}" x="-50%" y="-50%" width="200%" height="200%">'
            f'<feGaussianBlur stdDeviation="{fmt(sd)}"/></filter>')


def polar(cx, cy, r, deg):
    """Point at angle deg clockwise from straight up (matches the needle maths)."""
    a = math.radians(deg)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def arc_path(cx, cy, r, a0, a1):
    x0, y0 = polar(cx, cy, r, a0)
    x1, y1 = polar(cx, cy, r, a1)
    large = 1 if abs(a1 - a0) > 180 else 0
    return f"M{fmt(x0)},{fmt(y0)} A{fmt(r)},{fmt(r)} 0 {large} 1 {fmt(x1)},{fmt(y1)}"


def band_path(cx, cy, r_in, r_out, a0, a1):
    """Closed ring segment between two radii (used for the red zone)."""
    xo0, yo0 = polar(cx, cy, r_out, a0)
    xo1, yo1 = polar(cx, cy, r_out, a1)
    xi1, yi1 = polar(cx, cy, r_in, a1)
    xi0, yi0 = polar(cx, cy, r_in, a0)
    large = 1 if abs(a1 - a0) > 180 else 0
    return (f"M{fmt(xo0)},{fmt(yo0)} A{fmt(r_out)},{fmt(r_out)} 0 {large} 1 {fmt(xo1)},{fmt(yo1)} "
            f"L{fmt(xi1)},{fmt(yi1)} A{fmt(r_in)},{fmt(r_in)} 0 {large} 0 {fmt(xi0)},{fmt(yi0)} Z")


def rrect_path(x, y, w, h, r):
    return (f"M{fmt(x + r)},{fmt(y)} H{fmt(x + w - r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + w)},{fmt(y + r)} "
            f"V{fmt(y + h - r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + w - r)},{fmt(y + h)} "
            f"H{fmt(x + r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x)},{fmt(y + h - r)} "
            f"V{fmt(y + r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + r)},{fmt(y)} Z")


# --------------------------------------------------------------------------
# Glyphs, drawn in a 64x64 box centred on (32, 32).  Filled shapes take the
# group's fill; outlined shapes set fill="none" and take the group's stroke
# (the group's stroke-width is 0, so only shapes that set a width are outlined).
# --------------------------------------------------------------------------

def _stroke(d, w=4.6):
    return (f'<path d="{d}" fill="none" stroke-width="{fmt(w)}" '
            'stroke-linecap="round" stroke-linejoin="round"/>')


def g_play():
    return '<path d="M25,19.5 L46,32 L25,44.5 Z" stroke-width="2.4" stroke-linejoin="round"/>'


def g_pause():
    return ('<rect x="21.5" y="19.5" width="7.5" height="25" rx="1.8"/>'
            '<rect x="35" y="19.5" width="7.5" height="25" rx="1.8"/>')


def g_stop():
    return '<rect x="21" y="21" width="22" height="22" rx="3"/>'


def g_prev():
    # Bar + two triangles: reads as "previous clip", distinct from page chevrons.
    return ('<rect x="17" y="21" width="4.4" height="22" rx="1.2"/>'
            '<path d="M33,21.5 L21.8,32 L33,42.5 Z M46,21.5 L34.8,32 L46,42.5 Z" '
            'stroke-width="1.6" stroke-linejoin="round"/>')


def g_next():
    return f'<g transform="translate(64,0) scale(-1,1)">{g_prev()}</g>'


def g_page(direction):
    # A list sheet with a chevron beside it; outline style so it never reads
    # as the solid playback triangles.
    sheet = (_stroke(rrect_path(27, 17, 20, 30, 3.2), 3.2)
             + '<rect x="31.5" y="23.5" width="11" height="3" rx="1.5"/>'
             + '<rect x="31.5" y="30.5" width="11" height="3" rx="1.5"/>'
             + '<rect x="31.5" y="37.5" width="7" height="3" rx="1.5"/>'
             + _stroke("M22,23 L13.5,32 L22,41", 4.6))
    if direction < 0:
        return sheet
    return f'<g transform="translate(64,0) scale(-1,1)">{sheet}</g>'


def g_import():
    # Arrow dropping into a tray.
    return (_stroke("M32,15 V35", 4.6) + _stroke("M23.5,27 L32,35.5 L40.5,27", 4.6)
            + _stroke("M16,34 V43.5 Q16,47 19.5,47 H44.5 Q48,47 48,43.5 V34", 4.2))


def g_delete():
    # Trash can: lid with handle, tapered body with three slots.
    body = "M21,25 H43 L40.6,46 Q40.3,48.5 37.8,48.5 H26.2 Q23.7,48.5 23.4,46 Z"
    return (f'<path d="{body}"/>'
            + '<rect x="17.5" y="19" width="29" height="4" rx="2"/>'
            + _stroke("M27.5,18.5 V16.5 Q27.5,15 29,15 H35 Q36.5,15 36.5,16.5 V18.5", 2.6)
            + '<g fill="#101417" fill-opacity="0.55">'
            + '<rect x="26.6" y="29" width="2.4" height="15" rx="1.2"/>'
            + '<rect x="30.8" y="29" width="2.4" height="15" rx="1.2"/>'
            + '<rect x="35" y="29" width="2.4" height="15" rx="1.2"/></g>')


def g_camera():
    body = (rrect_path(13, 22, 38, 25, 5)
            + " M25,22 L27.5,17.5 Q28.2,16.5 29.5,16.5 H34.5 Q35.8,16.5 36.5,17.5 L39,22 Z")
    lens_hole = "M32,26 a8.6,8.6 0 1,0 0.01,0 Z"
    return (f'<path d="{body} {lens_hole}" fill-rule="evenodd"/>'
            '<circle cx="32" cy="34.6" r="5"/>'
            '<circle cx="45.5" cy="26.5" r="1.7" fill="#101417" fill-opacity="0.5"/>')


# --------------------------------------------------------------------------
# Glass button template (64x64 design box, displayed at 35x35).
# --------------------------------------------------------------------------

def glass_button(glyph, accent, state, out_w=64, out_h=64):
    B = 64.0
    inset = 2.0
    radius = 8.0 / 35.0 * B  # same corner radius the style sheet uses
    shape = rrect_path(inset, inset, B - 2 * inset, B - 2 * inset, radius)
    inner = rrect_path(inset + 2, inset + 2, B - 2 * inset - 4, B - 2 * inset - 4, radius - 2)

    if state == "normal":
        body = [(0, "#2f373c"), (0.5, "#161b1e"), (1, "#0a0d0f")]
        rim = [(0, accent["main"], 0.95), (0.55, accent["mid"], 0.6), (1, accent["deep"], 0.9)]
        rim_w, gloss, glow_under = 2.0, 0.20, 0.22
        glyph_fill = [(0, "#ffffff"), (1, "#c4e9e6" if accent is TEAL else "#ffd2cf")]
        shift = 0.0
    elif state == "hover":
        body = [(0, "#3d484f"), (0.5, "#1e262a"), (1, "#10161a")]
        rim = [(0, accent["hi"], 1), (0.5, accent["main"], 0.95), (1, accent["mid"], 1)]
        rim_w, gloss, glow_under = 2.6, 0.28, 0.45
        glyph_fill = [(0, "#ffffff"), (1, "#e6fffc" if accent is TEAL else "#ffe6e3")]
        shift = 0.0
    else:
        body = [(0, "#050708"), (0.45, "#0e1214"), (1, "#1a2024")]
        rim = [(0, accent["deep"], 1), (1, accent["mid"], 0.8)]
        rim_w, gloss, glow_under = 2.0, 0.07, 0.30
        glyph_fill = [(0, accent["main"]), (1, accent["mid"])]
        shift = 1.8  # ~1 px once shown at 35 px

    if accent is RED and state != "pressed":
        glyph_fill = [(0, "#ff8f88"), (1, accent["mid"])]
    if accent is RED and state == "hover":
        glyph_fill = [(0, "#ffb3ad"), (1, accent["main"])]

    defs = [
        f'<clipPath id="clip"><path d="{shape}"/></clipPath>',
        lin("body", body),
        lin("rim", rim),
        lin("gloss", [(0, "#ffffff", gloss), (1, "#ffffff", 0)], 0, 0, 0, 1),
        rad("under", [(0, accent["main"], glow_under), (1, accent["main"], 0)], 32, 66, 30),
        lin("glyph", glyph_fill, 0, 16, 0, 48, user=True),
        blur("soft", 1.2),
        blur("glow", 2.6),
        blur("inset", 2.2),
    ]
    layers = [
        f'<path d="{shape}" fill="url(#body)"/>',
        f'<g clip-path="url(#clip)"><rect x="0" y="30" width="64" height="34" fill="url(#under)"/></g>',
    ]
    if state == "pressed":
        # Inner shadow along the top edge makes the face look pushed in.
        layers.append(f'<g clip-path="url(#clip)"><path d="{shape}" fill="none" stroke="#000" '
                     f'stroke-width="7" stroke-opacity="0.85" filter="url(#inset)" '
                     f'transform="translate(0,2.5)"/></g>')
    # Gloss: a soft lens over the upper half.
    layers.append(f'<g clip-path="url(#clip)"><ellipse cx="32" cy="6" rx="38" ry="24" '
                 f'fill="url(#gloss)"/></g>')
    if state == "hover":
        layers.append(f'<g clip-path="url(#clip)"><path d="{inner}" fill="none" stroke="{accent["main"]}" '
                     f'stroke-width="4" stroke-opacity="0.55" filter="url(#glow)"/></g>')
    layers.append(f'<path d="{shape}" fill="none" stroke="url(#rim)" stroke-width="{fmt(rim_w)}"/>')
    # Fine inner highlight line gives the glass edge its polish.
    layers.append(f'<path d="{inner}" fill="none" stroke="#ffffff" stroke-opacity="'
                 f'{fmt(0.05 if state == "pressed" else 0.10)}" stroke-width="0.8"/>')

    # Glyphs are drawn a touch small in their box; enlarge for legibility at 35 px.
    g = f'<g transform="translate(32,32) scale(1.08) translate(-32,-32)">{glyph()}</g>'
    tr = f' transform="translate(0,{fmt(shift)})"' if shift else ""
    if state == "hover":
        layers.append(f'<g fill="{accent["main"]}" stroke="{accent["main"]}" stroke-width="0" opacity="0.9" '
                     f'filter="url(#glow)"{tr}>{g}</g>')
    else:
        layers.append(f'<g fill="#000" stroke="#000" stroke-width="0" opacity="0.6" filter="url(#soft)" '
                     f'transform="translate(0,{fmt(shift + 1.4)})">{g}</g>')
    layers.append(f'<g fill="url(#glyph)" stroke="url(#glyph)" stroke-width="0"{tr}>{g}</g>')
    return svg_doc(out_w, out_h, B, B, "\n".join(layers), "\n".join(defs))


# --------------------------------------------------------------------------
# Small scale buttons (plus / minus), designed for 15x15 display.
# --------------------------------------------------------------------------

def scale_button(sign, state, out_w, out_h):
    B = 60.0
    shape = rrect_path(2, 2, 56, 56, 13)
    if state == "normal":
        body, rim, glyph, dy = [(0, "#2c3a3e"), (1, "#0e1416")], TEAL["mid"], "#f2fbfa", 0
    elif state == "hover":
        body, rim, glyph, dy = [(0, "#1f6f6c"), (1, "#0d3a3a")], TEAL["hi"], "#ffffff", 0
    else:
        body, rim, glyph, dy = [(0, "#041414"), (1, "#0b2626")], TEAL["deep"], TEAL["main"], 3
    defs = [lin("body", body), lin("gloss", [(0, "#fff", 0.22), (1, "#fff", 0)]),
            f'<clipPath id="clip"><path d="{shape}"/></clipPath>']
    bar_w, bar_t = 32, 9
    g = f'<rect x="{fmt(30 - bar_w / 2)}" y="{fmt(30 - bar_t / 2)}" width="{bar_w}" height="{bar_t}" rx="2"/>'
    if sign > 0:
        g += f'<rect x="{fmt(30 - bar_t / 2)}" y="{fmt(30 - bar_w / 2)}" width="{bar_t}" height="{bar_w}" rx="2"/>'
    layers = [f'<path d="{shape}" fill="url(#body)"/>',
             f'<g clip-path="url(#clip)"><rect x="0" y="0" width="60" height="28" '
             f'fill="url(#gloss)" opacity="{0.4 if state == "pressed" else 1}"/></g>',
             f'<path d="{shape}" fill="none" stroke="{rim}" stroke-width="4"/>',
             f'<g fill="{glyph}" transform="translate(0,{dy})">{g}</g>']
    return svg_doc(out_w, out_h, B, B, "\n".join(layers), "\n".join(defs))


# --------------------------------------------------------------------------
# Title-bar buttons (20x20 display, sit on the banner's right piece).
# --------------------------------------------------------------------------

def window_button(kind, state, out_w, out_h):
    B = 20.0
    close = kind == "close"
    if state == "normal":
        bg = None
        glyph = "#c3ccd1"
    elif state == "hover":
        bg = ([(0, "#ff5f57"), (1, "#d42b2b")] if close
              else [(0, "#2a8f8a"), (1, "#0f5553")])
        glyph = "#ffffff"
    else:
        bg = ([(0, "#8a1c1c"), (1, "#b32626")] if close
              else [(0, "#062e2e"), (1, "#0c4746")])
        glyph = "#e6e6e6" if close else TEAL["main"]
    dy = 1 if state == "pressed" else 0
    defs = []
    layers = []
    if bg:
        defs.append(lin("bg", bg))
        rim = ("#ff8a84" if close else TEAL["hi"]) if state == "hover" else ("#5a1010" if close else "#033")
        layers.append(f'<rect x="1" y="1" width="18" height="18" rx="4" fill="url(#bg)"/>')
        layers.append(f'<rect x="1.5" y="1.5" width="17" height="17" rx="3.5" fill="none" '
                     f'stroke="{rim}" stroke-opacity="0.7" stroke-width="1"/>')
    def s_(w=1.5):
        return f'fill="none" stroke="{glyph}" stroke-width="{w}" stroke-linecap="round" stroke-linejoin="round"'
    s = s_()
    if kind == "min":
        g = f'<rect x="5.5" y="12.8" width="9" height="1.8" rx="0.9" fill="{glyph}"/>'
    elif kind == "max":
        g = f'<rect x="5.5" y="5.5" width="9" height="9" rx="1.2" {s}/>'
    elif kind == "normal":
        g = (f'<path d="M8,5.5 H13.3 Q14.5,5.5 14.5,6.7 V12" {s}/>'
             f'<rect x="5.5" y="8" width="6.5" height="6.5" rx="1" {s}/>')
    else:
        g = f'<path d="M6,6 L14,14 M14,6 L6,14" {s_(1.7)}/>'
    layers.append(f'<g transform="translate(0,{dy})">{g}</g>')
    return svg_doc(out_w, out_h, B, B, "\n".join(layers), "\n".join(defs))


# --------------------------------------------------------------------------
# Logo mark: a gauge arc with a play triangle (dash-cam + speedometer).
# --------------------------------------------------------------------------

def logo_mark(cx, cy, r, gid="logo"):
    defs = [lin(f"{gid}Arc", [(0, TEAL["hi"]), (0.6, TEAL["main"]), (1, TEAL["deep"])]),
            lin(f"{gid}Tri", [(0, "#ffffff"), (1, "#bfe9e5")])]
    w = r * 0.2
    tri = r * 0.5
    body = (f'<path d="{arc_path(cx, cy, r, -135, 135)}" fill="none" stroke="url(#{gid}Arc)" '
            f'stroke-width="{fmt(w)}" stroke-linecap="round"/>'
            f'<path d="M{fmt(cx - tri * 0.55)},{fmt(cy - tri * 0.85)} L{fmt(cx + tri * 0.95)},{fmt(cy)} '
            f'L{fmt(cx - tri * 0.55)},{fmt(cy + tri * 0.85)} Z" fill="url(#{gid}Tri)" '
            f'stroke="url(#{gid}Tri)" stroke-width="{fmt(w * 0.35)}" stroke-linejoin="round"/>')
    return "\n".join(defs), body


# --------------------------------------------------------------------------
# Banner (three pieces that must join seamlessly when stretched apart).
# --------------------------------------------------------------------------

BANNER_H = 50.0
ACCENT_Y = 45.5  # in displayed pixels; identical in all three layers
BANNER_BG = [(0, "#232a2f"), (0.45, "#141a1d"), (0.86, "#0a0d0f"), (0.9, "#06080a"), (1, "#000000")]


def banner_base(w):
    """Horizontally uniform layers shared by all three banner pieces."""
    defs = [lin("bg", BANNER_BG)]
    body = [
        f'<rect x="0" y="0" width="{fmt(w)}" height="{fmt(BANNER_H)}" fill="url(#bg)"/>',
        f'<rect x="0" y="0" width="{fmt(w)}" height="0.8" fill="#ffffff" fill-opacity="0.09"/>',
        f'<rect x="0" y="{fmt(ACCENT_Y - 0.5)}" width="{fmt(w)}" height="1" fill="{TEAL["mid"]}" fill-opacity="0.55"/>',
        f'<rect x="0" y="{fmt(ACCENT_Y + 0.5)}" width="{fmt(w)}" height="1.2" fill="{TEAL["mid"]}" fill-opacity="0.12"/>',
    ]
    return defs, body


def banner_side(out_w, out_h, design_w):
    defs, body = banner_base(design_w)
    return svg_doc(out_w, out_h, design_w, BANNER_H, "\n".join(body), "\n".join(defs))


def banner_center(out_w, out_h):
    W = 300.0
    defs, body = banner_base(W)
    ldefs, lbody = logo_mark(0, 0, 1)
    defs += [
        # Everything added here fades to nothing at x=0 and x=300 so the seams stay invisible.
        lin("line", [(0, TEAL["main"], 0), (0.5, TEAL["hi"], 1), (1, TEAL["main"], 0)], 0, 0, 1, 0),
        rad("halo", [(0, TEAL["mid"], 0.22), (1, TEAL["mid"], 0)], 150, 24, 1,
            extra=' gradientTransform="translate(150,24) scale(120,26) translate(-150,-24)"'),
        lin("word", [(0, "#ffffff"), (0.55, "#e9f1f3"), (1, "#9fb0b7")], 0, 10, 0, 34, user=True),
        blur("lineGlow", 1.2),
        ldefs,
    ]
    body += [
        f'<rect x="0" y="0" width="{fmt(W)}" height="{fmt(ACCENT_Y - 1)}" fill="url(#halo)"/>',
        f'<rect x="50" y="{fmt(ACCENT_Y - 1.2)}" width="200" height="2.4" fill="url(#line)" '
        f'filter="url(#lineGlow)" opacity="0.8"/>',
        f'<rect x="0" y="{fmt(ACCENT_Y - 0.5)}" width="{fmt(W)}" height="1" fill="url(#line)"/>',
        f'<g transform="translate(84,23) scale(11)">{lbody}</g>',
        f'<text x="103" y="31.5" font-family="{FONT}" font-weight="bold" font-size="22" '
        f'letter-spacing="0.6" fill="url(#word)" transform="skewX(-8) translate(4.4,0)">{WORDMARK}</text>',
    ]
    return svg_doc(out_w, out_h, W, BANNER_H, "\n".join(body), "\n".join(defs))


# --------------------------------------------------------------------------
# Splash screen.
# --------------------------------------------------------------------------

def splash(out_w, out_h):
    W, H = 640.0, 427.0
    hx, hy = 320.0, 262.0  # vanishing point on the horizon
    defs = [
        lin("sky", [(0, "#000000"), (0.55, "#04090b"), (0.615, "#0a1c1e"), (0.62, "#05090a"), (1, "#000000")]),
        rad("horizon", [(0, TEAL["mid"], 0.55), (0.35, TEAL["deep"], 0.25), (1, "#000", 0)], hx, hy, 1,
            extra=f' gradientTransform="translate({hx},{hy}) scale(330,70) translate({-hx},{-hy})"'),
        lin("road", [(0, "#0b1012"), (1, "#161c1f")], 0, hy, 0, H, user=True),
        lin("edgeL", [(0, TEAL["main"], 0), (0.25, TEAL["main"], 0.9), (1, TEAL["mid"], 0.5)], 0, hy, 0, H, user=True),
        lin("word", [(0, "#ffffff"), (0.6, "#e8f0f2"), (1, "#8ea1a8")], 0, 130, 0, 182, user=True),
        lin("fadeT", [(0, "#000", 1), (1, "#000", 0)]),
        lin("fadeB", [(0, "#000", 0), (1, "#000", 1)]),
        lin("fadeL", [(0, "#000", 1), (1, "#000", 0)], 0, 0, 1, 0),
        lin("fadeR", [(0, "#000", 0), (1, "#000", 1)], 0, 0, 1, 0),
        rad("corner", [(0, "#000", 1), (0.55, "#000", 0.9), (1, "#000", 0)], W, H, 1,
            extra=f' gradientTransform="translate({W},{H}) scale(360,95) translate({-W},{-H})"'),
        lin("gaugeArc", [(0, TEAL["main"], 0.0), (0.3, TEAL["main"], 0.55), (0.5, TEAL["hi"], 0.9),
                         (0.7, TEAL["main"], 0.55), (1, TEAL["main"], 0.0)], 0, 0, 1, 0),
        lin("tag", [(0, TEAL["hi"]), (1, TEAL["main"])]),
        blur("b2", 2), blur("b6", 6), blur("b1", 0.8),
    ]
    p = [f'<rect width="{W}" height="{H}" fill="url(#sky)"/>',
         f'<rect x="0" y="{hy - 90}" width="{W}" height="180" fill="url(#horizon)"/>']

    # Road in perspective: edges converge on the vanishing point.
    bottom = H + 40
    half_far, half_near = 3.0, 330.0
    p.append(f'<path d="M{hx - half_far},{hy} L{hx + half_far},{hy} L{hx + half_near},{bottom} '
             f'L{hx - half_near},{bottom} Z" fill="url(#road)"/>')
    for side in (-1, 1):
        pts = f"M{hx + side * half_far},{hy} L{hx + side * half_near},{bottom}"
        p.append(f'<path d="{pts}" stroke="{TEAL["main"]}" stroke-width="6" opacity="0.35" filter="url(#b6)"/>')
        p.append(f'<path d="{pts}" stroke="url(#edgeL)" stroke-width="2"/>')
    # Centre dashes: screen y = hy + K/z, width ~ 1/z, so spacing shrinks to the horizon.
    K = 190.0
    for i in range(1, 26):
        z, z_far = float(i), i + 0.42  # evenly spaced on the ground, perspective on screen
        y0, y1 = hy + K / z, hy + K / z_far
        w0, w1 = 7.0 / z, 7.0 / z_far
        fade = min(1.0, (y1 - hy) / 40.0)
        p.append(f'<path d="M{fmt(hx - w0)},{fmt(y0)} L{fmt(hx + w0)},{fmt(y0)} L{fmt(hx + w1)},{fmt(y1)} '
                 f'L{fmt(hx - w1)},{fmt(y1)} Z" fill="#dfe9ec" fill-opacity="{fmt(0.85 * fade)}"/>')
    # Horizon line glow.
    p.append(f'<rect x="40" y="{hy - 0.6}" width="560" height="1.2" fill="url(#gaugeArc)"/>')

    # Dashboard gauge arc behind the wordmark, ticks generated like the real dial.
    gx, gy, gr = hx, 262.0, 212.0
    p.append(f'<path d="{arc_path(gx, gy, gr, -82, 82)}" fill="none" stroke="url(#gaugeArc)" '
             f'stroke-width="2" />')
    p.append(f'<path d="{arc_path(gx, gy, gr, -82, 82)}" fill="none" stroke="url(#gaugeArc)" '
             f'stroke-width="7" filter="url(#b6)" opacity="0.7"/>')
    for i in range(-16, 17):
        a = i * 5.0
        major = i % 4 == 0
        x0, y0 = polar(gx, gy, gr - (13 if major else 7), a)
        x1, y1 = polar(gx, gy, gr - 3, a)
        op = 0.55 * (1 - abs(a) / 85.0) ** 0.7
        p.append(f'<path d="M{fmt(x0)},{fmt(y0)} L{fmt(x1)},{fmt(y1)}" stroke="#cfe7e6" '
                 f'stroke-opacity="{fmt(op)}" stroke-width="{1.6 if major else 1}"/>')

    # Wordmark and tagline.
    ldefs, lbody = logo_mark(0, 0, 1, "lg")
    defs.append(ldefs)
    p.append(f'<g transform="translate({hx},112) scale(24)">{lbody}</g>')
    p.append(f'<text x="{hx}" y="180" text-anchor="middle" font-family="{FONT}" font-weight="bold" '
             f'font-size="52" letter-spacing="1.5" fill="#000" opacity="0.7" filter="url(#b2)" '
             f'transform="translate(0,3)">{WORDMARK}</text>')
    p.append(f'<text x="{hx}" y="180" text-anchor="middle" font-family="{FONT}" font-weight="bold" '
             f'font-size="52" letter-spacing="1.5" fill="url(#word)">{WORDMARK}</text>')
    p.append(f'<rect x="{hx - 80}" y="194" width="160" height="1.2" fill="url(#gaugeArc)"/>')
    p.append(f'<text x="{hx}" y="216" text-anchor="middle" font-family="{FONT}" font-size="14" '
             f'letter-spacing="4.5" fill="url(#tag)">{TAGLINE.upper()}</text>')

    # Edge fades guarantee pure black at the border (shown centred on black).
    p += [f'<rect x="0" y="0" width="{W}" height="60" fill="url(#fadeT)"/>',
          f'<rect x="0" y="330" width="{W}" height="{H - 330 + 1}" fill="url(#fadeB)"/>',
          f'<rect x="0" y="0" width="90" height="{H}" fill="url(#fadeL)"/>',
          f'<rect x="{W - 90}" y="0" width="90" height="{H}" fill="url(#fadeR)"/>',
          # Dark pocket for the loading message (bottom-right).
          f'<rect x="{W - 380}" y="{H - 110}" width="380" height="110" fill="url(#corner)"/>',
          f'<rect x="0" y="0" width="{W}" height="{H}" fill="none" stroke="#000" stroke-width="2"/>']
    return svg_doc(out_w, out_h, W, H, "\n".join(p), "\n".join(defs))


# --------------------------------------------------------------------------
# Speed meter dial: geometry MUST match the program's needle.
# --------------------------------------------------------------------------

PIVOT = (97.0, 98.0)
V_MAX = 240


def dial_angle(v):
    """Needle angle (deg, clockwise from up) the player uses for speed v."""
    return v * 9.0 / 11.0 - 98.1818


def speed_meter(out_w, out_h):
    W, H = 195.0, 120.0
    cx, cy = PIVOT
    a0, a1 = dial_angle(0), dial_angle(V_MAX)
    defs = [
        rad("face", [(0, "#1d252a"), (0.62, "#0f1417"), (0.9, "#07090b"), (1, "#020303")], cx, cy, 96),
        lin("bezel", [(0, "#8b989f"), (0.35, "#3c464c"), (0.8, "#151a1d"), (1, "#000", 0)], 0, 3, 0, 120, user=True),
        rad("cap", [(0, "#9aa8ae"), (0.45, "#4a555b"), (1, "#161b1e")], cx - 2, cy - 2.5, 8),
        rad("glowC", [(0, TEAL["mid"], 0.18), (1, TEAL["mid"], 0)], cx, cy, 70),
        lin("track", [(0, TEAL["deep"]), (0.5, TEAL["main"]), (1, TEAL["deep"])], 0, 0, 1, 0),
        f'<clipPath id="canvas"><rect x="0" y="0" width="{W}" height="{H - 0.5}"/></clipPath>',
        blur("b1", 1.0),
    ]
    p = ['<g clip-path="url(#canvas)">',
         f'<circle cx="{cx}" cy="{cy}" r="96" fill="url(#face)"/>',
         f'<circle cx="{cx}" cy="{cy}" r="70" fill="url(#glowC)"/>',
         f'<path d="{arc_path(cx, cy, 95.5, -112, 112)}" fill="none" stroke="url(#bezel)" stroke-width="1.6"/>',
         '</g>']
    # Faint inner ring gives the face some depth.
    p.append(f'<path d="{arc_path(cx, cy, 76.5, a0, a1)}" fill="none" stroke="#ffffff" stroke-opacity="0.08" '
             f'stroke-width="0.8"/>')
    # Red zone 200..240 under the ticks.
    p.append(f'<path d="{band_path(cx, cy, 80, 92, dial_angle(200), a1)}" fill="#e0343a" fill-opacity="0.32"/>')
    # Accent track just outside the tick ring.
    p.append(f'<path d="{arc_path(cx, cy, 92.6, a0, dial_angle(200))}" fill="none" stroke="url(#track)" '
             f'stroke-width="1.4"/>')
    p.append(f'<path d="{arc_path(cx, cy, 92.6, a0, dial_angle(200))}" fill="none" stroke="{TEAL["main"]}" '
             f'stroke-width="2.5" opacity="0.5" filter="url(#b1)"/>')
    p.append(f'<path d="{arc_path(cx, cy, 92.6, dial_angle(200), a1)}" fill="none" stroke="#ff4d4f" '
             f'stroke-width="1.4"/>')
    # Ticks, numbers and the unit follow the user's unit: the meter draws them.
    # Pivot cap.
    p.append(f'<circle cx="{cx}" cy="{cy + 1}" r="7.5" fill="#000" opacity="0.6" filter="url(#b1)"/>')
    p.append(f'<circle cx="{cx}" cy="{cy}" r="7" fill="url(#cap)" stroke="{TEAL["mid"]}" stroke-width="1"/>')
    p.append(f'<circle cx="{cx}" cy="{cy}" r="2" fill="#0b0f11"/>')
    return svg_doc(out_w, out_h, W, H, "\n".join(p), "\n".join(defs))


# --------------------------------------------------------------------------
# Position panel, loudspeaker, slider knob.
# --------------------------------------------------------------------------

def location_panel(out_w, out_h):
    W, H = 460.0, 40.0  # displayed size; the 450 px file is stretched to it
    defs = [lin("bar", [(0, "#262b2e"), (0.5, "#1a1d1f"), (1, "#121415")]),
            lin("rim", [(0, "#3b4347"), (1, "#0b0d0e")]),
            lin("cap", [(0, "#9fe9e2"), (1, TEAL["main"])])]
    p = [f'<rect x="0.5" y="0.5" width="{W - 1}" height="{H - 1}" rx="4" fill="url(#bar)" stroke="url(#rim)"/>',
         f'<rect x="4" y="1.5" width="{W - 8}" height="0.8" fill="#fff" fill-opacity="0.06"/>',
         f'<rect x="{W / 2 - 0.5}" y="8" width="1" height="{H - 16}" fill="#000" fill-opacity="0.7"/>',
         f'<rect x="{W / 2 + 0.5}" y="8" width="1" height="{H - 16}" fill="#fff" fill-opacity="0.07"/>']

    def globe(x, y, meridians):
        # Globe icon: meridian lines for longitude, parallels for latitude.
        s = f'fill="none" stroke="url(#cap)" stroke-width="1.3"'
        g = f'<circle cx="{x}" cy="{y}" r="7" {s}/>'
        if meridians:
            g += (f'<ellipse cx="{x}" cy="{y}" rx="3" ry="7" {s}/>'
                  f'<line x1="{x}" y1="{y - 7}" x2="{x}" y2="{y + 7}" stroke="url(#cap)" stroke-width="1.3"/>')
        else:
            g += (f'<line x1="{x - 7}" y1="{y}" x2="{x + 7}" y2="{y}" stroke="url(#cap)" stroke-width="1.3"/>'
                  f'<path d="M{x - 6},{y - 3.5} H{x + 6} M{x - 6},{y + 3.5} H{x + 6}" {s}/>')
        return g

    for x_cap, text, mer in ((60, "LONGITUDE", True), (285, "LATITUDE", False)):
        p.append(globe(x_cap - 15, 20, mer))
        p.append(f'<text x="{x_cap}" y="24" font-family="{FONT}" font-weight="bold" font-size="11" '
                 f'letter-spacing="1.8" fill="url(#cap)">{text}</text>')
    return svg_doc(out_w, out_h, W, H, "\n".join(p), "\n".join(defs))


def speaker(out_w, out_h):
    B = 40.0
    defs = [lin("spk", [(0, "#ffffff"), (1, "#b9c4c9")])]
    s = 'fill="none" stroke="url(#spk)" stroke-width="3.2" stroke-linecap="round"'
    p = ['<path d="M5,15 H11 L20,7 Q21.5,6 21.5,8 V32 Q21.5,34 20,33 L11,25 H5 Q3.5,25 3.5,23.5 V16.5 '
         'Q3.5,15 5,15 Z" fill="url(#spk)"/>',
         f'<path d="{arc_path(21, 20, 7, 40, 140)}" {s}/>',
         f'<path d="{arc_path(21, 20, 13.5, 38, 142)}" {s}/>']
    return svg_doc(out_w, out_h, B, B, "\n".join(p), "\n".join(defs))


def slider_knob(out_w, out_h):
    B = 40.0
    defs = [lin("ring", [(0, TEAL["hi"]), (0.5, TEAL["main"]), (1, TEAL["deep"])]),
            rad("ball", [(0, "#ffffff"), (0.35, "#d5dde1"), (0.8, "#6c787e"), (1, "#3a4246")], 17, 15, 16),
            lin("shine", [(0, "#fff", 0.9), (1, "#fff", 0)]),
            rad("halo", [(0.7, TEAL["main"], 0.35), (1, TEAL["main"], 0)], 20, 20, 20)]
    p = ['<circle cx="20" cy="20" r="20" fill="url(#halo)"/>',
         '<circle cx="20" cy="20" r="16.5" fill="url(#ring)"/>',
         '<circle cx="20" cy="20" r="12.5" fill="url(#ball)" stroke="#0a3a3a" stroke-opacity="0.6" stroke-width="0.8"/>',
         '<ellipse cx="20" cy="14" rx="7.5" ry="4.2" fill="url(#shine)"/>',
         f'<circle cx="20" cy="20" r="2.6" fill="{TEAL["mid"]}"/>']
    return svg_doc(out_w, out_h, B, B, "\n".join(p), "\n".join(defs))


# --------------------------------------------------------------------------
# Catalogue of pictures: name -> (file size, svg factory).
# --------------------------------------------------------------------------

def state_names(base, suffixes=("", "_Hover", "_Pressed")):
    return list(zip(STATES, (base + s for s in suffixes)))


def catalogue():
    items = {}

    def add(name, size, make):
        items[name] = (size, make)

    for base, glyph, accent, size in (
        ("Video_Pre", g_prev, TEAL, (64, 64)),
        ("Video_Next", g_next, TEAL, (64, 64)),
        ("Video_Play", g_play, TEAL, (64, 64)),
        ("Video_Pause", g_pause, TEAL, (64, 64)),
        ("Video_Stop", g_stop, TEAL, (64, 64)),
        ("VideoList_PrePage", lambda: g_page(-1), TEAL, (64, 64)),
        ("VideoList_NextPage", lambda: g_page(1), TEAL, (64, 64)),
        ("Video_Import", g_import, TEAL, (52, 49)),
        ("Video_Delete", g_delete, RED, (50, 51)),
        ("shot", g_camera, TEAL, (100, 100)),
    ):
        for state, name in state_names(base):
            add(name, size, lambda w, h, g=glyph, a=accent, s=state: glass_button(g, a, s, w, h))

    for base, kind, size in (("Window_Min", "min", (20, 19)), ("Window_Max", "max", (20, 20)),
                             ("Window_Normal", "normal", (20, 20)), ("Window_Close", "close", (20, 20))):
        for state, name in state_names(base):
            add(name, size, lambda w, h, k=kind, s=state: window_button(k, s, w, h))

    for base, sign, size in (("minus", -1, (55, 59)), ("plus", 1, (52, 54))):
        for state, name in state_names(base, ("", "_hover", "_pressed")):
            add(name, size, lambda w, h, g=sign, s=state: scale_button(g, s, w, h))

    add("Splash", (640, 427), splash)
    add("Header_Left", (489, 132), lambda w, h: banner_side(w, h, 407))
    add("Header_Center", (489, 132), banner_center)
    add("Header_Right", (409, 132), lambda w, h: banner_side(w, h, 407))
    add("Location", (450, 40), location_panel)
    add("SpeedMeter", (195, 120), speed_meter)
    add("Audio_Png", (49, 45), speaker)
    add("Slider", (50, 47), slider_knob)
    return items


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def check(items):
    bad = []
    for name, ((w, h), _) in sorted(items.items()):
        png = PNG_DIR / f"{name}.png"
        if not png.exists():
            bad.append(f"missing {png}")
        elif png_size(png) != (w, h):
            bad.append(f"{png.name}: {png_size(png)} != {(w, h)}")
    for line in bad:
        print("FAIL", line, file=sys.stderr)
    print(f"{len(items) - len(bad)}/{len(items)} pictures OK")
    return not bad


def main(argv):
    items = catalogue()
    if "--check" in argv:
        return 0 if check(items) else 1
    if not shutil.which("rsvg-convert"):
        print("rsvg-convert not found (apt-get install librsvg2-bin)", file=sys.stderr)
        return 2
    SRC_DIR.mkdir(parents=True, exist_ok=True)
    PNG_DIR.mkdir(parents=True, exist_ok=True)
    for name, ((w, h), make) in sorted(items.items()):
        svg = SRC_DIR / f"{name}.svg"
        svg.write_text(make(w, h), encoding="utf-8")
        subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), str(svg),
                        "-o", str(PNG_DIR / f"{name}.png")], check=True)
    return 0 if check(items) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

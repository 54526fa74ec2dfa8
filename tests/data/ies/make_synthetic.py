#!/usr/bin/env python3
"""Writes the synthetic files of this folder (see SOURCES.md).

Each imitates the layout of a kind of file met in practice (the peculiarity
its name and SOURCES.md's "what is special" column give) with made-up
numbers from smooth formulas, so the data belongs to this project.
Run it from anywhere; it rewrites the files beside it:

    python3 tests/data/ies/make_synthetic.py
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, lines, eol, final_eol=True):
    text = eol.join(lines) + (eol if final_eol else "")
    with open(os.path.join(HERE, name), "w", newline="", encoding="ascii") as f:
        f.write(text)


def wrap(items, per_line, lead="", tail=""):
    """Numbers in lines of per_line items, each line starting with lead and
    ending with tail."""
    return [lead + " ".join(items[i:i + per_line]) + tail
            for i in range(0, len(items), per_line)]


def steps(first, last, step):
    count = int(round((last - first) / step)) + 1
    return [first + i * step for i in range(count)]


def gauss(x, centre, width):
    return math.exp(-((x - centre) / width) ** 2)


# --- IESNA: header only, blank line, candela with four-digit exponents ------
def exponent4(value):
    mantissa, exponent = ("%.14E" % value).split("E")
    return "%sE%s%04d" % (mantissa, exponent[0], abs(int(exponent)))


def blank_line_exponents():
    angles = steps(0, 90, 1)
    # A narrow, very bright core over a faint, wavy skirt: values over ten
    # orders of magnitude.
    cd = [1.3e10 * math.exp(-2.2 * a) + 3.0 + 2.0 * math.sin(a / 9.0) ** 2 for a in angles]
    lines = ["IESNA:", "TILT=NONE",
             "1 853.00 1 91 1 1 2 -0.090 0.000 0.000", "1.0 1.0 75.00", ""]
    lines += wrap(["%.2f" % a for a in angles], 10, tail=" ")
    lines += ["0.00"]
    lines += wrap([" " + exponent4(v) for v in cd], 5, tail=" ")
    write("iesna-blank-line-exponents.ies", lines, "\r\n")


# --- IESNA91, fixed-width right-aligned columns, axial ----------------------
def fixed_width_angles(angles):
    return ["".join("%6.1f" % a for a in angles[i:i + 13]) for i in range(0, len(angles), 13)]


def bega_axial():
    angles = steps(0, 180, 2.5)
    cd = []
    for a in angles:
        down = 4800.0 * math.cos(math.radians(a)) ** 1.6 if a < 90 else 0.0
        spill = 6.0 * gauss(a, 100.0, 25.0) if a < 165 else 0.0
        cd.append(down + spill)
    lines = ["IESNA91", "[TEST] ", "[MANUFAC] EXAMPLE LUMINAIRES", "[LUMCAT] ",
             "[LUMINAIRE] 40211.3", "[LAMPCAT] LED  98,4W", "[LAMP]   11200 lm,110 W",
             "TILT=NONE", "1 -1 1.0 73 1 1 2 -1.300 0.000 0.000", "1.0 1.0 110"]
    lines += fixed_width_angles(angles)
    lines += ["   0.0"]
    lines += ["".join("%10.1f" % v for v in cd[i:i + 8]) for i in range(0, len(cd), 8)]
    write("iesna91-bega-axial.ies", lines, "\r\n")


# --- Goniophotometer export, empty keywords, planes round the full circle ---
def everfine_0_360():
    vertical = steps(0, 180, 5)
    horizontal = steps(0, 360, 45)
    lines = ["IESNA:LM-63-2002", "[TEST] ", "[TESTLAB] ", "[TESTDATE] 2024-03-11",
             "[ISSUEDATE] 2024-03-11 09:41:07", "[NEARFIELD] ", "[LAMPPOSITION] 0,0",
             "[OTHER] GONIOPHOTOMETER EXPORT", "[MANUFAC] EXAMPLE LUMINAIRES",
             "[LUMINAIRE]  ", "[LAMP] 36", "TILT=NONE",
             "1 -1 1 37 9 1 2 -0.225 -0.225 0", "1 1 48.2500"]
    lines.append(" ".join("%.2f" % a for a in vertical) + " ")
    lines.append(" ".join("%.2f" % h for h in horizontal))
    for h in horizontal:
        # The same value straight down in every plane; the planes differ a
        # little sideways, so that 0 and 360 give the same plane.
        skew = 1.0 + 0.03 * math.sin(math.radians(2 * h))
        row = []
        for v in vertical:
            down = 4210.0 * (math.cos(math.radians(v)) ** 2.2 if v < 90 else 0.0)
            if 0 < v < 90:
                down *= 1.0 + (skew - 1.0) * math.sin(math.radians(2 * v))
            up = 2.0 + 26.0 * (1 - math.cos(math.radians(v))) / 2 if v >= 85 else 0.0
            row.append(down + up)
        row[0] = 4210.0
        text = ["%.3f" % row[0]] + ["%.2f" % x for x in row[1:]]
        lines.append(" ".join(text) + " ")
    write("lm63-2002-everfine-0-360.ies", lines, "\r\n")


# --- Lab report of a downlight: many lamps, continuation lines --------------
def downlight_axial():
    angles = steps(0, 90, 2.5)
    cd = [int(round(241.0 * math.cos(math.radians(a)) ** 1.9)) for a in angles]
    cd[-1] = 0
    lines = ["IESNA:LM-63-2002", "[TEST]EX-DL-0417", "[TESTLAB]EXAMPLE PHOTOMETRIC LABORATORY",
             "[ISSUEDATE]04/17/21", "[MANUFAC]EXAMPLE LUMINAIRES", "[LUMCAT]DL6-24",
             "[LUMINAIRE]PRESSED METAL HOUSING WITH A RECESSED LED INSERT OF",
             "[MORE]TWENTY-FOUR LEDS ON ONE CIRCUIT BOARD, WHITE REFLECTOR AND",
             "[MORE]FLAT DIFFUSING LENS IN A PAINTED TRIM.",
             "[LAMP]TWENTY-FOUR WHITE LIGHT EMITTING DIODES (LEDS), VERTICAL",
             "[MORE]BASE-UP POSITION.", "[OTHER]TOTAL INPUT WATTS = 7.90 AT 120.0 VOLTS",
             "[_LEDDRIVER]INTEGRAL", "[OTHER]TEST DISTANCE = 20.0 FEET",
             "TILT=NONE", "24 -1 1 37 1 1 1 -0.453125 -0.453125 0.000000", "1 1 7.90"]
    lines.append(" ".join("%g" % a for a in angles[:21]))
    lines.append(" " + " ".join("%g" % a for a in angles[21:]))
    lines.append("0")
    lines.append(" ".join(str(v) for v in cd[:20]))
    lines.append(" " + " ".join(str(v) for v in cd[20:]))
    write("lm63-2002-rab-downlight-axial.ies", lines, "\r\n")
    return cd


# --- Type B floodlight ------------------------------------------------------
def flood_typeb():
    vertical = [-90, -85, -75, -65, -55, -47.5, -42.5, -37.5, -33, -29, -25.5, -22.5, -19.5,
                -17, -15, -13, -11, -9, -7, -5, -3, -1, 0, 1, 3, 5, 7, 9, 11, 13, 15, 17,
                19.5, 22.5, 25.5, 29, 33, 37.5, 42.5, 47.5, 55, 65, 75, 85, 90]
    horizontal = [0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19.5, 22.5, 25.5, 29, 33, 37.5, 42.5,
                  47.5, 55, 65, 75, 85, 90]
    assert len(vertical) == 45 and len(horizontal) == 23
    lines = ["IESNA:LM-63-2002", "[TEST]EX-FL-0909", "[TESTLAB]EXAMPLE PHOTOMETRIC LABORATORY",
             "[ISSUEDATE]09/09/22", "[TESTDATE]09/09/22", "[MANUFAC]EXAMPLE LUMINAIRES",
             "[LUMCAT]FL70-W ",
             "[LUMINAIRE] CAST METAL HOUSING WITH TWO LED BOARDS AND A CLEAR ",
             "[MORE]GLASS LENS. ", "[LAMP]ONE HUNDRED & FORTY-FOUR WHITE LEDS,",
             "[MORE]AIMED AT THE HORIZON.", "[_LED DRIVER]LED DRIVER: CONSTANT CURRENT, 70 W",
             "[_DISTANCE]TEST DISTANCE: 28.25 FEET", "TILT=NONE",
             "144 -1 1 45 23 2  1 0.641667 0.516667 0.000000", "1.000 1 72.0"]
    names = ["%g" % v for v in vertical]
    lines += wrap(names[:17], 17, tail=" ")
    lines += wrap(names[17:], 24, lead=" ", tail=" ")
    lines.append(" ".join("%g" % h for h in horizontal) + " ")
    for h in horizontal:
        row = []
        for v in vertical:
            value = 4400.0 * gauss(v, 0.0, 32.0) * gauss(h, 0.0, 60.0)
            row.append(str(int(round(value))) if abs(v) < 90 else "0")
        lines += wrap(row[:17], 17, tail=" ")
        lines += wrap(row[17:], 15, lead=" ", tail=" ")
    write("lm63-2002-rab-flood-typeb.ies", lines, "\r\n")


# --- Roadway file: multiplier, irregular angles, twelve planes --------------
ROADWAY_LUMENS = 9217
ROADWAY_MULTIPLIER = 1.032007
ROADWAY_VERTICAL = sorted(steps(0, 180, 2.5) + [66.0])
ROADWAY_HORIZONTAL = [0, 5, 15, 25, 35, 45, 46, 55, 65, 75, 85, 90]


def roadway_shape(v, h):
    """Batwing towards 62 degrees, a little more across the road (plane 0)
    than along it, and some light up through a translucent housing."""
    side = 1.0 + 0.05 * math.cos(math.radians(2 * h))
    return (gauss(v, 62.0, 21.0) * side + 0.22 * gauss(v, 0.0, 45.0)
            + 0.03 + 0.02 * gauss(v, 120.0, 30.0))


def zone_flux(planes, vertical, horizontal, multiplier):
    """Flux of a quadrant-symmetric file: along each plane the intensity is
    taken as linear between listed angles and integrated exactly over the
    sphere (the zone's solid angle), the planes averaged by the trapezoid
    rule over 0..90."""
    def plane_flux(cd):
        total = 0.0
        for i in range(len(vertical) - 1):
            a, b = math.radians(vertical[i]), math.radians(vertical[i + 1])
            ia, ib = cd[i], cd[i + 1]
            # integral of (ia + (ib-ia)(t-a)/(b-a)) sin t dt from a to b
            slope = (ib - ia) / (b - a)
            total += (ia - slope * a) * (math.cos(a) - math.cos(b)) + slope * (
                (math.sin(b) - b * math.cos(b)) - (math.sin(a) - a * math.cos(a)))
        return 2 * math.pi * total
    weights = []
    for j, h in enumerate(horizontal):
        left = horizontal[j - 1] if j > 0 else h
        right = horizontal[j + 1] if j + 1 < len(horizontal) else h
        weights.append((right - left) / 2.0 / (horizontal[-1] - horizontal[0]))
    return multiplier * sum(w * plane_flux(cd) for w, cd in zip(weights, planes))


def roadway():
    vertical, horizontal = ROADWAY_VERTICAL, ROADWAY_HORIZONTAL
    assert len(vertical) == 74 and len(horizontal) == 12
    shape = [[roadway_shape(v, h) for v in vertical] for h in horizontal]
    unit = zone_flux(shape, vertical, horizontal, ROADWAY_MULTIPLIER)
    scale = ROADWAY_LUMENS / unit
    planes = [[round(scale * s, 2) for s in plane] for plane in shape]
    flux = zone_flux(planes, vertical, horizontal, ROADWAY_MULTIPLIER)
    assert abs(flux / ROADWAY_LUMENS - 1) < 1e-4, flux
    lines = ["IESNA:LM-63-2002", "[TEST]EX-RW-1203", "[TESTLAB]EXAMPLE PHOTOMETRIC LABORATORY",
             "[ISSUEDATE]12/03/20", "[MANUFAC]EXAMPLE LUMINAIRES", "[LUMCAT]RW70/480",
             "[LUMINAIRE]FROSTED PLASTIC DIFFUSER BETWEEN A CAST METAL HOUSING AND",
             "[MORE]A CAST METAL HEAT SINK, FOUR CIRCUIT BOARDS OF 48 LEDS EACH, ",
             "[MORE]MOLDED REFLECTOR WITH SPECULAR FINISH.",
             "[LAMP]ONE HUNDRED NINETY-TWO WHITE LIGHT EMITTING DIODES (LEDS).",
             "[_ABSOLUTE]NOTE: THIS REPORT IS MADE-UP TEST DATA; THE NUMBERS COME ",
             "[MORE]FROM A FORMULA, NOT FROM A MEASURED LUMINAIRE. ",
             "[_WATT]TOTAL INPUT WATTS = 70.0 AT 480.0 VAC.",
             "[_DISTANCE]TEST DISTANCE: 28.25 FEET",
             "[_ABSOLUTELUMENS]%d" % ROADWAY_LUMENS,
             "[_SEARCH_APPLICATION] Outdoor, Canopy, Dock,",
             "[MORE] Parking Garage, Industrial, Damp Location,              ",
             "[MORE] Wet Location",
             "TILT=NONE",
             "192 -1 1.032007 74 12 1 1 1.47 1.47 0.2375",
             "1 1 70.0"]
    lines += wrap(["%g" % v for v in vertical], 60, tail=" ")
    lines.append(" ".join("%g" % h for h in horizontal))
    for plane in planes:
        lines += wrap(["%.2f" % c for c in plane], 34, tail=" ")
        lines[-1] = lines[-1].rstrip()
    write("lm63-2002-rab-roadway-mult.ies", lines, "\r\n")
    return flux


# --- LM-63-2019 example -----------------------------------------------------
def lm63_2019_example():
    lines = ["IES:LM-63-2019", "[TEST] Example Profile", "[TESTLAB] Example Laboratory",
             "[ISSUEDATE] 15-MAR-2024", "[MANUFAC] Example Luminaires", "TILT=NONE",
             "1 -1 1 10 1 1 1 -0.2 -0.2 0", "1.0 1.10001 25",
             "0 10 20 30 40 50 60 70 80 90", "0",
             "9000 6400 3600 4400 2400 1200 300 60 10 0"]
    write("lm63-2019-nvidia-example.ies", lines, "\n")


if __name__ == "__main__":
    blank_line_exponents()
    bega_axial()
    everfine_0_360()
    downlight_axial()
    flood_typeb()
    print("roadway flux %.3f lm" % roadway())
    lm63_2019_example()

#!/usr/bin/env python3
"""Writes resources/sample.adi, the sample log shipped with the program: a few hundred
QSOs of one station over two years, across bands and modes, some stations worked
several times, some with QSL managers, some already confirmed. Deterministic, so the
committed file only changes when this script does.

    python3 tools/make_sample_adi.py [output]
"""
import random
import sys
from datetime import datetime, timedelta

OWN_CALL = "DL0QX"
SEED = 7

# (prefix, suffix letters, DXCC entity, continent, manager or None)
STATIONS = [
    ("DL", 3, 230, "EU", None), ("DK", 3, 230, "EU", None), ("G", 3, 223, "EU", None),
    ("F", 3, 227, "EU", None), ("I", 3, 248, "EU", None), ("EA", 3, 281, "EU", None),
    ("OK", 3, 503, "EU", None), ("SP", 3, 269, "EU", None), ("PA", 3, 263, "EU", None),
    ("ON", 3, 209, "EU", None), ("OH", 3, 224, "EU", None), ("SM", 3, 284, "EU", None),
    ("HA", 3, 239, "EU", None), ("YU", 3, 296, "EU", None), ("LZ", 3, 212, "EU", None),
    ("UA", 3, 54, "EU", None), ("UT", 3, 288, "EU", None), ("9A", 3, 497, "EU", None),
    ("K", 2, 291, "NA", None), ("W", 2, 291, "NA", None), ("N", 3, 291, "NA", None),
    ("VE", 3, 1, "NA", None), ("JA", 3, 339, "AS", None), ("VK", 3, 150, "OC", None),
    ("ZL", 3, 170, "OC", None), ("PY", 3, 108, "SA", None), ("LU", 3, 100, "SA", None),
    ("ZS", 3, 462, "AF", None), ("4X", 3, 336, "AS", None), ("BY", 3, 318, "AS", None),
    ("HL", 3, 137, "AS", None), ("VU", 3, 324, "AS", None),
    ("9M2", 2, 299, "AS", "JA1MGR"), ("A61", 2, 391, "AS", "EA7FTR"),
    ("5B4", 2, 215, "AS", "LZ1MGR"), ("TY", 1, 416, "AF", "F6AJA"),
    ("V51", 2, 464, "AF", "DJ4MGR"), ("3B8", 2, 165, "AF", "M0OXO"),
    ("FR", 2, 453, "AF", "F5MGR"), ("CN8", 2, 446, "AF", "EA5MGR"),
    ("HK", 3, 116, "SA", "W4MGR"), ("VP8", 3, 141, "SA", "G3MGR"),
    ("KH6", 2, 110, "OC", None), ("P29", 2, 163, "OC", "VK4MGR"),
    ("ZF2", 2, 69, "NA", "K8MGR"), ("J28", 2, 382, "AF", "F4MGR"),
]

# band, low and high edge in MHz, the modes worked there
BANDS = [
    ("160M", 1.810, 1.990, ["CW", "SSB", "FT8"]),
    ("80M", 3.500, 3.800, ["CW", "SSB", "FT8", "RTTY"]),
    ("40M", 7.000, 7.200, ["CW", "SSB", "FT8", "RTTY", "PSK"]),
    ("30M", 10.100, 10.150, ["CW", "FT8", "PSK"]),
    ("20M", 14.000, 14.350, ["CW", "SSB", "FT8", "RTTY", "PSK"]),
    ("17M", 18.068, 18.168, ["CW", "SSB", "FT8"]),
    ("15M", 21.000, 21.450, ["CW", "SSB", "FT8", "RTTY"]),
    ("12M", 24.890, 24.990, ["CW", "SSB", "FT8"]),
    ("10M", 28.000, 29.000, ["CW", "SSB", "FT8", "AM"]),
    ("6M", 50.080, 50.500, ["CW", "SSB", "FT8"]),
    ("2M", 144.050, 145.500, ["SSB", "FM", "CW"]),
]
NAMES = ["Hans", "Peter", "John", "Mike", "Jose", "Luigi", "Yuki", "Ivan", "Marek", "Pierre",
         "Anna", "Bob", "Ken", "Ole", "Jan", "Tom", "Andrzej", "Jürgen", "Søren", "Zoltán"]
COMMENTS = ["Tnx QSO", "first QSO on this band", "pse QSL via buro", "nice signal",
            "contest", "portable", "new one!", "short QSO, QSB", "73 de op", ""]


def make_call(rng, prefix, letters):
    digit = "" if prefix[-1].isdigit() else str(rng.randint(1, 9))
    return prefix + digit + "".join(rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ")
                                    for _ in range(letters))


def field(tag, value):
    value = str(value)
    return "<%s:%d>%s" % (tag, len(value), value)


def report(rng, mode):
    if mode in ("SSB", "AM", "FM"):
        return "5%d" % rng.randint(5, 9), "5%d" % rng.randint(5, 9)
    if mode in ("CW", "RTTY", "PSK"):
        return "5%d9" % rng.randint(5, 9), "5%d9" % rng.randint(5, 9)
    return "%+03d" % rng.randint(-20, 5), "%+03d" % rng.randint(-20, 5)


def qso_line(rng, when, call, station, band, mode):
    prefix, _, dxcc, cont, manager = station
    name, low, high, _ = band
    sent, rcvd = report(rng, mode)
    parts = [field("CALL", call), field("QSO_DATE", when.strftime("%Y%m%d")),
             field("TIME_ON", when.strftime("%H%M%S")), field("BAND", name),
             field("FREQ", "%.4f" % rng.uniform(low, high))]
    if mode == "PSK":
        parts += [field("MODE", "PSK"), field("SUBMODE", "PSK31")]
    elif mode == "SSB":
        parts += [field("MODE", "SSB"), field("SUBMODE", "USB" if low > 10 else "LSB")]
    else:
        parts.append(field("MODE", mode))
    parts += [field("RST_SENT", sent), field("RST_RCVD", rcvd), field("DXCC", dxcc),
              field("CONT", cont), field("NAME", rng.choice(NAMES))]
    age = (datetime(2024, 12, 31) - when).days
    if manager:
        parts.append(field("QSL_VIA", manager))
    if age > 120 and rng.random() < 0.55:
        parts += [field("QSL_SENT", "Y"),
                  field("QSLSDATE", (when + timedelta(days=rng.randint(5, 60))).strftime("%Y%m%d"))]
        if rng.random() < 0.6:
            parts += [field("QSL_RCVD", "Y"), field("QSLRDATE", (
                when + timedelta(days=rng.randint(70, 110))).strftime("%Y%m%d"))]
    else:
        parts.append(field("QSL_SENT", "N"))
    comment = rng.choice(COMMENTS)
    if comment:
        parts.append(field("COMMENT", comment))
    parts += [field("STATION_CALLSIGN", OWN_CALL), field("MY_GRIDSQUARE", "JO62QM")]
    return " ".join(parts) + " <EOR>"


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/sample.adi"
    rng = random.Random(SEED)
    stations = []
    for _ in range(120):
        station = rng.choice(STATIONS)
        stations.append((make_call(rng, station[0], station[1]), station))
    when = datetime(2023, 1, 7, 6, 12, 0)
    lines = []
    for _ in range(320):
        when += timedelta(minutes=rng.randint(2, 4000))
        call, station = rng.choice(stations[:40]) if rng.random() < 0.4 else rng.choice(stations)
        band = rng.choice(BANDS[:10] if station[3] != "EU" else BANDS)
        lines.append(qso_line(rng, when, call, station, band, rng.choice(band[3])))
    header = [
        "Sample log of %s, exported for QX." % OWN_CALL,
        "%s %s %s" % (field("ADIF_VER", "3.1.4"), field("PROGRAMID", "SampleLogger"),
                      field("PROGRAMVERSION", "2.4")),
        field("CREATED_TIMESTAMP", "20250105 101500"),
        "<EOH>",
    ]
    with open(out, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(header + lines) + "\n")


if __name__ == "__main__":
    main()

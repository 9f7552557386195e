#!/usr/bin/python3
"""Builds the development stand-in for the icon font "Segoe MDL2 Assets", which cannot be
shipped or installed here: one glyph per code point of the program's glyph table, drawn from
Microsoft's Fluent UI System Icons (MIT licence). It is installed into the development Wine
prefix only, under a name of its own, with a font substitute for the real name.

    build.py <glyph table header> <folder of Fluent SVG icons> <output .ttf>

Needs FontForge's Python module (Debian: python3-fontforge), hence Debian's /usr/bin/python3.
"""
import re
import sys
import tempfile

import fontforge

FAMILY = "Icon Stand-in"

# The Fluent icon drawn for each name of the glyph table.
FLUENT_ICONS = {
    "open_file": "folder_open_20_regular",
    "play": "play_20_filled",
    "pause": "pause_20_filled",
    "back_10": "skip_back_10_20_regular",
    "forward_30": "skip_forward_30_20_regular",
    "muted": "speaker_mute_20_regular",
    "volume_0": "speaker_0_20_regular",
    "volume_1": "speaker_1_20_regular",
    "volume_2": "speaker_2_20_regular",
    "volume_3": "speaker_2_20_filled",
    "audio": "music_note_2_20_regular",
    "subtitles": "closed_caption_20_regular",
    "pin": "pin_20_regular",
    "full_screen": "full_screen_maximize_20_regular",
    "leave_full_screen": "full_screen_minimize_20_regular",
    "help": "question_circle_20_regular",
    "info": "info_20_regular",
    "close": "dismiss_20_regular",
    "check_mark": "checkmark_20_regular",
}


def glyph_table(header):
    table = re.findall(r"inline constexpr char16_t (\w+) = 0x([0-9A-Fa-f]{4});", header)
    if not table:
        sys.exit(f"build.py: no glyphs found in the glyph table")
    return [(name, int(code, 16)) for name, code in table]


def closed_subpaths(svg):
    """The icon with every subpath closed: the icons leave them open (filled alike under SVG's
    rules), which FontForge joins into shapes that fill the holes of rings."""
    def close(match):
        path = re.sub(r"(?<=.)\s*([Mm])", r"Z\1", match.group(2))
        if not path.rstrip().endswith(("Z", "z")):
            path += "Z"
        return match.group(1) + path + '"'
    return re.sub(r'(\sd=")([^"]*)"', close, svg)


def main():
    header_path, icons_folder, output = sys.argv[1:4]
    with open(header_path, encoding="utf-8") as header:
        glyphs = glyph_table(header.read())
    unknown = [name for name, _ in glyphs if name not in FLUENT_ICONS]
    if unknown:
        sys.exit(f"build.py: no stand-in icon chosen for: {', '.join(unknown)}")

    font = fontforge.font()
    # A Unicode cmap (FontForge starts with Adobe's standard encoding), and a code page Windows
    # font matching takes for an ordinary font rather than a symbol one.
    font.encoding = "UnicodeBmp"
    font.os2_codepages = (1, 0)
    font.fontname = FAMILY.replace(" ", "")
    font.familyname = FAMILY
    font.fullname = FAMILY
    font.copyright = "Drawn from Microsoft's Fluent UI System Icons (MIT licence)"
    font.em = 2048
    font.ascent = 2048
    font.descent = 0
    for name, code in glyphs:
        glyph = font.createChar(code, name)
        with open(f"{icons_folder}/{FLUENT_ICONS[name]}.svg", encoding="utf-8") as icon:
            svg = closed_subpaths(icon.read())
        with tempfile.NamedTemporaryFile("w", suffix=".svg", encoding="utf-8") as closed:
            closed.write(svg)
            closed.flush()
            glyph.importOutlines(closed.name)
        glyph.width = font.em
    font.generate(output)


if __name__ == "__main__":
    main()

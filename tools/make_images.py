#!/usr/bin/env python3
"""Draws the game's placeholder images into Resources/Images/: characters and their
animation sheets, ground and sky, text panels, buttons and
their highlights, trees, check boxes, the letter and digit sheets of the scoreboard, the
white "Empty.png" that particles and grey-outs tint, and the "debug.png" checkerboard
shown for a missing image. Run from the repository root: python3 tools/make_images.py"""

import os
import struct
import sys
import zlib

# 5 x 7 glyphs, one string of five bits per row.
FONT = {
    'A': "01110 10001 10001 11111 10001 10001 10001", 'B': "11110 10001 10001 11110 10001 10001 11110",
    'C': "01110 10001 10000 10000 10000 10001 01110", 'D': "11110 10001 10001 10001 10001 10001 11110",
    'E': "11111 10000 10000 11110 10000 10000 11111", 'F': "11111 10000 10000 11110 10000 10000 10000",
    'G': "01110 10001 10000 10111 10001 10001 01111", 'H': "10001 10001 10001 11111 10001 10001 10001",
    'I': "01110 00100 00100 00100 00100 00100 01110", 'J': "00111 00010 00010 00010 00010 10010 01100",
    'K': "10001 10010 10100 11000 10100 10010 10001", 'L': "10000 10000 10000 10000 10000 10000 11111",
    'M': "10001 11011 10101 10101 10001 10001 10001", 'N': "10001 10001 11001 10101 10011 10001 10001",
    'O': "01110 10001 10001 10001 10001 10001 01110", 'P': "11110 10001 10001 11110 10000 10000 10000",
    'Q': "01110 10001 10001 10001 10101 10010 01101", 'R': "11110 10001 10001 11110 10100 10010 10001",
    'S': "01111 10000 10000 01110 00001 00001 11110", 'T': "11111 00100 00100 00100 00100 00100 00100",
    'U': "10001 10001 10001 10001 10001 10001 01110", 'V': "10001 10001 10001 10001 10001 01010 00100",
    'W': "10001 10001 10001 10101 10101 10101 01010", 'X': "10001 10001 01010 00100 01010 10001 10001",
    'Y': "10001 10001 01010 00100 00100 00100 00100", 'Z': "11111 00001 00010 00100 01000 10000 11111",
    '0': "01110 10001 10011 10101 11001 10001 01110", '1': "00100 01100 00100 00100 00100 00100 01110",
    '2': "01110 10001 00001 00010 00100 01000 11111", '3': "11111 00010 00100 00010 00001 10001 01110",
    '4': "00010 00110 01010 10010 11111 00010 00010", '5': "11111 10000 11110 00001 00001 10001 01110",
    '6': "00110 01000 10000 11110 10001 10001 01110", '7': "11111 00001 00010 00100 01000 01000 01000",
    '8': "01110 10001 10001 01110 10001 10001 01110", '9': "01110 10001 10001 01111 00001 00010 01100",
    ' ': "00000 00000 00000 00000 00000 00000 00000", '!': "00100 00100 00100 00100 00100 00000 00100",
    '?': "01110 10001 00001 00010 00100 00000 00100", '-': "00000 00000 00000 11111 00000 00000 00000",
    '+': "00000 00100 00100 11111 00100 00100 00000", '.': "00000 00000 00000 00000 00000 01100 01100",
    ':': "00000 01100 01100 00000 01100 01100 00000", "'": "00100 00100 01000 00000 00000 00000 00000",
}

CLEAR = (0, 0, 0, 0)
NAVY = (29, 43, 83, 255)
TEAL = (41, 173, 255, 255)
CREAM = (255, 241, 232, 255)
GOLD = (255, 204, 51, 255)
INK = (20, 20, 28, 255)
LEAF = (60, 160, 80, 255)
LEAF_DARK = (30, 110, 60, 255)
BARK = (120, 80, 50, 255)


class Canvas:
    def __init__(self, width, height, fill=CLEAR):
        self.width, self.height = width, height
        self.pixels = [list(fill) for _ in range(width * height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = list(colour)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y * self.width + x] = list(colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(cy - radius, cy + radius + 1):
            for x in range(cx - radius, cx + radius + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def text(self, x, y, words, colour, scale):
        for character in words.upper():
            rows = FONT.get(character, FONT['?']).split()
            for row, bits in enumerate(rows):
                for column, bit in enumerate(bits):
                    if bit == '1':
                        self.rect(x + column * scale, y + row * scale, x + (column + 1) * scale, y + (row + 1) * scale,
                                  colour)
            x += 6 * scale

    def save(self, path):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for pixel in self.pixels[y * self.width:(y + 1) * self.width]:
                raw.extend(pixel)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
                      chunk(b"IEND", b""))


def text_width(words, scale):
    return 6 * scale * len(words) - scale


def panel(lines, scale=3, fill=NAVY, border=TEAL, ink=CREAM, pad=12):
    width = max(text_width(line, scale) for line in lines) + 2 * pad
    height = len(lines) * 9 * scale - 2 * scale + 2 * pad
    canvas = Canvas(width, height, fill)
    canvas.rect(0, 0, width, 2, border)
    canvas.rect(0, height - 2, width, height, border)
    canvas.rect(0, 0, 2, height, border)
    canvas.rect(width - 2, 0, width, height, border)
    for index, line in enumerate(lines):
        canvas.text((width - text_width(line, scale)) // 2, pad + index * 9 * scale, line, ink, scale)
    return canvas


def label(words, ink, scale=3):
    canvas = Canvas(text_width(words, scale) + 4, 7 * scale + 4)
    canvas.text(2, 2, words, ink, scale)
    return canvas


def tree(width, height, crowns):
    canvas = Canvas(width, height)
    trunk = max(4, width // 8)
    canvas.rect(width // 2 - trunk // 2, height // 2, width // 2 + trunk // 2 + 1, height, BARK)
    for index, (fx, fy, fr) in enumerate(crowns):
        canvas.disc(int(fx * width), int(fy * height), int(fr * width), LEAF if index % 2 == 0 else LEAF_DARK)
    return canvas


def tree_row(width, height, count):
    canvas = Canvas(width, height)
    for index in range(count):
        cx = int((index + 0.5) * width / count)
        canvas.rect(cx - 2, height // 2, cx + 3, height, BARK)
        canvas.disc(cx, height // 2 - 2, width // count // 2 - 1, LEAF if index % 2 == 0 else LEAF_DARK)
    return canvas


def sheet(characters, columns, ink, cell=16):
    rows = (len(characters) + columns - 1) // columns
    canvas = Canvas(columns * cell, rows * cell)
    for index, character in enumerate(characters):
        x, y = index % columns * cell, index // columns * cell
        canvas.text(x + 3, y + 1, character, ink, 2)
    return canvas


def checkbox(checked):
    canvas = Canvas(32, 32)
    canvas.rect(2, 2, 30, 30, CREAM)
    canvas.rect(5, 5, 27, 27, NAVY)
    if checked:
        for step in range(7):
            canvas.rect(8 + step, 16 + step, 11 + step, 19 + step, GOLD)
        for step in range(11):
            canvas.rect(14 + step, 22 - step, 17 + step, 25 - step, GOLD)
    return canvas


def build():
    images = {}
    debug = Canvas(32, 32)
    for y in range(32):
        for x in range(32):
            debug.put(x, y, (255, 0, 255, 255) if (x // 8 + y // 8) % 2 == 0 else (0, 0, 0, 255))
    images["debug.png"] = debug
    images["Empty.png"] = Canvas(4, 4, (255, 255, 255, 255))
    images["test.png"] = panel(["TEST"], scale=2)

    # Words shown on their own, black ("B") and white ("W") where the menus switch between them.
    for name, words in [("Fullscreen", "FULL SCREEN"), ("GodMode", "GOD MODE"), ("Music", "MUSIC"),
                        ("YouLose", "YOU LOSE"), ("YouWin", "YOU WIN")]:
        images[name + "B.png"] = label(words, INK)
        images[name + "W.png"] = label(words, CREAM)
    for name, words in [("AreYouSure", "ARE YOU SURE?"), ("Paused", "PAUSED"), ("PressEnter", "PRESS ENTER"),
                        ("Score", "SCORE"), ("OptionsText", "OPTIONS")]:
        images[name + ".png"] = label(words, CREAM, scale=4)

    # Menu buttons and their highlighted looks.
    for name, words in [("Start", "START"), ("Leaderboard", "LEADERBOARD"), ("HowToPlayFinal", "HOW TO PLAY"),
                        ("Options", "OPTIONS"), ("Credits", "CREDITS"), ("Exit", "EXIT"),
                        ("ResumeGameFinal", "RESUME GAME"), ("RestartLevelFinal", "RESTART LEVEL"),
                        ("ReturnToMainMenuFinal", "MAIN MENU"), ("Yes", "YES"), ("No", "NO")]:
        images[name + ".png"] = panel([words])
        images[name + "Highlight.png"] = panel([words], fill=GOLD, border=CREAM, ink=INK)

    # Screens, credits and tutorials: panels of a few lines.
    for name, lines in [
        ("SplashScreen", ["PROJECT VANTREL"]), ("QuillmereSplashScreen", ["QUILLMERE", "PRESENTS"]),
        ("QuillmereLogo", ["QUILLMERE"]), ("QMProduction", ["A QUILLMERE", "PRODUCTION"]),
        ("KTPresents", ["KT PRESENTS"]), ("KTWebsite", ["KT ONLINE"]), ("Executives", ["EXECUTIVES"]),
        ("Instructors", ["INSTRUCTORS"]), ("Legalia", ["LEGALIA"]), ("Morlith", ["MORLITH"]),
        ("FMOD", ["SOUND"]), ("HowToPlayScreen", ["HOW TO PLAY", "A D: RUN  J: JUMP", "K: DASH  L: WATER"]),
        ("CreditA", ["CREDITS"]), ("CreditB", ["DESIGN"]), ("CreditC", ["PROGRAMMING"]), ("CreditD", ["ART"]),
        ("CreditE", ["SOUND"]), ("CreditF", ["LEVELS"]), ("CreditG", ["TESTING"]), ("CreditH", ["THANKS"]),
        ("CreditI", ["THE END"]), ("AirDashDiagonal", ["AIR DASH"]), ("AirDashDiagonalL", ["DASH LEFT"]),
        ("AirDashDiagonalR", ["DASH RIGHT"]), ("Diagonal_Dash_Tutorial", ["JUMP THEN K", "TO DASH"]),
        ("Jump", ["JUMP"]), ("Jump_Tutorial", ["PRESS J", "TO JUMP"]), ("Left_Right_Tutorial", ["A D", "TO RUN"]),
        ("Movement", ["MOVE"]), ("MovementFinal", ["MOVE WITH A D"]), ("Right_AirDash_Tutorial", ["K TO DASH"]),
        ("SlideAfterJumping", ["SLIDE AFTER", "JUMPING"]), ("WaterSlide", ["L TO SLIDE"]),
        ("DashReset", ["DASH RESET"]), ("Level1Complete", ["LEVEL 1", "COMPLETE"]),
        ("Level2Complete", ["LEVEL 2", "COMPLETE"]), ("Level3Complete", ["LEVEL 3", "COMPLETE"]),
        ("Level4Complete", ["LEVEL 4", "COMPLETE"]),
    ]:
        images[name + ".png"] = panel(lines)

    frame = Canvas(64, 64, NAVY)
    frame.rect(0, 0, 64, 4, TEAL)
    frame.rect(0, 60, 64, 64, TEAL)
    frame.rect(0, 0, 4, 64, TEAL)
    frame.rect(60, 0, 64, 64, TEAL)
    images["MenuFrame.png"] = frame
    images["Checkbox.png"] = checkbox(False)
    images["CheckboxWithCheck.png"] = checkbox(True)
    minus = Canvas(32, 32)
    minus.rect(6, 13, 26, 19, CREAM)
    images["Minus.png"] = minus
    plus = Canvas(32, 32)
    plus.rect(6, 13, 26, 19, CREAM)
    plus.rect(13, 6, 19, 26, CREAM)
    images["Plus.png"] = plus

    images["Tree1A_1.png"] = tree(48, 96, [(0.5, 0.35, 0.4)])
    images["Tree1A_2.png"] = tree(48, 96, [(0.5, 0.4, 0.38), (0.5, 0.22, 0.28)])
    images["Tree1A_3.png"] = tree(48, 96, [(0.4, 0.38, 0.3), (0.62, 0.3, 0.3), (0.5, 0.18, 0.25)])
    images["Tree1B_1.png"] = tree(64, 80, [(0.5, 0.4, 0.42)])
    images["Tree1B_2.png"] = tree(64, 80, [(0.35, 0.42, 0.3), (0.65, 0.38, 0.3)])
    images["Tree1C_1.png"] = tree(40, 112, [(0.5, 0.3, 0.42), (0.5, 0.5, 0.36)])
    images["Tree1C_2.png"] = tree(40, 112, [(0.5, 0.25, 0.4)])
    images["TreeRow_1.png"] = tree_row(160, 48, 5)
    images["TreeRow_2.png"] = tree_row(160, 48, 6)
    images["TreeRow_3.png"] = tree_row(160, 48, 4)

    # Characters and their animation sheets (cells of 32 x 32, frames row by row).
    def figure(canvas, x, y, body, step):
        canvas.rect(x + 10, y + 8, x + 22, y + 24, body)
        canvas.disc(x + 16, y + 7, 5, CREAM)
        canvas.rect(x + 10 + step, y + 24, x + 14 + step, y + 31, INK)
        canvas.rect(x + 18 - step, y + 24, x + 22 - step, y + 31, INK)

    def character_sheet(columns, rows, body, wings=False, burst=False):
        canvas = Canvas(32 * columns, 32 * rows)
        for frame in range(columns * rows):
            x, y = frame % columns * 32, frame // columns * 32
            if burst:
                canvas.disc(x + 16, y + 16, 3 + frame * 12 // (columns * rows), GOLD if frame % 2 == 0 else (255, 120, 40, 255))
            elif wings:
                canvas.disc(x + 16, y + 16, 8, body)
                lift = 6 if frame % 2 == 0 else -2
                canvas.rect(x + 2, y + 12 - lift, x + 9, y + 16 - lift, CREAM)
                canvas.rect(x + 23, y + 12 - lift, x + 30, y + 16 - lift, CREAM)
            else:
                figure(canvas, x, y, body, (frame % 4) - 1)
        return canvas

    images["Player.png"] = character_sheet(1, 1, TEAL)
    images["PlayerIdle.png"] = character_sheet(4, 1, TEAL)
    images["PlayerRun.png"] = character_sheet(4, 2, TEAL)
    images["Enemy.png"] = character_sheet(1, 1, (200, 60, 80, 255), wings=True)
    images["EnemyFly.png"] = character_sheet(2, 2, (200, 60, 80, 255), wings=True)
    images["Explosion.png"] = character_sheet(4, 2, GOLD, burst=True)
    ground = Canvas(32, 32, (120, 80, 50, 255))
    ground.rect(0, 0, 32, 8, LEAF)
    images["Ground.png"] = ground
    sky = Canvas(64, 64, (120, 190, 230, 255))
    sky.disc(16, 20, 8, CREAM)
    sky.disc(26, 20, 10, CREAM)
    images["Background.png"] = sky
    for name, lines in [("MainMenu", ["PROJECT VANTREL"]), ("CreditsRoll", ["CREDITS"]), ("HowToPlay", ["HOW TO PLAY"]),
                        ("EnterToContinue", ["PRESS ENTER"]), ("LeaderboardScreen", ["LEADERBOARD"]),
                        ("LevelComplete", ["LEVEL COMPLETE"])]:
        images[name + ".png"] = panel(lines)
    images["HowToPlayBG.png"] = frame

    # Scoreboard sheets: letters A to Z on 13 columns by 2 rows, digits 0 to 9 on 10 columns by 1 row.
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    images["LAB317_Morlith_LettersTest.png"] = sheet(letters, 13, CREAM)
    images["LAB317_Morlith_LettersTest2.png"] = sheet(letters, 13, GOLD)
    images["LAB317_Morlith_NumbersTest.png"] = sheet("0123456789", 10, CREAM)
    images["LAB317_Morlith_NumbersTest2.png"] = sheet("0123456789", 10, GOLD)
    return images


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join("Resources", "Images")
    os.makedirs(folder, exist_ok=True)
    images = build()
    for name, canvas in sorted(images.items()):
        canvas.save(os.path.join(folder, name))
    print("wrote", len(images), "images to", folder)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the demo story's pictures as picture files (palette indices, -1 =
transparent). The pictures are committed; run this only to change them:

    python3 tools/demo_art/make_demo_art.py stories/demo/sprites
"""
import math
import os
import sys

T = -1  # transparent

# Default palette indices used below.
BLACK, BLUE, GREEN, CYAN, RED, MAGENTA, BROWN, LGREY = 0, 1, 2, 3, 4, 5, 6, 7
DGREY, LBLUE, LGREEN, LCYAN, LRED, LMAGENTA, YELLOW, WHITE = 8, 9, 10, 11, 12, 13, 14, 15
NAVY, NAVY2, NAVY3 = 176, 200, 224
DEEP_BLUE, DARK_RED, OLIVE, DARK_GREEN, DARK_CYAN = 104, 112, 116, 120, 124
SAND, ORANGE, GOLD = 66, 42, 43


def grey(level):  # 0..15 along the grey ramp
    return 16 + max(0, min(15, level))


def blank(w, h, c=T):
    return [[c] * w for _ in range(h)]


def write(folder, name, img):
    h = len(img)
    w = len(img[0])
    assert len(name) == 12 and name.endswith(".VIS"), name
    assert int(name[4:6]) == w and int(name[6:8]) == h, (name, w, h)
    with open(os.path.join(folder, name), "w", newline="\r\n") as f:
        for row in img:
            f.write(",".join(str(v) for v in row) + "\n")


def background():
    # Night sea: navy with a soft wave line and two stars per tile.
    img = blank(24, 24, NAVY)
    for x in range(24):
        y = 16 + round(2 * math.sin(x * math.pi / 12))
        img[y][x] = NAVY2
        img[min(23, y + 1)][x] = NAVY3
    img[3][5] = LGREY
    img[9][17] = WHITE
    img[4][20] = NAVY3
    return img


def shore():
    img = blank(24, 24)
    for y in range(24):
        for x in range(24):
            if y < 9:
                img[y][x] = LBLUE if y > 4 else BLUE
            elif y < 15:
                img[y][x] = DEEP_BLUE if (x + y) % 5 else LCYAN
            else:
                img[y][x] = SAND if (x * 7 + y * 3) % 11 else BROWN
    for y in range(2, 5):  # the moon
        for x in range(16, 20):
            img[y][x] = YELLOW
    for y in range(3, 14):  # a far lighthouse
        img[y][4] = WHITE if y % 3 else RED
    img[2][4] = YELLOW
    return img


def door():
    img = blank(32, 24, grey(6))
    for y in range(24):
        for x in range(32):
            if (y // 4 + x // 8) % 2 and x % 8 == 0 or y % 4 == 0:
                img[y][x] = grey(3)
    for y in range(6, 24):
        for x in range(11, 21):
            img[y][x] = BROWN if x % 3 else DARK_RED
    for x in range(12, 20):
        img[5][x] = BROWN
    img[15][18] = GOLD
    return img


def lamp():
    # A round lens, transparent outside the circle.
    img = blank(40, 40)
    for y in range(40):
        for x in range(40):
            d = math.hypot(x - 19.5, y - 19.5)
            if d < 19.5:
                ring = int(d) // 3
                img[y][x] = [WHITE, YELLOW, GOLD, ORANGE, YELLOW, GOLD, DARK_RED][min(6, ring)]
    return img


def cave():
    img = blank(24, 24)
    for y in range(24):
        for x in range(24):
            d = math.hypot(x - 11.5, (y - 24) * 0.9)
            if d < 12:
                img[y][x] = BLACK if d < 8 else grey(4 + (x + y) % 3)
    return img


def keyring():
    img = blank(16, 16)
    for y in range(16):
        for x in range(16):
            if 3 <= math.hypot(x - 5, y - 5) < 5:
                img[y][x] = GOLD
    for x in range(9, 15):
        img[5][x] = GOLD
    img[6][13] = GOLD
    img[7][13] = GOLD
    img[6][11] = GOLD
    return img


def waves():
    img = blank(64, 32)
    for y in range(32):
        for x in range(64):
            crest = 6 * math.sin((x + y * 2) * math.pi / 16)
            img[y][x] = WHITE if abs(y - 16 - crest) < 1 else (
                DEEP_BLUE if y > 16 + crest else NAVY2)
    return img


def boat():
    img = blank(32, 16)
    for y in range(10, 16):
        for x in range(32):
            if y - 10 <= min(x, 31 - x):
                img[y][x] = BROWN if y < 14 else DARK_RED
    for y in range(1, 10):
        img[y][15] = grey(10)
        for x in range(16, 16 + (10 - y)):
            img[y][x] = WHITE
    return img


def village():
    img = blank(32, 24)
    for y in range(24):
        for x in range(32):
            img[y][x] = NAVY if y < 12 else DARK_GREEN
    for left, top, colour in ((2, 9, LGREY), (12, 7, grey(9)), (23, 10, LGREY)):
        for y in range(top, 20):
            for x in range(left, left + 8):
                img[y][x] = colour
        for y in range(top - 4, top):  # roof
            for x in range(left + (top - y) - 1, left + 8 - (top - y) + 1):
                img[y][x] = DARK_RED
        img[top + 3][left + 2] = YELLOW
        img[top + 3][left + 5] = YELLOW
    return img


def face():
    img = blank(24, 24)
    for y in range(24):
        for x in range(24):
            d = math.hypot(x - 11.5, y - 10)
            if d < 8:
                img[y][x] = SAND
            elif y > 17 and abs(x - 11.5) < 10:
                img[y][x] = DEEP_BLUE
    for x in range(5, 19):  # cap
        for y in range(1, 4):
            img[y][x] = DEEP_BLUE
    img[9][9] = BLACK
    img[9][14] = BLACK
    for x in range(8, 16):  # beard
        img[15][x] = WHITE
        img[16][x] = WHITE
    return img


def logbook():
    img = blank(24, 16)
    for y in range(1, 15):
        for x in range(1, 23):
            img[y][x] = WHITE if x != 11 and x != 12 else grey(8)
    for y in range(3, 13, 2):
        for x in list(range(3, 10)) + list(range(14, 21)):
            if (x * y) % 5:
                img[y][x] = DGREY
    return img


def matches():
    img = blank(16, 16)
    for y in range(4, 14):
        for x in range(2, 14):
            img[y][x] = RED if y < 12 else DARK_RED
    for x in range(4, 13, 3):
        img[2][x] = RED
        img[3][x] = SAND
    return img


def rocks():
    img = blank(48, 24)
    for y in range(24):
        for x in range(48):
            if y > 18:
                img[y][x] = DEEP_BLUE if (x + y) % 4 else WHITE
            elif y > 20 - 12 * math.exp(-((x - 14) / 7) ** 2) or y > 22 - 15 * math.exp(-((x - 34) / 5) ** 2):
                img[y][x] = grey(5 + (x * 3 + y) % 4)
    for x in range(26, 40):  # a wrecked mast
        img[int(4 + (x - 26) * 0.5)][x] = BROWN
    return img


def title():
    img = blank(64, 40)
    for y in range(40):
        for x in range(64):
            img[y][x] = NAVY if y < 30 else DEEP_BLUE
    for y in range(6, 30):  # the tower
        half = 3 + (y - 6) // 8
        for x in range(32 - half, 32 + half):
            img[y][x] = WHITE if (y // 4) % 2 else RED
    for y in range(2, 6):
        for x in range(29, 35):
            img[y][x] = YELLOW
    for x in range(0, 29):  # the beam
        for y in range(3, 5 + x // 6):
            if img[y][x] == NAVY and (x + y) % 2:
                img[y][x] = GOLD
    return img


def keeper():
    img = face()
    for y in range(24):
        for x in range(24):
            if img[y][x] == DEEP_BLUE:
                img[y][x] = DARK_GREEN
            if img[y][x] == T and (x + y) % 3 == 0:
                img[y][x] = DGREY
    return img


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write(folder, "bkgd2424.VIS", background())
    write(folder, "shor2424.VIS", shore())
    write(folder, "door3224.VIS", door())
    write(folder, "lamp4040.VIS", lamp())
    write(folder, "cave2424.VIS", cave())
    write(folder, "keys1616.VIS", keyring())
    write(folder, "wave6432.VIS", waves())
    write(folder, "boat3216.VIS", boat())
    write(folder, "vill3224.VIS", village())
    write(folder, "face2424.VIS", face())
    write(folder, "book2416.VIS", logbook())
    write(folder, "mtch1616.VIS", matches())
    write(folder, "rock4824.VIS", rocks())
    write(folder, "titl6440.VIS", title())
    write(folder, "keep2424.VIS", keeper())


if __name__ == "__main__":
    main()

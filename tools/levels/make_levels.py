#!/usr/bin/env python3
"""Builds the game's level files in Resources/Levels/ from the sources in tools/levels/,
and the archetype and animation files the levels go with.

Run from the repository root:  python3 tools/levels/make_levels.py
It rewrites every level named in levels.txt and LevelNames.json; see README.md for the format."""

import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CELL = 100.0  # world units per map character

# Depths: smaller is nearer. The play field sits in front of every parallax layer (the
# nearest is drawn at -1) and behind the pause menu (-2 and nearer).
Z_TREE, Z_SIGN, Z_GROUND, Z_LAVA, Z_FLAG, Z_ORB, Z_ENEMY, Z_PLAYER = -1.1, -1.15, -1.3, -1.35, -1.4, -1.45, -1.5, -1.6

# A saved level is keyed by the objects' names (the player's by "APlayer"), in byte order,
# and objects are made in that order: it is their ids, their drawing order and the order
# collisions are settled in. So the name of every object that no code looks up starts with
# its group's prefix, which puts far scenery first and then the play field from back to front.
# Every enemy is named "Enemy" (the respawn finds them by it) and keyed "Enemy", "Enemy #00002"
# and so on; the prefixes put it after the orbs and before the goal.
PREFIX = {"scenery": "B", "tree": "C", "sign": "D", "ground": "EA", "lava": "EB", "flag": "EC", "orb": "ED",
          "goal": "F", "catch": "G"}
PLAYER_KEY = "APlayer"

# Parallax layers: level 1 stays with the camera, 4 moves least with it. Each strip has a
# half size and a height on screen (its centre above the view's centre with the player
# standing at the level's horizon).
LAYERS = {1: (960.0, 240.0, 380.0), 2: (1024.0, 384.0, 78.0), 3: (1024.0, 256.0, 156.0), 4: (1024.0, 320.0, 180.0)}
MARGIN = 14  # columns of ground added beyond each end of a map, with a wall at the far left
BEDROCK = 3  # rows of ground added under every column that has ground in its bottom row


def f(value):
    return [float(value)]


def transform(x, y, z, sx, sy):
    return {"PosX": f(x), "PosY": f(y), "PosZ": f(z), "Rotation": f(0.0), "ScaleX": f(sx), "ScaleY": f(sy)}


def sprite(texture, colour=(1.0, 1.0, 1.0, 1.0), mesh=0):
    r, g, b, a = colour
    return {"Color": {"W": float(a), "X": float(r), "Y": float(g), "Z": float(b)}, "MeshIndex": [mesh],
            "Texture": [texture]}


def body(sx, sy, kind=0, ghost=False):
    """A box collider of the same half extents as the sprite."""
    return {"BodyType": [kind], "Bottom": f(-sy), "ColliderType": [0], "Ghost": [ghost], "Left": f(-sx),
            "Right": f(sx), "Top": f(sy), "Weight": f(0.0)}


def events(table):
    return {event: [[handler] for handler in handlers] for event, handlers in table.items()}


# The objects a map character stands for, placed at (x, y): shared with the archetypes.
def checkpoint(x, y):
    return {"Transform": transform(x, y, Z_FLAG, 30, 50), "Sprite": sprite("Checkpoint.png"),
            "RigidBody": body(30, 50, ghost=True), "Events": events({"OnCollision": ["CheckPoint"]})}


def goal(x, y):
    return {"Transform": transform(x, y, Z_FLAG, 60, 120), "Sprite": sprite("Goal.png"),
            "RigidBody": body(60, 120, ghost=True), "Events": events({"OnCollision": ["LevelGoal"]})}


def dash_orb(x, y):
    return {"Transform": transform(x, y, Z_ORB, 30, 30), "Sprite": sprite("DashOrb.png"),
            "RigidBody": body(30, 30, ghost=True), "Events": events({"OnCollision": ["DashReset"]})}


def enemy(x, y, reach):
    return {"Transform": transform(x, y, Z_ENEMY, 40, 40), "Sprite": sprite("Enemy.png"),
            "RigidBody": body(40, 40, kind=2),
            "Events": events({"InRange": ["EnemyShot"], "OnCollision": ["EnemyHit"]}),
            "Range": {"BulletSpeed": f(900.0), "Range": f(reach)}}


def ground_top(x, y, half_width):
    return {"Transform": transform(x, y, Z_GROUND, half_width, CELL / 2), "Sprite": sprite("GroundTop.png"),
            "RigidBody": body(half_width, CELL / 2)}


def ground_fill(x, y, half_width, half_height):
    return {"Transform": transform(x, y, Z_GROUND, half_width, half_height), "Sprite": sprite("GroundFill.png"),
            "RigidBody": body(half_width, half_height)}


def platform(x, y, half_width):
    return {"Transform": transform(x, y, Z_GROUND, half_width, 20), "Sprite": sprite("Platform.png"),
            "RigidBody": body(half_width, 20)}


def lava(x, y, half_width):
    return {"Transform": transform(x, y, Z_LAVA, half_width, 40), "Sprite": sprite("Lava.png"),
            "RigidBody": body(half_width, 40, ghost=True), "Events": events({"OnCollision": ["KillZone"]})}


# Sprite-sheet animations: name -> (sheet, frames, columns, rows, seconds a frame, looping).
ANIMATIONS = {
    "PlayerIdle": ("PlayerIdle.png", 2, 2, 1, 0.5, True),
    "PlayerRun": ("PlayerRun.png", 4, 4, 1, 0.1, True),
    "PlayerJump": ("PlayerJump.png", 2, 2, 1, 0.3, False),
    "PlayerDash": ("PlayerDash.png", 1, 1, 1, 0.2, False),
    "EnemyFly": ("EnemyFly.png", 2, 2, 1, 0.15, True),
    # The scoreboard shows one frame of these by number: digits 0 to 9, letters A to Z.
    "DigitsAnim": ("LAB317_Morlith_NumbersTest.png", 10, 10, 1, 1.0, False),
    "LettersAnim": ("LAB317_Morlith_LettersTest.png", 26, 13, 2, 1.0, False),
}


def animation_file():
    return {name: {"Handle": name, "Sprite Sheet": sheet, "Frame Count": [frames], "Columns": [columns],
                   "Rows": [rows], "Frame Delay": [float(delay)], "Looping": [looping]}
            for name, (sheet, frames, columns, rows, delay, looping) in ANIMATIONS.items()}


def archetype_file():
    """The editor's templates, one of each kind of object the maps place."""
    table = {"Ground": ground_top(0, 0, CELL / 2), "GroundFill": ground_fill(0, 0, CELL / 2, CELL / 2),
             "Platform": platform(0, 0, CELL / 2), "CheckPoint": checkpoint(0, 0), "KillZone": lava(0, 0, CELL / 2),
             "Enemy": enemy(0, 0, 750.0), "Goal": goal(0, 0), "DashOrb": dash_orb(0, 0)}
    return {name: dict(entry, Handle=name) for name, entry in table.items()}


class Level:
    """The level's objects as (name, entry), in the order they are added."""

    def __init__(self):
        self.objects = []
        self.counts = {}

    def add(self, group, handle, entry):
        """Adds an object of a group; a count keeps the names of one kind distinct."""
        self.counts[handle] = self.counts.get(handle, 0) + 1
        self.add_named("%s%s%03d" % (PREFIX[group], handle, self.counts[handle]), entry)

    def add_named(self, name, entry):
        self.objects.append((name, dict(entry, Handle=name)))

    def entries(self):
        """The entries under the keys a save gives them: the name, "APlayer" for the
        player, and for a later object of a name already taken the name numbered from 2."""
        keys, taken, last = {}, set(), {}
        for name, entry in self.objects:
            key = PLAYER_KEY if name == "Player" else name
            if key in taken:
                count = last.get(name, 1)
                while key in taken:
                    count += 1
                    key = "%s #%05d" % (name, count)
                last[name] = count
            taken.add(key)
            keys[key] = entry
        return keys


def parse(path):
    """Splits a source file into its header values and its sections of lines."""
    header, sections, current = {}, {}, None
    with open(path, encoding="utf-8") as source:
        for raw in source:
            line = raw.rstrip("\n")
            if current == "map":  # map lines are taken as they are, '#' included
                if line.strip() == "end":
                    current = None
                else:
                    sections["map"].append(line)
                continue
            stripped = line.split("#", 1)[0].strip()
            if not stripped:
                continue
            if stripped.endswith(":") and " " not in stripped:
                current = stripped[:-1]
                sections[current] = []
            elif current is None:
                key, _, value = stripped.partition(":")
                header[key.strip()] = value.strip()
            else:
                sections[current].append(stripped)
    return header, sections


def screen_objects(level, lines):
    """Lines of 'NAME TEXTURE X Y Z SCALEX SCALEY [alpha=A] [anim=HANDLE] [parallax=DEPTH]'.
    They are made, and so drawn, in the byte order of their names (see PREFIX), so each
    screen's names are chosen to sort from the farthest object to the nearest where objects
    overlap: the soft edge of a text then blends with the backdrop behind it rather than
    with the clear colour."""
    names = set()
    for line in lines:
        words = line.split()
        name, texture = words[0], words[1]
        if name in names:  # the screen flow finds an object by its name
            sys.exit("two screen objects named %s" % name)
        names.add(name)
        x, y, z, sx, sy = (float(w) for w in words[2:7])
        options = dict(word.split("=", 1) for word in words[7:])
        entry = {"Transform": transform(x, y, z, sx, sy)}
        if texture != "-":
            colour = (1.0, 1.0, 1.0, float(options.get("alpha", 1.0)))
            entry["Sprite"] = sprite(texture, colour)
        if "anim" in options:
            entry["Animation"] = {"Handle": [options["anim"]]}
        if "parallax" in options:  # placed from the camera's position by its layer
            entry["Parallax"] = {"Level": [int(options["parallax"])], "PosX": f(x), "PosY": f(y)}
        level.add_named(name, entry)


def map_cell(rows, column, row):
    """The map character at (column, row), row 0 being the bottom line; outside is empty."""
    if row < 0 or row >= len(rows):
        return " "
    line = rows[len(rows) - 1 - row]
    return line[column] if column < len(line) else " "


def runs(cells):
    """Groups (column, row) cells into horizontal runs: (row, first column, last column)."""
    result = []
    for row in sorted({r for _, r in cells}):
        columns = sorted(c for c, r in cells if r == row)
        start = previous = columns[0]
        for c in columns[1:] + [None]:
            if c is not None and c == previous + 1:
                previous = c
                continue
            result.append((row, start, previous))
            if c is not None:
                start = previous = c
    return result


def extend(rows):
    """The map with ground beyond both ends and bedrock below, so the view never shows past
    the edge of the world; returns the rows and the columns added on the left."""
    width = max(len(line) for line in rows)
    rows = [("" if line == "." else line).ljust(width) for line in rows]
    bottom = len(rows) - 1
    solid_left = [r for r in range(len(rows)) if rows[r][0] == "#"]
    solid_right = [r for r in range(len(rows)) if rows[r][width - 1] == "#"]
    out = []
    for r, line in enumerate(rows):
        left = ("#" if r in solid_left else " ") * MARGIN
        right = ("#" if r in solid_right else " ") * MARGIN
        out.append("#" + left + line + right)
    bedrock = "".join("#" if ch == "#" else " " for ch in out[bottom])
    return out + [bedrock] * BEDROCK, MARGIN + 1


def build_map(level, header, sections):
    rows, shift = extend([line.replace("\t", " ") for line in sections["map"]])
    floor = int(header.get("floor", "3")) + BEDROCK
    horizon = float(header.get("horizon", "50"))
    width = max(len(line) for line in rows)

    def x_of(column):  # column 0 of the source map starts at x 0
        return (column - shift) * CELL + CELL / 2

    def y_of(row):  # centre of the cell
        return (row - floor) * CELL + CELL / 2

    signs = {}
    for line in sections.get("signs", []):
        letter, image = line.split()
        signs[letter] = image

    solid, platforms, pools = set(), set(), set()
    player = None
    for row in range(len(rows)):
        for column in range(width):
            ch = map_cell(rows, column, row)
            x, y = x_of(column), y_of(row)
            if ch == "#":
                solid.add((column, row))
            elif ch == "=":
                platforms.add((column, row))
            elif ch == "~":
                pools.add((column, row))
            elif ch == "P":
                player = (x, y)
            elif ch == "C":
                level.add("flag", "CheckPoint", checkpoint(x, y))
            elif ch == "G":
                level.add("goal", "Goal", goal(x, y - CELL / 2 + 120))
            elif ch == "O":
                level.add("orb", "DashOrb", dash_orb(x, y))
            elif ch == "E":
                # Every enemy is named "Enemy": the respawn after a death finds them by it.
                level.add_named("Enemy", enemy(x, y, float(header.get("enemy-range", "750"))))
            elif ch in "TYUV":
                image = {"T": "Tree1A_2.png", "Y": "Tree1C_1.png", "U": "Tree1B_2.png", "V": "Tree1A_3.png"}[ch]
                sx, sy = {"T": (64, 112), "Y": (50, 128), "U": (80, 100), "V": (64, 112)}[ch]
                level.add("tree", "Tree", {"Transform": transform(x, y - CELL / 2 + sy, Z_TREE, sx, sy),
                                           "Sprite": sprite(image)})
            elif ch in signs:
                level.add("sign", "Sign", {"Transform": transform(x, y - CELL / 2 + 150, Z_SIGN, 260, 150),
                                           "Sprite": sprite(signs[ch])})
            elif ch not in " .":
                sys.exit("unknown map character %r at column %d" % (ch, column))
    if player is None:
        sys.exit("the map has no P")

    # Ground: the top cell of each column of solid is grass, merged along its row; the
    # solid below it is merged into runs and then into rectangles.
    tops = {(c, r) for c, r in solid if (c, r + 1) not in solid}
    for row, first, last in runs(tops):
        count = last - first + 1
        level.add("ground", "GroundTop", ground_top((x_of(first) + x_of(last)) / 2, y_of(row), count * CELL / 2))
    fill = solid - tops
    pending = {}
    for row, first, last in sorted(runs(fill), key=lambda r: (r[1], r[2], r[0])):
        key = (first, last)
        block = pending.get(key)
        if block and block[1] == row - 1:
            pending[key] = (block[0], row)
        else:
            if block:
                emit_fill(level, first, last, block, x_of, y_of)
            pending[key] = (row, row)
    for (first, last), block in pending.items():
        emit_fill(level, first, last, block, x_of, y_of)

    # Platforms: a thin plank across the top of their cells.
    for row, first, last in runs(platforms):
        count = last - first + 1
        top = y_of(row) + CELL / 2
        level.add("ground", "Platform", platform((x_of(first) + x_of(last)) / 2, top - 20, count * CELL / 2))

    # Lava: a kill zone over each run, its surface a fifth of a cell below the cell's top.
    for row, first, last in runs(pools):
        count = last - first + 1
        level.add("lava", "Lava", lava((x_of(first) + x_of(last)) / 2, y_of(row) - 10, count * CELL / 2))

    # Anything that falls out of the map lands in one wide kill zone far below it.
    left, right = x_of(0) - 10 * CELL, x_of(width) + 10 * CELL
    level.add("catch", "FallZone", {
        "Transform": transform((left + right) / 2, y_of(0) - 6 * CELL, Z_LAVA, (right - left) / 2, CELL),
        "RigidBody": body((right - left) / 2, CELL, ghost=True), "Events": events({"OnCollision": ["KillZone"]})})

    # Scenery: strips along the four parallax depths, enough to cover the level's width.
    scenery = header["scenery"].split()
    for depth in (1, 2, 3, 4):
        half_x, half_y, lift = LAYERS[depth]
        share = 1.0 / depth
        pos_y = lift + horizon * (1.0 - share)
        image = scenery[depth - 1]
        if depth == 1:
            level.add("scenery", "Sky", {"Transform": transform(0, pos_y, -1, half_x, half_y),
                                         "Sprite": sprite(image), "Parallax": {"Level": [1], "PosX": f(0.0),
                                                                               "PosY": f(pos_y)}})
            continue
        far = (width - shift) * CELL * (1.0 - share) + 2 * half_x + 960
        x = -960.0 - shift * CELL
        while x - half_x < far:
            level.add("scenery", "Scenery%d_" % depth, {
                "Transform": transform(x, pos_y, depth - 2, half_x, half_y), "Sprite": sprite(image),
                "Parallax": {"Level": [depth], "PosX": f(x), "PosY": f(pos_y)}})
            x += 2 * half_x

    px, py = player
    py = py - CELL / 2 + 50
    level.add_named("Player", {
        "Transform": transform(px, py, Z_PLAYER, 40, 50), "Sprite": sprite("PlayerIdle0R.png"),
        "RigidBody": body(40, 50, kind=1), "Controller": {"Exists": [True]},
        "Checkpoint": {"PosX": f(px), "PosY": f(py)},
        "Events": events({"Bottom Collision": ["IsGrounded"], "Spawn HeatMap": ["RecordHeatMap"]})})


def emit_fill(level, first, last, block, x_of, y_of):
    bottom, top = block
    count, height = last - first + 1, top - bottom + 1
    level.add("ground", "GroundFill", ground_fill((x_of(first) + x_of(last)) / 2, (y_of(bottom) + y_of(top)) / 2,
                                                  count * CELL / 2, height * CELL / 2))


def main():
    root = os.path.dirname(os.path.dirname(HERE))
    out = os.path.join(root, "Resources", "Levels")
    names = {}
    with open(os.path.join(HERE, "levels.txt"), encoding="utf-8") as listing:
        for line in listing:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            source, _, name = line.partition(" ")
            header, sections = parse(os.path.join(HERE, source))
            level = Level()
            if "map" in sections:
                build_map(level, header, sections)
            screen_objects(level, sections.get("objects", []))
            target = os.path.splitext(source)[0] + ".json"
            with open(os.path.join(out, target), "w", encoding="utf-8") as file:
                file.write(json.dumps(level.entries(), indent=4, sort_keys=True))
            names[name.strip()] = "Resources/Levels/" + target
            print("%-14s %4d objects -> Resources/Levels/%s" % (name.strip(), len(level.objects), target))
    with open(os.path.join(out, "LevelNames.json"), "w", encoding="utf-8") as file:
        file.write(json.dumps(names, indent=4, sort_keys=True))
    for path, table in (("Archetypes/ArchetypeList.json", archetype_file()),
                        ("Animations/AnimationData.json", animation_file())):
        with open(os.path.join(root, "Resources", path), "w", encoding="utf-8") as file:
            file.write(json.dumps(table, indent=4, sort_keys=True))
        print("%-14s %4d entries -> Resources/%s" % (os.path.dirname(path), len(table), path))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the demo story's page files. The pages are committed; run this from
stories/demo/pages only to change them."""
def q(s):
    assert not s.startswith('"'), s
    if ',' in s or s.startswith(' '):
        assert '"' not in s, s
        return '"' + s + '"'
    return s

def page(n, title, pic, choices, lines):
    w, h = int(pic[4:6]), int(pic[6:8])
    out = [f"{q(title)},{w},{h},{pic}"]
    choices = list(choices) + [("", 0, 0, "")] * (4 - len(choices))
    for key, target, cond, label in choices:
        k = '" "' if key == " " else key
        out.append(f"{k},{target},{cond},{q(label)}")
    lines = list(lines) + [""] * (5 - len(lines))
    for l in lines:
        assert len(l) <= 38, (n, l, len(l))
        out.append(q(l))
    # The menu line is printed over the fifth text line.
    assert lines[4] == '', (n, 'the menu line covers the fifth line')
    assert len(title) <= 38
    with open(f"L{n:03d}_000.mem", "w") as f:
        f.write("\n".join(out) + "\n")

page(0, "The Keeper's Light", "titl6440.VIS", [(" ", 1, 0, "Space to begin")],
     ["The lighthouse on Gull Point is dark.", "Its keeper left at dusk and never",
      "came back. Ships pass in the night.", "Tab: map   Backspace: progress"])
page(1, "The Shore", "shor2424.VIS",
     [("n", 2, 0, "Lighthouse"), ("c", 5, 0, "Cave"), ("v", 12, 0, "Village"), ("b", 9, 16, "Boat")],
     ["Night has fallen on the little bay.", "Far off, the lighthouse stands dark.",
      "A path climbs to it; another leads", "to the village. The tide is out."])
page(2, "The Lighthouse Door", "door3224.VIS",
     [("u", 3, 7, "Unlock"), ("s", 4, -4, "Search"), ("b", 1, 0, "Back to shore")],
     ["An iron-bound door, salt-crusted.", "A heavy lock hangs from the latch.", "",
      "Without a key it will not open."])
page(3, "The Stairway", "door3224.VIS",
     [("u", 10, 0, "Up"), ("w", 11, 0, "Window"), ("d", 2, 0, "Down")],
     ["The key turns with a groan.", "Stone steps wind up into the dark,",
      "past a narrow window facing the sea."])
page(4, "Under the Mat", "keys1616.VIS", [("b", 2, 0, "Back")],
     ["You lift the mat. Only sand and a", "crab, who scuttles off, offended.", "",
      "The key must be somewhere else."])
page(5, "Sea Cave", "cave2424.VIS",
     [("s", 7, -7, "Dig in the sand"), ("i", 6, 0, "Go in"), ("b", 1, 0, "Back")],
     ["The tide has drawn back from the cave.", "Something glints under the wet sand",
      "near the entrance. Further in, the", "dark goes on and on."])
page(6, "Deep in the Cave", "cave2424.VIS",
     [("p", 8, 0, "Rock pool"), ("b", 5, 0, "Back"), ("x", 20, 19, "")],
     ["Water drips in the dark. The walls", "are scratched with tally marks, and",
      "one stone at the back looks loose."])
page(7, "An Old Key", "keys1616.VIS", [(" ", 5, 0, "Continue")],
     ["A brass key on a ring, green with age.", "The keeper's initials are scratched",
      "into its bow."])
page(8, "The Rock Pool", "wave6432.VIS", [("b", 6, 0, "Back")],
     ["A pool of still water, lit by your", "lamp. Tiny fish dart away.",
      "Nothing here but your own reflection."])
page(9, "The Boat", "boat3216.VIS", [("r", 13, 0, "Row out"), ("b", 1, 0, "Back")],
     ["A small boat lies drawn up the beach.", "With the sailor's oars in the", "rowlocks it is ready to go."])
page(10, "The Lamp Room", "lamp4040.VIS",
     [("l", 15, 17, "Light the lamp"), ("r", 19, 0, "Read the log"), ("d", 3, 0, "Down")],
     ["The great lens waits under a film", "of dust. The oil is still good.",
      "A logbook lies open on the desk.", "Something to light it with?"])
page(11, "The Window", "wave6432.VIS", [("b", 3, 0, "Back")],
     ["Through the salt-smeared glass you", "see the lights of a ship, far out,",
      "heading for the rocks."])
page(12, "The Village", "vill3224.VIS",
     [("i", 14, 0, "Inn"), ("s", 17, 0, "Shop"), ("b", 1, 0, "Back to shore")],
     ["Three cottages and an inn huddle", "against the wind. One window glows."])
page(13, "Open Water", "wave6432.VIS", [("f", 18, 0, "Far rocks"), ("b", 9, 0, "Row back")],
     ["The swell lifts the boat. In the dark", "the ship's lights draw nearer to",
      "the rocks. Only the lighthouse", "can warn it."])
page(14, "The Inn", "vill3224.VIS",
     [("t", 16, -16, "Talk to the sailor"), ("t", 16, 16, "Talk again"), ("b", 12, 0, "Back")],
     ["A fire, a cat, and an old sailor", "nursing a mug by the hearth."])
page(15, "Light!", "lamp4040.VIS", [("a", 0, 0, "Play again")],
     ["The wick catches and the lens blazes.", "Out at sea a horn sounds twice:",
      "the ship has turned away. The End."])
page(16, "The Old Sailor", "face2424.VIS", [("b", 14, 0, "Back")],
     ["The sailor looks up. \"Keeper's a", "friend of mine. Take my oars if you",
      "need the boat. He kept a log of", "everything he did.\" He taps his nose."])
page(17, "The Shop", "mtch1616.VIS", [("b", 12, 0, "Back")],
     ["The shopkeeper is asleep on the", "counter. You leave a coin for a box",
      "of matches and tiptoe out."])
page(18, "The Far Rocks", "rock4824.VIS", [("b", 13, 0, "Row back")],
     ["The bones of an old wreck. This is", "where the ship will strike if no",
      "light shows tonight."])
page(19, "The Keeper's Log", "book2416.VIS", [("b", 10, 0, "Back")],
     ["The last entry: \"Storm coming. I've", "hidden the spare oil behind the",
      "loose stone in the deep cave, and", "I'll wait there till it passes.\""])
page(20, "The Hidden Chamber", "keep2424.VIS", [("t", 21, 0, "Talk")],
     ["Behind the stone, a dry chamber.", "The keeper sits by a candle, his leg",
      "bound, very glad to see you."])
page(21, "The Keeper", "keep2424.VIS", [("a", 0, 0, "Play again")],
     ["He smiles. \"Bless you. Go and light", "the lamp. I'll limp home at low tide.\"",
      "You found the keeper. The End?"])

#!/usr/bin/env python3
"""Write tests/controls/swatches.gif, the picture the button tests draw.

    /usr/bin/python3 tests/controls/make_swatches.py

14 x 12 pixels, GIF89a with a 256-entry palette whose entry 255 is the
transparent colour, like the launcher's button pictures. Columns, two
pixels each, left to right: black, white, grey 128, red, green, blue,
transparent. The tests compute their expectations from the decoded picture,
so only the layout above is relied on.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))
from make_art import write_gif  # noqa: E402

W, H = 14, 12
PALETTE = [(0, 0, 0), (255, 255, 255), (128, 128, 128), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
COLUMNS = [0, 1, 2, 3, 4, 5, 255]


def main():
    indices = [COLUMNS[x // 2] for y in range(H) for x in range(W)]
    path = os.path.join(HERE, "swatches.gif")
    write_gif(path, W, H, PALETTE, indices)
    print("wrote", path)


if __name__ == "__main__":
    main()

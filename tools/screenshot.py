#!/usr/bin/env python3
"""Saves a PNG of the X display named by $DISPLAY (used by tools/run.sh)."""
import os
import sys

from PIL import ImageGrab

out = sys.argv[1] if len(sys.argv) > 1 else "screenshot.png"
ImageGrab.grab(xdisplay=os.environ.get("DISPLAY")).save(out)
print(out)

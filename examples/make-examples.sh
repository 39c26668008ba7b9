#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Copyright (C) 2026 The Dotwell and Pixvane authors
# Makes the calculator pictures here from mountains.png with calcpic, as a user would.
# mountains.png itself was drawn for this project with ImageMagick (a grey sky, a sun, hills).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
calcpic=${CALCPIC:-"$here/../build/release/calcpic/calcpic"}
cd "$here"
"$calcpic" convert mountains.png -o mountains.83i --comment "Mountains at dusk" --force
"$calcpic" convert mountains.png -o mountains.8xi --pic 2 --dither atkinson \
    --comment "Mountains at dusk" --force
"$calcpic" convert mountains.png -o mountains.92i --scale fill --folder examples \
    --name mountain --comment "Mountains at dusk" --force

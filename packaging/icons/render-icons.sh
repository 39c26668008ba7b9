#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Copyright (C) 2026 The Dotwell and Pixvane authors
# Renders the program icons into hicolor/<N>x<N>/apps/<name>.png from the SVG
# drawings beside this script: <name>-<N>.svg where a pixel-aligned drawing
# for that size exists (16 and 32), <name>.svg otherwise. Run it after
# changing an SVG and commit the PNGs it writes; running it again without a
# change rewrites the same bytes.
#
#   sh render-icons.sh          render every PNG
#   sh render-icons.sh --check  render into a temporary folder and compare
#                               with the PNGs in place; exit 1 if any differs
#                               or is missing (the committed PNGs are stale)
#
# Needs rsvg-convert (Debian: apt-get install librsvg2-bin). Different
# librsvg versions may antialias a little differently, so --check is meant
# for the librsvg of the Debian release the project builds on.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
names="dotwell pixvane"
sizes="16 32 48 64 128 256"

check=no
case "${1:-}" in
    "") ;;
    --check) check=yes ;;
    *) echo "usage: sh render-icons.sh [--check]" >&2; exit 2 ;;
esac

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render-icons.sh: rsvg-convert not found; install librsvg2-bin" >&2
    exit 1
fi

if [ "$check" = yes ]; then
    dest=$(mktemp -d)
    trap 'rm -rf "$dest"' EXIT
else
    dest=$here
fi

stale=0
for name in $names; do
    for size in $sizes; do
        src="$here/$name.svg"
        [ -f "$here/$name-$size.svg" ] && src="$here/$name-$size.svg"
        rel="hicolor/${size}x${size}/apps/$name.png"
        out="$dest/$rel"
        mkdir -p "$(dirname "$out")"
        rsvg-convert --width="$size" --height="$size" --keep-aspect-ratio \
            --format=png --output="$out.tmp" "$src"
        mv "$out.tmp" "$out"
        if [ "$check" = yes ]; then
            if ! cmp -s "$out" "$here/$rel"; then
                echo "stale or missing: $rel (from $(basename "$src"))"
                stale=1
            fi
        else
            echo "$rel <- $(basename "$src")"
        fi
    done
done

if [ "$check" = yes ]; then
    if [ "$stale" -eq 0 ]; then
        echo "all icon PNGs match their SVGs"
    else
        echo "run: sh $(basename "$0")" >&2
        exit 1
    fi
fi

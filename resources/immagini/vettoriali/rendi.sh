#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Draws the pictures at twice their size, for screens at 200 %: each drawing NAME.svg here becomes
# ../NAME@2x.png (button glyphs) or ../NAME@2x.jpg (the logos, which stand beside JPEG pictures).
# The pictures at their own size (../NAME.png, ../NAME.jpg) are the originals and stay as they are.
# Run by hand after changing a drawing (python3 disegna_loghi.py rewrites the logos' drawings);
# needs rsvg-convert (librsvg2-bin), ImageMagick and the Liberation and DejaVu fonts.
set -eu
cd "$(dirname "$0")"
for disegno in *.svg; do
  nome=${disegno%.svg}
  if [ -f "../$nome.jpg" ]; then
    rsvg-convert --zoom 2 "$disegno" | convert - -quality 92 "../$nome@2x.jpg"
  else
    rsvg-convert --zoom 2 "$disegno" -o "../$nome@2x.png"
  fi
done

# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the logos as drawings (about.svg, logo.svg, start.svg), the same pictures as the JPEG
files beside them, so that they can be drawn again at twice their size (rendi.sh)."""


def logo(larghezza, altezza, bordo, centro, raggio, k_corpo, k_x, k_base, altro="", blu="#1d2e96"):
    cx, cy = centro
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{larghezza}" height="{altezza}" viewBox="0 0 {larghezza} {altezza}">
  <defs>
    <radialGradient id="fondo" gradientUnits="userSpaceOnUse" cx="{cx}" cy="{cy}" r="{raggio}">
      <stop offset="0" stop-color="#ffd84f"/>
      <stop offset="0.45" stop-color="#f7b02c"/>
      <stop offset="1" stop-color="#e07800"/>
    </radialGradient>
  </defs>
  <rect width="{larghezza}" height="{altezza}" fill="#2b3b9d"/>
  <rect x="{bordo}" y="{bordo}" width="{larghezza - 2 * bordo}" height="{altezza - 2 * bordo}" fill="url(#fondo)"/>
  <text x="{k_x}" y="{k_base}" text-anchor="middle" font-family="Liberation Sans" font-weight="bold"
        font-size="{k_corpo}" fill="{blu}" stroke="#c8d0ff" stroke-width="{max(k_corpo / 32, 2):.2f}"
        paint-order="stroke">K</text>
{altro}</svg>
'''


# Each drawing carries its licence, as every file of the program does.
INTESTAZIONE = ("<!-- SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers -->\n"
                "<!-- SPDX-License-Identifier: GPL-3.0-or-later -->\n")


def scrivi(nome, testo):
    with open(nome, "w") as file:
        file.write(INTESTAZIONE + testo)


scrivi("about.svg", logo(150, 142, 3.5, (75, 71), 80, 93, 75.5, 88,
       '  <text x="74.5" y="128.5" text-anchor="middle" font-family="Liberation Sans" font-weight="bold" '
       'font-size="22" fill="#2b3b9d">Kelmo</text>\n'))
scrivi("logo.svg", logo(60, 57, 2, (30, 28), 33, 41, 30.5, 41.5, blu="#1f2f87"))
palline = "".join(
    f'  <circle cx="{30 + 44 * i}" cy="205" r="18" fill="#ffffff" stroke="#2b3b9d" stroke-width="2"/>\n'
    f'  <text x="{30 + 44 * i}" y="211" text-anchor="middle" font-family="Liberation Sans" font-weight="bold" '
    f'font-size="17" fill="#2b3b9d">{numero}</text>\n'
    for i, numero in enumerate(["05", "12", "33", "47", "68", "89"]))
scrivi("start.svg", logo(280, 265, 5, (140, 120), 150, 106, 139.5, 103,
       '  <text transform="translate(131 157.5) scale(1.147 1)" text-anchor="middle" font-family="DejaVu Sans" '
       'font-size="22.5" fill="#2b3b9d" stroke="#2b3b9d" stroke-width="0.5">Kelmo_Dravolo</text>\n' + palline))

# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The README's picture: the main window after one play, cropped to the window.

    tests/e2e/sessione.sh build/kelmo-dravolo tests/e2e/schermata_readme.py docs/screenshot.png
"""

import os
import shutil
import sys

import accessibile as A


def main(destinazione):
    with A.programma() as processo:
        finestra = A.finestra_principale(processo.pid)
        primo = A.trova(finestra, "text", "Primo numero")
        # The pointer starts in the middle of the display, over a button that would show its hover frame.
        A.sposta_puntatore(0, 0)
        A.premi(A.trova(finestra, "push button", "Gioca"))
        A.attendi(lambda: A.testo(primo) != "??", "the first play")
        foto = A.schermata("finestra.png", finestra)
        os.makedirs(os.path.dirname(os.path.abspath(destinazione)), exist_ok=True)
        shutil.copy(foto, destinazione)
        print(destinazione)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} <picture.png>")
    main(sys.argv[1])

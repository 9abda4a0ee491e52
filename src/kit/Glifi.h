// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <initializer_list>

class QLabel;

// The pictures of the windows from the resources, each also drawn at twice its size (NAME@2x) so
// that it stays sharp on screens at 200 %. Icons are made straight from pixmaps: no icon-engine
// plugin is looked for.
namespace Glifi
{

// The button glyph NAME (NAME.png and NAME@2x.png): the icon picks the picture of the screen's density.
// Both are read when the icon is first drawn or asked about.
QIcon Icona(const QString &nome);

// The picture NAME (NAME.jpg): on screens of more than single density, the one drawn at twice the
// size where there is one, at the same size on the window. `densita` is the screen's; by default the
// highest of the desktop's screens.
QPixmap Immagine(const QString &nome, double densita = 0);

// Gives the labels the picture NAME, for their screen's density, just before the first of them is
// drawn: a window built at start-up but shown later decodes its pictures only then, and a window never
// shown never decodes them.
void ImmagineAlPrimoDisegno(std::initializer_list<QLabel *> etichette, const QString &nome);

} // namespace Glifi

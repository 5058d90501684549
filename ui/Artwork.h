// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

// The pictures built into the program as pixels ready to draw (resources/pack-pictures), by
// the names of their committed files. Every picture has a twin drawn at double size
// (name@2x.ext) for screens of high density.
class Artwork {
  public:
    // The picture for the screens in use: the double-size twin when any screen is dense,
    // marked as such so that it takes its own size in logical pixels. Null when missing.
    static QPixmap pixmap(const QString& name);
    // The picture at one size: name@2x.ext when ratio is above 1, marked with that ratio.
    static QPixmap pixmapFor(const QString& name, qreal ratio);
    // Both sizes of a picture, for the window system to choose from.
    static QIcon icon(const QString& name);
    static qreal screenRatio();
    // Hands the pages of every picture back to the kernel: once the window has been drawn,
    // they are read again only where a part of it is drawn anew.
    static void releasePixels();
};

} // namespace ui

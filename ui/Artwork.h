#pragma once

#include <QPixmap>
#include <QString>

namespace ui {

// The pictures carried inside the program, under :/art/. Every picture has a twin drawn at
// double size (name@2x.ext) for screens of high density.
class Artwork {
  public:
    // The picture for the screens in use: the double-size twin when any screen is dense,
    // marked as such so that it takes its own size in logical pixels. Null when missing.
    static QPixmap pixmap(const QString& name);
    // The resource path for a density ratio: name@2x.ext when ratio is above 1.
    static QString pathFor(const QString& name, qreal ratio);
    static qreal screenRatio();
};

} // namespace ui

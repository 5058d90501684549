#include "ui/Artwork.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace ui {

QString Artwork::pathFor(const QString& name, qreal ratio) {
    const QString base = QStringLiteral(":/art/");
    if (ratio <= 1.0) {
        return base + name;
    }
    const QFileInfo info(name);
    return base + info.completeBaseName() + QStringLiteral("@2x.") + info.suffix();
}

qreal Artwork::screenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap Artwork::pixmap(const QString& name) {
    const qreal ratio = screenRatio();
    if (ratio > 1.0) {
        QPixmap dense(pathFor(name, ratio));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2.0);
            return dense;
        }
    }
    return QPixmap(pathFor(name, 1.0));
}

} // namespace ui

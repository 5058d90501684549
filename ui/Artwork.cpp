// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Artwork.h"

#include "platform/ResidentPages.h"
#include "resources/PackedPicture.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <functional>

namespace ui {

namespace {

const resources::PackedPicture* find(const QString& name) {
    for (int i = 0; i < resources::kPackedPictureCount; ++i) {
        if (name == QLatin1String(resources::kPackedPictures[i].name)) {
            return &resources::kPackedPictures[i];
        }
    }
    return nullptr;
}

QString doubleSizeName(const QString& name) {
    const QFileInfo info(name);
    return info.completeBaseName() + QStringLiteral("@2x.") + info.suffix();
}

} // namespace

qreal Artwork::screenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// The pixmap keeps the pixels where they lie in the program file: they are in the format it
// would convert them to, so nothing is copied, and pages of pictures never drawn stay unread.
// The pictures are only ever drawn from, never drawn on.
QPixmap Artwork::pixmapFor(const QString& name, qreal ratio) {
    const resources::PackedPicture* picture = find(ratio > 1.0 ? doubleSizeName(name) : name);
    if (picture == nullptr) {
        return {};
    }
    QImage image(picture->pixels, picture->width, picture->height, picture->width * 4,
                 picture->alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio > 1.0 ? 2.0 : 1.0);
    return QPixmap::fromImage(std::move(image));
}

QPixmap Artwork::pixmap(const QString& name) {
    const qreal ratio = screenRatio();
    if (ratio > 1.0) {
        QPixmap dense = pixmapFor(name, ratio);
        if (!dense.isNull()) {
            return dense;
        }
    }
    return pixmapFor(name, 1.0);
}

void Artwork::releasePixels() {
    if (resources::kPackedPictureCount == 0) {
        return;
    }
    const unsigned char* first = resources::kPackedPictures[0].pixels;
    const unsigned char* last = first;
    for (int i = 0; i < resources::kPackedPictureCount; ++i) {
        const resources::PackedPicture& picture = resources::kPackedPictures[i];
        first = std::min(first, static_cast<const unsigned char*>(picture.pixels), std::less<>());
        last = std::max(last,
                        static_cast<const unsigned char*>(picture.pixels) +
                            static_cast<std::ptrdiff_t>(picture.width) * picture.height * 4,
                        std::less<>());
    }
    platform::ResidentPages::release(first, static_cast<std::size_t>(last - first));
}

QIcon Artwork::icon(const QString& name) {
    QIcon icon(pixmapFor(name, 1.0));
    icon.addPixmap(pixmapFor(name, 2.0));
    return icon;
}

} // namespace ui

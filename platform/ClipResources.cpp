// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ClipResources.h"

#include "engine/ClipNumbers.h"

#include "platform/ResidentPages.h"

#include <QResource>

namespace platform {

QString ClipResources::resourcePath(int clip) {
    return QStringLiteral(":/clips/%1.wav").arg(clip);
}

std::vector<voice::ClipData> ClipResources::load() {
    std::vector<voice::ClipData> clips;
    for (int clip = engine::kFirstClip; clip <= engine::kLastClip; ++clip) {
        const QResource resource(resourcePath(clip));
        if (!resource.isValid()) {
            continue;
        }
        const QByteArray bytes = resource.uncompressedData();
        clips.push_back({clip, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
        // Read once, to be written out at start.
        if (resource.compressionAlgorithm() == QResource::NoCompression) {
            ResidentPages::release(resource.data(), static_cast<std::size_t>(resource.size()));
        }
    }
    return clips;
}

} // namespace platform

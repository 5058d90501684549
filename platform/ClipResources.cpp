#include "platform/ClipResources.h"

#include "engine/ClipNumbers.h"

#include <QFile>

namespace platform {

QString ClipResources::resourcePath(int clip) {
    return QStringLiteral(":/clips/%1.wav").arg(clip);
}

std::vector<voice::ClipData> ClipResources::load() {
    std::vector<voice::ClipData> clips;
    for (int clip = engine::kFirstClip; clip <= engine::kLastClip; ++clip) {
        QFile file(resourcePath(clip));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray bytes = file.readAll();
        clips.push_back({clip, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    }
    return clips;
}

} // namespace platform

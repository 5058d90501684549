#include "platform/ClipResources.h"

#include "engine/ClipNumbers.h"

#include <QResource>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

// The clips are read once, to be written out at start: the program file's pages that hold
// them are handed back, so that they do not stay resident for the rest of the run. They are
// never written to, so a later read would simply fetch them again.
void releasePages(const uchar* data, qint64 size) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t last = (start + static_cast<std::uintptr_t>(size)) & ~(page - 1);
    if (last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
}

} // namespace

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
        if (resource.compressionAlgorithm() == QResource::NoCompression) {
            releasePages(resource.data(), resource.size());
        }
    }
    return clips;
}

} // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/SoundLoader.h"

#include "voice/FallbackSound.h"
#include "voice/StreamFormat.h"
#include "voice/WavFile.h"

namespace voice {

namespace {

SoundLoader::Samples converted(const WavResult& decoded) {
    if (!decoded.ok()) {
        return SoundLoader::fallback();
    }
    return std::make_shared<const std::vector<std::int16_t>>(StreamFormat::convert(*decoded.sound));
}

} // namespace

SoundLoader::Samples SoundLoader::fromPath(const std::string& path) {
    return converted(WavFile::load(path));
}

SoundLoader::Samples SoundLoader::fromFolder(const ClipFile& file) {
    if (!file.folder || !file.folder->valid()) {
        return fallback();
    }
    return converted(WavFile::loadAt(file.folder->get(), file.name));
}

SoundLoader::Samples SoundLoader::fallback() {
    static const Samples built = std::make_shared<const std::vector<std::int16_t>>(
        StreamFormat::convert(FallbackSound::sound()));
    return built;
}

} // namespace voice

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/KeyTable.h"

#include <QFont>
#include <QString>

namespace ui {

// The Song-style Chinese face every text of the two windows is set in. Sizes are given in
// pixels, as the point sizes of the layout come out at 96 dots per inch, so that captions sit
// where they are placed whatever the screen's resolution.
class SongFont {
  public:
    static constexpr int k9pt = 12;
    static constexpr int k10_5pt = 14;
    static constexpr int k12pt = 16;
    static constexpr int k15pt = 20;
    static constexpr int k21_75pt = 29;

    // The family name of the face carried inside the program (resources/fonts).
    static const QString kEmbeddedFamily;

    static QFont pixelFont(int pixels, bool bold = false, bool italic = false);
    // Starts the font system and loads the face at the size of the digit captions: the
    // longest steps of the first frame, which the first frame would otherwise take itself.
    static void prepare();
    static QFont caption(engine::CaptionFont kind);
    // Hands the pages of the embedded face back to the kernel: drawn glyphs are kept by the
    // font engine, and a new one reads its few pages again.
    static void releaseFace();
};

} // namespace ui

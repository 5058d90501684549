// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace ui {

// Fits one line of text into a box of fixed size from the metrics of the faces that really
// draw it. A character missing from the program's own face comes from another face, whose
// ascent, descent and advances can be larger than the box was laid out for.
class TextFit {
  public:
    // The baseline for text drawn from the top of a box boxHeight high: the font's ascent,
    // as laid out, moved only as far as it takes to keep the ink of every glyph inside.
    // Ink taller than the box stays at the ascent.
    static qreal baseline(const QFont& font, const QString& text, qreal boxHeight);
    // The laid-out place of a line drawn at its baseline, grown where the ink needs more
    // room: wider to the right, taller evenly above and below.
    static QRect around(const QRect& place, const QFont& font, const QString& text);
    // The laid-out place of a label, grown where its text needs more room: wider to the
    // right, taller evenly above and below, so that centred text stays where it was.
    static QRect grown(const QRect& place, const QWidget& widget);
};

} // namespace ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

class QMenu;
class QMessageBox;

namespace ui {

// The look of the pop-ups, taken from the brushed-metal artwork so that they belong to the
// window: the options menu and the message boxes. Built on the Fusion style whatever the
// desktop's style is, as the skin never follows the desktop either.
class PopupSkin : public QProxyStyle {
  public:
    // Colours of resources/art/make-art.
    static constexpr QRgb kFace = 0x2a2d33;      // the small keys' face, lower end
    static constexpr QRgb kButton = 0x575c64;    // the small keys' face, upper end
    static constexpr QRgb kRim = 0x3b4048;       // the metal's upper end
    static constexpr QRgb kInk = 0xcdd6df;       // lettering on the metal
    static constexpr QRgb kHover = 0x3c5774;     // the operator keys' face
    static constexpr QRgb kHoverInk = 0xffffff;  // captions on the operator keys
    static constexpr QRgb kCheckMark = 0x57d2e6; // the accent of the display and the tab
    // A title bar shortens a title to fit; "提示" stays whole from this width up.
    static constexpr int kMinBoxWidth = 200;

    static void dress(QMenu& menu);
    static void dress(QMessageBox& box);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

  private:
    PopupSkin();
    static PopupSkin& shared();
    static QPalette palette();
};

} // namespace ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TypedCharacter.h"

#include <QKeyEvent>

namespace ui {

std::vector<int> TypedCharacter::codes(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return {8};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {13};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return {};
    default:
        break;
    }
    std::vector<int> codes;
    for (const QChar c : event.text()) {
        codes.push_back(c.unicode());
    }
    return codes;
}

} // namespace ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAccessibleInterface;

namespace platform {

// Tells the desktop's screen readers that an object's description has changed, and to what.
// Qt 6.4 sends such a change with the object itself where the new text belongs, which screen
// readers cannot speak; this sends the text, through Qt's own connection to the
// accessibility bus, so that it comes from the object the screen reader knows.
class AtspiDescription {
  public:
    // False when Qt has no accessibility bus: nothing was sent.
    static bool send(QAccessibleInterface* object, const QString& text);
};

} // namespace platform

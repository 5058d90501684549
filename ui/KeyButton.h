// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/KeyTable.h"

#include <QAbstractButton>
#include <QPixmap>

namespace ui {

// The two faces a key can show.
struct KeyFaces {
    QPixmap normal;
    QPixmap pressed;
};

// One picture key: a blank face in a one-pixel black frame, with its caption painted on.
// Like a picture that is drawn upon, a key loses its caption when its face is swapped and
// shows it again only when the captions are painted anew.
class KeyButton : public QAbstractButton {
    Q_OBJECT
  public:
    KeyButton(const engine::KeyInfo& info, KeyFaces faces, QWidget* parent);

    const engine::KeyInfo& info() const { return info_; }
    void paintCaption();
    bool showsPressedFace() const { return pressedFace_; }
    bool showsCaption() const { return captionShown_; }
    // Where the caption's text line starts inside the key, in logical pixels.
    QPointF captionOrigin() const;

  signals:
    // A mouse button went up after a press on this key, wherever the pointer now is.
    void lifted();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool swapsFace() const;
    void showFace(bool pressed);

    const engine::KeyInfo& info_;
    KeyFaces faces_;
    QString caption_;
    QFont captionFont_;
    bool pressedFace_ = false;
    bool captionShown_ = false;
};

} // namespace ui

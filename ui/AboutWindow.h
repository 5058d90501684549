// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

namespace ui {

// The About window: the program's name and help text over a picture. A click on its
// background closes it; the texts themselves take no clicks.
class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    AboutWindow();

    // The lines exactly as shown: four of name and purpose, three of help.
    static const QStringList& authorLines();
    static const QStringList& helpLines();

  signals:
    void closed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void addAuthorLines();
    void addHelpLines();
    bool isBackground(const QPoint& pos) const;

    QPixmap background_;
    bool pressedOnBackground_ = false;
};

} // namespace ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/MenuItems.h"

#include <QMenu>
#include <array>

namespace ui {

// The options menu, popped up by the options key. Its check marks are the program's to
// set: choosing an item leaves its mark as it was and only reports the choice.
class OptionsMenu : public QMenu {
    Q_OBJECT
  public:
    explicit OptionsMenu(QWidget* parent);

    QAction* action(settings::MenuItem item) const {
        return actions_[static_cast<std::size_t>(item)];
    }
    void setItemChecked(settings::MenuItem item, bool checked);

  signals:
    void chosen(settings::MenuItem item);

  private:
    void addItem(const settings::MenuItemInfo& info);

    std::array<QAction*, settings::kMenuItemCount> actions_{};
};

} // namespace ui

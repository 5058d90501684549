// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// The folder that holds sty.inf and save/. A copy run from its build tree or a portable
// folder keeps them beside its executable; an installed copy (its executable under the
// install prefix it was built for) keeps them in the per-user data folder. Decided by the
// layout, never by trying a write: root can write anywhere.
class AppFolder {
  public:
    static QString path();
    // The rule itself, for tests: executable folder, install prefix, per-user data folder.
    static QString choose(const QString& executableDir, const QString& installPrefix,
                          const QString& userDataDir);
};

} // namespace platform

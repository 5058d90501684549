// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#ifndef CALC_INSTALL_PREFIX
#define CALC_INSTALL_PREFIX "/usr/local"
#endif

namespace platform {

namespace {

// Links resolved where the path exists (a merged /bin and /usr/bin, a linked prefix), so the
// same folder reached two ways compares equal.
QString comparable(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
}

bool isWithin(const QString& folder, const QString& base) {
    if (folder == base) {
        return true;
    }
    const QString prefix = base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/');
    return folder.startsWith(prefix);
}

// Where an installation puts its programs.
bool isInstalled(const QString& executableDir, const QString& installPrefix) {
    const QString folder = comparable(executableDir);
    const QStringList programFolders = {QStringLiteral("bin"), QStringLiteral("games"),
                                        QStringLiteral("libexec")};
    for (const QString& name : programFolders) {
        if (isWithin(folder, comparable(installPrefix + QLatin1Char('/') + name))) {
            return true;
        }
    }
    return false;
}

} // namespace

QString AppFolder::choose(const QString& executableDir, const QString& installPrefix,
                          const QString& userDataDir) {
    if (!installPrefix.isEmpty() && !userDataDir.isEmpty() &&
        isInstalled(executableDir, installPrefix)) {
        return QDir::cleanPath(userDataDir);
    }
    return QDir::cleanPath(executableDir);
}

QString AppFolder::path() {
    const QString executableDir = QCoreApplication::applicationDirPath();
    const QString userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString chosen = choose(executableDir, QStringLiteral(CALC_INSTALL_PREFIX), userDataDir);
    // An installed copy's data folder does not exist before its first run. Should it fail to
    // appear, the saves that need it report their own failure.
    if (chosen != QDir::cleanPath(executableDir)) {
        QDir().mkpath(chosen);
    }
    return chosen;
}

} // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/aboutdialog.h"

AboutDialog::AboutDialog(QWidget*) : QDialog(nullptr)
{
    setupUi(this);
    m_pLabelVersion->setText(versionText());
    m_pLabelPlattform->setText(platformName());
}

QString AboutDialog::versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionPatch);
}

QString AboutDialog::platformName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("Windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("macOS");
#elif defined(Q_OS_LINUX)
    return QStringLiteral("Linux");
#elif defined(Q_OS_FREEBSD)
    return QStringLiteral("FreeBSD");
#else
    return QStringLiteral("Unix");
#endif
}

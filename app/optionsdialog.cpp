// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/optionsdialog.h"

#include "app/logbookfiles.h"
#include "charger/chargermanager.h"
#include "charger/portadvice.h"
#include "charger/portlist.h"
#include "records/accuentry.h"
#include "settings/tarvelosettings.h"
#include "ui_optionsdialog.h"
#include "views/filechooser.h"
#include "views/messagebox.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPoint>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{
using Key = SettingsValues::Key;

// The port list's only item when there is no port to offer.
const int kNoPort = -1;
const char* const kNone = QT_TRANSLATE_NOOP("OptionsDialog", "none");
// Port items: the manager's index in the user role, the name the port is saved by here.
const int kPortNameRole = Qt::UserRole + 1;

QString text(const char* buffer)
{
    return QString::fromUtf8(buffer);
}

// A word-wrapped label in a tab: the tab widget does not ask it how tall it gets at its
// width, so it says so itself (at the narrowest the dialog gets, which is never too short).
void showWrapped(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
    label->setMinimumHeight(text.isEmpty() ? 0 : label->heightForWidth(qMax(label->width(), 500)));
}
} // namespace

OptionsDialog::OptionsDialog(QWidget* parent, ChargerManager* chargerManager,
                             TarveloSettings* settings)
    : QDialog(parent), m_pUi(std::make_unique<Ui::OptionsDialog>()),
      m_pChargerManager(chargerManager), m_pSettings(settings)
{
    m_pUi->setupUi(this);
    if (!m_pSettings) {
        m_pSettings = new TarveloSettings(this);
        m_pSettings->load();
    }

    connect(m_pUi->m_pCheckSqLite, &QCheckBox::clicked, this, &OptionsDialog::onCheckSqLite);
    connect(m_pUi->m_pButtonBrowseSqliteFile, &QPushButton::clicked, this,
            &OptionsDialog::onButtonBrowseSqliteFile);
    connect(m_pUi->m_pCheckCharger, &QCheckBox::clicked, this, &OptionsDialog::onCheckCharger);
    connect(m_pUi->m_pComboCharger, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OptionsDialog::onComboChargerChanged);
    connect(m_pUi->m_pComboChargerPort, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OptionsDialog::showPortDetails);
    // Ports are described at length: the list opens as wide as they need, the box stays sane.
    m_pUi->m_pComboChargerPort->setSizeAdjustPolicy(
        QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pUi->m_pComboChargerPort->setMinimumContentsLength(40);

    buildPacksTab();
    fillChargerCombo();
    fillSpeedCombo();
    startFromSettings();
}

void OptionsDialog::buildPacksTab()
{
    // Named after the chemistries, so that tests and style sheets find them.
    const char* const names[kChemistries] = {"LiPo", "LiFe", "NiMh", "NiCd", "Ene", "Pb"};
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("m_pTabPacks"));
    auto* layout = new QVBoxLayout(page);
    m_pLabelCycleLimits = new QLabel;
    m_pLabelCycleLimits->setWordWrap(true);
    layout->addWidget(m_pLabelCycleLimits);
    auto* form = new QFormLayout;
    for (int typ = 0; typ < kChemistries; ++typ) {
        auto* spin = new QSpinBox;
        spin->setObjectName(QStringLiteral("m_pSpinCycleLimit") + QLatin1String(names[typ]));
        spin->setRange(1, SettingsValues::kMaxCycleLimit);
        m_apCycleLimits[typ] = spin;
        m_apChemistries[typ] = new QLabel;
        form->addRow(m_apChemistries[typ], spin);
    }
    layout->addLayout(form);
    layout->addStretch();
    m_pUi->m_pTabWidgetOptions->addTab(page, QString());
    retranslatePacksTab();
}

void OptionsDialog::retranslatePacksTab()
{
    QTabWidget* tabs = m_pUi->m_pTabWidgetOptions;
    tabs->setTabText(tabs->indexOf(m_pLabelCycleLimits->parentWidget()), tr("Packs"));
    m_pLabelCycleLimits->setText(
        tr("Cycles after which a pack should be retired. The pack statistics mark packs from "
           "80 % of their limit on (amber) and at their limit (red)."));
    for (int typ = 0; typ < kChemistries; ++typ) {
        m_apChemistries[typ]->setText(AccuEntry::typText(typ) + QLatin1Char(':'));
        m_apCycleLimits[typ]->setSuffix(tr(" cycles"));
    }
}

void OptionsDialog::fillSpeedCombo()
{
    // Other firmware may send at another speed than its model usually does.
    QComboBox* combo = m_pUi->m_pComboChargerSpeed;
    const int current = combo->currentIndex();
    combo->clear();
    combo->addItem(tr("automatic: the model's speed first (106B+, 1010B+: 9600; 208B+: 128 000), "
                      "then the other"),
                   SettingsValues::SpeedByModel);
    combo->addItem(tr("9600 baud"), SettingsValues::Speed9600);
    combo->addItem(tr("128 000 baud"), SettingsValues::Speed128000);
    combo->setCurrentIndex(qMax(0, current));
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::startFromSettings()
{
    m_edit = m_pSettings->values();
    // Once a showing: listing reads what the system knows of its ports and opens none.
    if (m_pChargerManager)
        m_pChargerManager->enumeratePorts();
    showValues();
    m_shown = m_edit;
}

QString OptionsDialog::settingsFile() const
{
    return m_pSettings->fileName();
}

int OptionsDialog::exec()
{
    startFromSettings(); // lists the ports anew
    return QDialog::exec();
}

void OptionsDialog::accept()
{
    takeValues();
    // OK on a dialog the user did not change leaves the file alone; otherwise what it shows
    // is written where it differs from the settings.
    QList<Key> changed;
    if (m_edit != m_shown) {
        for (Key key : SettingsValues::optionKeys())
            if (m_edit.value(key) != m_pSettings->values().value(key))
                changed << key;
    }
    if (!changed.isEmpty() && !m_pSettings->save(m_edit, changed)) {
        // The dialog stays open: the user may cancel, or try again once the file is writable.
        const QString text =
            tr("Could not save the settings to\n%1\nIs the file or its folder read-only?");
        MessageBox::warning(this, tr("Settings not saved"),
                            text.arg(QDir::toNativeSeparators(settingsFile())));
        return;
    }
    QDialog::accept();
}

void OptionsDialog::reject()
{
    QDialog::reject();
    startFromSettings();
}

void OptionsDialog::fillChargerCombo()
{
    QComboBox* combo = m_pUi->m_pComboCharger;
    // Filling is no choice of the user's.
    const QSignalBlocker blocker(combo);
    combo->clear();
    if (!m_pChargerManager)
        return;
    int classes = 0;
    m_pChargerManager->getClassCount(&classes);
    for (int chargerClass = 0; chargerClass < classes; ++chargerClass) {
        char className[ChargerBase::kTextBufferSize] = {};
        int subtypes = 0;
        if (m_pChargerManager->getClassName(chargerClass, className) != ChargerBase::ResultDone ||
            m_pChargerManager->getClassSubtypeCount(chargerClass, &subtypes) !=
                ChargerBase::ResultDone)
            continue;
        for (int subtype = 0; subtype < subtypes; ++subtype) {
            char subtypeName[ChargerBase::kTextBufferSize] = {};
            if (m_pChargerManager->getClassSubtypeName(chargerClass, subtype, subtypeName) !=
                ChargerBase::ResultDone)
                continue;
            combo->addItem(text(className) + QLatin1Char(' ') + text(subtypeName),
                           QPoint(chargerClass, subtype));
        }
    }
}

QString OptionsDialog::describePort(const SSerInfo& port)
{
    // "ttyUSB0 – CP2102 USB to UART Bridge Controller, Silicon Labs, 10c4:ea60 – likely an
    // iCharger"; a plain serial port without a description is its name alone.
    QStringList about;
    if (!port.portDescription.isEmpty() && port.portDescription != port.portName)
        about << port.portDescription;
    if (!port.manufacturer.isEmpty() && !port.portDescription.contains(port.manufacturer))
        about << port.manufacturer;
    if (port.vendorId >= 0 && port.productId >= 0)
        about << QStringLiteral("%1:%2")
                     .arg(port.vendorId, 4, 16, QLatin1Char('0'))
                     .arg(port.productId, 4, 16, QLatin1Char('0'));
    QStringList parts = {port.portName.isEmpty() ? PortList::nameOf(port) : port.portName};
    if (!about.isEmpty())
        parts << about.join(QStringLiteral(", "));
    if (PortAdvice::isLikelyICharger(port))
        parts << tr("likely an iCharger");
    if (!PortAdvice::mayRead(port.devicePath))
        parts << tr("no permission");
    return parts.join(QStringLiteral(" \u2013 "));
}

void OptionsDialog::fillPortCombo()
{
    QComboBox* combo = m_pUi->m_pComboChargerPort;
    const QSignalBlocker blocker(combo);
    combo->clear();
    if (m_pChargerManager) {
        int ports = 0;
        if (m_pChargerManager->getClassPortCount(m_edit.chargerClass(), &ports) !=
                ChargerBase::ResultDone ||
            ports == 0) {
            combo->addItem(tr(kNone), kNoPort);
            // The saved port stays saved while it is not plugged in.
            combo->setItemData(0, m_edit.chargerPort(), kPortNameRole);
        } else {
            for (int port = 0; port < ports; ++port) {
                SSerInfo info;
                if (m_pChargerManager->getClassPortInfo(m_edit.chargerClass(), port, &info) !=
                    ChargerBase::ResultDone)
                    continue;
                combo->addItem(describePort(info), port);
                combo->setItemData(combo->count() - 1, PortList::nameOf(info), kPortNameRole);
                combo->setItemData(combo->count() - 1, info.devicePath, Qt::ToolTipRole);
            }
        }
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) +
                                       combo->view()->frameWidth() * 2);
        if (m_edit.chargerPort().isEmpty() && combo->itemData(0) != kNoPort) {
            // No port chosen yet: none is shown and kept, not the first port listed.
            combo->insertItem(0, tr(kNone), kNoPort);
            combo->setItemData(0, QString(), kPortNameRole);
        }
        combo->setCurrentIndex(qMax(0, findPortIndex()));
    }
    showPortDetails();
}

int OptionsDialog::findPortIndex() const
{
    // The saved name in any form it was ever saved in (an older short name, say).
    if (!m_pChargerManager)
        return -1;
    const int port = m_pChargerManager->findClassPort(m_edit.chargerClass(), m_edit.chargerPort());
    return port < 0 ? -1 : m_pUi->m_pComboChargerPort->findData(port);
}

void OptionsDialog::showPortDetails()
{
    QComboBox* combo = m_pUi->m_pComboChargerPort;
    SSerInfo port;
    const bool listed =
        m_pChargerManager && combo->currentData().toInt() != kNoPort &&
        m_pChargerManager->getClassPortInfo(m_edit.chargerClass(), combo->currentData().toInt(),
                                            &port) == ChargerBase::ResultDone;
    QStringList details;
    if (listed) {
        details << port.devicePath;
        if (!port.stableName.isEmpty())
            details << tr("Kept as %1: the name stays the same in any USB socket.")
                           .arg(port.stableName);
        if (!port.serialNumber.isEmpty())
            details << tr("Serial number %1").arg(port.serialNumber);
    }
    showWrapped(m_pUi->m_pLabelPortDetails, details.join(QLatin1Char('\n')));

    const QString advice =
        listed && !PortAdvice::mayRead(port.devicePath)
            ? PortAdvice::permissionAdvice(PortList::nameOf(port), port.devicePath)
            : PortAdvice::brlttyAdvice();
    showWrapped(m_pUi->m_pLabelPortAdvice, advice);
}

void OptionsDialog::onComboChargerChanged(int)
{
    takeCharger();
    fillPortCombo();
}

void OptionsDialog::takeCharger()
{
    // Without a listed charger the copy keeps its own (the built-in "no charger", say).
    const QVariant pair = m_pUi->m_pComboCharger->currentData();
    if (pair.isValid()) {
        m_edit.set(Key::ChargerClass, pair.toPoint().x());
        m_edit.set(Key::ChargerSubtype, pair.toPoint().y());
    }
}

void OptionsDialog::applySqliteRule()
{
    const bool sqlite = m_pUi->m_pCheckSqLite->isChecked();
    m_pUi->m_pLineEditDatabase->setEnabled(!sqlite);
    m_pUi->m_pLineEditHostname->setEnabled(!sqlite);
    m_pUi->m_pLineEditUser->setEnabled(!sqlite);
    m_pUi->m_pLineEditPassword->setEnabled(!sqlite);
    m_pUi->m_pSpinBoxPort->setEnabled(!sqlite);
    m_pUi->m_pLineEditSqLiteFilename->setEnabled(sqlite);
    m_pUi->m_pButtonBrowseSqliteFile->setEnabled(sqlite);
}

void OptionsDialog::applyChargerRule()
{
    const bool charger = m_pUi->m_pCheckCharger->isChecked();
    m_pUi->m_pComboChargerPort->setEnabled(charger);
    m_pUi->m_pComboCharger->setEnabled(charger);
    m_pUi->m_pComboChargerSpeed->setEnabled(charger);
}

void OptionsDialog::onCheckSqLite()
{
    applySqliteRule();
    takeValues();
}

void OptionsDialog::onCheckCharger()
{
    applyChargerRule();
    takeValues();
}

void OptionsDialog::onButtonBrowseSqliteFile()
{
    // A new name is welcome: the user may make the log book here rather than in a terminal.
    const QString current =
        m_pSettings->absoluteLogBookFile(m_pUi->m_pLineEditSqLiteFilename->text());
    const QString file = FileChooser::chooseLogBook(
        this, FileChooser::Purpose::Name, tr("Open sqlite file"),
        current.isEmpty() ? LogBookFiles::dataFolder() : QFileInfo(current).absolutePath());
    if (file.isEmpty() || (!QFileInfo::exists(file) && !LogBookFiles::offerToCreate(this, file)))
        return;
    // The other fields keep what the user typed since the dialog was opened.
    takeValues();
    m_edit.set(Key::SqliteFile, m_pSettings->keptLogBookFile(file));
    showValues();
}

void OptionsDialog::takeValues()
{
    // The widgets hold only values their keys take.
    m_edit.set(Key::Database, m_pUi->m_pLineEditDatabase->text());
    m_edit.set(Key::Host, m_pUi->m_pLineEditHostname->text());
    m_edit.set(Key::User, m_pUi->m_pLineEditUser->text());
    m_edit.set(Key::Password, m_pUi->m_pLineEditPassword->text());
    m_edit.set(Key::Port, m_pUi->m_pSpinBoxPort->value());
    m_edit.set(Key::SqliteFile, m_pUi->m_pLineEditSqLiteFilename->text());
    m_edit.set(Key::UseSqlite, m_pUi->m_pCheckSqLite->isChecked());
    m_edit.set(Key::UseCharger, m_pUi->m_pCheckCharger->isChecked());
    takeCharger();
    // The port by the name it is saved by; "none" as it reads when there is no port.
    const QVariant port = m_pUi->m_pComboChargerPort->currentData(kPortNameRole);
    m_edit.set(Key::ChargerPort,
               port.isValid() ? port.toString() : m_pUi->m_pComboChargerPort->currentText());
    m_edit.set(Key::ChargerSpeed, m_pUi->m_pComboChargerSpeed->currentData());
    for (int typ = 0; typ < kChemistries; ++typ)
        m_edit.set(SettingsValues::cycleLimitKey(typ), m_apCycleLimits[typ]->value());
}

void OptionsDialog::showValues()
{
    m_pUi->m_pLineEditDatabase->setText(m_edit.database());
    m_pUi->m_pLineEditHostname->setText(m_edit.host());
    m_pUi->m_pLineEditUser->setText(m_edit.user());
    m_pUi->m_pLineEditPassword->setText(m_edit.password());
    m_pUi->m_pSpinBoxPort->setValue(m_edit.port());
    m_pUi->m_pLineEditSqLiteFilename->setText(m_edit.sqliteFile());
    m_pUi->m_pCheckSqLite->setChecked(m_edit.useSqlite());
    m_pUi->m_pCheckCharger->setChecked(m_edit.useCharger());
    m_pUi->m_pComboChargerSpeed->setCurrentIndex(
        m_pUi->m_pComboChargerSpeed->findData(m_edit.chargerSpeed()));
    for (int typ = 0; typ < kChemistries; ++typ)
        m_apCycleLimits[typ]->setValue(m_edit.cycleLimit(typ));

    // The saved charger, or the first listed one where it is not listed; then its ports, with
    // the saved one selected.
    QComboBox* chargers = m_pUi->m_pComboCharger;
    const int saved = chargers->findData(QPoint(m_edit.chargerClass(), m_edit.chargerSubtype()));
    {
        const QSignalBlocker blocker(chargers);
        chargers->setCurrentIndex(saved >= 0 ? saved : (chargers->count() > 0 ? 0 : -1));
    }
    takeCharger();
    fillPortCombo();

    applySqliteRule();
    applyChargerRule();
    takeValues();
}

void OptionsDialog::retranslate()
{
    m_pUi->retranslateUi(this);
    retranslatePacksTab();
    fillSpeedCombo();
    // The ports' descriptions in the new language, the chosen one kept.
    QComboBox* ports = m_pUi->m_pComboChargerPort;
    const QVariant chosen = ports->currentData();
    fillPortCombo();
    const QSignalBlocker blocker(ports);
    ports->setCurrentIndex(qMax(0, ports->findData(chosen)));
    showPortDetails();
}

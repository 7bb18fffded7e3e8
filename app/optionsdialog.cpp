#include "app/optionsdialog.h"

#include "app/logbookfiles.h"
#include "charger/chargermanager.h"
#include "records/accuentry.h"
#include "settings/tarvelosettings.h"
#include "ui_optionsdialog.h"
#include "views/filechooser.h"
#include "views/messagebox.h"

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

QString text(const char* buffer)
{
    return QString::fromUtf8(buffer);
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
    combo->addItem(tr("as the model sends (106B+, 1010B+: 9600; 208B+: 128 000)"),
                   SettingsValues::SpeedByModel);
    combo->addItem(tr("9600 baud"), SettingsValues::Speed9600);
    combo->addItem(tr("128 000 baud"), SettingsValues::Speed128000);
    combo->setCurrentIndex(qMax(0, current));
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::startFromSettings()
{
    m_edit = m_pSettings->values();
    showValues();
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
    if (!m_pSettings->save(m_edit, SettingsValues::optionKeys())) {
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

void OptionsDialog::fillPortCombo()
{
    QComboBox* combo = m_pUi->m_pComboChargerPort;
    combo->clear();
    if (!m_pChargerManager)
        return;
    m_pChargerManager->enumeratePorts();
    int ports = 0;
    if (m_pChargerManager->getClassPortCount(m_edit.chargerClass(), &ports) !=
            ChargerBase::ResultDone ||
        ports == 0) {
        combo->addItem(tr(kNone), kNoPort);
    } else {
        for (int port = 0; port < ports; ++port) {
            char name[ChargerBase::kTextBufferSize] = {};
            if (m_pChargerManager->getClassPortName(m_edit.chargerClass(), port, name) ==
                ChargerBase::ResultDone)
                combo->addItem(text(name), port);
        }
    }
    const int saved = findPortIndex();
    combo->setCurrentIndex(saved == -1 ? 0 : saved);
}

int OptionsDialog::findPortIndex() const
{
    const QComboBox* combo = m_pUi->m_pComboChargerPort;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == m_edit.chargerPort())
            return i;
    }
    return -1;
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
    const QString current = m_pSettings->absoluteLogBookFile(m_pUi->m_pLineEditSqLiteFilename->text());
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
    m_edit.set(Key::ChargerPort, m_pUi->m_pComboChargerPort->currentText());
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
    QComboBox* ports = m_pUi->m_pComboChargerPort;
    const int none = ports->findData(kNoPort);
    if (none >= 0)
        ports->setItemText(none, tr(kNone));
}


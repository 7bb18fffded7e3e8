#include "app/optionsdialog.h"

#include "charger/chargermanager.h"
#include "ui_optionsdialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPoint>
#include <QSettings>

#include <cstdio>

namespace
{
const char* const kLocalIni = "tarvelo.ini";
const char* const kOrganisation = "Kelvorn";
const char* const kApplication = "Tarvelo";

// The port list's only item when there is no port to offer.
const int kNoPort = -1;
const char* const kNone = QT_TRANSLATE_NOOP("OptionsDialog", "none");

QString text(const char* buffer)
{
    return QString::fromUtf8(buffer);
}
} // namespace

OptionsDialog::OptionsDialog(QWidget* parent, ChargerManager* chargerManager)
    : QDialog(parent), m_pUi(std::make_unique<Ui::OptionsDialog>())
{
    m_pUi->setupUi(this);

    // The local file makes the program portable (on a USB stick, say): chosen once, here.
    if (QFileInfo(QString::fromLatin1(kLocalIni)).isFile()) {
        m_pSettings =
            std::make_unique<QSettings>(QString::fromLatin1(kLocalIni), QSettings::IniFormat);
        std::fputs("UsbStick mode - using local ini file\n", stderr);
    } else {
        m_pSettings = std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                                  QString::fromLatin1(kApplication));
    }

    setDefaults();
    m_pChargerManager = chargerManager;
    if (m_pChargerManager)
        m_pChargerManager->enumeratePorts();

    connect(m_pUi->m_pCheckSqLite, &QCheckBox::clicked, this, &OptionsDialog::onCheckSqLite);
    connect(m_pUi->m_pButtonBrowseSqliteFile, &QPushButton::clicked, this,
            &OptionsDialog::onButtonBrowseSqliteFile);
    connect(m_pUi->m_pCheckCharger, &QCheckBox::clicked, this, &OptionsDialog::onCheckCharger);
    connect(m_pUi->m_pComboCharger, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OptionsDialog::onComboChargerChanged);

    // The first listed charger becomes current and is taken into the record, so a store
    // without settings still names a charger that exists.
    fillChargerCombo();
    fillPortCombo();
    readSettings();
    showValues();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::setDefaults()
{
    m_strHost = QStringLiteral("localhost");
    m_strDatabase = QStringLiteral("tarvelo");
    m_strUser = QStringLiteral("tarvelo");
    m_iPort = 3306;
    m_strPassword = QStringLiteral("qmbrxolte");
    m_strSqliteFile = QStringLiteral("tarvelo.sqlite");
    m_bUseSqlite = false;
    m_bUseCharger = false;
    m_iChargerClass = ChargerManager::kNoCharger;
    m_iChargerSubtype = 0;
    m_strChargerPort.clear();
}

void OptionsDialog::readSettings()
{
    m_pSettings->sync();
    // Anything short of a complete set is not ours (or from a first run): keep the defaults.
    if (m_pSettings->allKeys().size() < kKeyCount)
        return;
    auto value = [this](const char* key) {
        return m_pSettings->value(QLatin1String(key), QString());
    };
    m_strHost = value("host").toString();
    m_strDatabase = value("db").toString();
    m_strUser = value("username").toString();
    m_strPassword = value("pw").toString();
    m_iPort = value("port").toInt();
    m_strSqliteFile = value("sqlitefilename").toString();
    m_bUseSqlite = value("usesqlite").toBool();
    m_bUseCharger = value("usecharger").toBool();
    m_iChargerClass = value("chargerclass").toInt();
    m_iChargerSubtype = value("chargersubtype").toInt();
    m_strChargerPort = value("chargerportwin32").toString();
}

void OptionsDialog::writeSettings()
{
    m_pSettings->setValue(QStringLiteral("host"), m_strHost);
    m_pSettings->setValue(QStringLiteral("db"), m_strDatabase);
    m_pSettings->setValue(QStringLiteral("username"), m_strUser);
    m_pSettings->setValue(QStringLiteral("port"), static_cast<uint>(m_iPort));
    m_pSettings->setValue(QStringLiteral("pw"), m_strPassword);
    m_pSettings->setValue(QStringLiteral("sqlitefilename"), m_strSqliteFile);
    m_pSettings->setValue(QStringLiteral("usesqlite"), m_bUseSqlite);
    m_pSettings->setValue(QStringLiteral("usecharger"), m_bUseCharger);
    m_pSettings->setValue(QStringLiteral("chargerclass"), m_iChargerClass);
    m_pSettings->setValue(QStringLiteral("chargersubtype"), static_cast<uint>(m_iChargerSubtype));
    m_pSettings->setValue(QStringLiteral("chargerportwin32"), m_strChargerPort);
}

QStringList OptionsDialog::databaseChoice() const
{
    return {QString::number(m_bUseSqlite),
            m_strSqliteFile,
            m_strHost,
            QString::number(m_iPort),
            m_strDatabase,
            m_strUser,
            m_strPassword};
}

QString OptionsDialog::settingsFile() const
{
    return m_pSettings->fileName();
}

int OptionsDialog::exec()
{
    fillPortCombo();
    return QDialog::exec();
}

void OptionsDialog::fillChargerCombo()
{
    QComboBox* combo = m_pUi->m_pComboCharger;
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
    if (m_pChargerManager->getClassPortCount(m_iChargerClass, &ports) != ChargerBase::ResultDone ||
        ports == 0) {
        combo->addItem(tr(kNone), kNoPort);
    } else {
        for (int port = 0; port < ports; ++port) {
            char name[ChargerBase::kTextBufferSize] = {};
            if (m_pChargerManager->getClassPortName(m_iChargerClass, port, name) ==
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
        if (combo->itemText(i) == m_strChargerPort)
            return i;
    }
    return -1;
}

int OptionsDialog::portIndex() const
{
    return findPortIndex();
}

void OptionsDialog::onComboChargerChanged(int _iIndex)
{
    const QVariant data = m_pUi->m_pComboCharger->itemData(_iIndex);
    const QPoint pair = data.isValid() ? data.toPoint() : QPoint(0, 0);
    m_iChargerClass = pair.x();
    m_iChargerSubtype = pair.y();
    fillPortCombo();
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
    const QString caption = tr("Open sqlite file");
    const QString filter = QStringLiteral("SqLite (*.sqlite)");
    const QString file = fileChooser()
                             ? fileChooser()(this, caption, filter)
                             : QFileDialog::getOpenFileName(this, caption, QString(), filter);
    if (file.isEmpty())
        return;
    // The other fields keep what the user typed since the dialog was opened.
    takeValues();
    m_strSqliteFile = file;
    showValues();
}

void OptionsDialog::takeValues()
{
    m_strDatabase = m_pUi->m_pLineEditDatabase->text();
    m_strHost = m_pUi->m_pLineEditHostname->text();
    m_strUser = m_pUi->m_pLineEditUser->text();
    m_strPassword = m_pUi->m_pLineEditPassword->text();
    m_iPort = m_pUi->m_pSpinBoxPort->value();
    m_strSqliteFile = m_pUi->m_pLineEditSqLiteFilename->text();
    m_bUseSqlite = m_pUi->m_pCheckSqLite->isChecked();
    m_bUseCharger = m_pUi->m_pCheckCharger->isChecked();
    // Without a listed charger the record keeps its own (the built-in "no charger").
    const QVariant pair = m_pUi->m_pComboCharger->currentData();
    if (pair.isValid()) {
        m_iChargerClass = pair.toPoint().x();
        m_iChargerSubtype = pair.toPoint().y();
    }
    m_strChargerPort = m_pUi->m_pComboChargerPort->currentText();
}

void OptionsDialog::showValues()
{
    const int savedPort = findPortIndex();
    m_pUi->m_pLineEditDatabase->setText(m_strDatabase);
    m_pUi->m_pLineEditHostname->setText(m_strHost);
    m_pUi->m_pLineEditUser->setText(m_strUser);
    m_pUi->m_pLineEditPassword->setText(m_strPassword);
    m_pUi->m_pSpinBoxPort->setValue(m_iPort); // a port above the range shows as its maximum
    m_pUi->m_pLineEditSqLiteFilename->setText(m_strSqliteFile);
    m_pUi->m_pCheckSqLite->setChecked(m_bUseSqlite);
    m_pUi->m_pCheckCharger->setChecked(m_bUseCharger);
    m_pUi->m_pComboChargerPort->setCurrentIndex(savedPort == -1 ? 0 : savedPort);

    // Selecting the saved charger refills the port list for it, which selects the saved port.
    QComboBox* chargers = m_pUi->m_pComboCharger;
    const QPoint saved(m_iChargerClass, m_iChargerSubtype);
    for (int i = 0; i < chargers->count(); ++i) {
        if (chargers->itemData(i).toPoint() == saved)
            chargers->setCurrentIndex(i);
    }

    onCheckSqLite();
    applyChargerRule();
    takeValues();
}

void OptionsDialog::retranslate()
{
    m_pUi->retranslateUi(this);
    QComboBox* ports = m_pUi->m_pComboChargerPort;
    const int none = ports->findData(kNoPort);
    if (none >= 0)
        ports->setItemText(none, tr(kNone));
}

OptionsDialog::FileChooser& OptionsDialog::fileChooser()
{
    static FileChooser chooser;
    return chooser;
}

void OptionsDialog::setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

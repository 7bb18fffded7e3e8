// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The pack and model management dialogs driven through their widgets against a real SQLite
// store, and the about dialog.
#include "views/storefixture.h"

#include "views/aboutdialog.h"
#include "views/accumanagementdialog.h"
#include "views/messagebox.h"
#include "views/modelmanagementdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace
{

enum Kind { Packs, Models };

// Editor values of one record, and the list text the dialog must show for it.
struct Values {
    QString brandOrName;
    int capacity;
    int cells;
    int strength;
    QString descr;
    int typ;
    QString text;
};

Values values(Kind kind, int which)
{
    if (kind == Packs) {
        switch (which) {
        case 0:
            return {"Xa", 2200, 3, 25, "red", 0, "LiPo: Xa - 2200mAh - 3S - 25C - (red)"};
        case 1:
            return {"Yb", 12000, 6, 40, "big", 1, "LiFe: Yb - 12000mAh - 6S - 40C - (big)"};
        default:
            return {"Zc", 850, 2, 15, "", 5, "Pb: Zc - 850mAh - 2S - 15C - ()"};
        }
    }
    switch (which) {
    case 0:
        return {"T1", 0, 0, 0, "", 1, "Heli: T1"};
    case 1:
        return {"Cub", 0, 0, 0, "", 0, "Plane: Cub"};
    default:
        return {"Dinghy", 0, 0, 0, "", 3, "Boat: Dinghy"};
    }
}

struct Warning {
    QString title;
    QString text;
};

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyStoreShowsNothing_data();
    void emptyStoreShowsNothing();
    void typChoices_data();
    void typChoices();
    void packEditorRanges();
    void addSelectsStoredRecord_data();
    void addSelectsStoredRecord();
    void addTwiceGivesTwoRecords_data();
    void addTwiceGivesTwoRecords();
    void selectShowsStoredRecord_data();
    void selectShowsStoredRecord();
    void changeKeepsRowAndSelection_data();
    void changeKeepsRowAndSelection();
    void deleteRemovesRecord_data();
    void deleteRemovesRecord();
    void incompleteRecordsAreRefused_data();
    void incompleteRecordsAreRefused();
    void unknownTypLeavesComboEmpty_data();
    void unknownTypLeavesComboEmpty();
    void refusedChangesAreReported_data();
    void refusedChangesAreReported();
    void readOnlyBookOffersNoEditing_data();
    void readOnlyBookOffersNoEditing();
    void closeButtonCloses_data();
    void closeButtonCloses();
    void aboutShowsVersionAndPlatform();

private:
    void addKindColumn();
    std::unique_ptr<QDialog> open(Kind kind);
    QListWidget* list(Kind kind) const;
    QPushButton* button(const char* name) const;
    void enter(Kind kind, const Values& v);
    void click(const char* name);
    void select(Kind kind, int row);
    void store(Kind kind, const Values& v);
    // The list texts of what a second connection reads from the file.
    QStringList stored(Kind kind);
    QStringList listTexts(Kind kind) const;
    template <class T> T* child(const char* name) const
    {
        T* widget = m_dialog ? m_dialog->findChild<T*>(QLatin1String(name)) : nullptr;
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }

    std::unique_ptr<StoreFixture> m_store;
    std::unique_ptr<QDialog> m_dialog;
    QVector<Warning> m_warnings;
};

void DialogsTest::init()
{
    m_store = std::make_unique<StoreFixture>();
    QVERIFY(m_store->db() && m_store->db()->isConnected());
    m_warnings.clear();
    MessageBox::setHandler([this](QWidget*, const QString& title, const QString& text) {
        m_warnings.append({title, text});
    });
}

void DialogsTest::cleanup()
{
    MessageBox::setHandler(nullptr);
    m_dialog.reset();
    m_store.reset();
}

void DialogsTest::addKindColumn()
{
    QTest::addColumn<int>("kind");
}

std::unique_ptr<QDialog> DialogsTest::open(Kind kind)
{
    std::unique_ptr<QDialog> dialog;
    if (kind == Packs)
        dialog = std::make_unique<AccuManagementDialog>(nullptr, m_store->history());
    else
        dialog = std::make_unique<ModelManagementDialog>(nullptr, m_store->history());
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get()))
        qWarning("dialog not exposed");
    return dialog;
}

QListWidget* DialogsTest::list(Kind kind) const
{
    return child<QListWidget>(kind == Packs ? "m_pAccuList" : "m_pModelList");
}

QPushButton* DialogsTest::button(const char* name) const
{
    return child<QPushButton>(name);
}

void DialogsTest::click(const char* name)
{
    QTest::mouseClick(button(name), Qt::LeftButton);
}

void DialogsTest::select(Kind kind, int row)
{
    QListWidget* l = list(kind);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
}

void DialogsTest::enter(Kind kind, const Values& v)
{
    auto type = [](QWidget* w, const QString& text) {
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(w, Qt::Key_Delete);
        else
            QTest::keyClicks(w, text);
    };
    if (kind == Packs) {
        type(child<QLineEdit>("m_pBrand"), v.brandOrName);
        type(child<QSpinBox>("m_pCapacity"), QString::number(v.capacity));
        type(child<QSpinBox>("m_pCells"), QString::number(v.cells));
        type(child<QSpinBox>("m_pStrength"), QString::number(v.strength));
        type(child<QLineEdit>("m_pDescription"), v.descr);
        child<QComboBox>("m_pAccuTyp")->setCurrentIndex(v.typ);
    } else {
        type(child<QLineEdit>("m_pModelName"), v.brandOrName);
        child<QComboBox>("m_pModelTyp")->setCurrentIndex(v.typ);
    }
}

void DialogsTest::store(Kind kind, const Values& v)
{
    if (kind == Packs)
        QVERIFY(m_store->addAccu(v.brandOrName, v.descr, v.capacity, v.cells, v.strength, v.typ) >=
                0);
    else
        QVERIFY(m_store->addModel(v.brandOrName, v.typ) >= 0);
}

QStringList DialogsTest::stored(Kind kind)
{
    SqLiteConnection other(m_store->file());
    QStringList texts;
    if (!other.openDb(nullptr))
        return {QStringLiteral("cannot open")};
    if (kind == Packs) {
        QVector<AccuEntry> packs;
        other.getAccus(&packs);
        for (const AccuEntry& a : packs)
            texts << a.toString();
    } else {
        QVector<ModelEntry> models;
        other.getModels(&models);
        for (const ModelEntry& m : models)
            texts << m.toString();
    }
    return texts;
}

QStringList DialogsTest::listTexts(Kind kind) const
{
    QStringList texts;
    QListWidget* l = list(kind);
    for (int row = 0; row < l->count(); ++row)
        texts << l->item(row)->text();
    return texts;
}

void DialogsTest::emptyStoreShowsNothing_data()
{
    addKindColumn();
    QTest::newRow("packs") << int(Packs);
    QTest::newRow("models") << int(Models);
}

void DialogsTest::emptyStoreShowsNothing()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    m_dialog = open(k);
    QCOMPARE(list(k)->count(), 0);
    if (k == Packs) {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Accu management"));
        QCOMPARE(child<QLineEdit>("m_pBrand")->text(), QString());
        QCOMPARE(child<QSpinBox>("m_pCapacity")->value(), 0);
        QCOMPARE(child<QSpinBox>("m_pCells")->value(), 0);
        QCOMPARE(child<QSpinBox>("m_pStrength")->value(), 0);
        QCOMPARE(child<QLineEdit>("m_pDescription")->text(), QString());
    } else {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Model management"));
        QCOMPARE(child<QLineEdit>("m_pModelName")->text(), QString());
    }
    QVERIFY(m_dialog->isModal());
    QCOMPARE(m_dialog->windowModality(), Qt::ApplicationModal);
    click("m_pButtonChange");
    click("m_pButtonDelete");
    QCOMPARE(list(k)->count(), 0);
    QCOMPARE(stored(k), QStringList());
    QCOMPARE(m_warnings.size(), 0);
}

void DialogsTest::typChoices_data()
{
    addKindColumn();
    QTest::addColumn<QStringList>("names");
    QTest::newRow("packs") << int(Packs)
                           << QStringList{"LiPo", "LiFe", "NiMh", "NiCd", "Ene", "Pb"};
    QTest::newRow("models") << int(Models) << QStringList{"Plane", "Heli", "Car", "Boat", "RC"};
}

void DialogsTest::typChoices()
{
    QFETCH(int, kind);
    QFETCH(QStringList, names);
    m_dialog = open(Kind(kind));
    auto* combo = child<QComboBox>(kind == Packs ? "m_pAccuTyp" : "m_pModelTyp");
    QCOMPARE(combo->count(), names.size());
    for (int i = 0; i < combo->count(); ++i) {
        QCOMPARE(combo->itemText(i), names[i]);
        QCOMPARE(combo->itemData(i, Qt::UserRole), QVariant(i));
    }
    QCOMPARE(combo->currentIndex(), 0);
}

void DialogsTest::packEditorRanges()
{
    m_dialog = open(Packs);
    auto* capacity = child<QSpinBox>("m_pCapacity");
    auto* cells = child<QSpinBox>("m_pCells");
    auto* strength = child<QSpinBox>("m_pStrength");
    QTest::keyClick(capacity, Qt::Key_Up);
    QCOMPARE(capacity->value(), 5);
    QTest::keyClick(strength, Qt::Key_Up);
    QCOMPARE(strength->value(), 5);
    QTest::keyClick(cells, Qt::Key_Up);
    QCOMPARE(cells->value(), 1);

    // Packs above 10 Ah exist: the capacity goes to 99 999 mAh.
    enter(Packs, {"Big", 99999, 12, 99, "", 0, ""});
    QCOMPARE(capacity->value(), 99999);
    QCOMPARE(cells->value(), 12);
    QCOMPARE(strength->value(), 99);
    QTest::keyClick(capacity, Qt::Key_Up);
    QTest::keyClick(cells, Qt::Key_Up);
    QTest::keyClick(strength, Qt::Key_Up);
    QCOMPARE(capacity->value(), 99999);
    QCOMPARE(cells->value(), 12);
    QCOMPARE(strength->value(), 99);
    QCOMPARE(capacity->maximum(), 99999);
    QCOMPARE(capacity->singleStep(), 5);
}

void DialogsTest::addSelectsStoredRecord_data()
{
    addKindColumn();
    QTest::addColumn<int>("which");
    QTest::newRow("pack") << int(Packs) << 0;
    QTest::newRow("pack of 12 Ah") << int(Packs) << 1;
    QTest::newRow("pack without description") << int(Packs) << 2;
    QTest::newRow("model") << int(Models) << 0;
    QTest::newRow("boat") << int(Models) << 2;
}

void DialogsTest::addSelectsStoredRecord()
{
    QFETCH(int, kind);
    QFETCH(int, which);
    const Kind k = Kind(kind);
    store(k, values(k, (which + 1) % 3));
    m_dialog = open(k);
    const Values v = values(k, which);
    enter(k, v);
    click("m_pButtonAdd");
    QCOMPARE(m_warnings.size(), 0);
    QCOMPARE(list(k)->count(), 2);
    QCOMPARE(list(k)->currentRow(), 1);
    QVERIFY(list(k)->currentItem()->isSelected());
    QCOMPARE(list(k)->item(1)->text(), v.text);
    QCOMPARE(stored(k), listTexts(k));
}

void DialogsTest::addTwiceGivesTwoRecords_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::addTwiceGivesTwoRecords()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    m_dialog = open(k);
    enter(k, values(k, 0));
    click("m_pButtonAdd");
    click("m_pButtonAdd");
    QCOMPARE(list(k)->count(), 2);
    QCOMPARE(list(k)->item(0)->text(), list(k)->item(1)->text());
    QVERIFY(list(k)->item(0)->data(Qt::UserRole).toInt() !=
            list(k)->item(1)->data(Qt::UserRole).toInt());
    QCOMPARE(stored(k).size(), 2);
}

void DialogsTest::selectShowsStoredRecord_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::selectShowsStoredRecord()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    for (int which = 0; which < 3; ++which)
        store(k, values(k, which));
    m_dialog = open(k);
    QCOMPARE(listTexts(k), (QStringList{values(k, 0).text, values(k, 1).text, values(k, 2).text}));
    for (int row : {1, 2, 0}) {
        select(k, row);
        QCOMPARE(list(k)->currentRow(), row);
        const Values v = values(k, row);
        if (k == Packs) {
            QCOMPARE(child<QLineEdit>("m_pBrand")->text(), v.brandOrName);
            QCOMPARE(child<QSpinBox>("m_pCapacity")->value(), v.capacity);
            QCOMPARE(child<QSpinBox>("m_pCells")->value(), v.cells);
            QCOMPARE(child<QSpinBox>("m_pStrength")->value(), v.strength);
            QCOMPARE(child<QLineEdit>("m_pDescription")->text(), v.descr);
            QCOMPARE(child<QComboBox>("m_pAccuTyp")->currentIndex(), v.typ);
        } else {
            QCOMPARE(child<QLineEdit>("m_pModelName")->text(), v.brandOrName);
            QCOMPARE(child<QComboBox>("m_pModelTyp")->currentIndex(), v.typ);
        }
    }
}

void DialogsTest::changeKeepsRowAndSelection_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::changeKeepsRowAndSelection()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    store(k, values(k, 0));
    store(k, values(k, 1));
    m_dialog = open(k);
    const int id = list(k)->item(0)->data(Qt::UserRole).toInt();
    select(k, 0);
    enter(k, values(k, 2));
    click("m_pButtonChange");
    QCOMPARE(m_warnings.size(), 0);
    QCOMPARE(listTexts(k), (QStringList{values(k, 2).text, values(k, 1).text}));
    QCOMPARE(list(k)->currentRow(), 0);
    QVERIFY(list(k)->item(0)->isSelected());
    QCOMPARE(list(k)->item(0)->data(Qt::UserRole).toInt(), id);
    QCOMPARE(stored(k), listTexts(k));
}

void DialogsTest::deleteRemovesRecord_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::deleteRemovesRecord()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    store(k, values(k, 0));
    store(k, values(k, 1));
    m_dialog = open(k);
    select(k, 0);
    click("m_pButtonDelete");
    QCOMPARE(m_warnings.size(), 0);
    QCOMPARE(listTexts(k), QStringList{values(k, 1).text});
    QCOMPARE(stored(k), listTexts(k));
}

void DialogsTest::incompleteRecordsAreRefused_data()
{
    addKindColumn();
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    for (const char* button : {"m_pButtonAdd", "m_pButtonChange"}) {
        QTest::addRow("pack of 0 mAh, %s", button)
            << int(Packs) << button << "A pack needs a capacity above 0 mAh.";
        QTest::addRow("model without a name, %s", button)
            << int(Models) << button << "A model needs a name.";
    }
}

void DialogsTest::incompleteRecordsAreRefused()
{
    QFETCH(int, kind);
    QFETCH(QString, button);
    QFETCH(QString, message);
    const Kind k = Kind(kind);
    store(k, values(k, 0));
    m_dialog = open(k);
    select(k, 0);
    Values v = values(k, 0);
    v.capacity = 0;
    v.brandOrName = QStringLiteral("   ");
    if (k == Packs)
        v.brandOrName = QStringLiteral("any");
    enter(k, v);
    click(button.toLatin1().constData());
    QCOMPARE(m_warnings.size(), 1);
    QCOMPARE(m_warnings[0].text, message);
    QCOMPARE(stored(k), QStringList{values(k, 0).text});
    QCOMPARE(listTexts(k), stored(k));
}

void DialogsTest::unknownTypLeavesComboEmpty_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::unknownTypLeavesComboEmpty()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    Values v = values(k, 0);
    store(k, v);
    v.typ = 9;
    store(k, v);
    m_dialog = open(k);
    select(k, 1);
    auto* combo = child<QComboBox>(k == Packs ? "m_pAccuTyp" : "m_pModelTyp");
    QCOMPARE(combo->currentIndex(), -1);
    select(k, 0);
    QCOMPARE(combo->currentIndex(), values(k, 0).typ);
}

void DialogsTest::refusedChangesAreReported_data()
{
    addKindColumn();
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message");
    for (Kind k : {Packs, Models}) {
        const char* noun = k == Packs ? "accu" : "model";
        QTest::addRow("%s: add", noun)
            << int(k) << "m_pButtonAdd" << QStringLiteral("Couldn't add the %1\n").arg(noun);
        QTest::addRow("%s: change", noun)
            << int(k) << "m_pButtonChange" << QStringLiteral("Couldn't change the %1\n").arg(noun);
        QTest::addRow("%s: delete", noun)
            << int(k) << "m_pButtonDelete" << QStringLiteral("Couldn't delete the %1\n").arg(noun);
    }
}

void DialogsTest::refusedChangesAreReported()
{
    QFETCH(int, kind);
    QFETCH(QString, operation);
    QFETCH(QString, message);
    const Kind k = Kind(kind);
    store(k, values(k, 0));
    store(k, values(k, 1));
    // Opened writable, then the folder refuses the journal: the store fails every change.
    ReadOnly folder(m_store->dir());
    if (!folder.isSet())
        QSKIP("the folder cannot be made read-only here");
    const QStringList before = stored(k);
    m_dialog = open(k);
    select(k, 1);
    enter(k, values(k, 2));
    click(operation.toLatin1().constData());

    QCOMPARE(m_warnings.size(), 1);
    QCOMPARE(m_warnings[0].title, QStringLiteral("Database error"));
    QCOMPARE(m_warnings[0].text, message);
    QCOMPARE(stored(k), before);
    QCOMPARE(listTexts(k), before);
    QCOMPARE(list(k)->currentRow(), 1);
}

void DialogsTest::readOnlyBookOffersNoEditing_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::readOnlyBookOffersNoEditing()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    store(k, values(k, 0));
    if (!m_store->makeReadOnly())
        QSKIP("the database file cannot be made read-only here");
    m_dialog = open(k);
    select(k, 0);
    for (const char* name : {"m_pButtonAdd", "m_pButtonChange", "m_pButtonDelete"})
        QVERIFY2(!button(name)->isEnabled(), name);
    QCOMPARE(listTexts(k).size(), 1);
}

void DialogsTest::closeButtonCloses_data()
{
    emptyStoreShowsNothing_data();
}

void DialogsTest::closeButtonCloses()
{
    QFETCH(int, kind);
    m_dialog = open(Kind(kind));
    QVERIFY(m_dialog->isVisible());
    click("m_pButtonClose");
    QVERIFY(!m_dialog->isVisible());
}

void DialogsTest::aboutShowsVersionAndPlatform()
{
    QWidget mainWindow;
    AboutDialog about(&mainWindow);
    QVERIFY(!about.parentWidget());
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tarvelo"));
    QCOMPARE(about.findChild<QLabel*>("m_pLabelVersion")->text(), QStringLiteral("0.8.0"));
    const QString platform = about.findChild<QLabel*>("m_pLabelPlattform")->text();
#if defined(Q_OS_LINUX)
    QCOMPARE(platform, QStringLiteral("Linux"));
#else
    QVERIFY(!platform.isEmpty());
#endif
    for (QLabel* label : about.findChildren<QLabel*>()) {
        QVERIFY2(label->text() != QStringLiteral("unset"), qPrintable(label->objectName()));
        QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
    }
    QCOMPARE(about.findChild<QLabel*>("label")->text(), QStringLiteral("Version: "));
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Column widths of the main window's tables: as wide as their contents, and within the view
// where the cells leave room for it; once the user sizes a column, as the user left them.
#include "app/tablecolumnfitter.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class TableColumnFitterTest : public QObject
{
    Q_OBJECT

private slots:
    void fitsTheView_data();
    void fitsTheView();
    void followsTheViewWidth();
    void wrappedTitlesGetTheirLines();
    void userWidthsAreKept_data();
    void userWidthsAreKept();
};

namespace
{
// A table of three columns with the given titles and one cell text for every row.
void fill(QStandardItemModel* model, const QStringList& titles, const QString& cell)
{
    model->setColumnCount(titles.size());
    model->setHorizontalHeaderLabels(titles);
    for (int row = 0; row < 5; ++row) {
        QList<QStandardItem*> items;
        for (int c = 0; c < titles.size(); ++c)
            items << new QStandardItem(cell);
        model->appendRow(items);
    }
}

// Three long titles over short cells, in a wide view of its own.
void fillWide(QStandardItemModel* model, QTableView* view)
{
    fill(model, {"A rather long column title", "Another long column title", "Third title"},
         QStringLiteral("1 %"));
    view->horizontalHeader()->setStretchLastSection(false);
    view->setModel(model);
    view->resize(900, 300);
}

int sum(const QTableView& view)
{
    int total = 0;
    for (int c = 0; c < view.model()->columnCount(); ++c)
        total += view.columnWidth(c);
    return total;
}
} // namespace

void TableColumnFitterTest::fitsTheView_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("asContents"); // exactly what resizeColumnsToContents gives
    QTest::addColumn<bool>("fits");

    const QStringList longTitles = {"A rather long column title", "Another long column title",
                                    "Yet another long title here"};
    QTest::newRow("room for everything")
        << QStringList{"A", "B", "C"} << "12.5 A" << 600 << true << true;
    QTest::newRow("titles wider than the view") << longTitles << "1 %" << 300 << false << true;
    QTest::newRow("cells wider than the view")
        << QStringList{"A", "B", "C"} << "a cell with a great deal of text in it" << 200 << false
        << false;
}

void TableColumnFitterTest::fitsTheView()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, cell);
    QFETCH(int, width);
    QFETCH(bool, asContents);
    QFETCH(bool, fits);

    QStandardItemModel model;
    fill(&model, titles, cell);
    QTableView view;
    view.horizontalHeader()->setStretchLastSection(false);
    view.setModel(&model);
    view.resize(width, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    view.resizeColumnsToContents();
    QVector<int> contents;
    for (int c = 0; c < titles.size(); ++c)
        contents << view.columnWidth(c);

    auto* fitter = new TableColumnFitter(&view);
    fitter->fit();
    const QAbstractItemView* base = &view;
    for (int c = 0; c < titles.size(); ++c) {
        // A cell never loses room.
        QVERIFY(view.columnWidth(c) >= base->sizeHintForColumn(c));
        if (asContents)
            QCOMPARE(view.columnWidth(c), contents[c]);
    }
    QCOMPARE(sum(view) <= view.viewport()->width(), fits);
}

void TableColumnFitterTest::followsTheViewWidth()
{
    QStandardItemModel model;
    QTableView view;
    fillWide(&model, &view);
    new TableColumnFitter(&view);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const int wide = sum(view);
    view.resize(300, 300);
    QTRY_VERIFY(sum(view) <= view.viewport()->width());
    QVERIFY(sum(view) < wide);
}

void TableColumnFitterTest::wrappedTitlesGetTheirLines()
{
    QStandardItemModel model;
    fill(&model, {"A rather long column title", "Another long column title", "Third title"},
         QStringLiteral("1 %"));
    QTableView view;
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    view.setModel(&model);
    view.resize(900, 300);
    auto* fitter = new TableColumnFitter(&view);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    fitter->fit();
    const int oneLine = view.horizontalHeader()->height();
    view.resize(200, 300);
    QTRY_VERIFY(sum(view) <= view.viewport()->width());
    const int lineSpacing = QFontMetrics(view.horizontalHeader()->font()).lineSpacing();
    QTRY_VERIFY(view.horizontalHeader()->height() >= oneLine + lineSpacing);
    // Wide again: one line is enough.
    view.resize(900, 300);
    QTRY_COMPARE(view.horizontalHeader()->height(), oneLine);
}

void TableColumnFitterTest::userWidthsAreKept_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("given"); // handed to setUserWidths
    QTest::addColumn<bool>("kept");
    QTest::newRow("the edge of a title dragged") << "drag" << QList<int>() << true;
    QTest::newRow("the edge of a title double-clicked") << "double-click" << QList<int>() << true;
    QTest::newRow("a title clicked") << "click" << QList<int>() << false;
    QTest::newRow("remembered") << "" << QList<int>{200, 150, 120} << true;
    QTest::newRow("remembered for other columns") << "" << QList<int>{200, 150} << false;
}

void TableColumnFitterTest::userWidthsAreKept()
{
    QFETCH(QString, how);
    QFETCH(QList<int>, given);
    QFETCH(bool, kept);

    QStandardItemModel model;
    QTableView view;
    fillWide(&model, &view);
    auto* fitter = new TableColumnFitter(&view);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    fitter->fit();
    if (!given.isEmpty())
        fitter->setUserWidths(given);

    QHeaderView* header = view.horizontalHeader();
    QWidget* titles = header->viewport();
    const int fitted = header->sectionSize(0);
    const QPoint edge(header->sectionViewportPosition(0) + fitted - 1, header->height() / 2);
    if (how == QLatin1String("drag")) {
        QTest::mousePress(titles, Qt::LeftButton, Qt::NoModifier, edge);
        QTest::mouseMove(titles, edge + QPoint(60, 0));
        QTest::mouseRelease(titles, Qt::LeftButton, Qt::NoModifier, edge + QPoint(60, 0));
        QCOMPARE(header->sectionSize(0), fitted + 60);
    } else if (how == QLatin1String("double-click")) {
        QTest::mouseDClick(titles, Qt::LeftButton, Qt::NoModifier, edge);
    } else if (how == QLatin1String("click")) {
        QTest::mouseClick(titles, Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(1) + 10, edge.y()));
    }
    QList<int> before;
    for (int c = 0; c < 3; ++c)
        before << view.columnWidth(c);
    QCOMPARE(fitter->userWidths().isEmpty(), !kept && given.size() != 2);

    // Narrow: the fitter squeezes the columns into the view, unless they are the user's.
    view.resize(300, 300);
    if (kept) {
        QTest::qWait(300);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(view.columnWidth(c), before[c]);
        QVERIFY(sum(view) > view.viewport()->width());
        QCOMPARE(fitter->userWidths(), before);
    } else {
        QTRY_VERIFY(sum(view) <= view.viewport()->width());
    }
}

QTEST_MAIN(TableColumnFitterTest)
#include "tst_tablecolumnfitter.moc"

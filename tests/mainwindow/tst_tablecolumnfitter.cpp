// Column widths of the main window's tables: as wide as their contents, and within the view
// where the cells leave room for it.
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
    fill(&model, {"A rather long column title", "Another long column title", "Third title"},
         QStringLiteral("1 %"));
    QTableView view;
    view.horizontalHeader()->setStretchLastSection(false);
    view.setModel(&model);
    view.resize(900, 300);
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

QTEST_MAIN(TableColumnFitterTest)
#include "tst_tablecolumnfitter.moc"

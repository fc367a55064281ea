#include "skinwnd/forms/acListViewWnd.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acGridWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acTreeViewWnd.h"

#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QTableWidget>
#include <QTreeWidget>

using namespace adaptertest;

namespace {

// A report list of three columns whose last column was dragged to the
// front, sorted down by its second column.
struct ListForm {
    QWidget form;
    QTreeWidget* list;
    std::unique_ptr<TsCommonData> data;
    explicit ListForm(int columns = 3)
    {
        form.resize(360, 160);
        list = new QTreeWidget(&form);
        list->setGeometry(10, 10, 330, 130);
        list->setFocusPolicy(Qt::NoFocus);
        list->setRootIsDecorated(false);
        list->setColumnCount(columns);
        if (columns == 3) {
            list->setHeaderLabels({"Name", "Size", "Date"});
            for (int i = 0; i < 3; ++i)
                list->header()->resizeSection(i, 90);
            list->header()->moveSection(2, 0);
            list->header()->setSortIndicatorShown(true);
            list->header()->setSortIndicator(1, Qt::DescendingOrder);
            list->addTopLevelItem(new QTreeWidgetItem(QStringList{"chip.bin", "256", "today"}));
        }
        list->header()->setStretchLastSection(false);
        data = std::make_unique<TsCommonData>(list, true);
        form.show();
        QApplication::processEvents();
    }
    QWidget* HeaderViewport() { return list->header()->viewport(); }
    QImage HeaderImage() { return Grab(*list->header()); }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
    {
        QMouseEvent e(type, QPointF(at), QPointF(HeaderViewport()->mapToGlobal(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(HeaderViewport(), &e);
    }
};

TacListViewWnd* Adapt(ListForm& f)
{
    return TacMainWnd::Create<TacListViewWnd>(f.list, true, "", nullptr, f.data.get());
}

void Free(QWidget* w, TacMainWnd* adapter) { DetachWnd(w, true, adapter); }

} // namespace

TEST(TacListViewWnd, ColumnsInVisualOrderWithSortMarkAndEmptyRest)
{
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    ListForm f;
    const QImage plain = f.HeaderImage();
    TacListViewWnd* adapter = Adapt(f);
    EXPECT_EQ(adapter->ViewStyle(), TacListViewWnd::vsReport);
    const std::vector<THeaderColumn> columns = adapter->HeaderColumns();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].Text, "Date");
    EXPECT_EQ(columns[1].Text, "Name");
    EXPECT_EQ(columns[2].Text, "Size");
    EXPECT_EQ(columns[0].Rect.left(), 0);
    EXPECT_EQ(columns[2].Sort, hdfSortDown);
    EXPECT_EQ(columns[1].Sort, hdfNoSort);
    EXPECT_EQ(columns[3].Text, "");
    EXPECT_EQ(columns[3].Rect.left(), 270);
    EXPECT_EQ(columns[3].Rect.right(), f.HeaderViewport()->width() - 1);

    const QImage img = f.HeaderImage();
    SaveScreenshot(img, "list_header");
    const int midY = img.height() / 2;
    // Each column and the rest have the section's frame on their left
    // edge and its face inside.
    for (int x : {0, 90, 180, 270})
        EXPECT_EQ(PixelAt(img, x, midY), p.Frame) << x;
    EXPECT_NE(PixelAt(img, 275, midY), PixelAt(plain, 275, midY));
    // The sort mark sits in the sorted column only.
    const THeaderLayout l = LayoutHeaderColumn(columns[2], 0, {}, HeaderSortGlyphSize(skin.manager.get(), hdfSortDown));
    ASSERT_FALSE(l.Glyph.isEmpty());
    EXPECT_GT(CountPixels(img, p.Text, l.Glyph), 0);
    EXPECT_GT(CountPixels(img, skin.Section("COLHEADER").FontColor, columns[0].Rect), 0);

    Free(f.list, adapter);
    EXPECT_EQ(f.HeaderImage(), plain);
}

TEST(TacListViewWnd, HotAndPressedColumns)
{
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    ListForm f;
    TacListViewWnd* adapter = Adapt(f);
    const int y = f.HeaderViewport()->height() / 2;
    const TColor normalFace = PixelAt(f.HeaderImage(), 95, 3);
    // Visual order Date (logical 2), Name (0), Size (1), 90 pixels each.
    struct Case {
        const char* what;
        QEvent::Type type;
        int x;
        Qt::MouseButton button;
        int hot, down;
        int paintedX;   // a column edge
        TColor border;  // its frame colour then
    };
    const Case cases[] = {
        {"mouse over the first column", QEvent::MouseMove, 40, Qt::NoButton, 2, -1, 0, p.Accent},
        // The third column shows at the first's logical index: still the
        // column under the mouse that lights up.
        {"over the third", QEvent::MouseMove, 220, Qt::NoButton, 1, -1, 180, p.Accent},
        {"back over the first", QEvent::MouseMove, 40, Qt::NoButton, 2, -1, 180, p.Frame},
        {"over the second", QEvent::MouseMove, 130, Qt::NoButton, 0, -1, 0, p.Frame},
        {"pressed", QEvent::MouseButtonPress, 130, Qt::LeftButton, 0, 0, 90, p.Frame},
        {"released", QEvent::MouseButtonRelease, 130, Qt::LeftButton, 0, -1, 90, p.Accent},
        {"pressed on a divider", QEvent::MouseButtonPress, 179, Qt::LeftButton, 0, -1, 90, p.Accent},
        {"released again", QEvent::MouseButtonRelease, 179, Qt::LeftButton, 0, -1, 90, p.Accent},
        {"past the columns", QEvent::MouseMove, 300, Qt::NoButton, -1, -1, 90, p.Frame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.Mouse(c.type, {c.x, y}, c.button);
        EXPECT_EQ(adapter->HotColumnIndex, c.hot);
        EXPECT_EQ(adapter->DownColumnIndex, c.down);
        const QImage img = f.HeaderImage();
        EXPECT_EQ(PixelAt(img, c.paintedX, y), c.border);
        if (c.down >= 0) {
            EXPECT_NE(PixelAt(img, 95, 3), normalFace);
        }
    }
    f.Mouse(QEvent::MouseMove, {40, y});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.HeaderViewport(), &leave);
    EXPECT_EQ(adapter->HotColumnIndex, -1);
    Free(f.list, adapter);
}

TEST(TacListViewWnd, HeaderWithoutColumnsIsOneEmptyColumn)
{
    SkinScope skin;
    // One column, hidden: the header keeps its height and shows none.
    ListForm f(1);
    f.list->header()->hideSection(0);
    QApplication::processEvents();
    TacListViewWnd* adapter = Adapt(f);
    const std::vector<THeaderColumn> columns = adapter->HeaderColumns();
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0].Rect, f.HeaderViewport()->rect());
    // Qt gives such a header no height; with one, the column is painted.
    THeaderColumn rest = columns[0];
    rest.Rect.setHeight(24);
    QImage img(rest.Rect.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter painter(&img);
    PaintHeaderColumn(painter, rest, skin.manager.get(), clWhite, QFont(), {16, 16});
    painter.end();
    EXPECT_EQ(PixelAt(img, 0, img.height() / 2), ProjectPalette().Frame);
    Free(f.list, adapter);
}

TEST(TacListViewWnd, ViewStyles)
{
    SkinScope skin;
    QWidget form;
    struct Case {
        const char* what;
        std::function<QWidget*()> make;
        TacListViewWnd::TViewStyle style;
    };
    const Case cases[] = {
        {"tree with header", [&] { return new QTreeWidget(&form); }, TacListViewWnd::vsReport},
        {"tree without header",
         [&] {
             auto* t = new QTreeWidget(&form);
             t->setHeaderHidden(true);
             return t;
         },
         TacListViewWnd::vsList},
        {"list", [&] { return new QListView(&form); }, TacListViewWnd::vsList},
        {"icons",
         [&] {
             auto* l = new QListView(&form);
             l->setViewMode(QListView::IconMode);
             return l;
         },
         TacListViewWnd::vsIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget* w = c.make();
        TacListViewWnd* adapter = TacMainWnd::Create<TacListViewWnd>(w);
        EXPECT_EQ(adapter->ViewStyle(), c.style);
        Free(w, adapter);
    }
}

TEST(TacGridWnd, FixedCellsInGlobalColoursLinesAndSelectionKept)
{
    SkinScope skin;
    QWidget form;
    form.resize(300, 160);
    auto* table = new QTableWidget(3, 3, &form);
    table->setGeometry(10, 10, 280, 140);
    table->setFocusPolicy(Qt::NoFocus);
    form.show();
    QApplication::processEvents();
    const QImage plain = Grab(*table);
    const QPalette plainTable = table->palette(), plainHeader = table->horizontalHeader()->palette();
    TsCommonData data(table, true);
    TacMainWnd* adapter = TacMainWnd::Create<TacGridWnd>(table, true, "", nullptr, &data);
    Grab(*table);
    EXPECT_EQ(ColorFromQColor(table->horizontalHeader()->palette().color(QPalette::Button)),
              skin.manager->GetGlobalColor());
    EXPECT_EQ(ColorFromQColor(table->verticalHeader()->palette().color(QPalette::ButtonText)),
              skin.manager->GetGlobalFontColor());
    EXPECT_EQ(table->palette().color(QPalette::Highlight), plainTable.color(QPalette::Highlight));
    EXPECT_EQ(table->palette().color(QPalette::HighlightedText), plainTable.color(QPalette::HighlightedText));
    EXPECT_EQ(PixelAt(Grab(*table), 0, 70), ProjectPalette().Frame);
    Free(table, adapter);
    EXPECT_EQ(table->palette(), plainTable);
    EXPECT_EQ(table->horizontalHeader()->palette(), plainHeader);
    EXPECT_FALSE(table->horizontalHeader()->testAttribute(Qt::WA_SetPalette));
    EXPECT_EQ(Grab(*table), plain);
}

TEST(TacTreeViewWnd, SectionColourAndWindowColourInDialogs)
{
    SkinScope skin;
    for (bool dialog : {false, true}) {
        SCOPED_TRACE(dialog ? "in a dialog" : "on a form");
        QWidget form;
        auto* tree = new QTreeWidget(&form);
        tree->setHeaderHidden(true);
        form.show();
        TsCommonData data(tree, true);
        auto* adapter = TacMainWnd::Create<TacTreeViewWnd>(tree, true, "", nullptr, &data);
        adapter->DialogMode = dialog;
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(tree, &in);
        Grab(*tree);
        EXPECT_EQ(ColorFromQColor(tree->palette().color(QPalette::Base)),
                  dialog ? clWindow() : skin.Section("EDIT").Color);
        TacMainWnd* base = adapter;
        Free(tree, base);
    }
}

TEST(TacListViewWnd, OwnColoursComeBackOnDetach)
{
    // A list or tree with colours of its own gets exactly those back, not
    // the system's window colours.
    SkinScope skin;
    struct Case {
        const char* what;
        bool tree;
    };
    for (const Case& c : {Case{"list view", false}, Case{"tree view", true}}) {
        SCOPED_TRACE(c.what);
        ListForm f;
        QPalette own = f.list->palette();
        own.setColor(QPalette::Text, QColor(200, 0, 0));
        own.setColor(QPalette::Base, QColor(255, 250, 200));
        f.list->setPalette(own);
        const QPalette before = f.list->palette();
        TacMainWnd* adapter = c.tree ? static_cast<TacMainWnd*>(TacMainWnd::Create<TacTreeViewWnd>(f.list, true, "", nullptr, f.data.get()))
                                     : Adapt(f);
        Grab(*f.list);
        EXPECT_EQ(ColorFromQColor(f.list->palette().color(QPalette::Text)), skin.Section("EDIT").FontColor);
        skin.manager->SetActive(false);
        EXPECT_EQ(f.list->palette(), before);
        skin.manager->SetActive(true);
        Grab(*f.list);
        EXPECT_EQ(ColorFromQColor(f.list->palette().color(QPalette::Base)), skin.Section("EDIT").Color);
        Free(f.list, adapter);
        EXPECT_EQ(f.list->palette(), before);
        EXPECT_TRUE(f.list->testAttribute(Qt::WA_SetPalette));
    }
}

TEST(TacListViewWnd, ReplacedHeaderIsPaintedTheSameWay)
{
    // The old header goes while the list's adapter follows its children:
    // the adapter must not take the header on its way out for the new one.
    SkinScope skin;
    const TSkinPalette p = ProjectPalette();
    ListForm f;
    TacListViewWnd* adapter = Adapt(f);
    ASSERT_EQ(PixelAt(f.HeaderImage(), 0, f.HeaderImage().height() / 2), p.Frame);
    auto* header = new QHeaderView(Qt::Horizontal);
    header->setStretchLastSection(false);
    f.list->setHeader(header);
    for (int i = 0; i < 3; ++i)
        header->resizeSection(i, 90);
    header->show();
    const QImage img = f.HeaderImage();
    EXPECT_EQ(adapter->HeaderWnd(), header);
    for (int x : {0, 90, 180, 270})
        EXPECT_EQ(PixelAt(img, x, img.height() / 2), p.Frame) << x;
    EXPECT_EQ(adapter->HeaderColumns().size(), 4u);
    Free(f.list, adapter);
}

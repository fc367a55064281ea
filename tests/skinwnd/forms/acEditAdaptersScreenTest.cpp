// A form with every edit and list adapter at work: a line edit, a
// multi-line edit with skinned bars, a combo box (also dropped down), a
// list with a column header and a table, painted by the project skin,
// switched to the packed skin, to no skin and back. The pictures are saved
// for a person to look at when TARKU_SCREENSHOTS names a folder.
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acComboBoxWnd.h"
#include "skinwnd/forms/acGridWnd.h"
#include "skinwnd/forms/acListViewWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acScrollWnd.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>

#include <map>

using namespace adaptertest;

namespace {

struct AdaptedForm {
    QWidget form;
    QLineEdit* line;
    QPlainTextEdit* memo;
    QComboBox* combo;
    QTreeWidget* list;
    QTableWidget* table;
    std::vector<std::unique_ptr<TsCommonData>> data;
    std::vector<std::pair<QWidget*, TacMainWnd*>> adapters;

    AdaptedForm()
    {
        form.resize(560, 330);
        line = new QLineEdit("A line edit", &form);
        line->setGeometry(12, 12, 250, 26);
        combo = new QComboBox(&form);
        combo->addItems({"24C02", "24C04", "24C08", "24C16"});
        combo->setGeometry(12, 48, 250, 26);
        memo = new QPlainTextEdit(&form);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        QString text;
        for (int i = 1; i <= 40; ++i)
            text += QString("Line %1 of a text that is wider than its window\n").arg(i);
        memo->setPlainText(text);
        memo->setGeometry(12, 84, 250, 230);
        list = new QTreeWidget(&form);
        list->setRootIsDecorated(false);
        list->setHeaderLabels({"Chip", "Size", "Maker"});
        list->header()->setSortIndicatorShown(true);
        list->header()->setSortIndicator(0, Qt::AscendingOrder);
        for (auto [chip, size] : {std::pair{"24C02", "256"}, {"24C04", "512"}, {"93C46", "128"}})
            list->addTopLevelItem(new QTreeWidgetItem(QStringList{chip, size, "-"}));
        list->setGeometry(276, 12, 270, 140);
        table = new QTableWidget(4, 3, &form);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c)
                table->setItem(r, c, new QTableWidgetItem(QString::number(r * 16 + c, 16)));
        table->setGeometry(276, 164, 270, 150);
        for (QWidget* w : std::initializer_list<QWidget*>{line, combo, memo, list, table})
            w->setFocusPolicy(Qt::NoFocus);
        form.show();
        QApplication::processEvents();
    }
    ~AdaptedForm()
    {
        for (auto& [w, adapter] : adapters)
            DetachScrollWnd(w, true, adapter);
    }
    template <class T>
    void Adapt(QWidget* w)
    {
        data.push_back(std::make_unique<TsCommonData>(w, true));
        adapters.emplace_back(w, TacMainWnd::Create<T>(w, true, "", nullptr, data.back().get()));
    }
    void AdaptAll()
    {
        Adapt<TacEditWnd>(line);
        Adapt<TacComboBoxWnd>(combo);
        Adapt<TacEditWnd>(memo);
        Adapt<TacListViewWnd>(list);
        Adapt<TacGridWnd>(table);
    }
    QImage Image() { return Grab(form); }
};

// Fixed places of the form: the frames of the line edit, the combo box,
// the memo, the list and the table, the combo's button, the memo's
// vertical bar and a column of the list's header.
std::map<std::string, QPoint> Probes(AdaptedForm& f)
{
    const QRect bar = f.memo->verticalScrollBar()->geometry().translated(f.memo->pos());
    const QPoint header = f.list->header()->geometry().translated(f.list->pos()).topLeft();
    return {
        {"line edit frame", f.line->geometry().topLeft() + QPoint(0, 13)},
        {"combo frame", f.combo->geometry().topLeft() + QPoint(0, 13)},
        {"combo button", f.combo->geometry().topLeft() + QPoint(f.combo->width() - 2 - ScrollBarWidth, 13)},
        {"memo frame", f.memo->geometry().topLeft() + QPoint(0, 60)},
        {"memo bar", bar.center() + QPoint(0, bar.height() / 2 - 4)},
        {"list frame", f.list->geometry().topLeft() + QPoint(0, 70)},
        {"header column", header + QPoint(f.list->header()->sectionSize(0), 10)},
        {"table frame", f.table->geometry().topLeft() + QPoint(0, 70)},
    };
}

std::map<std::string, TColor> Sample(AdaptedForm& f)
{
    const QImage img = f.Image();
    std::map<std::string, TColor> seen;
    for (const auto& [name, point] : Probes(f))
        seen[name] = PixelAt(img, point.x(), point.y());
    return seen;
}

} // namespace

TEST(EditAdaptersScreen, SkinSwitchRepaintsEveryAdapterAndNoneRestores)
{
    SkinScope skin;
    AdaptedForm f;
    // Without adapters, with the skin loaded: the plain look.
    const QImage plainImage = f.Image();
    const std::map<std::string, TColor> plain = Sample(f);
    std::map<QWidget*, QPalette> plainPalettes;
    for (QWidget* w : f.form.findChildren<QWidget*>())
        plainPalettes[w] = w->palette();

    f.AdaptAll();
    const std::map<std::string, TColor> project = Sample(f);
    SaveScreenshot(f.Image(), "edit_adapters_project");
    EXPECT_EQ(project.at("line edit frame"), ProjectPalette().Frame);
    EXPECT_EQ(project.at("memo frame"), ProjectPalette().Frame);
    ASSERT_TRUE(f.memo->verticalScrollBar()->isVisible());

    f.combo->showPopup();
    QApplication::processEvents();
    // The form with the dropped-down list laid over it where it shows.
    QWidget* popup = f.combo->view()->window();
    QImage open = f.Image();
    QPainter painter(&open);
    painter.drawImage(popup->mapToGlobal(QPoint()) - f.form.mapToGlobal(QPoint()), Grab(*popup));
    painter.end();
    SaveScreenshot(open, "edit_adapters_combo_open");
    f.combo->hidePopup();

    skin.manager->SetSkinName("Dusk");
    ASSERT_TRUE(skin.manager->Packed());
    const std::map<std::string, TColor> packed = Sample(f);
    SaveScreenshot(f.Image(), "edit_adapters_packed");
    for (const auto& [name, colour] : project) {
        SCOPED_TRACE(name);
        EXPECT_NE(packed.at(name), colour);
    }

    skin.manager->SetActive(false);
    EXPECT_EQ(Sample(f), plain);
    for (const auto& [w, palette] : plainPalettes)
        EXPECT_EQ(w->palette(), palette) << w->metaObject()->className();
    EXPECT_EQ(f.Image(), plainImage);
    SaveScreenshot(f.Image(), "edit_adapters_none");

    skin.manager->SetSkinName("Tarku");
    skin.manager->SetActive(true);
    EXPECT_EQ(Sample(f), project);
}

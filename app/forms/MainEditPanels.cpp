// The buffer commands behind labels and panels: the address label (go to
// address), the data label (insert) and the marker panel.
#include "app/forms/MainEdit.h"

#include "app/forms/Main.h"
#include "buffer/forms/ColorRef.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QToolButton>

namespace {

// The colour panels in their order on the panel; the tag is the marker
// value a press applies.
struct TMarkerPanel {
    const char* Name;
    int Tag;
};
constexpr TMarkerPanel MarkerPanels[] = {{"Panel16", 0}, {"Panel11", 1}, {"Panel12", 2}, {"Panel13", 3},
                                         {"Panel14", 4}, {"Panel15", 5}, {"Panel17", 6}, {"Panel18", 7}};

} // namespace

void TMainEdit::BuildMarkerPanel()
{
    pnMarkers = new QFrame(form_.Panel2->parentWidget());
    pnMarkers->setObjectName("pnMarkers");
    auto* row = new QHBoxLayout(pnMarkers);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(3);
    for (const TMarkerPanel& panel : MarkerPanels) {
        auto* frame = new QFrame(pnMarkers);
        frame->setObjectName(panel.Name);
        frame->setProperty("Tag", panel.Tag);
        frame->setFrameShape(QFrame::Box);
        frame->setFixedSize(22, 18);
        frame->setAutoFillBackground(true);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window, ToQColor(MarkerColor(uint8_t(panel.Tag))));
        frame->setPalette(palette);
        frame->setCursor(Qt::PointingHandCursor);
        frame->installEventFilter(this);
        row->addWidget(frame);
    }
    auto* close = new QToolButton(pnMarkers);
    close->setObjectName("Button8");
    close->setText(QStringLiteral("X"));
    close->setAutoRaise(true);
    row->addWidget(close);
    row->addStretch(1);
    if (auto* layout = qobject_cast<QBoxLayout*>(form_.Panel2->parentWidget()->layout()))
        layout->insertWidget(layout->indexOf(form_.Panel2), pnMarkers);
    connect(close, &QToolButton::clicked, this, [this] { SetMarkersPanelVisible(false); });
    form_.SetCommandHandler("mmMarkers",
                            [this] { SetMarkersPanelVisible(!(WorkParam & wpMarkersPanelVisible)); });
    connect(form_.mmView, &QMenu::aboutToShow, this,
            [this] { form_.Command("mmMarkers")->setChecked(pnMarkers->isVisibleTo(&form_)); });
    SetMarkersPanelVisible(WorkParam & wpMarkersPanelVisible);
}

void TMainEdit::SetMarkersPanelVisible(bool visible)
{
    WorkParam = visible ? WorkParam | wpMarkersPanelVisible : WorkParam & ~wpMarkersPanelVisible;
    pnMarkers->setVisible(visible);
    form_.Command("mmMarkers")->setChecked(visible);
}

bool TMainEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (form_.RunActive())
        return false;
    if (watched == form_.AdrLabel && button == Qt::LeftButton)
        GotoAddressClick();
    else if (watched == form_.DataLabel && button == Qt::LeftButton)
        InsertClick();
    else if (watched->property("Tag").isValid() && button == Qt::LeftButton)
        MarkerPanelPressed(watched->property("Tag").toInt());
    return false;
}

void TMainEdit::MarkerPanelPressed(int tag)
{
    THexDump& view = *form_.HexDump1;
    if (view.Buffer().Empty())
        return;
    view.Edit().SetMarker(tag);
    view.Paint();
}

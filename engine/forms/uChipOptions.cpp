#include "engine/forms/uChipOptions.h"

#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int defaultWidth = 320;
constexpr int defaultClientHeight = 200;
constexpr int panelMargin = 4;
// Room kept right of the rightmost control.
constexpr int rightMargin = 16;

} // namespace

std::optional<TChipOptionsHeights> ChipOptionsHeights(const std::vector<int>& tops)
{
    if (tops.empty())
        return std::nullopt;
    const int t = *std::max_element(tops.begin(), tops.end());
    return TChipOptionsHeights{t + 75, t + 30};
}

TfmChipOptions::TfmChipOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmChipOptions");
    setWindowTitle("Parameters");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->installEventFilter(this);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TfmChipOptions::Button1Click);

    resize(defaultWidth, defaultClientHeight);
    Panel1->setGeometry(panelMargin, panelMargin, defaultWidth - 2 * panelMargin, defaultClientHeight - 45);
    placeButton();
}

void TfmChipOptions::FormShow()
{
    std::vector<int> tops;
    int right = 0;
    for (QWidget* control : Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->objectName().isEmpty())
            continue;
        control->show();
        tops.push_back(control->y());
        right = std::max(right, control->geometry().right() + 1);
    }
    const auto heights = ChipOptionsHeights(tops);
    if (!heights)
        return;
    // The loader places controls by coordinates, so the window widens
    // rather than cut off a control beyond its edge.
    const int width = std::max(defaultWidth, right + rightMargin + 2 * panelMargin);
    setFixedSize(width, heights->ClientHeight);
    Panel1->setGeometry(panelMargin, panelMargin, width - 2 * panelMargin, heights->PanelHeight);
    placeButton();
}

void TfmChipOptions::placeButton()
{
    const QSize size = Button1->sizeHint().expandedTo(QSize(80, 0));
    const int below = Panel1->geometry().bottom() + 1;
    const int room = height() - below;
    Button1->setGeometry((width() - size.width()) / 2, below + std::max(0, (room - size.height()) / 2), size.width(),
                         size.height());
}

void TfmChipOptions::Button1Click() { close(); }

void TfmChipOptions::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

bool TfmChipOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel1 && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            emit Panel1CtrlClick(mouse->position().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

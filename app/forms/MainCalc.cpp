// The calculator panel's construction and layout.
#include "app/forms/MainCalc.h"

#include "calc/forms/DevView.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"
#include "skin/forms/sTreeView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int ButtonGap = 3;

QString Text(const TLanguageGroup& group, int offset, const char* own)
{
    return Cp1251ToQString(group.Text(offset, own));
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

// Two buttons side by side in the middle of their panel, 3 pixels apart.
void CentrePair(QPushButton* left, QPushButton* right, int width, int top)
{
    const int x = (width - left->width() - right->width() - ButtonGap) / 2;
    left->move(x, top);
    right->move(x + left->width() + ButtonGap, top);
}

} // namespace

TCalcPanel::TCalcPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("CalcPanel");
    setWindowTitle(QStringLiteral("Calculators"));
    BuildHeader();
    CalcTree = new TDeviceView;
    CalcTree->setObjectName("CalcTree");
    Panel6 = new QWidget;
    Panel6->setObjectName("Panel6");
    auto* stack = new QStackedLayout(Panel6);
    stack->setStackingMode(QStackedLayout::StackOne);
    BuildCalcArea();
    BuildInfoArea();
    stack->addWidget(pnCalcInfo);
    stack->addWidget(clcPanel);
    Splitter5 = new QSplitter(Qt::Vertical);
    Splitter5->setObjectName("Splitter5");
    Splitter5->setChildrenCollapsible(false);
    Splitter5->addWidget(CalcTree);
    Splitter5->addWidget(Panel6);
    Splitter5->setStretchFactor(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel18);
    layout->addWidget(Splitter5, 1);
    ShowCalcArea(false);

    QTreeWidget* tree = CalcTree->Tree;
    connect(tree, &QTreeWidget::currentItemChanged, this, [this] { ChooseCalculator(); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] { OpenChosenCalculator(); });
    tree->viewport()->installEventFilter(this);
    lbRefreshCalcs->installEventFilter(this);
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    connect(btCalcImage, &QPushButton::clicked, this, [this] { ShowCalculatorPicture(); });
    connect(btSaveCalcInfo, &QPushButton::clicked, this, [this] { btSaveCalcInfoClick(); });
    connect(memCalcInfo, &QPlainTextEdit::textChanged, this, [this] { btSaveCalcInfo->setEnabled(true); });
}

void TCalcPanel::BuildHeader()
{
    Panel18 = new QWidget;
    Panel18->setObjectName("Panel18");
    GLabel3 = new QLabel(" " + Cp1251ToQString(WithoutFirstAmpersand(
                                   TLanguageGroup("[MAIN_MENU]").Text(4, "&Calculators"))));
    GLabel3->setObjectName("GLabel3");
    QFont bold = GLabel3->font();
    bold.setBold(true);
    GLabel3->setFont(bold);
    lbRefreshCalcs = new QLabel(" " + Text(TLanguageGroup("[COMMON_BUTTONS]"), 16, "Refresh") + " ");
    lbRefreshCalcs->setObjectName("lbRefreshCalcs");
    lbRefreshCalcs->setCursor(Qt::PointingHandCursor);
    lbRefreshCalcs->setStyleSheet("QLabel { color: palette(link); text-decoration: underline; }");
    auto* row = new QHBoxLayout(Panel18);
    row->setContentsMargins(2, 3, 2, 3);
    row->addWidget(GLabel3);
    row->addStretch(1);
    row->addWidget(lbRefreshCalcs);
}

void TCalcPanel::BuildCalcArea()
{
    const TLanguageGroup buttons("[COMMON_BUTTONS]");
    clcPanel = new QWidget;
    clcPanel->setObjectName("clcPanel");
    lbCalcCaption = new QLabel(clcPanel);
    lbCalcCaption->setObjectName("lbCalcCaption");
    lbCalcCaption->setAlignment(Qt::AlignCenter);
    QFont bold = lbCalcCaption->font();
    bold.setBold(true);
    lbCalcCaption->setFont(bold);
    pnCalc = new QWidget(clcPanel);
    pnCalc->setObjectName("pnCalc");
    Button6 = Button(clcPanel, "Button6", Text(buttons, 1, "Apply"));
    Button7 = Button(clcPanel, "Button7", Text(buttons, 4, "Close"));
}

void TCalcPanel::BuildInfoArea()
{
    pnCalcInfo = new QWidget;
    pnCalcInfo->setObjectName("pnCalcInfo");
    memCalcInfo = new QPlainTextEdit;
    memCalcInfo->setObjectName("memCalcInfo");
    memCalcInfo->setEnabled(false);
    Panel9 = new QWidget;
    Panel9->setObjectName("Panel9");
    Panel9->setFixedHeight(34);
    btCalcImage = Button(Panel9, "btCalcImage", Text(TLanguageGroup("[CALC_TREE]"), 2, "Picture"));
    btSaveCalcInfo = Button(Panel9, "btSaveCalcInfo", Text(TLanguageGroup("[COMMON_BUTTONS]"), 15, "Save"));
    btCalcImage->setEnabled(false);
    btSaveCalcInfo->setEnabled(false);
    auto* layout = new QVBoxLayout(pnCalcInfo);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(memCalcInfo, 1);
    layout->addWidget(Panel9);
    Panel9->installEventFilter(this);
    clcPanel->installEventFilter(this);
}

void TCalcPanel::ShowCalcArea(bool calc)
{
    auto* stack = static_cast<QStackedLayout*>(Panel6->layout());
    stack->setCurrentWidget(calc ? clcPanel : pnCalcInfo);
    PlaceButtons();
}

// The caption on top, the calculator's controls below it and the buttons
// at the foot: pnCalc takes the area's height less 42.
void TCalcPanel::PlaceButtons()
{
    const int width = clcPanel->width();
    const int height = clcPanel->height();
    const int caption = lbCalcCaption->sizeHint().height();
    lbCalcCaption->setGeometry(0, 0, width, caption);
    pnCalc->setGeometry(0, caption, width, std::max(0, height - 42 - caption));
    CentrePair(Button6, Button7, width, height - 36);
    CentrePair(btCalcImage, btSaveCalcInfo, Panel9->width(), (Panel9->height() - btCalcImage->height()) / 2);
}

void TCalcPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceButtons();
}

bool TCalcPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && (watched == clcPanel || watched == Panel9))
        PlaceButtons();
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    const auto button = static_cast<QMouseEvent*>(event)->button();
    if (watched == lbRefreshCalcs && button == Qt::LeftButton) {
        // After the press is done with, not inside it: a modal dialog follows.
        QTimer::singleShot(0, this, [this] { RefreshCalculatorIndex(); });
        return true;
    }
    // The tree moves its selection on this press first; the picture is then
    // the one of the item under the mouse.
    if (watched == CalcTree->Tree->viewport() && button == Qt::RightButton)
        QTimer::singleShot(0, this, [this] {
            if (btCalcImage->isEnabled())
                ShowCalculatorPicture();
        });
    return false;
}

void TCalcPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    shown_ = true;
}

int TCalcPanel::BottomHeight() const { return shown_ ? Panel6->height() : bottomHeight_; }

void TCalcPanel::SetBottomHeight(int height)
{
    bottomHeight_ = height;
    const int total = std::max(Splitter5->height(), height + 100);
    Splitter5->setSizes({total - height, height});
}

#include "engine/forms/uTest.h"

#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/forms/ButtonRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& s) { return Cp1251ToQString(s); }

QRect Rect(const TZone& z) { return QRect(z.Left, z.Top, z.Width(), z.Height()); }

const QColor Navy(0, 0, 128);
const QColor SupplyRed(200, 30, 30);
const QColor GroundBlue(30, 60, 160);

// The socket picture: a chip body with eight leads, each pin's picture
// showing where its line is switched, and the level and input digits.
class TSocketImage : public QWidget {
public:
    TSocketImage(TfmTest& form, QWidget* parent) : QWidget(parent), form_(form)
    {
        setFixedSize(THardwareTest::ImageWidth, THardwareTest::ImageHeight);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            form_.Image1MouseDown(e->position().toPoint().x(), e->position().toPoint().y());
    }

    void paintEvent(QPaintEvent*) override
    {
        const THardwareTest& t = form_.Test;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(236, 236, 236));
        // Chip body with its notch.
        const QRect body(112, 14, 134, 150);
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(70, 70, 70));
        p.drawRoundedRect(body, 4, 4);
        p.setBrush(QColor(236, 236, 236));
        p.drawChord(QRect(body.center().x() - 10, body.top() - 10, 20, 20), 180 * 16, 180 * 16);

        QFont small = font();
        small.setPixelSize(10);
        QFont digit = font();
        digit.setBold(true);
        digit.setPixelSize(16);
        for (int i = 0; i < 8; ++i) {
            const TTestPin& pin = t.Pins[static_cast<size_t>(i)];
            const QRect area = Rect(pin.Area);
            const bool right = i >= 4;
            // Lead from the pin picture to the body.
            const int y = area.center().y();
            p.fillRect(right ? QRect(body.right(), y - 3, area.left() - body.right(), 7)
                             : QRect(area.right(), y - 3, body.left() - area.right(), 7),
                       QColor(190, 190, 190));
            PaintPin(p, pin, small);
            // Pin number inside the body.
            p.setFont(small);
            p.setPen(QColor(220, 220, 220));
            const QRect input = Rect(pin.InputZone);
            p.drawText(right ? input.adjusted(-20, 0, -input.width(), 0) : input.adjusted(input.width(), 0, 20, 0),
                       Qt::AlignCenter, QString::number(i + 1));
            // Level digit and input digit.
            p.setFont(digit);
            const bool level = pin.Level != 0;
            p.setPen(level ? Qt::red : Navy);
            p.drawText(Rect(pin.LevelZone), Qt::AlignCenter, level ? "1" : "0");
            if (t.InputsKnown) {
                const bool in = (t.Inputs >> i) & 1;
                p.fillRect(input, Qt::white);
                p.setPen(in ? Qt::red : Navy);
                p.drawText(input, Qt::AlignCenter, in ? "1" : "0");
            }
        }
        if (!t.ImageEnabled)
            p.fillRect(rect(), QColor(236, 236, 236, 110));
    }

private:
    // A pin's picture: ground cell, supply cell, level cell; the cell of the
    // line's switch is filled.
    static void PaintPin(QPainter& p, const TTestPin& pin, const QFont& font)
    {
        const QRect area = Rect(pin.Area);
        p.setPen(QColor(150, 150, 150));
        p.setBrush(QColor(250, 250, 250));
        p.drawRoundedRect(area.adjusted(0, 0, -1, -1), 3, 3);
        p.setFont(font);
        const auto cell = [&](const TZone& z, const char* letter, bool on, const QColor& colour) {
            const QRect r = Rect(z);
            p.setPen(on ? colour : QColor(160, 160, 160));
            p.setBrush(on ? colour : QColor(255, 255, 255));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(on ? Qt::white : QColor(120, 120, 120));
            p.drawText(r, Qt::AlignCenter, letter);
        };
        cell(pin.GndZone, "G", pin.State == psGround, GroundBlue);
        cell(pin.VccZone, "V", pin.State == psSupply, SupplyRed);
        const QRect level = Rect(pin.LevelZone);
        p.setPen(QColor(160, 160, 160));
        p.setBrush(pin.State == psFree ? Qt::white : QColor(225, 225, 225));
        p.drawRect(level.adjusted(0, 0, -1, -1));
    }

    TfmTest& form_;
};

} // namespace

TfmTest::TfmTest(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmTest");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    Panel3 = new QWidget(this);
    Panel3->setObjectName("Panel3");
    Label16 = new QLabel("Power", Panel3);
    PowerBox = new QComboBox(Panel3);
    PowerBox->addItems({"Off", "On"});
    Label17 = new QLabel("Voltage", Panel3);
    ComboBox1 = new QComboBox(Panel3);
    ComboBox1->addItems({"2.8 V", "3.0 V", "3.3 V", "3.6 V", "4,0 V", "4.3 V", "4.6 V", "4.8 V", "5.0 V"});
    Image1 = new TSocketImage(*this, Panel3);
    Image1->setObjectName("Image1");
    auto* controls = new QHBoxLayout;
    controls->addStretch(1);
    controls->addWidget(Label16);
    controls->addWidget(PowerBox);
    controls->addSpacing(20);
    controls->addWidget(Label17);
    controls->addWidget(ComboBox1);
    controls->addStretch(1);
    auto* panel = new QVBoxLayout(Panel3);
    panel->addLayout(controls);
    panel->addWidget(Image1, 0, Qt::AlignCenter);

    SpeedButton1 = new QPushButton("Close", this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton2 = new QPushButton("Help", this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setEnabled(HelpAvailable);
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});

    auto* form = new QVBoxLayout(this);
    form->addWidget(Label1);
    form->addWidget(Panel3);
    form->addLayout(buttons);

    FormCreate();

    connect(PowerBox, &QComboBox::activated, this, &TfmTest::PowerBoxChange);
    connect(ComboBox1, &QComboBox::activated, this, &TfmTest::ComboBox1Change);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::close);
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { emit HelpRequested(12); });
    idle_.setInterval(1);
    connect(&idle_, &QTimer::timeout, this, &TfmTest::MyIdle);
    setFixedSize(sizeHint());
}

void TfmTest::FormCreate()
{
    // Texts from the language tables.
    const TLanguageGroup window("[HARDWARE_TEST_WINDOW]");
    Test.PlainCaption = window.Text(1, Test.PlainCaption);
    Label16->setText(Text(window.Text(2, "Power")));
    Label17->setText(Text(window.Text(3, "Voltage")));
    const TLanguageGroup common("[COMMON_BUTTONS]");
    SpeedButton2->setText(Text(common.Text(3, "Help")));
    SpeedButton1->setText(Text(common.Text(4, "Close")));
}

TfmTest::~TfmTest()
{
    idle_.stop();
    if (open_)
        Test.FormClose();
}

void TfmTest::Refresh()
{
    setWindowTitle(Text(Test.Caption));
    Label1->setText(Text(Test.StatusText));
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, Test.StatusError ? QColor(Qt::red) : Navy);
    Label1->setPalette(palette);
    Panel3->setEnabled(Test.PanelEnabled);
    Image1->setEnabled(Test.ImageEnabled);
    PowerBox->setCurrentIndex(Test.PowerOn ? 1 : 0);
    ComboBox1->setCurrentIndex(Test.VoltageIndex);
    Image1->update();
}

void TfmTest::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    open_ = true;
    const bool usable = Test.FormShow();
    Refresh();
    if (!usable) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    idle_.start();
}

void TfmTest::hideEvent(QHideEvent* event)
{
    idle_.stop();
    if (open_) {
        open_ = false;
        Test.FormClose();
    }
    QDialog::hideEvent(event);
}

void TfmTest::PowerBoxChange()
{
    Test.PowerBoxChange(PowerBox->currentIndex() == 1);
    Refresh();
}

void TfmTest::ComboBox1Change()
{
    Test.ComboBox1Change(ComboBox1->currentIndex());
    Refresh();
}

void TfmTest::Image1MouseDown(int x, int y)
{
    if (Test.Image1MouseDown(x, y) >= 0)
        Image1->update();
}

void TfmTest::MyIdle()
{
    const bool inputs = Test.InputsKnown;
    const uint8_t before = Test.Inputs;
    const std::string caption = Test.Caption;
    const bool power = Test.PowerOn, panel = Test.PanelEnabled;
    Test.MyIdle();
    if (Test.Caption != caption || Test.PowerOn != power || Test.PanelEnabled != panel)
        Refresh();
    else if (Test.InputsKnown != inputs || Test.Inputs != before)
        Image1->update();
}

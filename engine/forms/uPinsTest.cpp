#include "engine/forms/uPinsTest.h"

#include "engine/Engine.h"
#include "engine/LanguageTexts.h"
#include "engine/uExecuteLock.h"
#include "platform/Cp1251.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int Gap = 5;

QString Text(const std::string& s) { return Cp1251ToQString(s); }

} // namespace

std::vector<std::string> PinTestLines(int16_t result, const std::string& notConnectedText,
                                      const std::string& chipNotInsertedText)
{
    const uint16_t r = static_cast<uint16_t>(result);
    if ((r & 0xFF00) != 0)
        return {chipNotInsertedText};
    std::vector<std::string> lines;
    for (int pin = 1; pin <= 8; ++pin) {
        const bool open = (r >> (pin - 1)) & 1;
        lines.push_back(" Pin " + IntToStr(pin) + (open ? " " + notConnectedText : std::string(" OK.")));
    }
    return lines;
}

TfmPinsTest::TfmPinsTest(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmPinsTest");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName("Image1");
    LoadPicture(std::string());
    Memo1 = new QLabel(this);
    Memo1->setObjectName("Memo1");
    Memo1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Memo1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Memo1->setMargin(4);
    Memo1->setWordWrap(true);
    Memo1->setStyleSheet("background: white;");

    SpeedButton3 = new QPushButton(QString::fromUtf8("Тест"), this);
    SpeedButton3->setObjectName("SpeedButton3");
    SpeedButton1 = new QPushButton(this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton2 = new QPushButton("Cancel", this);
    SpeedButton2->setObjectName("SpeedButton2");

    // FormCreate: texts from the language tables.
    const TLanguageGroup tester("[PIN_TESTER]");
    Title = tester.Text(1, Title);
    NotConnectedText = tester.Text(2, NotConnectedText);
    ChipNotInsertedText = tester.Text(3, ChipNotInsertedText);
    const TLanguageGroup buttons("[COMMON_BUTTONS]");
    CloseText = buttons.Text(4, CloseText);
    ContinueText = buttons.Text(9, ContinueText);
    SpeedButton2->setText(Text(buttons.Text(2, "Cancel")));
    setWindowTitle(Text(Title));

    connect(SpeedButton3, &QPushButton::clicked, this, &TfmPinsTest::SpeedButton3Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TfmPinsTest::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TfmPinsTest::SpeedButton2Click);
}

void TfmPinsTest::LoadPicture(const std::string& path)
{
    QImage image;
    if (!path.empty())
        image.load(QString::fromStdString(path));
    if (image.isNull()) {
        Image1->clear();
        Image1->resize(0, 0);
        Image1->hide();
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(image));
    Image1->resize(image.size());
    Image1->show();
}

void TfmPinsTest::FormShow()
{
    const bool picture = !Image1->isHidden();
    const int pw = picture ? Image1->width() : 0;
    const int h = picture ? Image1->height() : 0;

    int width = 419, panelWidth = 270, imageLeft = (270 - pw) / 2;
    if (pw > 264) {
        width = pw + 153;
        panelWidth = pw + 6;
        imageLeft = 2;
    }
    int height = 306, panelHeight = 226, imageTop = (226 - h) / 2;
    if (h > 220) {
        height = h + 60;
        panelHeight = h + 4;
        imageTop = 2;
    }
    setFixedSize(width, height);
    Panel1->setGeometry(Gap, Gap, panelWidth, panelHeight);
    Image1->move(imageLeft, imageTop);
    const int memoLeft = Gap + panelWidth + Gap;
    Memo1->setGeometry(memoLeft, Gap, width - memoLeft - Gap, panelHeight);

    // One centred row of buttons below the picture.
    std::vector<QPushButton*> row{SpeedButton3, SpeedButton1};
    SpeedButton1->setText(Text(RunMode ? ContinueText : CloseText));
    SpeedButton2->setVisible(RunMode);
    if (RunMode)
        row.push_back(SpeedButton2);
    // A translated caption may not fit the usual width: its button widens.
    const auto buttonWidth = [](QPushButton* b) { return std::max(ButtonWidth, b->sizeHint().width()); };
    int rowWidth = static_cast<int>(row.size() - 1) * Gap;
    for (QPushButton* b : row)
        rowWidth += buttonWidth(b);
    const int top = Gap + panelHeight + (height - Gap - panelHeight - ButtonHeight) / 2;
    int left = (width - rowWidth) / 2;
    for (QPushButton* b : row) {
        b->setGeometry(left, top, buttonWidth(b), ButtonHeight);
        left += buttonWidth(b) + Gap;
    }

    SpeedButton3->setFocus();
    PumpMessages();
    FillMemo();
}

void TfmPinsTest::FillMemo()
{
    QStringList text;
    for (const std::string& line : PinTestLines(Result, NotConnectedText, ChipNotInsertedText))
        text << Text(line);
    Memo1->setText(text.join('\n'));
}

void TfmPinsTest::SpeedButton3Click()
{
    // In plain mode the tester's caller owns the link; a run owns it while it
    // is in progress, and only the run's own tester (run mode) may use it.
    if (!RunMode && !LinkFreeForWindow())
        return;
    Result = TestPins(Mask);
    FillMemo();
}

void TfmPinsTest::SpeedButton1Click() { done(QDialog::Accepted); }

void TfmPinsTest::SpeedButton2Click() { done(QDialog::Rejected); }

void TfmPinsTest::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

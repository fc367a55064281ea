#include "buffer/forms/uFind.h"

#include "buffer/forms/DialogTexts.h"
#include "buffer/uFind.h"
#include "platform/MessageBox.h"
#include "platform/forms/ButtonRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

TFindForm::TFindForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("FindForm");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    buildLayout();
    relabel();
    setWindowTitle(Cp1251ToQString(FindCaption));
    SpeedButton2->setText(Cp1251ToQString(FindCaption));
    Edit3->clear();
    ComboBox1->setCurrentIndex(0);
    PageControl1->setCurrentIndex(0);
}

void TFindForm::buildNumberPage()
{
    TabSheet1 = new QWidget;
    GroupBox3 = new QGroupBox(TabSheet1);
    Edit3 = new QLineEdit(GroupBox3);
    Edit3->setMaxLength(10);
    (new QVBoxLayout(GroupBox3))->addWidget(Edit3);
    GroupBox2 = new QGroupBox(TabSheet1);
    Panel1 = new QLabel(GroupBox2);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(GroupBox2))->addWidget(Panel1);

    GroupBox4 = new QGroupBox(TabSheet1);
    Label1 = new QLabel(GroupBox4);
    ComboBox1 = new QComboBox(GroupBox4);
    ComboBox1->addItems({"Default", "1", "2", "3", "4"});
    CheckBox2 = new QCheckBox(GroupBox4);
    CheckBox3 = new QCheckBox(GroupBox4);
    CheckBox4 = new QCheckBox(GroupBox4);
    CheckBox5 = new QCheckBox(GroupBox4);
    CheckBox6 = new QCheckBox(GroupBox4);
    auto* options = new QGridLayout(GroupBox4);
    options->addWidget(Label1, 0, 0);
    options->addWidget(ComboBox1, 0, 1);
    int row = 1;
    for (QCheckBox* box : {CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6})
        options->addWidget(box, row++, 0, 1, 2);
    options->setColumnStretch(2, 1);

    auto* page = new QVBoxLayout(TabSheet1);
    page->addWidget(GroupBox3);
    page->addWidget(GroupBox2);
    page->addWidget(GroupBox4);
    page->addStretch(1);

    connect(Edit3, &QLineEdit::textChanged, this, &TFindForm::BuildNumberPattern);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TFindForm::BuildNumberPattern);
    for (QCheckBox* box : {CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6})
        connect(box, &QCheckBox::clicked, this, &TFindForm::BuildNumberPattern);
}

void TFindForm::buildTextPage()
{
    TabSheet2 = new QWidget;
    GroupBox1 = new QGroupBox(TabSheet2);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    (new QVBoxLayout(GroupBox1))->addWidget(Memo1);
    CheckBox1 = new QCheckBox("Insert as from text dump", TabSheet2);
    auto* page = new QVBoxLayout(TabSheet2);
    page->addWidget(GroupBox1, 1);
    page->addWidget(CheckBox1);
}

void TFindForm::buildLayout()
{
    PageControl1 = new QTabWidget(this);
    buildNumberPage();
    buildTextPage();
    PageControl1->addTab(TabSheet1, "Decimal number");
    PageControl1->addTab(TabSheet2, "Text");

    SpeedButton2 = new QPushButton(this);
    SpeedButton1 = new QPushButton("Close", this);
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});
    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl1);
    form->addLayout(buttons);

    const std::pair<QObject*, const char*> names[] = {
        {PageControl1, "PageControl1"}, {TabSheet1, "TabSheet1"}, {GroupBox3, "GroupBox3"},
        {Edit3, "Edit3"},               {GroupBox2, "GroupBox2"}, {Panel1, "Panel1"},
        {GroupBox4, "GroupBox4"},       {Label1, "Label1"},       {ComboBox1, "ComboBox1"},
        {CheckBox2, "CheckBox2"},       {CheckBox3, "CheckBox3"}, {CheckBox4, "CheckBox4"},
        {CheckBox5, "CheckBox5"},       {CheckBox6, "CheckBox6"}, {TabSheet2, "TabSheet2"},
        {GroupBox1, "GroupBox1"},       {Memo1, "Memo1"},         {CheckBox1, "CheckBox1"},
        {SpeedButton2, "SpeedButton2"}, {SpeedButton1, "SpeedButton1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    connect(SpeedButton2, &QPushButton::clicked, this, &TFindForm::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFindForm::CloseRequested);
}

void TFindForm::relabel()
{
    const TLanguageGroup window("[BUFFER_FIND_WINDOW]");
    FindCaption = window.Text(1, FindCaption);
    InsertCaption = window.Text(2, InsertCaption);
    PageControl1->setTabText(0, GroupText(window, 3, "Decimal number"));
    PageControl1->setTabText(1, GroupText(window, 4, "Text"));
    TextToFindCaption = window.Text(5, TextToFindCaption);
    TextToInsertCaption = window.Text(6, TextToInsertCaption);
    NumberToFindCaption = window.Text(7, NumberToFindCaption);
    NumberToInsertCaption = window.Text(8, NumberToInsertCaption);
    GroupBox3->setTitle(GroupText(window, 9, "Pattern"));
    GroupBox2->setTitle(GroupText(window, 10, "Hexadecimal view"));
    GroupBox4->setTitle(GroupText(window, 11, "Options"));
    FindNextCaption = window.Text(12, FindNextCaption);
    Label1->setText(GroupText(window, 13, "Bytes per number"));
    CheckBox2->setText(GroupText(window, 14, "Reverse byte order"));
    CheckBox3->setText(GroupText(window, 15, "Swap bytes"));
    CheckBox4->setText(GroupText(window, 16, "Swap nibbles"));
    CheckBox5->setText(GroupText(window, 17, "Mirror bits in bytes"));
    CheckBox6->setText(GroupText(window, 18, "Invert"));
    SpeedButton1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 4, "Close"));
}

bool TFindForm::InsertMode() const
{
    return windowTitle() == Cp1251ToQString(InsertCaption);
}

bool TFindForm::TextPageActive() const
{
    return PageControl1->currentWidget() == TabSheet2;
}

std::vector<std::string> TFindForm::MemoLines() const
{
    std::vector<std::string> lines;
    const QString text = Memo1->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(QStringToCp1251(line));
    return lines;
}

void TFindForm::BuildNumberPattern()
{
    TNumberPatternOptions options;
    options.Width = ComboBox1->currentIndex(); // 0 is "Default"
    options.ReverseOrder = CheckBox2->isChecked();
    options.SwapBytes = CheckBox3->isChecked();
    options.SwapNibbles = CheckBox4->isChecked();
    options.MirrorBits = CheckBox5->isChecked();
    options.Invert = CheckBox6->isChecked();
    const TNumberPattern number = ::BuildNumberPattern(QStringToCp1251(Edit3->text()), options);
    Panel1->setText(QString::fromStdString(number.HexView));
    // A number that does not convert leaves no pattern, so that a request
    // never searches for the previous number's bytes.
    Pattern = number.Bytes;
    if (number.Valid)
        CheckBox3->setEnabled(number.SwapBytesEnabled);
}

void TFindForm::SpeedButton2Click()
{
    if (!TextPageActive()) {
        BuildNumberPattern();
        if (!Pattern.empty())
            emit ActionRequested();
        return;
    }
    const std::vector<std::string> lines = MemoLines();
    // Insert reads the text page's memo itself, whatever its length: the
    // pattern's bound is the search's alone.
    if (InsertMode()) {
        if (std::all_of(lines.begin(), lines.end(), [](const std::string& line) { return line.empty(); }))
            ShowMessageBox("Empty pattern", ProgramBoxCaption, MB_OK | MB_ICONWARNING);
        else
            emit ActionRequested();
        return;
    }
    switch (BuildTextPattern(lines, Pattern)) {
    case TTextPatternResult::Ok:
        emit ActionRequested();
        break;
    case TTextPatternResult::Empty:
        ShowMessageBox("Empty pattern", ProgramBoxCaption, MB_OK | MB_ICONWARNING);
        break;
    case TTextPatternResult::TooLong:
        ShowMessageBox("Pattern is longer than " + std::to_string(FindPatternCapacity) + " bytes",
                       ProgramBoxCaption, MB_OK | MB_ICONWARNING);
        break;
    }
}

void TFindForm::reject()
{
    // Escape asks the caller to end its command, as Close does; the caller
    // closes the form.
    emit CloseRequested();
}

void TFindForm::showEvent(QShowEvent* event)
{
    const bool insert = InsertMode();
    GroupBox3->setTitle(Cp1251ToQString(insert ? NumberToInsertCaption : NumberToFindCaption));
    GroupBox1->setTitle(Cp1251ToQString(insert ? TextToInsertCaption : TextToFindCaption));
    CheckBox1->setVisible(insert);
    BuildNumberPattern();
    QDialog::showEvent(event);
}

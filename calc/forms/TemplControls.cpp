// The calculator's controls, built record by record from the image. Images
// come from files others wrote: every read is checked against the image's
// end, and what no window can be built from (an unknown record, a group
// closed that was never opened, nesting or control counts no script can
// reach) fails the build instead of being guessed at.
#include "calc/forms/Templ.h"

#include "buffer/forms/ColorRef.h"
#include "calc/forms/TemplLabels.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <vector>

namespace {

// The compiler numbers controls in one operand byte; no script nests
// groups deeper than a window can show.
constexpr int MaxControls = 256;
constexpr int MaxGroups = 256;
constexpr int MaxGroupDepth = 32;

constexpr int CaptionTag = 253;
constexpr int GroupTag = 255;
constexpr uint32_t GroupCaptionColor = 0x800000;

class TRecordReader {
public:
    explicit TRecordReader(const TCalcImage& image) : image_(image) {}

    bool Byte(uint8_t& b)
    {
        if (pos_ >= image_.size())
            return false;
        b = image_[pos_++];
        return true;
    }
    bool Field(int& v)
    {
        uint8_t lo, hi;
        if (!Byte(lo) || !Byte(hi))
            return false;
        v = lo | hi << 8;
        return true;
    }
    bool Fields(int* v, int count)
    {
        for (int i = 0; i < count; ++i)
            if (!Field(v[i]))
                return false;
        return true;
    }
    bool Text(uint8_t& key, std::string& text, bool items = false)
    {
        return DecodeCalcText(image_.data(), image_.size(), key, text, pos_, items);
    }

private:
    const TCalcImage& image_;
    size_t pos_ = CalcRecordsOffset;
};

class TControlBuilder {
public:
    explicit TControlBuilder(QWidget* panel) : containers_{panel}, plain_(panel->font()) { plain_.setBold(false); }

    bool Build(TRecordReader& in);

private:
    std::vector<QWidget*> containers_;
    QFont plain_;
    int index_ = 0;
    int groups_ = 0;

    QWidget* Container() const { return containers_.back(); }
    bool InGroup() const { return containers_.size() > 1; }
    int TextWidth(const QString& text) const { return QFontMetrics(plain_).horizontalAdvance(text); }
    int TextHeight() const { return QFontMetrics(plain_).height(); }
    template <class T>
    T* Make(const QString& name, int tag);
    void Register(char letter, QWidget* control, int tag);
    void Caption(const QString& text, int left, int top);
    // x 0: the container's width (inside a group, 5 pixels in from each side).
    void SpanContainer(QWidget& control, int top, int height);

    bool Group(TRecordReader& in);
    bool EndGroup();
    bool Label(TRecordReader& in);
    bool CheckBox(TRecordReader& in);
    bool ComboBox(TRecordReader& in);
    bool Edit(TRecordReader& in, char record);
    bool Picture(TRecordReader& in);
};

template <class T>
T* TControlBuilder::Make(const QString& text, int tag)
{
    auto* control = new T(Container());
    control->setFont(plain_);
    QPalette palette = control->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, Qt::black);
    control->setPalette(palette);
    control->setProperty("Tag", tag);
    if constexpr (std::is_same_v<T, QLabel> || std::is_same_v<T, QCheckBox>)
        control->setText(text);
    control->show();
    return control;
}

void TControlBuilder::Register(char letter, QWidget* control, int tag)
{
    const std::string name = letter + IntToStr(index_++);
    control->setObjectName(QString::fromStdString(name));
    control->setProperty("Tag", tag);
    CalcControls[name] = control;
}

void TControlBuilder::Caption(const QString& text, int left, int top)
{
    auto* label = Make<QLabel>(text, CaptionTag);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(left, top, TextWidth(text), TextHeight());
}

void TControlBuilder::SpanContainer(QWidget& control, int top, int height)
{
    const int width = Container()->width();
    if (InGroup())
        control.setGeometry(5, top, width - 10, height);
    else
        control.setGeometry(0, top, width, height);
}

bool TControlBuilder::Group(TRecordReader& in)
{
    uint8_t key = 'G';
    std::string text;
    int f[4];
    if (!in.Text(key, text) || !in.Fields(f, 4) || ++groups_ > MaxGroups ||
        int(containers_.size()) > MaxGroupDepth)
        return false;
    auto* group = new QGroupBox(Cp1251ToQString(text), Container());
    group->setProperty("Tag", GroupTag);
    QFont bold = plain_;
    bold.setBold(true);
    group->setFont(bold);
    QPalette palette = group->palette();
    palette.setColor(QPalette::WindowText, ToQColor(GroupCaptionColor));
    group->setPalette(palette);
    group->setGeometry(f[0], f[1], f[2], f[3]);
    group->show();
    containers_.push_back(group);
    return true;
}

bool TControlBuilder::EndGroup()
{
    if (!InGroup())
        return false;
    containers_.pop_back();
    return true;
}

bool TControlBuilder::Label(TRecordReader& in)
{
    uint8_t key = 'L';
    std::string text;
    int f[2];
    if (!in.Text(key, text) || !in.Fields(f, 2))
        return false;
    const int tag = ('L' << 8) + index_;
    auto* label = Make<QLabel>(Cp1251ToQString(text), tag);
    if (f[0] == 0) {
        label->setAlignment(Qt::AlignCenter);
        SpanContainer(*label, f[1], TextHeight());
    } else {
        label->setProperty("AutoSize", true);
        label->move(f[0], f[1]);
        FitCalcLabel(*label);
    }
    Register('L', label, tag);
    return true;
}

bool TControlBuilder::CheckBox(TRecordReader& in)
{
    uint8_t key = 'B';
    std::string text;
    int f[2];
    if (!in.Text(key, text) || !in.Fields(f, 2))
        return false;
    const int tag = ('B' << 8) + index_;
    const QString caption = Cp1251ToQString(text);
    auto* check = Make<QCheckBox>(caption, tag);
    const int height = std::max(TextHeight(), check->sizeHint().height());
    if (f[0] == 0)
        SpanContainer(*check, f[1], height);
    else
        check->setGeometry(f[0], f[1], TextWidth(caption) + 20, height);
    Register('B', check, tag);
    return true;
}

bool TControlBuilder::ComboBox(TRecordReader& in)
{
    uint8_t key = 'C';
    std::string text, list;
    int f[3];
    if (!in.Text(key, text) || !in.Fields(f, 3) || !in.Text(key, list, true))
        return false;
    const QString caption = Cp1251ToQString(text);
    Caption(caption, f[0], f[1] + 3);
    const int tag = ('C' << 8) + index_;
    auto* combo = Make<QComboBox>(caption, tag);
    for (size_t start = 0; !list.empty() && start <= list.size();) {
        const size_t end = std::min(list.find('\r', start), list.size());
        combo->addItem(Cp1251ToQString(list.substr(start, end - start)));
        start = end + 1;
    }
    combo->setGeometry(f[0] + TextWidth(caption) + 10, f[1], f[2], combo->sizeHint().height());
    combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
    Register('C', combo, tag);
    return true;
}

// 'D' (decimal, named "E") and 'H' (hexadecimal) fields.
bool TControlBuilder::Edit(TRecordReader& in, char record)
{
    uint8_t key = uint8_t(record);
    std::string text;
    int f[4] = {0, 0, 0, 0};
    if (!in.Text(key, text) || !in.Fields(f, record == 'H' ? 4 : 3))
        return false;
    const QString caption = Cp1251ToQString(text);
    Caption(caption, f[0] - TextWidth(caption) - 10, f[1] + 3);
    const char letter = record == 'H' ? 'H' : 'E';
    const int tag = (letter << 8) + index_ + (record == 'H' ? std::min(f[3], 8) << 16 : 0);
    auto* field = Make<QLineEdit>(caption, tag);
    field->setGeometry(f[0], f[1], f[2], field->sizeHint().height());
    Register(letter, field, tag);
    return true;
}

bool TControlBuilder::Picture(TRecordReader& in)
{
    uint8_t key = 'P';
    std::string text;
    int f[4];
    if (!in.Text(key, text) || !in.Fields(f, 4))
        return false;
    const int tag = ('P' << 8) + index_;
    auto* image = Make<QLabel>(QString(), tag);
    image->setAttribute(Qt::WA_TranslucentBackground);
    QImage picture;
    const std::string path = NativePath("Calculators\\Pictures\\" + text);
    if (!text.empty() && FileExists(path))
        picture.load(QString::fromStdString(path));
    if (!picture.isNull())
        image->setPixmap(QPixmap::fromImage(picture));
    const QSize size = f[2] != 0 && f[3] != 0 ? QSize(f[2], f[3]) : picture.size();
    image->setGeometry(f[0], f[1], size.width(), size.height());
    Register('P', image, tag);
    return true;
}

bool TControlBuilder::Build(TRecordReader& in)
{
    for (;;) {
        uint8_t record;
        if (!in.Byte(record))
            return false;
        if (record == CalcEndOfRecords)
            return true;
        if (record != 'G' && record != 'g' && index_ >= MaxControls)
            return false;
        bool ok;
        switch (record) {
        case 'G': ok = Group(in); break;
        case 'g': ok = EndGroup(); break;
        case 'L': ok = Label(in); break;
        case 'B': ok = CheckBox(in); break;
        case 'C': ok = ComboBox(in); break;
        case 'D':
        case 'H': ok = Edit(in, char(record)); break;
        case 'P': ok = Picture(in); break;
        default: ok = false; // 'T' included: no control shows it
        }
        if (!ok)
            return false;
    }
}

} // namespace

bool CreateCalculatorControls(QWidget* panel, const TCalcImage& image)
{
    TRecordReader in(image);
    return TControlBuilder(panel).Build(in);
}

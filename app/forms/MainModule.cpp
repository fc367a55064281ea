#include "app/forms/MainModule.h"

#include "buffer/forms/uHexEditor.h"
#include "platform/Cp1251.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace {

// Room a line edit keeps round its text: the frame, the text margins and
// the caret.
constexpr int EditTextExtra = 12;

QString toQ(const std::string& s) { return Cp1251ToQString(s); }

void SetTag(QObject* control, uint32_t tag) { control->setProperty(TagProperty, QVariant::fromValue<uint>(tag)); }

// Module controls have the normal style and black text, whatever the
// container's font and colours.
void Dress(QWidget* w, const QWidget* container)
{
    QFont font = container->font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    w->setFont(font);
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    w->setPalette(palette);
}

void Place(QWidget* w, const TBounds& b) { w->setGeometry(b.Left, b.Top, b.Width, b.Height); }

// Each control hidden, shown or deleted on a visible container adds its own
// piece to the region the window repaints, and every piece costs more than
// the one before: with thousands of controls a rebuild took minutes, and
// their deletion corrupted the heap. While one lives the container is out
// of view, so its controls change as on a container not yet shown; it comes
// back, whole, at the end.
class TOutOfView {
public:
    explicit TOutOfView(QWidget* container) : container_(container && container->isVisible() ? container : nullptr)
    {
        if (container_)
            container_->hide();
    }
    ~TOutOfView()
    {
        if (container_)
            container_->show();
    }
    TOutOfView(const TOutOfView&) = delete;
    TOutOfView& operator=(const TOutOfView&) = delete;

private:
    QPointer<QWidget> container_;
};

// The widgets a load replaced. One of them may be running its own handler:
// they leave the container's view at once and go together when control is
// back in the loop, in one deferred deletion with the container out of view.
class TRetiredWidgets : public QObject {
public:
    // Owned by the controls object too, so nothing is left when it goes
    // before the loop ran again.
    TRetiredWidgets(QWidget* container, QObject* owner) : QObject(owner), container_(container) {}
    ~TRetiredWidgets() override
    {
        const TOutOfView outOfView(container_);
        for (const QPointer<QWidget>& w : widgets_)
            delete w.data();
    }
    void Retire(QWidget* w, QObject* receiver)
    {
        if (!w)
            return;
        QObject::disconnect(w, nullptr, receiver, nullptr);
        w->removeEventFilter(receiver);
        w->hide();
        w->setObjectName(QString());
        widgets_.emplace_back(w);
    }

private:
    QPointer<QWidget> container_;
    std::vector<QPointer<QWidget>> widgets_;
};

} // namespace

uint32_t ControlTag(const QObject* control) { return control->property(TagProperty).toUInt(); }

TWidgetMetrics::TWidgetMetrics(const QWidget* window) : window_(window)
{
    QCheckBox checkBox;
    QComboBox comboBox;
    QLineEdit edit;
    THexEdit hexEdit;
    for (QWidget* w : std::initializer_list<QWidget*>{&checkBox, &comboBox, &edit})
        w->setFont(window->font());
    checkBoxHeight_ = checkBox.sizeHint().height();
    comboBoxHeight_ = comboBox.sizeHint().height();
    editHeight_ = std::max(edit.sizeHint().height(), hexEdit.sizeHint().height());
    const QStyle* style = checkBox.style();
    checkBoxIndicator_ = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &checkBox) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &checkBox);
    hexFont_ = hexEdit.font();
    hexDigitPairsExtra_ = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &hexEdit) + EditTextExtra;
}

int TWidgetMetrics::TextWidth(const std::string& text) const
{
    return window_->fontMetrics().horizontalAdvance(toQ(text));
}

int TWidgetMetrics::LabelHeight() const { return window_->fontMetrics().height(); }

// The caption's width and 20 for the box, or what this style's box takes.
int TWidgetMetrics::CheckBoxWidth(const std::string& caption) const
{
    const int text = TextWidth(caption);
    return text + std::max(20, checkBoxIndicator_ + 4);
}

int TWidgetMetrics::HexEditWidth(int byteCount) const
{
    const QString pairs = QStringLiteral("00 ").repeated(byteCount).chopped(1);
    return QFontMetrics(hexFont_).horizontalAdvance(pairs) + hexDigitPairsExtra_;
}

TParameterControls::TParameterControls(QObject* parent) : QObject(parent) {}

TParameterControls::~TParameterControls() { Clear(); }

void TParameterControls::Clear()
{
    if (entries_.empty())
        return;
    QWidget* container = entries_.front().Control ? entries_.front().Control->parentWidget() : nullptr;
    const TOutOfView outOfView(container);
    auto* retired = new TRetiredWidgets(container, this);
    for (TEntry& entry : entries_) {
        retired->Retire(entry.Label, this);
        retired->Retire(entry.Control, this);
    }
    entries_.clear();
    retired->deleteLater();
}

void TParameterControls::Build(QWidget* container, const std::vector<TParameterControl>& plan)
{
    const TOutOfView outOfView(container);
    Clear();
    entries_.reserve(plan.size());
    for (const TParameterControl& planned : plan) {
        TEntry entry{planned.Kind, nullptr, nullptr};
        if (planned.HasLabel) {
            auto* label = new QLabel(toQ(planned.Caption), container);
            Dress(label, container);
            Place(label, planned.Label);
            label->show();
            entry.Label = label;
        }
        QWidget* control = create(container, planned);
        control->setObjectName(toQ(planned.Name));
        Dress(control, container);
        Place(control, planned.Bounds);
        SetTag(control, planned.Tag);
        wire(control, planned.Kind);
        control->show();
        entry.Control = control;
        entries_.push_back(entry);
    }
}

QWidget* TParameterControls::create(QWidget* container, const TParameterControl& planned)
{
    switch (planned.Kind) {
    case TParamKind::CheckBox: {
        auto* box = new QCheckBox(toQ(planned.Caption), container);
        box->setChecked(planned.Checked);
        return box;
    }
    case TParamKind::ComboBox: {
        auto* combo = new QComboBox(container);
        for (const std::string& item : planned.Items)
            combo->addItem(toQ(item));
        combo->setCurrentIndex(planned.ItemIndex);
        return combo;
    }
    case TParamKind::HexEdit: {
        auto* hex = new THexEdit(container);
        hex->SetByteCount(planned.ByteCount);
        return hex;
    }
    case TParamKind::Digit:
        return new QLineEdit(toQ(planned.Text), container);
    case TParamKind::Button:
        return new QPushButton(toQ(planned.Caption), container);
    }
    return nullptr;
}

void TParameterControls::wire(QWidget* control, TParamKind kind)
{
    switch (kind) {
    case TParamKind::CheckBox:
        connect(static_cast<QCheckBox*>(control), &QCheckBox::toggled, this,
                [control](bool checked) { SetTag(control, CheckBoxClick(ControlTag(control), checked)); });
        break;
    case TParamKind::ComboBox:
        connect(static_cast<QComboBox*>(control), &QComboBox::currentIndexChanged, this,
                [control](int index) { SetTag(control, ComboBoxChange(ControlTag(control), index)); });
        break;
    case TParamKind::Digit:
        control->installEventFilter(this);
        connect(static_cast<QLineEdit*>(control), &QLineEdit::textChanged, this, [control](const QString& text) {
            SetTag(control, EditChange(ControlTag(control), QStringToCp1251(text)));
        });
        break;
    case TParamKind::Button: {
        auto* button = static_cast<QPushButton*>(control);
        connect(button, &QPushButton::clicked, this, [this, button] { emit ButtonClicked(button); });
        break;
    }
    case TParamKind::HexEdit:
        break;
    }
}

bool TParameterControls::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && !DigitKeyAccepted(text.at(0).unicode()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

std::vector<TControlState> TParameterControls::States() const
{
    std::vector<TControlState> states;
    states.reserve(entries_.size());
    for (const TEntry& entry : entries_) {
        TControlState s;
        s.Kind = entry.Kind;
        if (const QWidget* w = entry.Control) {
            s.Name = QStringToCp1251(w->objectName());
            s.Tag = ControlTag(w);
            if (const auto* edit = qobject_cast<const QLineEdit*>(w))
                s.Text = QStringToCp1251(edit->text());
            if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
                s.ItemCount = combo->count();
                s.ItemIndex = combo->currentIndex();
            }
            if (const auto* box = qobject_cast<const QCheckBox*>(w))
                s.Checked = box->isChecked();
        }
        states.push_back(std::move(s));
    }
    return states;
}

void TParameterControls::Apply(const std::vector<TControlState>& states)
{
    const size_t n = std::min(states.size(), entries_.size());
    for (size_t i = 0; i < n; ++i) {
        QWidget* w = entries_[i].Control;
        if (!w)
            continue;
        const TControlState& s = states[i];
        // The Tag comes from the write-back, not from the change handlers.
        const QSignalBlocker blocker(w);
        SetTag(w, s.Tag);
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->text() != toQ(s.Text))
            edit->setText(toQ(s.Text));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->setCurrentIndex(s.ItemIndex);
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(s.Checked);
    }
}

TDeviceMenuActions BuildDeviceMenu(QMenu* menu, const TModulePlan& plan)
{
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        if (old->parent() == menu)
            old->deleteLater();
    }
    TDeviceMenuActions actions;
    for (const TMenuEntryPlan& entry : plan.Menu) {
        auto* action = new QAction(toQ(entry.Caption), menu);
        action->setObjectName(toQ(entry.ObjectName));
        if (!entry.Shortcut.empty())
            action->setShortcut(QKeySequence(toQ(entry.Shortcut), QKeySequence::PortableText));
        menu->addAction(action);
        actions.Entries.push_back(action);
    }
    if (plan.ParametersItem) {
        menu->addSeparator();
        actions.Parameters = menu->addAction(QStringLiteral("Parameters"));
        actions.Parameters->setObjectName(QStringLiteral("mnParameters"));
    }
    if (plan.PinTester) {
        menu->addSeparator();
        actions.PinTester = menu->addAction(toQ(plan.PinTesterCaption));
        actions.PinTester->setObjectName(QStringLiteral("mnPinTester"));
    }
    return actions;
}

TSenderKind SenderKind(const QObject* sender)
{
    if (qobject_cast<const QAction*>(sender))
        return TSenderKind::MenuItem;
    if (qobject_cast<const QToolButton*>(sender))
        return TSenderKind::ToolButton;
    if (qobject_cast<const QPushButton*>(sender))
        return TSenderKind::PushButton;
    return TSenderKind::None;
}

std::string SenderCommandText(const QObject* sender)
{
    QString caption;
    if (const auto* action = qobject_cast<const QAction*>(sender))
        caption = action->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(sender))
        caption = button->text();
    return CommandText(SenderKind(sender), sender ? QStringToCp1251(sender->objectName()) : std::string(),
                       QStringToCp1251(caption));
}

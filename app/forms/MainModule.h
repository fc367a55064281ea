#pragma once
// The loaded module's widgets: its parameter controls on the parameter
// container (GroupBox1 or the parameters window's Panel1) and its Device
// menu, built from the plan of app/MainModule.h. Each control keeps its Tag
// in the dynamic property "Tag" (an unsigned int), kept current by the
// change handlers. Widgets a load replaces are hidden at once and deleted
// later: a load may run under the click handler of a module button or menu
// item it replaces.
#include "app/MainDispatch.h"
#include "app/MainModule.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class QAction;
class QMenu;
class QPushButton;

// Name of the dynamic property that holds a parameter control's Tag.
inline constexpr char TagProperty[] = "Tag";
uint32_t ControlTag(const QObject* control);

// The platform's control sizes, with text measured in the font of `window`
// (the main window's).
class TWidgetMetrics : public TControlMetrics {
public:
    explicit TWidgetMetrics(const QWidget* window);
    int TextWidth(const std::string& text) const override;
    int LabelHeight() const override;
    int CheckBoxWidth(const std::string& caption) const override;
    int CheckBoxHeight() const override { return checkBoxHeight_; }
    int ComboBoxHeight() const override { return comboBoxHeight_; }
    int EditHeight() const override { return editHeight_; }
    int HexEditWidth(int byteCount) const override;

private:
    const QWidget* window_;
    int checkBoxHeight_ = 0;
    int comboBoxHeight_ = 0;
    int editHeight_ = 0;
    int checkBoxIndicator_ = 0;
    int hexDigitPairsExtra_ = 0;
    QFont hexFont_;
};

class TParameterControls : public QObject {
    Q_OBJECT
public:
    explicit TParameterControls(QObject* parent = nullptr);
    ~TParameterControls() override;

    // Replaces the current controls by the planned ones, children of
    // `container` in plan order (a label just before its control).
    void Build(QWidget* container, const std::vector<TParameterControl>& plan);
    // Hides the current controls and deletes them later.
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    QWidget* Control(int i) const { return entries_.at(static_cast<size_t>(i)).Control; }
    QWidget* Label(int i) const { return entries_.at(static_cast<size_t>(i)).Label; }

    // The controls as the dispatch reads them, in creation order, and the
    // values it wrote back applied to them (same order).
    std::vector<TControlState> States() const;
    void Apply(const std::vector<TControlState>& states);

signals:
    // A module button was clicked: the main window's MenuClick.
    void ButtonClicked(QPushButton* button);

protected:
    // The key filter of DIGIT edits.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TEntry {
        TParamKind Kind;
        QPointer<QWidget> Label;
        QPointer<QWidget> Control;
    };
    QWidget* create(QWidget* container, const TParameterControl& planned);
    void wire(QWidget* control, TParamKind kind);

    std::vector<TEntry> entries_;
};

// The items a Device menu build added; the main window connects them.
struct TDeviceMenuActions {
    std::vector<QAction*> Entries; // in plan order, named "mn" + key
    QAction* Parameters = nullptr; // opens the module parameters window
    QAction* PinTester = nullptr;  // runs the pin tester
};
// Removes the menu's items (deleted later) and adds the plan's entries with
// their shortcuts, then the Parameters and pin tester items it asks for.
TDeviceMenuActions BuildDeviceMenu(QMenu* menu, const TModulePlan& plan);

// A device command's sender: a menu item (QAction), a tool button
// (QToolButton) or a push button (QPushButton); and its command text.
TSenderKind SenderKind(const QObject* sender);
std::string SenderCommandText(const QObject* sender);

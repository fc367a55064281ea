#pragma once
// The adapters of a combo box and of its drop-down list. The combo box is
// painted whole by the skin: its section's frame and face, the current text
// (an editable combo's own line edit lies over it), and the drop-down
// button of the combo-button section with the skin's arrow. The list gets
// an edit adapter of its own the first time it drops down.
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acLivePointer.h"

class QAbstractItemView;
class QComboBox;
class TacComboListWnd;

class TacComboBoxWnd : public TacEditWnd {
public:
    // The section is "COMBOBOX" when none is given.
    TacComboBoxWnd(QWidget* handle, bool scrollBars = false, const std::string& skinSection = {},
                   TsSkinManager* manager = nullptr, TsCommonData* skinData = nullptr);
    ~TacComboBoxWnd() override;

    void RestoreColors() override;
    // The drop-down button in the window's coordinates: a scroll bar wide,
    // 2 pixels inside the frame, on the left for right-to-left reading.
    virtual QRect GetButtonRect() const;
    QRect ClientRect() const override;
    // 2 while the list is down, 1 focused or under the mouse, else 0.
    int ButtonState() const;
    // The text's place: 3 pixels inside the frame, up to the button.
    QRect TextRect() const;
    TacComboListWnd* ListAdapter() const { return listAdapter_; }

protected:
    bool WndProc(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool PaintWindow(QEvent* event) override;

private:
    QComboBox* Combo() const;
    void PaintButton(TBitmap& bmp);
    void PaintText(QPainter& painter);
    void CreateListAdapter();
    void FreeListAdapter();

    TacLivePointer<QAbstractItemView> list_;
    TacComboListWnd* listAdapter_ = nullptr;
};

// The drop-down list: the edit adapter's colours and bars, and a plain
// frame of the section colour's rectangle around the popup.
class TacComboListWnd : public TacEditWnd {
public:
    TacComboListWnd(QWidget* handle, bool scrollBars = true, const std::string& skinSection = {},
                    TsSkinManager* manager = nullptr, TsCommonData* skinData = nullptr);
    ~TacComboListWnd() override;

    void ApplySkinColors() override;
    void RestoreColors() override;

    // The popup list is on screen.
    bool Shown = false;
    // The colours of the plain frame.
    TColor Color = 0, FrameColor = 0;

protected:
    bool WndProc(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PaintFrame(QPainter& painter) override;

private:
    // The popup window that holds the list and draws its frame.
    QPointer<QWidget> popup_;
};

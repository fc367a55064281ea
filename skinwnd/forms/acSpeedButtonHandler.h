#pragma once
// Speed buttons (tool buttons that only rise under the mouse) painted by the
// skin: the handler sits in front of the button, answers the library's
// command message for it and paints the section item in the button's state
// with its icon and caption laid out by Layout, Margin and Spacing.
#include "platform/Bitmap.h"
#include "skinwnd/forms/acLivePointer.h"

#include <QObject>
#include <string>

class QToolButton;
class QWidget;
class TsCommonData;
class TsSkinManager;

// Where the glyph goes relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Glyph rectangle and caption position of a speed button. glyph or text
// of (0, 0) means there is none; margin -1 centres.
struct TacSpeedButtonPlace {
    TRect Glyph{0, 0, 0, 0};
    TPoint Caption{0, 0};
};
TacSpeedButtonPlace SpeedButtonPlace(int width, int height, TPoint glyph, TPoint text, TButtonLayout layout,
                                     int margin, int spacing, bool pressed);

class TacSpeedButtonHandler : public QObject {
public:
    // skinData belongs to the caller and must outlive the handler.
    TacSpeedButtonHandler(QToolButton* control, const std::string& skinSection, TsSkinManager* manager,
                          TsCommonData* skinData);
    ~TacSpeedButtonHandler() override;

    // 2 down or checked, 1 hot (focused or under the mouse), else 0.
    int CurrentState() const;

    TacLivePointer<QToolButton> ButtonControl;
    TsSkinManager* SkinManager = nullptr;
    bool Detached = false;
    TsCommonData* SkinData = nullptr;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool WndProc(QEvent* event);

private:
    bool AnswerCommand(QEvent* event);
    void Repaint();
    void Paint();
    void PaintContent(TBitmap& cache, int state);
    TButtonLayout EffectiveLayout() const;
};

#pragma once
// TGLabel: a label painted on a colour gradient, lightening to ActiveColor
// while the mouse is over it in active mode. Colours are colour references
// (0x00BBGGRR); 0xFF in the top byte names a system colour by its low byte.
#include <QLabel>

#include <cstdint>
#include <functional>

class TGLabel : public QLabel {
public:
    explicit TGLabel(QWidget* parent = nullptr);

    uint32_t Color = 0xFF00000F; // the button face
    uint32_t ActiveColor = 0xFF00000F;
    bool Hot = false;

    // The label's mouse events, as its owner assigns them: a press of any
    // button at a client point, and a left-button click (press and release
    // over the label).
    std::function<void(Qt::MouseButton, int, int)> OnMouseDown;
    std::function<void()> OnClick;

    uint8_t Gradient() const { return gradient_; }
    void SetGradient(uint8_t g);
    bool ActiveMode() const { return activeMode_; }
    void SetActiveMode(bool on);
    bool Vert() const { return vert_; }
    void SetVert(bool on);

    // Colour reference of strip k of n from start to end, per channel
    // s - (s - e) * k / n (truncating).
    static uint32_t StripColor(uint32_t start, uint32_t end, int k, int n);
    // Start and end colours around a base colour.
    static void GradientEnds(uint32_t base, uint8_t gradient, uint32_t& start, uint32_t& end);
    // A colour reference with system colours replaced by their value.
    uint32_t ResolveColor(uint32_t c) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    uint8_t gradient_ = 0;
    bool activeMode_ = false;
    bool vert_ = false;
};

#pragma once
// THotLabel: a label that behaves like a link. It shows the hand cursor and
// underlined text; once the mouse has moved over it, it takes HotColor and
// keeps it, so a visited link stays marked. The owner handles the click.
#include <QLabel>

#include <cstdint>
#include <functional>

class THotLabel : public QLabel {
public:
    explicit THotLabel(QWidget* parent = nullptr);

    uint32_t HotColor = 0xFF0000; // colour reference (0x00BBGGRR): blue
    bool Hot = false;             // HotColor has been applied

    bool HotEnabled() const { return hotEnabled_; }
    void SetHotEnabled(bool on);

    // A left-button click: press and release over the label.
    std::function<void()> OnClick;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void AddUnderline();

    bool hotEnabled_ = true;
    bool pressed_ = false;
};

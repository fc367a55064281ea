#pragma once
// A frameless, see-through tool window that shows its picture through the
// picture's alpha, is never activated and lets every click fall through to
// what lies below. Halos and the extended border of forms are shown in it.
#include <QImage>
#include <QWidget>

class TacLayeredWindow : public QWidget {
public:
    explicit TacLayeredWindow(QImage image = {});

    const QImage& Image() const { return image_; }
    void SetImage(QImage image);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
};

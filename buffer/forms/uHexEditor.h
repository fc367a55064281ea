#pragma once
// THexEdit: a one-line field showing a fixed number of bytes as hex digit
// pairs separated by blanks. Digits are overwritten in place; the layout
// never changes.
#include <QLineEdit>

class THexEdit : public QLineEdit {
public:
    explicit THexEdit(QWidget* parent = nullptr);

    int ByteCount() const { return byteCount_; }
    // count pairs of "00"; counts below 1 count as 1.
    void SetByteCount(int count);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    int byteCount_ = 1;
};

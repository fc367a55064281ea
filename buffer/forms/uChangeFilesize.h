#pragma once
// The change-size dialog: the present size above the new size's field.
#include "buffer/forms/uGetFileSize.h"

#include <string>

class TfmChangeFilesize : public TFileSizeDialog {
    Q_OBJECT
public:
    explicit TfmChangeFilesize(QWidget* parent = nullptr);

    int32_t CurrentSize = 0;     // the buffer's present size (set by the caller)
    std::string CurrentSizeText; // "Current file size (bytes): " (code page 1251)

    QLabel* Label1;

protected:
    void showEvent(QShowEvent* event) override;
};

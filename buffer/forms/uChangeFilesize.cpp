#include "buffer/forms/uChangeFilesize.h"

#include "buffer/forms/DialogTexts.h"

#include <QLabel>
#include <QPushButton>

TfmChangeFilesize::TfmChangeFilesize(QWidget* parent) : TFileSizeDialog(parent)
{
    setObjectName("fmChangeFilesize");
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    buildLayout(Label1);
    const TLanguageGroup window("[CHANGE FILE SIZE]");
    CurrentSizeText = "Current file size (bytes): ";
    setWindowTitle(GroupText(window, 1, "Cnahge file size"));
    CurrentSizeText = window.Text(2, CurrentSizeText);
    LabeledEdit1Label->setText(GroupText(window, 3, "New file size"));
    SpeedButton1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 2, "Cancel"));
}

void TfmChangeFilesize::showEvent(QShowEvent* event)
{
    // Language files lose the text's trailing blank (values are trimmed), so
    // one is put back before the number.
    const bool blank = !CurrentSizeText.empty() && CurrentSizeText.back() == ' ';
    Label1->setText(Cp1251ToQString(CurrentSizeText + (blank ? "" : " ") + std::to_string(CurrentSize)));
    TFileSizeDialog::showEvent(event);
}

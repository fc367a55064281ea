#include "calc/forms/TemplLabels.h"

#include "buffer/forms/ColorRef.h"
#include "calc/uCalcCompilerImage.h"

#include <QLabel>

void FitCalcLabel(QLabel& label)
{
    const QFontMetrics metrics(label.font());
    const int width = label.property("AutoSize").toBool() ? metrics.horizontalAdvance(label.text()) : label.width();
    label.resize(width, metrics.height());
}

void SetCalcLabelCaption(QLabel& label, const QString& text)
{
    label.setText(text);
    FitCalcLabel(label);
}

void SetCalcLabelProperty(QLabel& label, int property, uint32_t value)
{
    switch (property) {
    case CalcPropColor: {
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, ToQColor(value & 0xFFFFFF));
        label.setPalette(palette);
        break;
    }
    case CalcPropBold: {
        QFont font = label.font();
        font.setBold(value != 0);
        label.setFont(font);
        FitCalcLabel(label);
        break;
    }
    case CalcPropAlignment: {
        static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        if (value < 3)
            label.setAlignment(alignments[value] | Qt::AlignVCenter);
        break;
    }
    default: break;
    }
}

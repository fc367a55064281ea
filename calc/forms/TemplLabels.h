#pragma once
// The calculator's labels: an autosized label (a left position was given)
// follows its text's width; a centred one (left 0) keeps its width.
#include <QString>

#include <cstdint>

class QLabel;

// The label shows `text`, in black, unless a colour was set.
void SetCalcLabelCaption(QLabel& label, const QString& text);
// Property 1 colour (a colour reference 0x00BBGGRR), 2 bold (non-zero),
// 3 alignment (0 left, 1 centred, 2 right). Other properties and
// alignments are ignored.
void SetCalcLabelProperty(QLabel& label, int property, uint32_t value);
// Makes an autosized label as wide as its text, one text line high.
void FitCalcLabel(QLabel& label);

#include "buffer/forms/uHexEditor.h"

#include "buffer/forms/HDump.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

THexEdit::THexEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFont(THexDump::DumpFont(QStringLiteral("Fixedsys"), 10, 0));
    setReadOnly(true);
    SetByteCount(1);
}

void THexEdit::SetByteCount(int count)
{
    byteCount_ = count < 1 ? 1 : count;
    QString text = QStringLiteral("00");
    for (int i = 1; i < byteCount_; ++i)
        text += QStringLiteral(" 00");
    setText(text);
}

void THexEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Backspace) {
        // Backspace only steps back, like the Left arrow in a read-only field.
        cursorBackward(e->modifiers() & Qt::ShiftModifier);
        return;
    }
    const QString typed = e->text();
    if (typed.isEmpty() || typed[0].unicode() < 32 || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(e); // movement, selection, copy; Alt keys are the window's
        return;
    }
    const QChar c = typed[0].toUpper();
    const bool hex = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    if (!hex || text().isEmpty())
        return; // any other character is dropped
    QString t = text();
    int p = cursorPosition();
    if (p % 3 == 2)
        ++p; // on a separating blank: the next pair's first digit
    if (p >= t.size())
        t[t.size() - 1] = c;
    else
        t[p] = c;
    setText(t);
    setCursorPosition(p + 1);
}

// A read-only line edit draws no text cursor, but this field is typed into:
// the caret is drawn here while it has the focus.
void THexEdit::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (!hasFocus())
        return;
    // The line edit's cursor rectangle reaches five pixels left of the
    // cursor position.
    const QRect r = cursorRect();
    const int width = std::max(style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this), 1);
    QPainter p(this);
    p.fillRect(r.left() + 5, r.top(), width, r.height(), palette().color(QPalette::Text));
}

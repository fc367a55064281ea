#pragma once
// Labels painted over the skin: static texts in the section's font colour,
// pictures, and links (underlined, without their anchor tags). A label with
// a frame or one that takes the focus keeps its own painting.
#include "skinwnd/forms/acMainWnd.h"

class QLabel;

// Whether the label's text shows as plain text: markup, whether declared or
// guessed by the label, is painted by the label itself.
bool LabelTextIsPlain(const QLabel* label);

class TacStaticWnd : public TacMainWnd {
public:
    TacStaticWnd(QLabel* label, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                 TsCommonData* skinData = nullptr);

    // Whether the adapter paints the label: not with a frame (static edge), a
    // tab stop or rich text, whose markup a plain caption would show.
    virtual bool PaintsLabel() const;

protected:
    bool WndProc(QEvent* event) override;
    // Draws the label's content into the cache.
    virtual void PaintContent(TBitmap& cache);
    QLabel* Label() const;
};

class TacIconWnd : public TacStaticWnd {
public:
    using TacStaticWnd::TacStaticWnd;

protected:
    void PaintContent(TBitmap& cache) override;
};

class TacLinkWnd : public TacStaticWnd {
public:
    using TacStaticWnd::TacStaticWnd;

    // The text with every "<A...>" and "</A>" tag taken out (any case).
    static std::string LinkText(const std::string& text);
    // Links are rich text: their anchors are taken out.
    bool PaintsLabel() const override;

protected:
    void PaintContent(TBitmap& cache) override;
};

#pragma once
// Labels that take their text colour from the skin under them. Without a
// default skin manager, or while its skin is not active, they paint exactly
// like a plain label.
#include <QColor>
#include <QLabel>
#include <functional>
#include <string>

class TsBoundLabel;

class TsCustomLabel : public QLabel {
    Q_OBJECT
public:
    explicit TsCustomLabel(QWidget* parent = nullptr);

    // Stored as written (no upper-casing); empty = no section of its own.
    const std::string& SkinSection() const { return skinSection_; }
    void SetSkinSection(const std::string& value);

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    // The text colour to paint with: the skin's font colour while a skin
    // is active and the label takes it, else the label's own.
    QColor CurrentTextColor();
    virtual bool TakesSkinColor() const { return true; }
    // Sets the colour of disabled text, remembering the plain one.
    void SetDisabledTextColor(const QColor& color);
    void PaintOwnSection();

    std::string skinSection_;
    bool destroying_ = false;
    // The disabled text colour the label had before a skin changed it;
    // invalid while unchanged.
    QColor plainDisabledColor_;
};

class TsLabel : public TsCustomLabel {
    Q_OBJECT
public:
    explicit TsLabel(QWidget* parent = nullptr);

    bool UseSkinColor() const { return useSkinColor_; }
    void SetUseSkinColor(bool value) { useSkinColor_ = value; }

protected:
    bool event(QEvent* e) override;
    bool TakesSkinColor() const override { return useSkinColor_; }

private:
    bool useSkinColor_ = true;
};

// The label a bound label creates for its control.
class TsEditLabel : public TsLabel {
    Q_OBJECT
public:
    TsEditLabel(QWidget* parent, TsBoundLabel* boundLabel);
    ~TsEditLabel() override;

    TsBoundLabel* BoundLabel() const { return boundLabel_; }

private:
    friend class TsBoundLabel;
    TsBoundLabel* boundLabel_;
};

// Set while a label prepares its font for painting, so that the font change
// this causes does not start another repaint.
extern bool LabelPaintingGuard;

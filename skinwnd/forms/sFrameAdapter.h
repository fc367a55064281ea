#pragma once
// Skinning for a frame: a container widget that groups controls as one
// reusable piece. Qt has no frame class of its own, so a frame is any
// QWidget (usually a QFrame) that carries the dynamic property
// TsFrameAdapter::FrameProperty ("acFrame") set to true. The adapter is a
// child object of the frame: it paints the frame's background by its skin
// state (section "GROUPBOX" unless one is given), answers the library's
// commands for the frame and, while skinned, adapts the frame's children
// through a control adapter of its own. Deleting it gives the frame back
// untouched.
#include "skin/forms/sCommonData.h"
#include "skinwnd/forms/acCtrlAdapter.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QWidget;
class TSkinCommandEvent;

class TsFrameAdapter : public QObject {
public:
    static constexpr const char* FrameProperty = "acFrame";
    static bool IsFrame(const QObject* object);

    // An owner that is not a marked frame gets nothing but an error box.
    explicit TsFrameAdapter(QObject* owner);
    ~TsFrameAdapter() override;

    TsCommonData* SkinData() const { return skinData_.get(); }
    // What the control adapter of the frame's children asks before it
    // skins one: a frame adapter made by a form's control adapter asks as
    // that one does.
    TacCtrlAdapterSettings ChildSettings;
    QWidget* Frame() const { return frame_; }

    // The frame and its children are in place: take the skin when one is
    // active.
    void Loaded();

    // The colour a frame shows for a section's transparency T (percent)
    // over its parent's colour P, S being the section colour.
    static TColor MixedColor(int transparency, TColor parent, TColor section);
    // The frame's answer to the background colour query.
    TColor BackgroundColor() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool WndProc(QEvent* event);
    bool LibraryCommand(TSkinCommandEvent& m);
    bool SkinnedCommand(TSkinCommandEvent& m);
    bool Ours(const TSkinCommandEvent& m) const;
    void AdaptChildren();
    void DropChildAdapters();
    void PrepareCache();
    void PaintFrame();

    QPointer<QWidget> frame_;
    std::unique_ptr<TsCommonData> skinData_;
    std::unique_ptr<TacCtrlAdapter> ctrlAdapter_;
    // The previous paint had a parent-dependent look half outside the
    // parent: the next paint rebuilds the picture.
    bool wasOutside_ = false;
};

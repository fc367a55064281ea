#pragma once
// Child widgets of an adapted widget whose events its adapter sees first:
// the bar adapters paint their children's faces themselves and hold back
// the children's own painting while skinned. A child deleted while held is
// simply forgotten; letting go gives each living child its painting back.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class TacHeldChildren : public QObject {
public:
    // Sees each event of a held child first: true when the event must not
    // reach the child. A child in the middle of its destruction may still
    // send events, as a plain widget: handlers cast to the class they need.
    using THandler = std::function<bool(QWidget* child, QEvent* event)>;

    TacHeldChildren(QObject* owner, THandler handler);
    ~TacHeldChildren() override;

    // Starts holding a child; false for nullptr or one held already.
    bool Hold(QWidget* child);
    bool Holds(const QWidget* child) const;
    // The living children held.
    int Count() const;
    // Lets every child go and has each paint itself again.
    void ReleaseAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THandler handler_;
    std::vector<QPointer<QWidget>> held_;
};

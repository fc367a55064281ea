#pragma once
// A pointer to a widget that reads back only while the object still is of
// its class. A widget being destroyed sends its last events (its leave, its
// focus going, its children going) when its own class is already gone; a
// QPointer of the class would then be read as what the object no longer is,
// and a filter that compares the watched object with it takes those events
// for the widget's own.
#include <QObject>
#include <QPointer>

template <class T>
class TacLivePointer {
public:
    TacLivePointer(T* object = nullptr) : object_(object) {}
    TacLivePointer& operator=(T* object)
    {
        object_ = object;
        return *this;
    }
    T* get() const { return qobject_cast<T*>(object_.data()); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }

private:
    QPointer<QObject> object_;
};

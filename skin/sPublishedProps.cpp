#include "skin/sPublishedProps.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QObject>
#include <QVariant>

namespace {

QMetaProperty Property(const QObject* obj, const std::string& name)
{
    if (!obj)
        return {};
    const QMetaObject* meta = obj->metaObject();
    int i = meta->indexOfProperty(name.c_str());
    return i < 0 ? QMetaProperty() : meta->property(i);
}

bool IsOrdinal(const QMetaProperty& p)
{
    if (p.isEnumType())
        return true;
    switch (p.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong: return true;
    default: return false;
    }
}

// The flag names a flag-set property holds now, in the enumeration's order.
QList<QByteArray> FlagNames(const QObject* obj, const QMetaProperty& p)
{
    QMetaEnum e = p.enumerator();
    int value = p.read(obj).toInt();
    QList<QByteArray> names;
    for (int i = 0; i < e.keyCount(); ++i) {
        int bit = e.value(i);
        if (bit != 0 && (value & bit) == bit)
            names.append(e.key(i));
    }
    return names;
}

} // namespace

bool HasPublishedProp(const QObject* obj, const std::string& name)
{
    return Property(obj, name).isValid();
}

QObject* GetPublishedObjectProp(const QObject* obj, const std::string& name)
{
    QMetaProperty p = Property(obj, name);
    if (!p.isValid() || !(p.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return p.read(obj).value<QObject*>();
}

int GetPublishedOrdProp(const QObject* obj, const std::string& name)
{
    QMetaProperty p = Property(obj, name);
    return p.isValid() && IsOrdinal(p) ? p.read(obj).toInt() : -1;
}

void SetPublishedOrdProp(QObject* obj, const std::string& name, int value)
{
    QMetaProperty p = Property(obj, name);
    if (!p.isValid() || !IsOrdinal(p) || !p.isWritable())
        return;
    QVariant v(value);
    if (p.metaType().id() == QMetaType::Bool)
        v = QVariant(value != 0);
    p.write(obj, v);
}

bool SetPropHasElement(const QObject* obj, const std::string& name, const std::string& element)
{
    QMetaProperty p = Property(obj, name);
    if (!p.isValid() || !p.isFlagType())
        return false;
    return FlagNames(obj, p).contains(QByteArray::fromStdString(element));
}

void ChangeSetPropElement(QObject* obj, const std::string& name, const std::string& element, bool include)
{
    QMetaProperty p = Property(obj, name);
    if (!p.isValid() || !p.isFlagType() || !p.isWritable())
        return;
    QMetaEnum e = p.enumerator();
    QByteArray key = QByteArray::fromStdString(element);
    bool known = false;
    e.keyToValue(key.constData(), &known);
    if (!known)
        return;
    QList<QByteArray> names = FlagNames(obj, p);
    names.removeAll(key);
    if (include)
        names.prepend(key);
    int value = names.isEmpty() ? 0 : e.keysToValue(names.join('|').constData());
    p.write(obj, QVariant(value));
}

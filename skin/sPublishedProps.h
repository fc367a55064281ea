#pragma once
// Properties of an object by name, through its meta-object: what the skin
// library reads and sets on controls it does not know the class of.
#include <string>

class QObject;

bool HasPublishedProp(const QObject* obj, const std::string& name);
// The object a property holds; nullptr when there is no such property or it
// does not hold an object.
QObject* GetPublishedObjectProp(const QObject* obj, const std::string& name);
// An integer, enumeration, flag set or boolean property as a number; -1
// when there is none.
int GetPublishedOrdProp(const QObject* obj, const std::string& name);
void SetPublishedOrdProp(QObject* obj, const std::string& name, int value);
// Whether a flag-set property holds the flag of that name.
bool SetPropHasElement(const QObject* obj, const std::string& name, const std::string& element);
// Adds or removes one flag of a flag-set property by name. Flags are
// compared by their whole names, so removing "Bold" leaves "BoldItalic".
void ChangeSetPropElement(QObject* obj, const std::string& name, const std::string& element, bool include);

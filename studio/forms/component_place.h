// The forms' way to put a component on its form: under its component name (by
// which the tests find it) and at absolute pixels relative to its parent.
#pragma once

#include <QRect>

template <class T>
T* place(T* component, const char* name, const QRect& bounds) {
    component->setObjectName(name);
    component->setGeometry(bounds);
    return component;
}
